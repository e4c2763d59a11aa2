#include "console/whole_clock.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "console/second_boundary.h"
#include "console/time_count.h"

namespace portwand {

namespace {

// Lowest first: should the device's own minute turn while they go out, every part that reached it
// before that turn has all the parts below it set too, so it carries into it as the computer's
// clock does.
constexpr std::array<ClockField, 5> kParts{ClockField::Minutes, ClockField::Hours, ClockField::Day,
                                           ClockField::Month, ClockField::Year};
constexpr std::int64_t kMicrosPerMs = 1000;
constexpr std::int64_t kMicrosPerSecond = 1'000'000;
// The seconds go out at a second that leaves at least this much of its minute for the five
// pairs; from second 59 on, the first second of the next minute.
constexpr int kLastSecondsBoundary = 58;
// A boundary seen this late (the thread was held up) is passed over for the next one, a few times.
constexpr int kLateBoundaryMs = 20;
constexpr int kLateBoundaryRounds = 3;
constexpr int kBoundaryRounds = 6;
// How long after a pair's last byte has been handed to the driver it may still be on the line
// (seven bytes at 9600 baud), with room to spare; and a margin around the device's turn.
constexpr std::int64_t kLineDelayMicros = 20 * kMicrosPerMs;
constexpr std::int64_t kTurnMarginMicros = 10 * kMicrosPerMs;
// Readings of the local and the steady clock drift apart by less than this (the local clock's
// granularity); more is a step of the computer's clock.
constexpr std::int64_t kStepToleranceMicros = 25 * kMicrosPerMs;
constexpr int kMaxRestarts = 2;
// Past the device's own turn of the minute every part goes again; twice more can only be a line
// slower than any serial one.
constexpr int kMaxResends = 3;
// A seconds pair that took longer than this leaves the device more than a tenth of a second
// behind: the seconds go once more at the end, started early by what a pair takes, to land this
// long after a boundary (never before it: the device would be ahead).
constexpr std::int64_t kLongestOnTimePairMicros = 100 * kMicrosPerMs - kLineDelayMicros;
constexpr std::int64_t kAimAfterBoundaryMicros = 20 * kMicrosPerMs;
constexpr int kLedSecondsTries = 3;
// Long waits are cut into pieces this long, to see a request to stop.
constexpr int kStopCheckMs = 50;

class Sequence {
  public:
    enum class End { Done, WriteFailed, Stepped, Stopped };

    Sequence(FrameWriter& writer, Clock& clock, const WholeClockControl& control)
        : writer_(writer), clock_(clock), control_(control) {}

    End attempt();
    const LocalTime& instant() const { return instant_; }

  private:
    struct Reading {
        LocalTime time;
        std::int64_t wallMicros;  // the local clock on its continuous count
        std::int64_t steadyMicros;
    };

    Reading read() { return reading(clock_.now()); }
    Reading reading(const LocalTime& time) {
        return {time, millisecondsOf(time) * kMicrosPerMs, clock_.steadyMicros()};
    }
    bool stepped(const Reading& r) const {
        std::int64_t drift = r.wallMicros - r.steadyMicros - wallMinusSteady_;
        return drift > kStepToleranceMicros || drift < -kStepToleranceMicros;
    }
    bool stopRequested() const { return control_.stop && control_.stop->load(); }
    void report(std::optional<ClockField> part) {
        if (control_.progress)
            control_.progress(part);
    }

    End waitForBoundary(Reading& boundary);
    End sendPair(ClockField field, std::uint8_t value);
    End sendParts(const LocalTime& time);
    End sleepUntil(std::int64_t steadyMicros);
    End sendLedSeconds();

