#include "console/whole_clock.h"

#include <array>
#include <cstdint>
#include <optional>

#include "console/second_boundary.h"

namespace portwand {

namespace {

// Lowest first: should the device's own minute turn while they go out, every part that reached it
// before that turn has all the parts below it set too, so it carries into it as the computer's
// clock does.
constexpr std::array<ClockField, 5> kParts{ClockField::Minutes, ClockField::Hours, ClockField::Day,
                                           ClockField::Month, ClockField::Year};
// The seconds go out at a second that leaves at least this much of its minute for the five
// pairs (about 65 ms each on a good line); from second 59 on, the first second of the next minute.
constexpr int kLastSecondsBoundary = 58;
// Waiting for such a second, or sending again after a turn of the minute, takes only a few
// rounds unless the clock keeps jumping; then the parts stand as last sent.
constexpr int kMaxRounds = 6;
// How long after the seconds pair's last byte has been handed to the driver it may still be on
// the line (seven bytes at 9600 baud), with room to spare.
constexpr int kLineDelayMs = 20;

using SentParts = std::array<std::optional<std::uint8_t>, kParts.size()>;

bool partsMatch(const SentParts& sent, const LocalTime& time) {
    for (std::size_t i = 0; i < kParts.size(); ++i) {
        if (sent[i] != clockValue(kParts[i], time))
            return false;
    }
    return true;
}

// Sends each part whose value differs from what the device was last sent.
bool sendChangedParts(FrameWriter& writer, SentParts& sent, const LocalTime& time) {
    for (std::size_t i = 0; i < kParts.size(); ++i) {
        std::uint8_t value = clockValue(kParts[i], time);
        if (sent[i] == value)
            continue;
        if (!writer.writePair(kParts[i], value))
            return false;
        sent[i] = value;
    }
    return true;
}

}  // namespace

WholeClockResult writeWholeClock(FrameWriter& writer, Clock& clock) {
    // The first second to begin from now on that leaves room in its minute.
    LocalTime at = waitForNextSecond(clock, clock.now());
    for (int wait = 1; at.second > kLastSecondsBoundary && wait < kMaxRounds; ++wait)
        at = waitForNextSecond(clock, at);
    const std::int64_t boundaryMicros = clock.steadyMicros();
    if (!writer.writePair(ClockField::Seconds, std::uint8_t(at.second)))
        return {false, at};
    // The device started its second this much after the computer did; its minute turns over
    // that much later too.
    const std::int64_t deviceLagMs = (clock.steadyMicros() - boundaryMicros) / 1000 + kLineDelayMs;

    // The parts of the minute the seconds were set in: whatever the device carries into them at
    // its next turn of the minute, the computer's clock carries alike.
    SentParts sent;
    LocalTime parts = at;
    for (int round = 1;; ++round) {
        if (!sendChangedParts(writer, sent, parts))
            return {false, at};
        LocalTime now = clock.now();
        if (partsMatch(sent, now) || round >= kMaxRounds)
            return {true, at};
        // The minute turned over (or the clock was changed) before the last pair was out. Some
        // parts reached the device before its own turn and were carried, others after it: once
        // its turn is past, the parts that differ from the computer's go again.
        const int intoMinuteMs = now.second * 1000 + now.millisecond;
        if (intoMinuteMs < deviceLagMs) {
            clock.beginFineResolution();
            clock.sleepMs(int(deviceLagMs) - intoMinuteMs);
            clock.endFineResolution();
            now = clock.now();
        }
        parts = now;
    }
}

}  // namespace portwand
