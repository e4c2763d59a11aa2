// The console's commands to the device: key presses, clock parts, the seconds transfer timed to
// the start of a second, and the whole clock in one action. Every command opens the link, writes
// its frames and closes it again.
#pragma once

#include <cstdint>
#include <string>

#include "console/clock.h"
#include "console/frame_writer.h"
#include "console/port_opener.h"
#include "console/remote_frame.h"
#include "console/serial_link.h"
#include "console/whole_clock.h"

namespace portwand {

// How the console tells the user about the port: the status label, and the message box of a
// button command that could not reach the port.
class ConsoleFeedback : public StatusDisplay {
  public:
    virtual void showPortUnavailable() = 0;
};

struct ClockSyncResult {
    // ClockStepped: the computer's clock was changed during each of the attempts; Stopped: asked
    // to stop between two pairs.
    enum class Outcome { Done, PortUnavailable, WriteFailed, ClockStepped, Stopped };
    Outcome outcome;
    LocalTime instant;  // of the seconds pair, when Done
};

class RemoteProtocol {
  public:
    static constexpr int kDisarmed = 60;
    // Ticks come every 100 ms, sometimes late: a transfer starts at the last tick that leaves
    // this long, plus the port's open time, before the armed second.
    static constexpr int kBoundaryWaitMs = 150;
    // A port ready this soon after a boundary still sends in that second.
    static constexpr int kOnTimeMs = 3;
    // The most a transfer starts earlier than the port's last open time asks for.
    static constexpr int kMaxOpenMarginMs = 500;

    // `currentPort` is read at every open, so a change of port takes effect at the next command.
    RemoteProtocol(SerialLink& link, const std::u16string& currentPort, ConsoleFeedback& feedback,
                   Clock& clock);

    // Opens the current port and closes it again at once, only to show whether it can be used
    // (and to learn how long it takes to open).
    void trialOpening();
    void sendKey(RemoteKey key);
    // Any part but Seconds, whose transfer is armed and timed.
    void sendClockField(ClockField field);
    // `pressAgeMs`: how long ago the press was made; a press that waited while an earlier one
    // was being served still counts in the second it was made. It arms the second after the
    // press, or after the handling when that second has begun meanwhile.
    void armSeconds(int pressAgeMs = 0);
    void secondsTick();
    // The whole clock over one opening. Its failures are left to the caller to show.
    ClockSyncResult syncClock(const WholeClockControl& control = {});

    int armedSecond() const { return armedSecond_; }

  private:
    enum class Caller { Button, Timer };

    bool open(Caller caller);
    // Ends a command whose write failed: the link is already closed; the user sees the error.
    void reportWriteFailure(Caller caller);
    // Starts the transfer once the armed second is closer than the port takes to open.
    void startTransferIfDue(const LocalTime& time);
    // Disarms, opens and sends the pair right at a second boundary: the armed one, or the first
    // one after a port that opened too late for it; the value is the second the clock then shows.
    // `untilArmedMs`: how far the armed second was when the transfer started.
    void transferSeconds(int untilArmedMs);

    SerialLink& link_;
    const std::u16string& currentPort_;
    ConsoleFeedback& feedback_;
    Clock& clock_;
    PortOpener opener_;
    FrameWriter writer_;
    int armedSecond_ = kDisarmed;
    // The press that armed last: its second on the continuous count of local seconds, and when it
    // was made (a clock set back to that second does not make a later press the same).
    struct Press {
        std::int64_t second;
        std::int64_t steadyMicros;
    };
    Press lastArmingPress_{-1, 0};
};

}  // namespace portwand
