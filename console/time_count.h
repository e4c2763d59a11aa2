// Local clock readings on one continuous count of milliseconds, so that instants can be compared
// and stepped across the turn of a minute, an hour, a day, a month or a year.
#pragma once

#include <cstdint>

#include "console/clock.h"

namespace portwand {

// Milliseconds since 1 January 1970, 00:00:00.000 of the same (local) clock.
std::int64_t millisecondsOf(const LocalTime& time);
LocalTime localTimeAt(std::int64_t milliseconds);

}  // namespace portwand
