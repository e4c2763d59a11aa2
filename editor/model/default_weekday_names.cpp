#include "editor/model/default_weekday_names.h"

#include <array>

namespace facetor {

namespace {

// Indexed by Localization, then weekday number - 1. The "i" of the Ukrainian names is the
// Latin i: the device has no glyph for the Ukrainian one.
constexpr std::array<std::array<DefaultWeekdayName, 7>, 3> kDefaults = {{
    {{
        {"Mn", " Monday"},
        {"Tu", " Tuesday"},
        {"Wd", " Wednesday"},
        {"Th", " Thursday"},
        {"Fr", " Friday"},
        {"St", " Saturday"},
        {"Sn", " Sunday"},
    }},
    {{
        {"Пн", " Понедел-к"},
        {"Вт", " Вторник"},
        {"Ср", " Среда"},
        {"Чт", " Четверг"},
        {"Пт", " Пятница"},
        {"Сб", " Суббота"},
        {"Вс", " Воскр-нье"},
    }},
    {{
        {"Пн", " Понедiлок"},
        {"Вт", " Вiвторок"},
        {"Ср", " Середа"},
        {"Чт", " Четвер"},
        {"Пт", " П'ятниця"},
        {"Сб", " Субота"},
        {"Нд", " Недiля"},
    }},
}};

}  // namespace

DefaultWeekdayName defaultWeekdayName(int localization, int weekdayNumber) {
    if (localization < 0 || localization >= static_cast<int>(kDefaults.size()) ||
        weekdayNumber < 1 || weekdayNumber > 7) {
        return {};
    }
    return kDefaults[localization][weekdayNumber - 1];
}

}  // namespace facetor
