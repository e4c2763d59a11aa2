#include "console/time_count.h"

namespace portwand {

namespace {

constexpr std::int64_t kMillisPerDay = 86'400'000;

// Days since 1 January 1970 of a date of the proleptic Gregorian calendar: years are counted
// from March on, so that the leap day comes last in its year.
std::int64_t daysOf(int year, int month, int day) {
    std::int64_t y = month <= 2 ? year - 1 : year;
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    std::int64_t yearOfEra = y - era * 400;
    std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + dayOfEra - 719'468;
}

struct Date {
    int year, month, day;
};

Date dateOf(std::int64_t days) {
    days += 719'468;
    std::int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
    std::int64_t dayOfEra = days - era * 146'097;
    std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    int day = int(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    int month = int(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    int year = int(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

}  // namespace

std::int64_t millisecondsOf(const LocalTime& time) {
    std::int64_t ofDay =
        ((time.hour * 60LL + time.minute) * 60 + time.second) * 1000 + time.millisecond;
    return daysOf(time.year, time.month, time.day) * kMillisPerDay + ofDay;
}

LocalTime localTimeAt(std::int64_t milliseconds) {
    std::int64_t days = milliseconds / kMillisPerDay;
    std::int64_t ofDay = milliseconds % kMillisPerDay;
    if (ofDay < 0) {
        ofDay += kMillisPerDay;
        --days;
    }
    Date date = dateOf(days);
    return {date.year,
            date.month,
            date.day,
            int(ofDay / 3'600'000),
            int(ofDay / 60'000 % 60),
            int(ofDay / 1000 % 60),
            int(ofDay % 1000)};
}

}  // namespace portwand
