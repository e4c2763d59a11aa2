#include "tests/console/device/running_clock.h"

#include <chrono>

namespace portwand::device {

namespace {

constexpr std::int64_t kMicrosPerSecond = 1'000'000;

bool isDigit(std::uint8_t byte) {
    return byte >= '0' && byte <= '9';
}

int number(std::uint8_t tens, std::uint8_t ones) {
    return (tens - '0') * 10 + (ones - '0');
}

}  // namespace

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 31;  // a month the device was never meant to hold
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

DeviceTime addSeconds(DeviceTime t, std::int64_t seconds) {
    std::int64_t total = t.second + seconds;
    t.second = int(total % 60);
    std::int64_t minutes = t.minute + total / 60;
    t.minute = int(minutes % 60);
    std::int64_t hours = t.hour + minutes / 60;
    t.hour = int(hours % 24);
    // Day by day: each month has its own length.
    for (std::int64_t days = hours / 24; days > 0; --days) {
        if (++t.day > daysInMonth(t.year, t.month)) {
            t.day = 1;
            if (++t.month > 12) {
                t.month = 1;
                ++t.year;
            }
        }
    }
    return t;
}

void RunningClock::runTo(std::int64_t atMicros) {
    std::int64_t whole = (atMicros - secondStart_) / kMicrosPerSecond;
    if (whole <= 0)
        return;
    time_ = addSeconds(time_, whole);
    secondStart_ += whole * kMicrosPerSecond;
}

DeviceTime RunningClock::at(std::int64_t atMicros) const {
    RunningClock later = *this;
    later.runTo(atMicros);
    return later.time_;
}

std::int64_t RunningClock::microsIntoSecond(std::int64_t atMicros) const {
    return (atMicros - secondStart_) % kMicrosPerSecond;
}

std::int64_t RunningClock::shownMicros(std::int64_t atMicros) const {
    return microsSince1970(at(atMicros)) + microsIntoSecond(atMicros);
}

std::int64_t microsSince1970(const DeviceTime& t) {
    using namespace std::chrono;
    const sys_days date = year{t.year} / month{unsigned(t.month)} / day{unsigned(t.day)};
    return (date.time_since_epoch() + hours{t.hour} + minutes{t.minute} + seconds{t.second}) /
           microseconds{1};
}

DeviceTime deviceTimeAt(std::int64_t micros) {
    using namespace std::chrono;
    const sys_time<microseconds> instant{microseconds{micros}};
    const sys_days date = floor<days>(instant);
    const year_month_day calendar{date};
    const hh_mm_ss<microseconds> ofDay{instant - date};
    return {int(calendar.year()),          int(unsigned(calendar.month())),
            int(unsigned(calendar.day())), int(ofDay.hours().count()),
            int(ofDay.minutes().count()),  int(ofDay.seconds().count())};
}

void RunningClock::receive(std::uint8_t byte, std::int64_t atMicros) {
    runTo(atMicros);
    // A frame is a kind letter, four digits, line feed and carriage return; anything else is
    // dropped until the next kind letter.
    if (frameLength_ == 0 && byte != 'A' && byte != 'B')
        return;
    frame_[std::size_t(frameLength_++)] = byte;
    bool fits = frameLength_ == 1 || (frameLength_ <= 5 && isDigit(byte)) ||
                (frameLength_ == 6 && byte == 0x0A) || (frameLength_ == 7 && byte == 0x0D);
    if (!fits) {
        frameLength_ = 0;
        if (byte == 'A' || byte == 'B')
            frame_[std::size_t(frameLength_++)] = byte;
        return;
    }
    if (frameLength_ < 7)
        return;
    frameLength_ = 0;
    if (frame_[0] != 'B')
        return;  // a key: the clock does not change
    int selector = number(frame_[1], frame_[2]);
    int value = number(frame_[3], frame_[4]);
    if (selector == 20) {
        check_ = value;
        return;
    }
    bool checked = check_ == (~value & 63);
    check_ = -1;
    if (checked)
        take(selector, value, atMicros);
}

void RunningClock::take(int selector, int value, std::int64_t atMicros) {
    ++framesTaken_;
    switch (selector) {
        case 1:
            time_.year = 2000 + value;
            break;
        case 2:
            time_.month = value;
            break;
        case 3:
            time_.day = value;
            break;
        case 4:
            time_.hour = value;
            break;
        case 5:
            time_.minute = value;
            break;
        case 6:
            time_.second = value;
            secondStart_ = atMicros;
            break;
        default:
            --framesTaken_;
            break;
    }
}

}  // namespace portwand::device
