#include "console/second_boundary.h"

namespace portwand {

int millisecondsUntilSecond(const LocalTime& time, int second) {
    if (time.second == second)
        return 0;
    int wholeSecondsBetween = (second - time.second - 1 + 60) % 60;
    return wholeSecondsBetween * 1000 + (1000 - time.millisecond);
}

LocalTime waitForNextSecond(Clock& clock, LocalTime current) {
    clock.beginFineResolution();
    const int start = current.second;
    while (current.second == start) {
        int remainingMs = 1000 - current.millisecond;
        if (remainingMs > kPollBeforeBoundaryMs)
            clock.sleepMs(remainingMs - kPollBeforeBoundaryMs);
        current = clock.now();
    }
    clock.endFineResolution();
    return current;
}

}  // namespace portwand
