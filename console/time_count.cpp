#include "console/time_count.h"

#include <chrono>

namespace portwand {

std::int64_t millisecondsOf(const LocalTime& time) {
    using namespace std::chrono;
    const sys_days date = year{time.year} / month{unsigned(time.month)} / day{unsigned(time.day)};
    const milliseconds sinceEpoch = date.time_since_epoch() + hours{time.hour} +
                                    minutes{time.minute} + seconds{time.second} +
                                    milliseconds{time.millisecond};
    return sinceEpoch.count();
}

LocalTime localTimeAt(std::int64_t count) {
    using namespace std::chrono;
    const sys_time<milliseconds> instant{milliseconds{count}};
    const sys_days date = floor<days>(instant);
    const year_month_day calendar{date};
    const hh_mm_ss<milliseconds> ofDay{instant - date};
    return {int(calendar.year()),           int(unsigned(calendar.month())),
            int(unsigned(calendar.day())),  int(ofDay.hours().count()),
            int(ofDay.minutes().count()),   int(ofDay.seconds().count()),
            int(ofDay.subseconds().count())};
}

}  // namespace portwand
