#include "tests/console/whole_clock_sweep.h"

#include <random>

#include "console/remote_protocol.h"
#include "tests/console/console_doubles.h"
#include "tests/console/device/running_clock.h"

namespace portwand::testing {

namespace {

constexpr std::int64_t kMicrosPerSecond = 1'000'000;
constexpr std::int64_t kHourMicros = 3600 * kMicrosPerSecond;

// Two minutes around the turn of a day, with the local clock's own jump where summer time begins
// or ends (the window starts at that count of the clock, from midnight of the date).
struct Edge {
    const char* name;
    int year, month, day;
    int hour, minute;  // where the two minutes begin
    std::int64_t jumpAtMicros = 0, jumpByMicros = 0;
};

constexpr std::int64_t at(int hour, int minute) {
    return (hour * 60LL + minute) * 60 * kMicrosPerSecond;
}

const Edge kEdges[] = {
    {"31.12 at midnight", 2026, 12, 31, 23, 59},
    {"28.02 of a leap year", 2028, 2, 28, 23, 59},
    {"29.02", 2028, 2, 29, 23, 59},
    {"28.02 of a common year", 2027, 2, 28, 23, 59},
    {"30.04", 2026, 4, 30, 23, 59},
    {"summer time begins", 2026, 3, 29, 1, 59, at(2, 0), kHourMicros},
    {"summer time ends", 2026, 10, 25, 2, 59, at(3, 0), -kHourMicros},
};

const std::int64_t kSteps[] = {-65 * kMicrosPerSecond, -1'500'000, 30 * kMicrosPerSecond};

class SilentFeedback : public ConsoleFeedback {
  public:
    void showLinkStatus(LinkStatus) override {}
    void showPortUnavailable() override {}
};

// The computer's local time at that count of the clock, as microseconds since 1970.
std::int64_t localMicros(const SteppedClock& clock, std::int64_t count) {
    LocalTime t = clock.at(count);
    return device::microsSince1970({t.year, t.month, t.day, t.hour, t.minute, t.second}) +
           t.millisecond * 1000LL + count % 1000;
}

SweepOutcome runCase(const Edge& edge, const SweepCase& c) {
    SteppedClock clock;
    RecordingLink link{clock};
    link.writeMicros = c.lineMicrosPerByte;
    std::mt19937_64 random(std::uint64_t(c.startMs) * 7919 + std::uint64_t(c.lineMicrosPerByte) +
                           std::uint64_t(c.stepMicros));
    clock.setReadingStepMicros(50);
    clock.setSleepOvershootMicros(std::int64_t(random() % 1000));
    clock.setDate(edge.year, edge.month, edge.day);
    const std::int64_t start = at(edge.hour, edge.minute) + c.startMs * 1000;
    clock.setTime(0, 0, 0);
    clock.advanceMicros(start);
    if (edge.jumpByMicros != 0)
        clock.setLocalJump(edge.jumpAtMicros, edge.jumpByMicros);
    if (c.stepMicros != 0 && !c.stepAfterSecondsPair) {
        // Halfway to the first boundary the command waits for.
        std::int64_t intoSecond = localMicros(clock, start) % kMicrosPerSecond;
        clock.setLocalJump(start + (kMicrosPerSecond - intoSecond) / 2, c.stepMicros);
    }
    if (c.stepMicros != 0 && c.stepAfterSecondsPair) {
        link.afterByte = [&](std::size_t written) {
            if (written == 14)
                clock.setLocalJump(clock.micros() + 1, c.stepMicros);
        };
    }
    // Up to two years behind, at any point of its second.
    std::int64_t behind = 1 + std::int64_t(random() % std::uint64_t(2 * 366 * 86'400'000'000LL));
    std::int64_t deviceStart = localMicros(clock, start) - behind;
    device::RunningClock running(device::deviceTimeAt(deviceStart),
                                 start - deviceStart % kMicrosPerSecond);

    std::u16string port = u"COM14";
    SilentFeedback feedback;
    RemoteProtocol protocol(link, port, feedback, clock);
    bool done = protocol.syncClock().outcome == ClockSyncResult::Outcome::Done;
    for (const RecordingLink::Byte& b : link.bytes)
        running.receive(b.value, b.micros);
    // From the end on, the device should run as the computer's clock did then.
    const std::int64_t end = clock.micros();
    auto behindAt = [&](std::int64_t t) {
        return localMicros(clock, end) + (t - end) - running.shownMicros(t);
    };
    return {done, behindAt(end), behindAt(end + 61 * kMicrosPerSecond), link.text()};
}

}  // namespace

void sweepWholeClock(int startStepMs,
                     const std::function<void(const SweepCase&, const SweepOutcome&)>& seen) {
    for (const Edge& edge : kEdges) {
        for (int line : kSweepLineSpeeds) {
            for (int step = -1; step < 2 * int(std::size(kSteps)); ++step) {
                std::int64_t stepMicros = step < 0 ? 0 : kSteps[step / 2];
                bool afterSecondsPair = step >= 0 && step % 2 == 1;
                for (std::int64_t ms = 0; ms < kSweepWindowMs; ms += startStepMs) {
                    SweepCase c{edge.name, line, stepMicros, afterSecondsPair, ms};
                    seen(c, runCase(edge, c));
                }
            }
        }
    }
}

}  // namespace portwand::testing
