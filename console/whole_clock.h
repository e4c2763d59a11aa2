// The whole clock in one action. The device's clock runs while the frames are on their way, so
// the order matters: the seconds go first, right at the start of a second that leaves room in its
// minute, and then the other five parts of that minute, the lowest first. Should the minute turn
// over before the last pair is out (a slow line), the parts that changed go again once the
// device's own seconds have turned as well.
#pragma once

#include "console/clock.h"
#include "console/frame_writer.h"

namespace portwand {

struct WholeClockResult {
    bool written;       // every frame went out
    LocalTime instant;  // the reading at the start of the second the seconds pair carries
};

// On an open link.
WholeClockResult writeWholeClock(FrameWriter& writer, Clock& clock);

}  // namespace portwand