    FrameWriter& writer_;
    Clock& clock_;
    const WholeClockControl& control_;
    std::int64_t wallMinusSteady_ = 0;  // of this attempt, while nobody changes the clock
    std::int64_t lastPairEnd_ = 0;      // steady count when the last pair's last byte was written
    std::int64_t shortestPairMicros_ = std::numeric_limits<std::int64_t>::max();
    std::int64_t deviceLagMicros_ = 0;  // how far the device's seconds started after the boundary
    LocalTime instant_{};
};

Sequence::End Sequence::attempt() {
    Reading start = read();
    wallMinusSteady_ = start.wallMicros - start.steadyMicros;
    report(std::nullopt);
    Reading boundary{};
    if (End end = waitForBoundary(boundary); end != End::Done)
        return end;
    instant_ = boundary.time;
    if (End end = sendPair(ClockField::Seconds, std::uint8_t(boundary.time.second));
        end != End::Done)
        return end;
    deviceLagMicros_ = lastPairEnd_ - boundary.steadyMicros;
    // The device's minute turns this long after its seconds were set, give or take the line.
    std::int64_t deviceTurn = lastPairEnd_ + (60 - boundary.time.second) * kMicrosPerSecond;

    // The parts of the minute the seconds were set in: whatever the device carries into them at
    // its next turn of the minute, the computer's clock carries alike.
    LocalTime parts = boundary.time;
    for (int resend = 0;; ++resend) {
        if (End end = sendParts(parts); end != End::Done)
            return end;
        // Every part reached the device before its turn: it carries them all as the computer does.
        if (lastPairEnd_ + kLineDelayMicros < deviceTurn || resend == kMaxResends)
            break;
        // Some part may have come after the turn, and the device's carry may have changed parts
        // it held from before: past its turn (and so the computer's too) every part goes again.
        report(std::nullopt);
        if (End end = sleepUntil(deviceTurn + kLineDelayMicros + kTurnMarginMicros);
            end != End::Done)
            return end;
        Reading now = read();
        if (stepped(now))
            return End::Stepped;
        parts = now.time;
        deviceTurn += 60 * kMicrosPerSecond;
    }
    if (deviceLagMicros_ > kLongestOnTimePairMicros)
        return sendLedSeconds();
    return End::Done;
}

Sequence::End Sequence::waitForBoundary(Reading& boundary) {
    LocalTime current = clock_.now();
    for (int round = 1;; ++round) {
        if (stopRequested())
            return End::Stopped;
        boundary = reading(waitForNextSecond(clock_, current));
        // A clock that jumps ends the wait mid-second.
        if (stepped(boundary))
            return End::Stepped;
        current = boundary.time;
        bool roomInMinute = current.second <= kLastSecondsBoundary;
        bool onTime = current.millisecond <= kLateBoundaryMs || round >= kLateBoundaryRounds;
        if ((roomInMinute && onTime) || round >= kBoundaryRounds)
            return End::Done;
    }
}

Sequence::End Sequence::sendPair(ClockField field, std::uint8_t value) {
    if (stopRequested())
        return End::Stopped;
    report(field);
    std::int64_t started = clock_.steadyMicros();
    if (!writer_.writePair(field, value))
        return End::WriteFailed;
    lastPairEnd_ = clock_.steadyMicros();
    shortestPairMicros_ = std::min(shortestPairMicros_, lastPairEnd_ - started);
    return stepped(read()) ? End::Stepped : End::Done;
}

Sequence::End Sequence::sendParts(const LocalTime& time) {
    for (ClockField part : kParts) {
        if (End end = sendPair(part, clockValue(part, time)); end != End::Done)
            return end;
    }
    return End::Done;
}

Sequence::End Sequence::sleepUntil(std::int64_t steadyMicros) {
    clock_.beginFineResolution();
    End end = End::Done;
    for (;;) {
        if (stopRequested()) {
            end = End::Stopped;
            break;
        }
        std::int64_t leftMs = (steadyMicros - clock_.steadyMicros()) / kMicrosPerMs;
        if (clock_.steadyMicros() >= steadyMicros)
            break;
        // The last stretch is polled, for a start within a millisecond.
        if (leftMs > kPollBeforeBoundaryMs)
            clock_.sleepMs(
                int(std::min<std::int64_t>(leftMs - kPollBeforeBoundaryMs, kStopCheckMs)));
        else
            clock_.now();
    }
    clock_.endFineResolution();
    return end;
}

Sequence::End Sequence::sendLedSeconds() {
    for (int tries = 0; tries < kLedSecondsTries; ++tries) {
        Reading now = read();
        if (stepped(now))
            return End::Stepped;
        // The first boundary whose pair can still start in time, and that the device's turn of
        // its minute has passed when the pair lands (setting the seconds never skips a carry).
        const std::int64_t lead = shortestPairMicros_ - kAimAfterBoundaryMicros;
        std::int64_t target =
            (now.wallMicros + lead + kMicrosPerMs) / kMicrosPerSecond * kMicrosPerSecond +
            kMicrosPerSecond;
        const std::int64_t deviceTurnPast =
            deviceLagMicros_ + kLineDelayMicros + kTurnMarginMicros - kAimAfterBoundaryMicros;
        while (target / kMicrosPerSecond % 60 * kMicrosPerSecond < deviceTurnPast)
            target += kMicrosPerSecond;
        const std::int64_t targetSteady = target - wallMinusSteady_;
        report(std::nullopt);
        if (End end = sleepUntil(targetSteady - lead); end != End::Done)
            return end;
        const LocalTime second = localTimeAt(target / kMicrosPerMs);
        if (End end = sendPair(ClockField::Seconds, std::uint8_t(second.second)); end != End::Done)
            return end;
        instant_ = second;
        deviceLagMicros_ = std::max<std::int64_t>(lastPairEnd_ - targetSteady, 0);
        // Landed after the boundary and soon enough: done. Otherwise the pair took another time
        // than the shortest so far, and goes again.
        const std::int64_t landed = lastPairEnd_ - targetSteady;
        if (landed >= 0 && landed <= kLongestOnTimePairMicros)
            return End::Done;
    }
    return End::Done;
}

}  // namespace

WholeClockResult writeWholeClock(FrameWriter& writer, Clock& clock,
                                 const WholeClockControl& control) {
    using Outcome = WholeClockResult::Outcome;
    Sequence sequence(writer, clock, control);
    for (int restart = 0;; ++restart) {
        switch (sequence.attempt()) {
            case Sequence::End::Done:
                return {Outcome::Written, sequence.instant()};
            case Sequence::End::WriteFailed:
                return {Outcome::WriteFailed, sequence.instant()};
            case Sequence::End::Stopped:
                return {Outcome::Stopped, sequence.instant()};
            case Sequence::End::Stepped:
                if (restart == kMaxRestarts)
                    return {Outcome::ClockStepped, sequence.instant()};
                break;
        }
    }
}

}  // namespace portwand
