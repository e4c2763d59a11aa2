// How soon after the start of a second the seconds pair of "Секунды" leaves, for ports that take
// 0, 20, 140 and 500 ms to open: the console's protocol on the real clock, a link whose open
// sleeps, and a 100 ms timer as the window has. Prints the minimum, median and maximum delay of
// the first byte after the start of the second it carries.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "console/remote_protocol.h"

namespace {

using namespace std::chrono;

class SystemClock : public portwand::Clock {
  public:
    portwand::LocalTime now() override {
        auto stamp = system_clock::now();
        std::time_t seconds = system_clock::to_time_t(stamp);
        std::tm local{};
        localtime_r(&seconds, &local);
        int ms = int(duration_cast<milliseconds>(stamp.time_since_epoch()).count() % 1000);
        return {local.tm_year + 1900,
                local.tm_mon + 1,
                local.tm_mday,
                local.tm_hour,
                local.tm_min,
                local.tm_sec,
                ms};
    }
    std::int64_t steadyMicros() override {
        return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
    }
    void sleepMs(int ms) override { std::this_thread::sleep_for(milliseconds(ms)); }
    void beginFineResolution() override {}
    void endFineResolution() override {}
};

// Opens in the given time and notes when the first byte of each command is written, and the
// command's bytes.
class SleepingLink : public portwand::SerialLink {
  public:
    int openMs = 0;
    std::vector<system_clock::time_point> firstBytes;
    std::string lastCommand;

    portwand::LinkStatus open(const std::u16string&) override {
        std::this_thread::sleep_for(milliseconds(openMs));
        lastCommand.clear();
        return portwand::LinkStatus::Opened;
    }
    bool writeByte(std::uint8_t byte) override {
        if (lastCommand.empty())
            firstBytes.push_back(system_clock::now());
        lastCommand += char(byte);
        return true;
    }
    void close() override {}
};

class NoFeedback : public portwand::ConsoleFeedback {
  public:
    void showLinkStatus(portwand::LinkStatus) override {}
    void showPortUnavailable() override {}
};

double millisecondsIntoSecond(system_clock::time_point t) {
    auto us = duration_cast<microseconds>(t.time_since_epoch()).count() % 1'000'000;
    return double(us) / 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
    const int presses = argc > 1 ? std::atoi(argv[1]) : 15;
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> pause(50, 1000);
    std::printf("seconds pair, first byte after the start of its second (%d presses each):\n",
                presses);
    for (int openMs : {0, 20, 140, 500}) {
        SystemClock clock;
        SleepingLink link;
        link.openMs = openMs;
        std::u16string port = u"COM14";
        NoFeedback feedback;
        portwand::RemoteProtocol protocol(link, port, feedback, clock);
        protocol.trialOpening();
        link.firstBytes.clear();
        std::vector<double> delays;
        int wrongValues = 0;
        for (int i = 0; i < presses; ++i) {
            std::this_thread::sleep_for(milliseconds(pause(random)));
            std::size_t before = link.firstBytes.size();
            protocol.armSeconds();
            // The window's 100 ms timer, until the pair has gone out.
            while (link.firstBytes.size() == before) {
                std::this_thread::sleep_for(milliseconds(100));
                protocol.secondsTick();
            }
            delays.push_back(millisecondsIntoSecond(link.firstBytes.back()));
            // The value frame carries the second the first byte left in.
            std::time_t sent = system_clock::to_time_t(link.firstBytes.back());
            std::tm local{};
            localtime_r(&sent, &local);
            char expected[3];
            std::snprintf(expected, sizeof expected, "%02d", local.tm_sec);
            if (link.lastCommand.substr(10, 2) != expected)
                ++wrongValues;
        }
        std::sort(delays.begin(), delays.end());
        double median = delays.size() % 2
                            ? delays[delays.size() / 2]
                            : (delays[delays.size() / 2 - 1] + delays[delays.size() / 2]) / 2;
        std::printf("  open %3d ms: min %.2f ms, median %.2f ms, max %.2f ms%s\n", openMs,
                    delays.front(), median, delays.back(),
                    wrongValues ? " (some pairs carried another second)" : "");
    }
    return 0;
}
