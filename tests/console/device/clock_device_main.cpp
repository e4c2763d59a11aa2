// The clock device at the far end of the end-to-end tests' serial line: reads the frames from a
// pseudo-terminal, each byte at the moment it arrives, into the running clock, and answers on its
// standard input and output:
//   every byte that arrives       -> "byte <hex> <arrival, µs since 1970>"
//   "set Y M D h m s"             -> the clock shows that from now on, its second just begun
//   "clock"                       -> "clock Y M D h m s <µs into the second> <now, µs since 1970>"
// It ends at the end of its input.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <sstream>
#include <string>

#include "tests/console/device/running_clock.h"

namespace {

std::int64_t nowMicros() {
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return std::int64_t(t.tv_sec) * 1'000'000 + t.tv_nsec / 1000;
}

// One command line; false when the line asks for nothing known.
bool answer(const std::string& line, portwand::device::RunningClock& clock) {
    std::istringstream in(line);
    std::string command;
    in >> command;
    if (command == "set") {
        portwand::device::DeviceTime t{};
        if (!(in >> t.year >> t.month >> t.day >> t.hour >> t.minute >> t.second))
            return false;
        clock = portwand::device::RunningClock(t, nowMicros());
        std::printf("set\n");
        return true;
    }
    if (command == "clock") {
        std::int64_t now = nowMicros();
        portwand::device::DeviceTime t = clock.at(now);
        std::printf("clock %d %d %d %d %d %d %lld %lld\n", t.year, t.month, t.day, t.hour, t.minute,
                    t.second, static_cast<long long>(clock.microsIntoSecond(now)),
                    static_cast<long long>(now));
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: clock_device <pseudo-terminal>\n");
        return 2;
    }
    int line = open(argv[1], O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (line < 0) {
        std::perror(argv[1]);
        return 1;
    }
    termios raw{};
    if (tcgetattr(line, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(line, TCSANOW, &raw);
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    portwand::device::RunningClock clock({2000, 1, 1, 0, 0, 0}, nowMicros());
    std::string pending;
    for (;;) {
        pollfd fds[2] = {{line, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0)
            continue;
        // The line is gone (the test ended the pair).
        if ((fds[0].revents & (POLLHUP | POLLERR)) && !(fds[0].revents & POLLIN))
            return 0;
        if (fds[0].revents & POLLIN) {
            unsigned char bytes[256];
            ssize_t got = read(line, bytes, sizeof bytes);
            std::int64_t arrived = nowMicros();
            for (ssize_t i = 0; i < got; ++i) {
                clock.receive(bytes[i], arrived);
                std::printf("byte %02x %lld\n", bytes[i], static_cast<long long>(arrived));
            }
        }
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            char chunk[256];
            ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
            if (got <= 0)
                return 0;
            pending.append(chunk, std::size_t(got));
            for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
                if (!answer(pending.substr(0, end), clock))
                    std::printf("unknown\n");
                pending.erase(0, end + 1);
            }
        }
    }
}
