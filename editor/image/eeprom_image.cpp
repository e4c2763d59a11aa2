#include "editor/image/eeprom_image.h"

#include "editor/model/lcd_charset.h"

namespace facetor {

namespace {

constexpr int kShortNameLength = 2;
constexpr int kFullNameLength = 9;
// The image lists Monday first and Sunday (day index 0) last.
constexpr int kImageDayOrder[] = {1, 2, 3, 4, 5, 6, 0};

std::uint8_t bcd(int value) {
    return static_cast<std::uint8_t>((value / 10) * 16 + value % 10);
}

std::uint8_t nibbles(int high, int low) {
    return static_cast<std::uint8_t>(((high & 0x0F) << 4) | (low & 0x0F));
}

// A position holds one Windows-1251 character or nothing; nothing is stored as 0x00.
std::uint8_t lcdCodeOfPosition(const std::string& position) {
    return position.empty() ? 0x00 : toLcdCode(static_cast<std::uint8_t>(position.front()));
}

void putCells(const SkinDocument& document, EepromImage& image) {
    for (int i = 0; i < kCellCount; ++i) {
        image[kCellAreaOffset + i] = document.cell(static_cast<CellId>(kFirstCell + i));
    }
}

void putPlacements(const SkinDocument& document, EepromImage& image) {
    for (int kind = 0; kind < kFieldKindCount; ++kind) {
        for (int screen = 0; screen < kScreenCount; ++screen) {
            const FieldPlacement placement =
                document.placement(static_cast<FieldKind>(kind), screen);
            image[kPlacementOffset + kPlacementTableSize * kind + screen] =
                nibbles(placement.column, placement.row);
        }
    }
}

void putStyles(const SkinDocument& document, EepromImage& image) {
    for (int screen = 0; screen < kScreenCount; ++screen) {
        image[kTemperatureStyleOffset + screen] =
            nibbles(document.style(FieldKind::Temperature1, screen),
                    document.style(FieldKind::Temperature2, screen));
        image[kWeekdayStyleOffset + screen] = document.style(FieldKind::Weekday, screen);
    }
}

void putWeekdayNames(const WeekdayTables& names, EepromImage& image) {
    std::size_t shortAt = kShortNamesOffset;
    std::size_t fullAt = kFullNamesOffset;
    for (int day : kImageDayOrder) {
        for (int i = 0; i < kShortNameLength; ++i) {
            image[shortAt++] = lcdCodeOfPosition(names.shortNames[day][i]);
        }
        for (int i = 0; i < kFullNameLength; ++i) {
            image[fullAt++] = lcdCodeOfPosition(names.fullNames[day][i]);
        }
    }
}

void putTrailer(int localizationNumber, CalendarDate today, EepromImage& image) {
    for (std::size_t i = kTrailerOffset; i < kDateStampOffset; ++i) {
        image[i] = 0xFF;
    }
    image[kDateStampOffset] = bcd(today.day);
    image[kDateStampOffset + 1] = bcd(today.month);
    image[kDateStampOffset + 2] = bcd(today.year - 2000);
    image[kLocalizationNumberOffset] = static_cast<std::uint8_t>(localizationNumber);
    image[kLocalizationNumberOffset + 1] = 0xFF;
}

}  // namespace

EepromImage buildEepromImage(const SkinDocument& document, const Localizations& localizations,
                             int localizationNumber, CalendarDate today) {
    EepromImage image{};  // the padding after the names and the reserved gap stay 0x00
    putCells(document, image);
    putPlacements(document, image);
    putStyles(document, image);
    putWeekdayNames(localizations.items.at(localizationNumber).names, image);
    putTrailer(localizationNumber, today, image);
    return image;
}

}  // namespace facetor
