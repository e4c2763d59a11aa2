#include "editor/clock/avrdude_output.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>

namespace facetor::clock {
namespace {

constexpr std::array<std::string_view, 2> kBarStarts{"Reading | ", "Writing | "};

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool has(std::string_view lower, std::string_view phrase) {
    return lower.find(phrase) != std::string_view::npos;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// Six hex digits after "0x" ("0x1e940b"), or three hex bytes ("1E 94 0B").
std::optional<std::uint32_t> signatureAfter(std::string_view lower, std::size_t from) {
    std::string_view rest = lower.substr(from);
    while (!rest.empty() && rest.front() == ' ') {
        rest.remove_prefix(1);
    }
    if (rest.starts_with("0x")) {
        rest.remove_prefix(2);
    }
    std::uint32_t value = 0;
    int digits = 0;
    for (char c : rest) {
        if (digits == 6) {
            break;
        }
        if (c == ' ' && digits % 2 == 0 && digits > 0) {
            continue;
        }
        const int d = hexDigit(c);
        if (d < 0) {
            break;
        }
        value = value << 4 | static_cast<std::uint32_t>(d);
        ++digits;
    }
    return digits == 6 ? std::optional<std::uint32_t>(value) : std::nullopt;
}

std::optional<std::uint32_t> addressAfter(std::string_view lower, std::string_view phrase) {
    const std::size_t at = lower.find(phrase);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string number(lower.substr(at + phrase.size(), 8));
    char* end = nullptr;
    const unsigned long value = std::strtoul(number.c_str(), &end, 16);
    return end == number.c_str() ? std::nullopt : std::optional<std::uint32_t>(value);
}

// The system's reason after the port's name: "cannot open port \\.\COM3: Access is denied." or
// "can't open device "\\.\COM3": ...".
std::string portReason(std::string_view line) {
    std::size_t at = line.find(" port ");
    if (at == std::string_view::npos) {
        at = line.find(" device ");
    }
    const std::size_t colon = line.find(':', at == std::string_view::npos ? line.size() : at);
    if (colon == std::string_view::npos) {
        return {};
    }
    std::string_view reason = line.substr(colon + 1);
    while (!reason.empty() && (reason.front() == ' ' || reason.front() == '"')) {
        reason.remove_prefix(1);
    }
    while (!reason.empty() && (reason.back() == ' ' || reason.back() == '\r')) {
        reason.remove_suffix(1);
    }
    return std::string(reason);
}

}  // namespace

void AvrdudeOutput::feed(std::string_view chunk) {
    for (char c : chunk) {
        take(c);
    }
}

void AvrdudeOutput::finish() {
    if (!line_.empty()) {
        endLine();
    }
    inBar_ = false;
}

void AvrdudeOutput::take(char c) {
    if (c == '\n') {
        endLine();
        inBar_ = false;
        return;
    }
    if (c == '\r') {  // a bar redrawn in place stays the same bar, drawn again from its start
        if (inBar_) {
            facts_.barMarks = 0;
        } else {
            endLine();
        }
        line_.clear();
        return;
    }
    if (inBar_) {
        if (c == '#' && line_.find('|', kBarStarts[0].size()) == std::string::npos) {
            facts_.barMarks = std::min(facts_.barMarks + 1, kMarksPerBar);
        }
    }
    if (line_.size() < kLineLimit) {
        line_ += c;
    }
    if (!inBar_ && eepromOperations_ && line_.size() == kBarStarts[0].size() &&
        std::find(kBarStarts.begin(), kBarStarts.end(), line_) != kBarStarts.end()) {
        inBar_ = true;
        ++facts_.bars;
        facts_.barMarks = 0;
    }
}

void AvrdudeOutput::endLine() {
    judgeLine(line_);
    line_.clear();
}

void AvrdudeOutput::judgeLine(std::string_view line) {
    const std::string lower = lowerCase(line);
    if (has(lower, "eeprom")) {
        eepromOperations_ = true;
    }
    if (const std::size_t at = lower.find("signature = "); at != std::string::npos) {
        if (const auto value = signatureAfter(lower, at + 12)) {
            facts_.signature = value;
        }
    }
    facts_.signatureMismatch |= has(lower, "expected signature for");
    facts_.invalidSignature |= has(lower, "invalid device signature");
    facts_.usbDeviceMissing |= has(lower, "find usb device") || has(lower, "find usbtiny device") ||
                               has(lower, "did not find any usb device");
    facts_.usbAccessTrouble |= has(lower, "cannot query manufacturer") ||
                               has(lower, "cannot open usb device") ||
                               has(lower, "usb access error") || has(lower, "usb_open");
    if (has(lower, "cannot open port") || has(lower, "can't open device")) {
        facts_.portNotOpened = true;
        facts_.portError = portReason(line);
    }
    facts_.programmerNotOpened |=
        has(lower, "unable to open programmer") || has(lower, "unable to open port");
    facts_.notInSync |= has(lower, "not in sync");
    if (has(lower, "programmer is not responding")) {
        ++facts_.notResponding;
    }
    facts_.initFailed |= has(lower, "initialization failed");
    if (has(lower, "verification error") || has(lower, "verification mismatch")) {
        facts_.verifyMismatch = true;
    }
    if (!facts_.mismatchAddress) {
        facts_.mismatchAddress = addressAfter(lower, "mismatch at byte 0x");
    }
    if (!facts_.mismatchAddress) {
        facts_.mismatchAddress = addressAfter(lower, "at addr 0x");
    }
    facts_.fileNotReadable |= has(lower, "is not readable");
}

}  // namespace facetor::clock
