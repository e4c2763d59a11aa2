// The clock's ATmega168 as a serial bootloader or an Arduino as ISP shows it to avrdude: STK500
// version 1 on a pseudo-terminal that it links at the path given (the tests map it as a COM
// port) and keeps open itself, so avrdude may open and close it as often as it likes. Commands
// on standard input, each answered by a line on standard output:
//   eeprom                 -> "eeprom <1024 hex digits>"
//   load <1024 hex>        -> the EEPROM holds that
//   signature <6 hex>      -> the signature it gives from now on
//   mute                   -> it answers nothing any more (no bootloader, a dead programmer)
//   mute-after <n>         -> it goes silent once n more EEPROM bytes have been written
//   stuck <address>        -> that EEPROM byte keeps its value whatever is written
//   write-delay-us <n>     -> each EEPROM byte takes that long to write (a real one: 3400)
//   written                -> "written <EEPROM bytes written so far>"
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kInSync = 0x14, kOk = 0x10, kNoSync = 0x15, kEndOfCommand = 0x20;

struct Target {
    std::array<std::uint8_t, 512> eeprom{};
    std::array<std::uint8_t, 3> signature{0x1E, 0x94, 0x06};
    std::array<std::uint8_t, 256> parameters{};
    unsigned address = 0;  // as the last load address command set it
    bool mute = false;
    long muteAfter = -1;  // EEPROM bytes still to write before going silent; -1: never
    long stuck = -1;
    long writeDelayUs = 0;
    long written = 0;
};

// The whole length of the command at the front of `in`, once enough of it is there to tell.
std::optional<std::size_t> commandLength(const Bytes& in) {
    if (in.empty())
        return std::nullopt;
    switch (in[0]) {
        case 0x40:  // set parameter
        case 0x55:  // load address
            return 4;
        case 0x41:  // get parameter
            return 3;
        case 0x42:  // set device
            return 22;
        case 0x45:  // set device, extended: a count that includes itself
            return in.size() < 2 ? std::nullopt : std::optional<std::size_t>(in[1] + 2);
        case 0x56:  // universal
            return 6;
        case 0x64:  // program page
            return in.size() < 3 ? std::nullopt
                                 : std::optional<std::size_t>(5 + (in[1] << 8 | in[2]));
        case 0x74:  // read page
            return 5;
        default:  // sync, sign-on, enter and leave programming mode, signature, the rest
            return 2;
    }
}

void writeEeprom(Target& t, const std::uint8_t* data, std::size_t count) {
    for (std::size_t i = 0; i < count && !t.mute; ++i) {
        const unsigned at = (t.address + i) % t.eeprom.size();
        if (static_cast<long>(at) != t.stuck)
            t.eeprom[at] = data[i];
        ++t.written;
        if (t.writeDelayUs > 0)
            usleep(static_cast<useconds_t>(t.writeDelayUs));
        if (t.muteAfter > 0 && --t.muteAfter == 0)
            t.mute = true;
    }
}

// The answer to one whole command; empty while muted.
Bytes answer(Target& t, const Bytes& c) {
    if (t.mute)
        return {};
    if (c.back() != kEndOfCommand) {
        return {kNoSync};
    }
    Bytes out{kInSync};
    switch (c[0]) {
        case 0x31:
            for (char ch : std::string("AVR STK"))
                out.push_back(static_cast<std::uint8_t>(ch));
            break;
        case 0x40:
            t.parameters[c[1]] = c[2];
            break;
        case 0x41:
            out.push_back(t.parameters[c[1]]);
            break;
        case 0x55:
            // Word addresses, as for flash; EEPROM bytes are counted from twice that.
            t.address = 2 * (c[1] | c[2] << 8);
            break;
        case 0x56:  // universal (ISP) instructions: of these only reading the signature
            out.push_back(c[1] == 0x30 ? t.signature[c[3] % 3] : 0);
            break;
        case 0x64:
            if (c[3] == 'E') {
                writeEeprom(t, &c[4], c.size() - 5);
                if (t.mute)
                    return {};
            }
            break;
        case 0x74:
            for (unsigned i = 0; i < static_cast<unsigned>(c[1] << 8 | c[2]); ++i)
                out.push_back(c[3] == 'E' ? t.eeprom[(t.address + i) % t.eeprom.size()] : 0xFF);
            break;
        case 0x75:
            out.insert(out.end(), t.signature.begin(), t.signature.end());
            break;
        default:
            break;
    }
    out.push_back(kOk);
    return out;
}

