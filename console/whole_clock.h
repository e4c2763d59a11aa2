// The whole clock in one action: year, month, day, hours and minutes, then the seconds right at
// the start of a second, all six of the one instant at which the seconds pair leaves.
#pragma once

#include "console/clock.h"
#include "console/frame_writer.h"

namespace portwand {

struct WholeClockResult {
    bool written;       // every frame went out
    LocalTime instant;  // the reading the seconds pair was sent at
};

// On an open link. Each part is sent for the next second boundary; a part that has turned over
// by the time that boundary is near (the minute at second 59, everything on New Year's Eve) is
// sent again with its new value before the seconds go out at the boundary.
WholeClockResult writeWholeClock(FrameWriter& writer, Clock& clock);

}  // namespace portwand
