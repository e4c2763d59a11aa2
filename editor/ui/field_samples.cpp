#include "editor/ui/field_samples.h"

namespace facetor {
namespace {

std::string digit(int value) {
    return std::string(1, static_cast<char>('0' + value % 10));
}

// Tens and units of a clock value; the device has two positions, so only those two digits show.
std::vector<std::string> twoDigits(int value) {
    if (value < 0) {
        value = 0;
    }
    return {digit(value / 10), digit(value)};
}

int todayIndex(const LocalDateTime& now) {
    return ((now.weekday % 7) + 7) % 7;
}

std::vector<std::string> weekdaySample(std::uint8_t style, const WeekdayTables& names,
                                       const LocalDateTime& now) {
    const int day = todayIndex(now);
    if (style == static_cast<std::uint8_t>(WeekdayStyle::Short)) {
        return {names.shortNames[day][0], names.shortNames[day][1]};
    }
    if (style == static_cast<std::uint8_t>(WeekdayStyle::Full)) {
        const auto& full = names.fullNames[day];
        return {full.begin(), full.begin() + 9};
    }
    return {};
}

std::vector<std::string> temperatureSample(const char* sign, const char* tens, const char* units,
                                           const char* tenths, std::uint8_t style) {
    constexpr const char* kDegree = "\xB0";  // Windows-1251 degree sign
    switch (static_cast<TemperatureStyle>(style)) {
        case TemperatureStyle::Tenths:
            return {sign, tens, units, ",", tenths};
        case TemperatureStyle::Degree:
            return {sign, tens, units, kDegree};
        case TemperatureStyle::DegreeC:
            return {sign, tens, units, kDegree, "C"};
        default:
            return {sign, tens, units};
    }
}

}  // namespace

std::vector<std::string> fieldSample(FieldKind kind, std::uint8_t style, const WeekdayTables& names,
                                     const LocalDateTime& now) {
    switch (kind) {
        case FieldKind::Hours:
            return twoDigits(now.hour);
        case FieldKind::Minutes:
            return twoDigits(now.minute);
        case FieldKind::Seconds:
            return twoDigits(now.second);
        case FieldKind::Day:
            return twoDigits(now.day);
        case FieldKind::Month:
            return twoDigits(now.month);
        case FieldKind::Year:
            return twoDigits(now.year - 2000);
        case FieldKind::Weekday:
            return weekdaySample(style, names, now);
        case FieldKind::AlarmCount:
            return {"{", "}"};
        case FieldKind::Temperature1:
            return temperatureSample("-", "1", "0", "8", style);
        case FieldKind::Temperature2:
            return temperatureSample("+", "2", "2", "3", style);
    }
    return {};
}

}  // namespace facetor
