// The built-in weekday names, used for every settings key that the file does not set.
#pragma once

#include <string_view>

namespace facetor {

struct DefaultWeekdayName {
    std::string_view shortName;  // UTF-8
    std::string_view fullName;   // UTF-8; begins with the character that reading drops
};

// localization 0 en, 1 ru, 2 ua; weekdayNumber 1 = Monday .. 7 = Sunday.
DefaultWeekdayName defaultWeekdayName(int localization, int weekdayNumber);

}  // namespace facetor
