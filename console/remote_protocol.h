// The console's commands to the device: key presses, clock parts, and the seconds transfer timed
// to the start of a second. Every command opens the link, writes its frames and closes it again.
#pragma once

#include <cstdint>
#include <string>

#include "console/clock.h"
#include "console/remote_frame.h"
#include "console/serial_link.h"

namespace portwand {

// How the console tells the user about the port: the status label, and the message box of a
// button command that could not reach the port.
class ConsoleFeedback : public StatusDisplay {
  public:
    virtual void showPortUnavailable() = 0;
};

class RemoteProtocol {
  public:
    static constexpr int kDisarmed = 60;
    // A tick this close before the armed second waits for it instead of leaving it to the next
    // tick (ticks come every 100 ms, sometimes late).
    static constexpr int kBoundaryWaitMs = 150;
    // The last stretch before the boundary is polled rather than slept, for a start within 1 ms.
    static constexpr int kPollBeforeBoundaryMs = 2;
    static constexpr int kPairPauseMs = 50;

    // `currentPort` is read at every open, so a change of port takes effect at the next command.
    RemoteProtocol(SerialLink& link, const std::u16string& currentPort, ConsoleFeedback& feedback,
                   Clock& clock);

    void sendKey(RemoteKey key);
    // Any part but Seconds, whose transfer is armed and timed.
    void sendClockField(ClockField field);
    void armSeconds();
    void secondsTick();

    int armedSecond() const { return armedSecond_; }

  private:
    enum class Caller { Button, Timer };

    bool open(Caller caller);
    bool writeFrame(const RemoteFrame& frame);
    // Check frame, pause, value frame; stops at the first byte that does not go out.
    bool writePair(ClockField field, std::uint8_t value);
    void pauseBetweenFrames();
    // Ends a command whose write failed: the link is already closed; the user sees the error.
    void reportWriteFailure(Caller caller);
    // Called when `time` lies shortly before the armed second: opens the link, waits for the
    // computer's clock to enter that second and sends then; sends nothing if the clock shows any
    // other second.
    void sendAtArmedBoundary(const LocalTime& time);
    // Disarms, opens and sends the pair for that second.
    void transferSeconds(int second);
    // Disarms and, if the link is open, sends the pair for that second and closes the link.
    void finishSecondsTransfer(bool opened, int second);

    SerialLink& link_;
    const std::u16string& currentPort_;
    ConsoleFeedback& feedback_;
    Clock& clock_;
    int armedSecond_ = kDisarmed;
};

}  // namespace portwand