std::string hex(const std::uint8_t* data, std::size_t count) {
    std::string text(2 * count, '0');
    for (std::size_t i = 0; i < count; ++i)  // each pair's end mark lands where the next begins
        std::snprintf(&text[2 * i], 3, "%02x", data[i]);
    return text;
}

bool fromHex(const std::string& text, std::uint8_t* out, std::size_t count) {
    if (text.size() != 2 * count)
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        out[i] =
            static_cast<std::uint8_t>(std::strtoul(text.substr(2 * i, 2).c_str(), nullptr, 16));
    }
    return true;
}

std::string control(Target& t, const std::string& line) {
    std::istringstream in(line);
    std::string command, value;
    in >> command >> value;
    if (command == "eeprom")
        return "eeprom " + hex(t.eeprom.data(), t.eeprom.size());
    if (command == "written")
        return "written " + std::to_string(t.written);
    if (command == "load" && fromHex(value, t.eeprom.data(), t.eeprom.size()))
        return "ok";
    if (command == "signature" && fromHex(value, t.signature.data(), t.signature.size()))
        return "ok";
    const long number = std::strtol(value.c_str(), nullptr, 0);
    if (command == "mute")
        t.mute = true;
    else if (command == "mute-after")
        t.muteAfter = number;
    else if (command == "stuck")
        t.stuck = number;
    else if (command == "write-delay-us")
        t.writeDelayUs = number;
    else
        return "unknown";
    return "ok";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: stk500_target <link to make for the serial line>\n");
        return 2;
    }
    const int line = posix_openpt(O_RDWR | O_NOCTTY);
    const char* farEnd =
        line >= 0 && grantpt(line) == 0 && unlockpt(line) == 0 ? ptsname(line) : nullptr;
    const int keptOpen = farEnd ? open(farEnd, O_RDWR | O_NOCTTY) : -1;
    termios raw{};
    unlink(argv[1]);
    if (keptOpen < 0 || tcgetattr(keptOpen, &raw) != 0 || symlink(farEnd, argv[1]) != 0) {
        std::perror("stk500_target");
        return 1;
    }
    cfmakeraw(&raw);
    tcsetattr(keptOpen, TCSANOW, &raw);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("ready %s\n", farEnd);

    Target target;
    target.eeprom.fill(0xFF);
    Bytes received;
    char typed[2048];
    for (;;) {
        pollfd fds[2] = {{line, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0)
            continue;
        if (fds[0].revents & POLLIN) {
            std::uint8_t buffer[1024];
            const ssize_t n = read(line, buffer, sizeof buffer);
            received.insert(received.end(), buffer, buffer + (n > 0 ? n : 0));
            std::optional<std::size_t> length;
            while ((length = commandLength(received)) && received.size() >= *length) {
                const Bytes command(received.begin(), received.begin() + *length);
                received.erase(received.begin(), received.begin() + *length);
                const Bytes reply = answer(target, command);  // a pty takes so few bytes at once
                const ssize_t written = write(line, reply.data(), reply.size());
                static_cast<void>(written);
            }
        }
        if (fds[1].revents & (POLLIN | POLLHUP)) {  // the tests write whole lines
            if (!std::fgets(typed, sizeof typed, stdin))
                break;
            std::printf("%s\n", control(target, typed).c_str());
        }
    }
    unlink(argv[1]);
    close(keptOpen);
    return 0;
}
