// Waiting for the start of a second, for the frames that must leave right at it.
#pragma once

#include "console/clock.h"

namespace portwand {

// The last stretch before a boundary is polled rather than slept, for a start within 1 ms.
inline constexpr int kPollBeforeBoundaryMs = 2;

// Milliseconds from `time` until the clock next enters that second; 0 while it shows it.
int millisecondsUntilSecond(const LocalTime& time, int second);

// Waits, at 1 ms timer resolution, until the clock shows another second than `current` does and
// returns that first reading of it. Never returns before the boundary, however much a sleep
// overshoots; a clock that jumps ends the wait at once.
LocalTime waitForNextSecond(Clock& clock, LocalTime current);

}  // namespace portwand
