// The whole clock (F5, "/sync") against the running device model, swept rather than picked: start
// moments over two minutes around each date edge, four line speeds, and a step of the computer's
// clock at two points of the sequence. Shared by the unit test (a coarse grid of start moments)
// and the benchmark (every 10 ms).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace portwand::testing {

struct SweepCase {
    const char* edge;           // the date edge the two minutes lie around
    int lineMicrosPerByte;      // how long each byte takes on the line
    std::int64_t stepMicros;    // the change of the computer's clock, 0 for none
    bool stepAfterSecondsPair;  // where: after the seconds pair, or while waiting for it
    std::int64_t startMs;       // into the two minutes
};

struct SweepOutcome {
    bool done;  // the command reported every frame written
    // The device's clock behind the computer's (negative: ahead), right after the command and
    // after the device's next turn of the minute.
    std::int64_t behindAtEndMicros;
    std::int64_t behindAfterMinuteMicros;
    std::string text;  // what was sent, for a failure's message
};

inline constexpr int kSweepLineSpeeds[] = {1042, 10'000, 40'000, 100'000};
inline constexpr std::int64_t kSweepWindowMs = 120'000;

// Runs every case of the grid, start moments `startStepMs` apart, and hands each to `seen`.
void sweepWholeClock(int startStepMs,
                     const std::function<void(const SweepCase&, const SweepOutcome&)>& seen);

}  // namespace portwand::testing
