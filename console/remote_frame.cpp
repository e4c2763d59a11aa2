#include "console/remote_frame.h"

#include <string>

namespace portwand {

namespace {

constexpr std::uint8_t kKeyKind = 'A';
constexpr std::uint8_t kClockKind = 'B';
constexpr int kKeySelector = 0;
constexpr int kCheckSelector = 20;

RemoteFrame makeFrame(std::uint8_t kind, std::uint8_t selector, std::uint8_t value) {
    auto sel = twoDigitText(selector);
    auto val = twoDigitText(value);
    return {kind, sel[0], sel[1], val[0], val[1], 0x0A, 0x0D};
}

int valueSelector(ClockField field) {
    switch (field) {
        case ClockField::Year:
            return 1;
        case ClockField::Month:
            return 2;
        case ClockField::Day:
            return 3;
        case ClockField::Hours:
            return 4;
        case ClockField::Minutes:
            return 5;
        case ClockField::Seconds:
            return 6;
    }
    return 0;
}

}  // namespace

std::array<std::uint8_t, 2> twoDigitText(std::uint8_t number) {
    std::string text = std::to_string(number);
    if (text.size() == 1)
        text.insert(text.begin(), '0');
    return {std::uint8_t(text[0]), std::uint8_t(text[1])};
}

int keyCode(RemoteKey key) {
    switch (key) {
        case RemoteKey::Esc:
            return 13;
        case RemoteKey::Menu:
            return 59;
        case RemoteKey::Up:
            return 32;
        case RemoteKey::Down:
            return 33;
        case RemoteKey::Left:
            return 17;
        case RemoteKey::Right:
            return 16;
        case RemoteKey::Backlight:
            return 12;
        case RemoteKey::SkinPlus:
            return 63;
        case RemoteKey::SkinMinus:
            return 56;
    }
    return 0;
}

RemoteFrame keyFrame(RemoteKey key) {
    return makeFrame(kKeyKind, kKeySelector, std::uint8_t(keyCode(key)));
}

std::uint8_t clockValue(ClockField field, const LocalTime& time) {
    switch (field) {
        case ClockField::Year:
            return std::uint8_t(time.year - 2000);
        case ClockField::Month:
            return std::uint8_t(time.month);
        case ClockField::Day:
            return std::uint8_t(time.day);
        case ClockField::Hours:
            return std::uint8_t(time.hour);
        case ClockField::Minutes:
            return std::uint8_t(time.minute);
        case ClockField::Seconds:
            return std::uint8_t(time.second);
    }
    return 0;
}

std::uint8_t checkValue(std::uint8_t value) {
    return std::uint8_t(~value & 63);
}

RemoteFrame checkFrame(std::uint8_t value) {
    return makeFrame(kClockKind, kCheckSelector, checkValue(value));
}

RemoteFrame valueFrame(ClockField field, std::uint8_t value) {
    return makeFrame(kClockKind, std::uint8_t(valueSelector(field)), value);
}

}  // namespace portwand
