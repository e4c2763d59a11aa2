#include "console/whole_clock.h"

#include <array>
#include <cstdint>
#include <optional>

#include "console/second_boundary.h"
#include "console/time_count.h"

namespace portwand {

namespace {

constexpr std::array<ClockField, 5> kParts{ClockField::Year, ClockField::Month, ClockField::Day,
                                           ClockField::Hours, ClockField::Minutes};
// Each round either sends parts or waits for a boundary; more than a few means the clock keeps
// jumping, and the seconds go out with the parts as they are.
constexpr int kMaxRounds = 6;

// What the device was last sent of each part.
using SentParts = std::array<std::optional<std::uint8_t>, kParts.size()>;

bool partsMatch(const SentParts& sent, const LocalTime& time) {
    for (std::size_t i = 0; i < kParts.size(); ++i) {
        if (sent[i] != clockValue(kParts[i], time))
            return false;
    }
    return true;
}

LocalTime nextBoundaryAfter(const LocalTime& time) {
    return localTimeAt((millisecondsOf(time) / 1000 + 1) * 1000);
}

}  // namespace

WholeClockResult writeWholeClock(FrameWriter& writer, Clock& clock) {
    SentParts sent;
    LocalTime now = clock.now();
    for (int round = 1;; ++round) {
        LocalTime target = nextBoundaryAfter(now);
        if (!partsMatch(sent, target) && round < kMaxRounds) {
            // Sending takes a while; the next round looks again at where the clock is then.
            for (std::size_t i = 0; i < kParts.size(); ++i) {
                std::uint8_t value = clockValue(kParts[i], target);
                if (sent[i] == value)
                    continue;
                if (!writer.writePair(kParts[i], value))
                    return {false, now};
                sent[i] = value;
            }
            now = clock.now();
            continue;
        }
        LocalTime at = waitForNextSecond(clock, now);
        if (partsMatch(sent, at) || round >= kMaxRounds) {
            bool written = writer.writePair(ClockField::Seconds, std::uint8_t(at.second));
            return {written, at};
        }
        // The clock moved further than the parts sent (busy computer, or a jump): again.
        now = at;
    }
}

}  // namespace portwand
