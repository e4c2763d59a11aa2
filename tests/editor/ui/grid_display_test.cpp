#include "editor/ui/grid_display.h"

#include <gtest/gtest.h>

#include "editor/model/settings_file.h"
#include "editor_harness.h"

namespace facetor::testing {
namespace {

WeekdayTables englishNames() {
    Localizations localizations = Localizations::initial();
    applyDefaultSettings(localizations);
    return localizations.items[0].names;
}

SkinDocument clearedDocument() {
    SkinDocument document;
    document.clearAll();
    return document;
}

void place(SkinDocument& document, FieldKind kind, int screen, int row, int column,
           std::uint8_t style = 0) {
    document.setPlacement(kind, screen,
                          {static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(row)});
    document.setStyle(kind, screen, style);
}

std::string textsFrom(const CellTexts& texts, int firstId, int count) {
    std::string joined;
    for (int id = firstId; id < firstId + count; ++id) {
        joined += texts[id - kFirstCell] + "|";
    }
    return joined;
}

TEST(PaletteCaptions, ShowTheClockAndFixedRussianWeekdayNames) {
    const auto sunday = paletteCaptions({2026, 5, 3, 9, 5, 7, 0});
    std::vector<std::string> expected = {"Часы(09)",  "Мин.(05)", "Сек.(07)", "День(03)",
                                         "Месяц(05)", "Год(26)",  "Вс",       "Воскресень"};
    std::vector<int> expectedIds = {2001, 2002, 2003, 2004, 2005, 2006, 2007, 2009};
    for (std::size_t i = 0; i < sunday.size(); ++i) {
        EXPECT_EQ(sunday[i].buttonId, expectedIds[i]);
        EXPECT_EQ(sunday[i].utf8, expected[i]);
    }
    const auto saturday = paletteCaptions({2005, 12, 31, 23, 59, 58, 6});
    EXPECT_EQ(saturday[5].utf8, "Год(5)");
    EXPECT_EQ(saturday[6].utf8, "Сб");
    EXPECT_EQ(saturday[7].utf8, "Суббота");
}

TEST(CellTexts, FieldsShowLiveSamplesWhileTheCellsStayBlank) {
    SkinDocument document = clearedDocument();
    place(document, FieldKind::Hours, 0, 0, 0);
    place(document, FieldKind::Year, 0, 0, 2);
    place(document, FieldKind::AlarmCount, 0, 0, 4);
    place(document, FieldKind::Temperature1, 0, 0, 6, 3);  // DegreeC
    place(document, FieldKind::Temperature2, 0, 1, 0, 1);  // Tenths
    place(document, FieldKind::Temperature1, 1, 0, 0, 2);  // Degree
    place(document, FieldKind::Temperature2, 1, 1, 0, 0);  // Plain
    const auto texts = composeCellTexts(document, englishNames(), {2005, 1, 2, 7, 8, 9, 1});

    EXPECT_EQ(textsFrom(texts, 100, 12), "0|7|0|5|{|}|-|1|0|\xB0|C||");
    EXPECT_EQ(textsFrom(texts, 116, 6), "+|2|2|,|3||");
    EXPECT_EQ(textsFrom(texts, 132, 5), "-|1|0|\xB0||");
    EXPECT_EQ(textsFrom(texts, 148, 4), "+|2|2||");
    EXPECT_EQ(document.cell(100), SkinDocument::kBlank);
}

TEST(CellTexts, WeekdayFieldsUseTheGivenNamesOfToday) {
    SkinDocument document = clearedDocument();
    place(document, FieldKind::Weekday, 0, 0, 0, 1);  // Full
    place(document, FieldKind::Weekday, 1, 0, 0, 0);  // Short
    WeekdayTables names = englishNames();
    const LocalDateTime monday{2026, 5, 4, 12, 0, 0, 1};
    auto texts = composeCellTexts(document, names, monday);
    EXPECT_EQ(textsFrom(texts, 100, 10), "M|o|n|d|a|y| | | ||");
    EXPECT_EQ(textsFrom(texts, 132, 3), "M|n||");

    // An empty position blanks the cell under it, even over a character.
    names.shortNames[1][1] = "";
    document.setCell(133, 'Q');
    texts = composeCellTexts(document, names, monday);
    EXPECT_EQ(textsFrom(texts, 132, 2), "M||");
}

TEST(CellTexts, FieldsRunOnInCellIdOrderAndStopAfterTheLastCell) {
    SkinDocument document = clearedDocument();
    place(document, FieldKind::Hours, 0, 0, 15);
    place(document, FieldKind::Weekday, 7, 1, 12, 1);  // Full, 9 positions from cell 352
    const auto texts = composeCellTexts(document, englishNames(), {2026, 5, 4, 21, 0, 0, 1});
    EXPECT_EQ(textsFrom(texts, 115, 2), "2|1|");
    EXPECT_EQ(textsFrom(texts, 352, 4), "M|o|n|d|");
    EXPECT_EQ(textsFrom(texts, 100, 5), "|||||");
}

TEST(CellTexts, LaterKindsWinWhereFieldsOverlap) {
    SkinDocument document = clearedDocument();
    place(document, FieldKind::AlarmCount, 0, 0, 2);
    place(document, FieldKind::Temperature2, 0, 0, 1);  // 101..103
    place(document, FieldKind::Hours, 0, 0, 0);         // 100..101
    place(document, FieldKind::Weekday, 0, 1, 0, 1);    // 116..124
    place(document, FieldKind::Temperature1, 0, 1, 1);  // 117..119
    const auto texts = composeCellTexts(document, englishNames(), {2026, 5, 4, 9, 0, 0, 1});
    EXPECT_EQ(textsFrom(texts, 100, 4), "0|+|{|}|");
    EXPECT_EQ(textsFrom(texts, 116, 5), "M|-|1|0|a|");
}

TEST(CellTexts, OddStylesAndCodesWithoutGlyph) {
    SkinDocument document = clearedDocument();
    place(document, FieldKind::Weekday, 0, 0, 0, 5);       // no width: draws nothing
    place(document, FieldKind::Temperature1, 0, 1, 0, 9);  // unknown: drawn as Plain
    document.setCell(100, 'Z');
    document.setCell(119, '[');  // no glyph on the device
    document.setCell(120, 0x00);
    const auto texts = composeCellTexts(document, englishNames(), {2026, 5, 4, 9, 0, 0, 1});
    EXPECT_EQ(textsFrom(texts, 100, 2), "Z||");
    EXPECT_EQ(textsFrom(texts, 116, 5), "-|1|0|\xB7|\xB7|");
}

TEST_F(EditorTest, CellColoursFollowTheShownTextsAndTheCursor) {
    window.selectLocalization(0);
    type("a");
    click(ids::kFullWeekdayButton);  // at 101: "Sunday" and three spaces
    EXPECT_EQ(cursor(), 110);
    EXPECT_EQ(window.colours.at(100), kFilledCellColour);
    EXPECT_EQ(window.colours.at(109), kFilledCellColour);  // a space of the weekday name
    EXPECT_EQ(window.colours.at(110), kCursorCellColour);
    EXPECT_EQ(window.colours.at(111), kEmptyCellColour);
    goTo(111);
    EXPECT_EQ(window.colours.at(110), kEmptyCellColour);
}

TEST_F(EditorTest, ARefreshSetsOnlyWhatChanged) {
    click(ids::kSecondsButton);
    tick();
    const int before = window.writes;
    tick();
    EXPECT_EQ(window.writes, before);

    clock.time.second = 8;
    tick();
    EXPECT_EQ(window.writes, before + 2);  // the caption and the units cell
    EXPECT_EQ(window.text(ids::kSecondsButton), "Сек.(08)");
    EXPECT_EQ(shown(101), "8");
}

TEST_F(EditorTest, AnotherLocalizationChangesTheWeekdayAtTheNextTick) {
    click(ids::kShortWeekdayButton);
    EXPECT_EQ(shown(100) + shown(101), "Вс");
    window.selectLocalization(0);
    tick();
    EXPECT_EQ(shown(100) + shown(101), "Sn");
}

}  // namespace
}  // namespace facetor::testing
