#include "editor/model/skin_document.h"

#include <gtest/gtest.h>

#include <set>

namespace facetor {
namespace {

constexpr FieldPlacement at(int column, int row) {
    return {static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(row)};
}

// A document as the editor has it after start-up: everything blank, no Field placed.
SkinDocument clearedDocument() {
    SkinDocument document;
    document.clearAll();
    return document;
}

TEST(SkinDocumentCursor, StartStateIsZeroFilledWithCursorOnFirstCell) {
    SkinDocument document;
    EXPECT_EQ(document.cursor(), 100);
    EXPECT_EQ(document.cell(100), 0);
    // Zero-filled placements read as present at column 0, row 0 until the document is cleared.
    EXPECT_EQ(document.placement(FieldKind::Temperature2, 7), at(0, 0));
    document.clearAll();
    EXPECT_EQ(document.cell(355), SkinDocument::kBlank);
    EXPECT_FALSE(document.placement(FieldKind::Hours, 0).present());
}

TEST(SkinDocumentCursor, AdvanceFollowsCellIdsAndWrapsWithoutCarry) {
    SkinDocument document = clearedDocument();
    document.setCursor(115);
    document.advanceCursor(1);
    EXPECT_EQ(document.cursorRow(), 1);
    EXPECT_EQ(document.cursorColumn(), 0);
    document.setCursor(131);
    document.advanceCursor(1);
    EXPECT_EQ(document.cursorScreen(), 1);
    EXPECT_EQ(document.cursorRow(), 0);
    document.setCursor(350);
    document.advanceCursor(9);
    EXPECT_EQ(document.cursor(), 100);
    document.setCursor(355);
    document.putCharacter('Z');
    EXPECT_EQ(document.cell(355), 'Z');
    EXPECT_EQ(document.cursor(), 100);
}

TEST(SkinDocumentCursor, StepBackStopsAtFirstCellAndErasesThere) {
    SkinDocument document = clearedDocument();
    document.placeField(FieldKind::Minutes);  // covers 100 and 101, cursor to 102
    document.putCharacter('x');               // cell 102
    document.stepBack();
    EXPECT_EQ(document.cursor(), 102);
    EXPECT_EQ(document.cell(102), SkinDocument::kBlank);
    document.setCursor(100);
    document.stepBack();
    EXPECT_EQ(document.cursor(), 100);
    EXPECT_FALSE(document.placement(FieldKind::Minutes, 0).present());
}

TEST(SkinDocumentCursor, SetCursorIgnoresIdsOutsideTheCells) {
    SkinDocument document = clearedDocument();
    document.setCursor(200);
    document.setCursor(99);
    document.setCursor(356);
    EXPECT_EQ(document.cursor(), 200);
    document.cursorEnd();
    EXPECT_EQ(document.cursor(), 355);
    document.cursorHome();
    EXPECT_EQ(document.cursor(), 100);
}

TEST(SkinDocumentNavigation, MovesFollowTheVisualGridAndWrap) {
    struct Move {
        void (SkinDocument::*move)();
        CellId from;
        CellId to;
    };
    const Move moves[] = {
        {&SkinDocument::moveLeft, 100, 179},  {&SkinDocument::moveLeft, 164, 115},
        {&SkinDocument::moveUp, 100, 276},    {&SkinDocument::moveUp, 115, 291},
        {&SkinDocument::moveDown, 148, 228},  {&SkinDocument::moveDown, 163, 243},
        {&SkinDocument::moveDown, 276, 100},  {&SkinDocument::moveRight, 355, 276},
        {&SkinDocument::moveRight, 115, 164}, {&SkinDocument::moveDown, 131, 147},
        {&SkinDocument::moveUp, 196, 180},    {&SkinDocument::moveRight, 243, 292},
    };
    for (const Move& m : moves) {
        SkinDocument document = clearedDocument();
        document.setCursor(m.from);
        (document.*m.move)();
        EXPECT_EQ(document.cursor(), m.to) << "from " << m.from;
    }
}

TEST(SkinDocumentNavigation, FullCyclesVisitWholeRowOrColumnAndReturn) {
    SkinDocument document = clearedDocument();
    for (int id = kFirstCell; id <= kLastCell; ++id) {
        const auto start = static_cast<CellId>(id);
        document.setCursor(start);
        std::set<CellId> visited;
        for (int i = 0; i < 32; ++i) {
            document.moveRight();
            visited.insert(document.cursor());
        }
        EXPECT_EQ(document.cursor(), start);
        EXPECT_EQ(visited.size(), 32u);
        visited.clear();
        for (int i = 0; i < 8; ++i) {
            document.moveDown();
            visited.insert(document.cursor());
            EXPECT_EQ(document.cursorColumn(), columnOf(start));
        }
        EXPECT_EQ(document.cursor(), start);
        EXPECT_EQ(visited.size(), 8u);
        document.moveLeft();
        document.moveRight();
        document.moveUp();
        document.moveDown();
        EXPECT_EQ(document.cursor(), start);
    }
}

TEST(SkinDocumentNavigation, MovingChangesNoCellOrField) {
    SkinDocument document = clearedDocument();
    document.putCharacter('A');
    document.placeField(FieldKind::Year);
    document.moveLeft();
    document.moveUp();
    EXPECT_EQ(document.cell(100), 'A');
    EXPECT_EQ(document.placement(FieldKind::Year, 0), at(1, 0));
}

TEST(SkinDocumentFields, ErasingAnyPositionRemovesTheWholeField) {
    for (int offset = 0; offset < 9; ++offset) {
        SkinDocument document = clearedDocument();
        document.setCursor(cellIdOf(3, 1, 5));
        document.placeField(FieldKind::Weekday, 1);
        document.setCursor(cellIdOf(3, 1, 5 + offset));
        document.eraseAtCursor();
        EXPECT_FALSE(document.placement(FieldKind::Weekday, 3).present()) << offset;
    }
    SkinDocument document = clearedDocument();
    document.placeField(FieldKind::Weekday, 1);
    document.setCursor(109);  // just right of the Field
    document.eraseAtCursor();
    document.setCursor(cellIdOf(0, 1, 5));  // same column, other row
    document.eraseAtCursor();
    EXPECT_TRUE(document.placement(FieldKind::Weekday, 0).present());
}

TEST(SkinDocumentFields, ErasingSecondPositionLeavesFirstCellAlone) {
    SkinDocument document = clearedDocument();
    document.placeField(FieldKind::Hours);
    document.setCursor(101);
    document.putCharacter('7');
    EXPECT_FALSE(document.placement(FieldKind::Hours, 0).present());
    EXPECT_EQ(document.cell(100), SkinDocument::kBlank);
    EXPECT_EQ(document.cell(101), '7');
    EXPECT_EQ(document.cursor(), 102);
}

TEST(SkinDocumentFields, PlacingAdvancesByTheFieldWidth) {
    struct Case {
        FieldKind kind;
        std::uint8_t style;
        CellId from;
        CellId cursorAfter;
    };
    const Case cases[] = {
        {FieldKind::Weekday, 1, 107, 116},      {FieldKind::Weekday, 1, 123, 132},
        {FieldKind::Weekday, 1, 347, 100},      {FieldKind::Weekday, 0, 100, 102},
        {FieldKind::Temperature1, 0, 100, 103}, {FieldKind::Temperature1, 1, 100, 105},
        {FieldKind::Temperature2, 2, 100, 104}, {FieldKind::Temperature2, 3, 100, 105},
        {FieldKind::AlarmCount, 3, 100, 102},
    };
    for (const Case& c : cases) {
        SkinDocument document = clearedDocument();
        document.setCursor(c.from);
        document.placeField(c.kind, c.style);
        EXPECT_EQ(document.cursor(), c.cursorAfter);
        EXPECT_EQ(document.placement(c.kind, screenOf(c.from)),
                  at(columnOf(c.from), rowOf(c.from)));
    }
}

TEST(SkinDocumentFields, PlacingAgainOnTheSameScreenMovesTheField) {
    SkinDocument document = clearedDocument();
    document.setCursor(cellIdOf(2, 0, 3));
    document.placeField(FieldKind::Seconds);
    document.setCursor(cellIdOf(3, 0, 3));
    document.placeField(FieldKind::Seconds);
    document.setCursor(cellIdOf(2, 1, 10));
    document.placeField(FieldKind::Seconds);
    EXPECT_EQ(document.placement(FieldKind::Seconds, 2), at(10, 1));
    EXPECT_EQ(document.placement(FieldKind::Seconds, 3), at(3, 0));
    EXPECT_TRUE(document.isCellFree(cellIdOf(2, 0, 3)));
}

TEST(SkinDocumentFields, StylesBelongToStyledKindsAndSurviveClears) {
    SkinDocument document = clearedDocument();
    document.placeField(FieldKind::Weekday, 1);
    document.setCursor(cellIdOf(5, 0, 0));
    document.placeField(FieldKind::Temperature2, 3);
    document.setStyle(FieldKind::Hours, 0, 2);
    document.clearScreen();
    EXPECT_EQ(document.cursor(), cellIdOf(5, 0, 0));
    EXPECT_FALSE(document.placement(FieldKind::Temperature2, 5).present());
    EXPECT_TRUE(document.placement(FieldKind::Weekday, 0).present());
    document.clearAll();
    EXPECT_EQ(document.style(FieldKind::Weekday, 0), 1);
    EXPECT_EQ(document.style(FieldKind::Temperature2, 5), 3);
    EXPECT_EQ(document.style(FieldKind::Temperature1, 5), 0);
    EXPECT_EQ(document.style(FieldKind::Hours, 0), 0);
    EXPECT_EQ(document.fieldWidth(FieldKind::Weekday, 0), 9);
}

TEST(SkinDocumentFields, ClearScreenTouchesOnlyItsScreen) {
    SkinDocument document = clearedDocument();
    document.setCursor(131);
    document.putCharacter('a');  // last cell of screen 0
    document.putCharacter('b');  // first cell of screen 1
    document.putCharacter('c');
    document.setCursor(133);
    document.clearScreen();
    EXPECT_EQ(document.cell(131), 'a');
    EXPECT_EQ(document.cell(132), SkinDocument::kBlank);
    EXPECT_EQ(document.cell(133), SkinDocument::kBlank);
    EXPECT_EQ(document.cursor(), 132);
}

TEST(SkinDocumentFields, UnknownStyleHasNoWidthAndIsNeverErased) {
    SkinDocument document = clearedDocument();
    document.setStyle(FieldKind::Temperature1, 0, 9);
    document.setPlacement(FieldKind::Temperature1, 0, at(0, 0));
    EXPECT_EQ(document.fieldWidth(FieldKind::Temperature1, 0), 0);
    EXPECT_TRUE(document.isCellFree(100));
    document.eraseAtCursor();
    EXPECT_TRUE(document.placement(FieldKind::Temperature1, 0).present());
}

TEST(SkinDocumentQueries, CanPlaceNeedsRoomInTheRowAndFreeCells) {
    SkinDocument document = clearedDocument();
    document.setCursor(cellIdOf(1, 1, 14));
    EXPECT_TRUE(document.canPlace(2));
    EXPECT_FALSE(document.canPlace(3));
    document.setCursor(cellIdOf(1, 1, 15));
    EXPECT_TRUE(document.canPlace(1));
    EXPECT_FALSE(document.canPlace(2));

    document.setCursor(cellIdOf(0, 0, 4));
    document.placeField(FieldKind::Temperature1, 1);  // columns 4..8
    document.setCursor(cellIdOf(0, 0, 0));
    EXPECT_TRUE(document.canPlace(4));
    EXPECT_FALSE(document.canPlace(5));
    document.setCursor(cellIdOf(0, 0, 9));
    EXPECT_TRUE(document.canPlace(7));
    document.setCursor(cellIdOf(0, 0, 12));
    document.putCharacter(0x00);  // any code but the blank occupies the cell
    document.setCursor(cellIdOf(0, 0, 9));
    EXPECT_FALSE(document.canPlace(4));
    EXPECT_FALSE(document.isCellFree(cellIdOf(0, 0, 8)));
    EXPECT_TRUE(document.isCellFree(cellIdOf(0, 1, 8)));
}

}  // namespace
}  // namespace facetor
