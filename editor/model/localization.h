// The three Localizations (en, ru, ua): image file names and weekday name tables.
#pragma once

#include <array>
#include <string>

namespace facetor {

inline constexpr int kLocalizationCount = 3;  // 0 en, 1 ru, 2 ua

// Day index 0 = Sunday .. 6 = Saturday (7 unused). Each position holds one Windows-1251
// character or is empty ("").
struct WeekdayTables {
    std::array<std::array<std::string, 3>, 8> shortNames;
    std::array<std::array<std::string, 21>, 8> fullNames;
};

struct Localization {
    std::string code;           // "en", "ru", "ua"
    std::string imageFileName;  // "chronotherm_lcd_m168_en.eep", ...
    WeekdayTables names;
};

struct Localizations {
    std::array<Localization, kLocalizationCount> items;

    // As before the settings are read: the names set, full-name positions 0..19 of days 0..6 " ",
    // everything else empty.
    static Localizations initial();
};

}  // namespace facetor
