// How far the device's clock is behind the computer's after the whole clock was set (F5, "/sync")
// and after "Секунды": the console's protocol on a stepped clock against the running device model.
// The whole clock: the sweep of the unit test on its full grid (start moments every 10 ms over two
// minutes around each date edge, lines of 1, 10, 40 and 100 ms a byte, steps of the computer's
// clock); the largest error per line speed, right after the command and after the device's next
// minute. The goal: 0 to 100 ms behind everywhere. "Секунды": 1200 presses over the last minute of
// a year on a 9600-baud line, the seconds judged within the minute.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "console/remote_protocol.h"
#include "tests/console/console_doubles.h"
#include "tests/console/device/running_clock.h"
#include "tests/console/whole_clock_sweep.h"

namespace {

using portwand::testing::RecordingLink;
using portwand::testing::SteppedClock;

class NoFeedback : public portwand::ConsoleFeedback {
  public:
    void showLinkStatus(portwand::LinkStatus) override {}
    void showPortUnavailable() override {}
};

std::int64_t localMicros(const SteppedClock& clock, std::int64_t count) {
    portwand::LocalTime t = clock.at(count);
    return portwand::device::microsSince1970({t.year, t.month, t.day, t.hour, t.minute, t.second}) +
           t.millisecond * 1000LL + count % 1000;
}

void wholeClock() {
    struct Figures {
        long cases = 0, failed = 0, outside = 0;
        std::int64_t least = INT64_MAX, most = INT64_MIN;
    };
    std::map<int, Figures> byLine;
    portwand::testing::sweepWholeClock(
        10, [&](const portwand::testing::SweepCase& c, const portwand::testing::SweepOutcome& o) {
            Figures& f = byLine[c.lineMicrosPerByte];
            ++f.cases;
            f.failed += o.done ? 0 : 1;
            bool outside = false;
            for (std::int64_t behind : {o.behindAtEndMicros, o.behindAfterMinuteMicros}) {
                f.least = std::min(f.least, behind);
                f.most = std::max(f.most, behind);
                outside = outside || behind < 0 || behind > 100'000;
            }
            f.outside += outside ? 1 : 0;
        });
    std::printf(
        "F5 and /sync, the whole clock: the device behind the computer (the full sweep):\n");
    for (const auto& [line, f] : byLine)
        std::printf(
            "  %6.2f ms a byte: %.2f to %.2f ms behind; %ld of %ld runs outside 0-100 ms, "
            "%ld failed\n",
            line / 1000.0, double(f.least) / 1000.0, double(f.most) / 1000.0, f.outside, f.cases,
            f.failed);
}

void secondsOnly() {
    constexpr std::int64_t kMicrosPerMinute = 60'000'000;
    std::mt19937_64 random(2026);
    std::uniform_int_distribution<std::int64_t> behind(1, 2 * 366 * 86'400'000'000LL);
    std::uniform_int_distribution<std::int64_t> overshoot(0, 1000);
    std::vector<double> errors;
    for (int start = 0; start < 1200; ++start) {
        SteppedClock clock;
        RecordingLink link{clock};
        link.writeMicros = 1042;
        std::u16string port = u"COM14";
        NoFeedback feedback;
        portwand::RemoteProtocol protocol(link, port, feedback, clock);
        clock.setReadingStepMicros(50);
        clock.setSleepOvershootMicros(overshoot(random));
        clock.setDate(2026, 12, 31);
        clock.setTime(23, 59, start / 20, start % 20 * 50);
        const std::int64_t startMicros = clock.micros();
        std::int64_t deviceStart = localMicros(clock, startMicros) - behind(random);
        portwand::device::RunningClock device(portwand::device::deviceTimeAt(deviceStart),
                                              startMicros - deviceStart % 1'000'000);
        protocol.armSeconds();
        for (int tick = 0; tick < 30 && link.bytes.empty(); ++tick) {
            clock.advanceMicros(100'000);
            protocol.secondsTick();
        }
        for (const RecordingLink::Byte& b : link.bytes)
            device.receive(b.value, b.micros);
        const std::int64_t end = clock.micros();
        for (std::int64_t t : {end, end + 61'000'000}) {
            std::int64_t error = localMicros(clock, t) - device.shownMicros(t);
            error = (error % kMicrosPerMinute + kMicrosPerMinute) % kMicrosPerMinute;
            errors.push_back(double(error) / 1000.0);
        }
    }
    std::sort(errors.begin(), errors.end());
    std::printf(
        "\"Секунды\", the seconds within the minute (1200 presses, 9600 baud): largest %.2f "
        "ms, median %.2f ms behind\n",
        errors.back(), errors[errors.size() / 2]);
}

}  // namespace

int main() {
    wholeClock();
    secondsOnly();
    return 0;
}
