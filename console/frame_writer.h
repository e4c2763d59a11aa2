// Writes frames to the open link one byte at a time, and a clock part as its pair of frames.
#pragma once

#include <cstdint>

#include "console/clock.h"
#include "console/remote_frame.h"
#include "console/serial_link.h"

namespace portwand {

class FrameWriter {
  public:
    static constexpr int kPairPauseMs = 50;

    FrameWriter(SerialLink& link, Clock& clock) : link_(link), clock_(clock) {}

    // False at the first byte that does not go out; the rest of the frame is not written.
    bool writeFrame(const RemoteFrame& frame);
    // Check frame, a 50 ms pause at 1 ms timer resolution, value frame; no value frame follows a
    // damaged check frame.
    bool writePair(ClockField field, std::uint8_t value);

  private:
    SerialLink& link_;
    Clock& clock_;
};

}  // namespace portwand
