#include "editor/image/eeprom_image.h"

#include <gtest/gtest.h>

#include "tests/editor/image/image_test_support.h"

namespace facetor {
namespace {

using testing::clearedDocument;
using testing::defaultLocalizations;
using testing::sampleDocument;

constexpr CalendarDate kMay9th2011{9, 5, 2011};

std::vector<std::uint8_t> bytesAt(const EepromImage& image, std::size_t offset, std::size_t count) {
    return std::vector<std::uint8_t>(image.begin() + offset, image.begin() + offset + count);
}

std::size_t placementOffset(FieldKind kind, int screen) {
    return kPlacementOffset + kPlacementTableSize * static_cast<std::size_t>(kind) + screen;
}

TEST(EepromImage, ClearedDocumentIsBlankWithoutFieldsButKeepsItsStyles) {
    SkinDocument document = clearedDocument();
    document.setCursor(cellIdOf(5, 0, 0));
    document.placeField(FieldKind::Weekday, static_cast<std::uint8_t>(WeekdayStyle::Full));
    document.placeField(FieldKind::Temperature1,
                        static_cast<std::uint8_t>(TemperatureStyle::Degree));
    document.clearAll();

    const EepromImage image = buildEepromImage(document, defaultLocalizations(), 1, kMay9th2011);

    EXPECT_EQ(bytesAt(image, kCellAreaOffset, kCellAreaSize), std::vector<std::uint8_t>(256, 0x20));
    EXPECT_EQ(bytesAt(image, kPlacementOffset, 80), std::vector<std::uint8_t>(80, 0xFF));
    EXPECT_EQ(image[kTemperatureStyleOffset + 5], 0x20);
    EXPECT_EQ(image[kWeekdayStyleOffset + 5], 0x01);
    EXPECT_EQ(image[kTemperatureStyleOffset + 4], 0x00);
    EXPECT_EQ(image[kWeekdayStyleOffset + 4], 0x00);
}

TEST(EepromImage, CellsPlacementsAndStylesLandAtTheirOffsets) {
    const EepromImage image =
        buildEepromImage(sampleDocument(), defaultLocalizations(), 0, kMay9th2011);

    // Cells: Screen s at 32 x s, row 0 then row 1, codes copied unconverted.
    EXPECT_EQ(bytesAt(image, 0, 6),
              (std::vector<std::uint8_t>{0x54, 0x0A, 0xA8, 0xFF, 0x00, 0x20}));
    EXPECT_EQ(image[16 + 6], ':');
    EXPECT_EQ(image[0xFF], 0xE6);
    EXPECT_EQ(image[0xFE], 0x20);

    // Placement byte: column in the high nibble, row in the low nibble.
    EXPECT_EQ(image[placementOffset(FieldKind::Hours, 0)], 0x41);
    EXPECT_EQ(image[placementOffset(FieldKind::Minutes, 0)], 0x71);
    EXPECT_EQ(image[placementOffset(FieldKind::Hours, 1)], 0xFF);
    EXPECT_EQ(image[placementOffset(FieldKind::Weekday, 3)], 0x70);
    EXPECT_EQ(image[placementOffset(FieldKind::Temperature1, 3)], 0x01);
    EXPECT_EQ(image[placementOffset(FieldKind::Temperature2, 3)], 0x51);
    EXPECT_EQ(image[placementOffset(FieldKind::Temperature2, 6)], 0xB1);
    EXPECT_EQ(image[placementOffset(FieldKind::Seconds, 7)], 0x60);
    EXPECT_EQ(image[placementOffset(FieldKind::Day, 7)], 0x00);
    EXPECT_EQ(image[placementOffset(FieldKind::Month, 7)], 0x20);
    EXPECT_EQ(image[placementOffset(FieldKind::Year, 7)], 0x40);
    EXPECT_EQ(image[placementOffset(FieldKind::AlarmCount, 7)], 0x80);

    // Temperature styles: sensor 1 high nibble, sensor 2 low nibble; weekday style whole.
    EXPECT_EQ(image[kTemperatureStyleOffset + 3], 0x31);
    EXPECT_EQ(image[kTemperatureStyleOffset + 6], 0x02);
    EXPECT_EQ(image[kWeekdayStyleOffset + 3], 0x01);
    EXPECT_EQ(image[kWeekdayStyleOffset + 0], 0x00);
}

TEST(EepromImage, PlacementsOnEveryScreenFollowScreenOrder) {
    SkinDocument document = clearedDocument();
    for (int screen = 0; screen < kScreenCount; ++screen) {
        document.setCursor(cellIdOf(screen, screen % 2, screen));
        document.placeField(FieldKind::Year);
    }
    const EepromImage image = buildEepromImage(document, defaultLocalizations(), 0, kMay9th2011);
    EXPECT_EQ(bytesAt(image, placementOffset(FieldKind::Year, 0), 8),
              (std::vector<std::uint8_t>{0x00, 0x11, 0x20, 0x31, 0x40, 0x51, 0x60, 0x71}));
}

TEST(EepromImage, WeekdayNamesGoMondayFirstThroughTheLcdCodes) {
    Localizations localizations = defaultLocalizations();
    const SkinDocument document = clearedDocument();

    const EepromImage english = buildEepromImage(document, localizations, 0, kMay9th2011);
    EXPECT_EQ(bytesAt(english, kShortNamesOffset, 2), (std::vector<std::uint8_t>{'M', 'n'}));
    EXPECT_EQ(bytesAt(english, kShortNamesOffset + 12, 4),
              (std::vector<std::uint8_t>{'S', 'n', 0x00, 0x00}));
    const std::string monday = "Monday   ";
    EXPECT_EQ(bytesAt(english, kFullNamesOffset, 9),
              std::vector<std::uint8_t>(monday.begin(), monday.end()));
    const std::string sunday = "Sunday   ";
    EXPECT_EQ(bytesAt(english, kFullNamesOffset + 54, 10),
              (std::vector<std::uint8_t>{'S', 'u', 'n', 'd', 'a', 'y', ' ', ' ', ' ', 0x00}));

    // Cyrillic letters become the device's codes: "Пн" and "Понедел-к".
    const EepromImage russian = buildEepromImage(document, localizations, 1, kMay9th2011);
    EXPECT_EQ(bytesAt(russian, kShortNamesOffset, 2), (std::vector<std::uint8_t>{0xA8, 0xBD}));
    EXPECT_EQ(bytesAt(russian, kFullNamesOffset, 9),
              (std::vector<std::uint8_t>{0xA8, 0x6F, 0xBD, 0x65, 0xE3, 0x65, 0xBB, 0x2D, 0xBA}));

    // A one-letter short name (Sunday, last in the image) leaves its second position 0x00.
    localizations.items[2].names.shortNames[0] = {"\xC2", "", ""};  // "В"
    const EepromImage ukrainian = buildEepromImage(document, localizations, 2, kMay9th2011);
    EXPECT_EQ(bytesAt(ukrainian, kShortNamesOffset + 12, 2),
              (std::vector<std::uint8_t>{0x42, 0x00}));
    EXPECT_EQ(bytesAt(ukrainian, kShortNamesOffset + 10, 2),
              (std::vector<std::uint8_t>{0x43, 0xB2}));  // Saturday "Сб"
}

TEST(EepromImage, GapIsZeroAndTrailerCarriesBcdDateAndLocalization) {
    const SkinDocument document = sampleDocument();
    const Localizations localizations = defaultLocalizations();

    const EepromImage may = buildEepromImage(document, localizations, 1, kMay9th2011);
    EXPECT_EQ(bytesAt(may, kReservedGapOffset - 1, kReservedGapSize + 1),
              std::vector<std::uint8_t>(65, 0x00));
    const std::vector<std::uint8_t> trailer{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                            0xFF, 0xFF, 0xFF, 0x09, 0x05, 0x11, 0x01, 0xFF};
    EXPECT_EQ(bytesAt(may, kTrailerOffset, kTrailerSize), trailer);

    const EepromImage december = buildEepromImage(document, localizations, 2, {31, 12, 2099});
    EXPECT_EQ(bytesAt(december, kDateStampOffset, 5),
              (std::vector<std::uint8_t>{0x31, 0x12, 0x99, 0x02, 0xFF}));

    const EepromImage english = buildEepromImage(document, localizations, 0, {1, 10, 2000});
    EXPECT_EQ(bytesAt(english, kDateStampOffset, 4),
              (std::vector<std::uint8_t>{0x01, 0x10, 0x00, 0x00}));
}

}  // namespace
}  // namespace facetor
