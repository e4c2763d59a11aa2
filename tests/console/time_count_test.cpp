#include "console/time_count.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace portwand {
namespace {

bool sameTime(const LocalTime& a, const LocalTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second && a.millisecond == b.millisecond;
}

TEST(TimeCount, CountsMillisecondsOverMonthsYearsAndLeapDays) {
    // Known counts: the start of 1970, New Year's Eve 2026, a leap day, the turn of 2100.
    const struct {
        LocalTime time;
        std::int64_t milliseconds;
    } table[] = {
        {{1970, 1, 1, 0, 0, 0, 0}, 0},
        {{2026, 12, 31, 23, 59, 59, 900}, 1'798'761'599'900},
        {{2027, 1, 1, 0, 0, 1, 0}, 1'798'761'601'000},
        {{2000, 2, 29, 12, 0, 0, 0}, 951'825'600'000},
        {{2100, 3, 1, 0, 0, 0, 0}, 4'107'542'400'000},
    };
    for (const auto& row : table) {
        EXPECT_EQ(millisecondsOf(row.time), row.milliseconds) << row.milliseconds;
        EXPECT_TRUE(sameTime(localTimeAt(row.milliseconds), row.time)) << row.milliseconds;
    }
    // Day by day from 1999 to 2101, each date follows the one before and comes back as itself.
    const std::int64_t day = 86'400'000;
    LocalTime previous = localTimeAt(millisecondsOf({1999, 1, 1, 0, 0, 0, 0}));
    for (std::int64_t ms = millisecondsOf(previous) + day; previous.year < 2102; ms += day) {
        LocalTime t = localTimeAt(ms);
        ASSERT_EQ(millisecondsOf(t), ms);
        bool sameMonth = t.year == previous.year && t.month == previous.month;
        bool nextMonth = t.year == previous.year && t.month == previous.month + 1;
        bool nextYear = t.year == previous.year + 1 && t.month == 1 && previous.month == 12;
        ASSERT_TRUE((sameMonth && t.day == previous.day + 1) ||
                    ((nextMonth || nextYear) && t.day == 1))
            << t.year << "-" << t.month << "-" << t.day;
        previous = t;
    }
}

}  // namespace
}  // namespace portwand
