// The whole clock in one action. The device's clock runs while the frames are on their way, so
// the order matters: the seconds go first, right at the start of a second that leaves room in its
// minute, and then the other five parts of that minute, the lowest first. Should the device's own
// minute turn before the last part has reached it (a slow line), every part goes again once that
// turn is past: the device's carry may have changed parts it held from before. On a line too slow
// for the seconds pair to land within a tenth of a second of the boundary, the seconds go once
// more at the end, started that much earlier so that they land right after a boundary.
//
// A step of the computer's clock (a time service, the user) shows as the wall clock's elapsed time
// parting from the steady clock's: the sequence then starts again, at most twice.
#pragma once

#include <atomic>
#include <functional>
#include <optional>

#include "console/clock.h"
#include "console/frame_writer.h"

namespace portwand {

struct WholeClockControl {
    // Set from another thread: the sequence ends before its next pair.
    const std::atomic<bool>* stop = nullptr;
    // Before each pair, with its part; with nothing while the sequence waits for its moment.
    std::function<void(std::optional<ClockField>)> progress;
};

struct WholeClockResult {
    enum class Outcome { Written, WriteFailed, ClockStepped, Stopped };
    Outcome outcome;
    LocalTime instant;  // the start of the second the device was set to
};

// On an open link.
WholeClockResult writeWholeClock(FrameWriter& writer, Clock& clock,
                                 const WholeClockControl& control = {});

}  // namespace portwand
