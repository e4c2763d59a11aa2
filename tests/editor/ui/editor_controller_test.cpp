#include "editor/ui/editor_controller.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "editor/ui/grid_display.h"
#include "editor_harness.h"

namespace facetor::testing {
namespace {

const std::vector<int> kTwoWide = {2001, 2002, 2003, 2004, 2005, 2006, 2007, 2008};

std::vector<int> allFieldButtons() {
    std::vector<int> all;
    for (int id = ids::kFirstFieldButton; id <= ids::kLastFieldButton; ++id) {
        all.push_back(id);
    }
    return all;
}

TEST(EditorStartUp, ReportsMissingSettingsSelectsCell100AndLabelsSmallLetters) {
    TempFolder folder;
    FakeWindow window;
    FakeClock clock;
    EditorController editor(window, clock, folder.path());
    editor.start();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].title, "Information");

    window.pump(editor);
    EXPECT_EQ(window.focused, ids::kCaptureBox);
    EXPECT_EQ(window.colours.at(100), kCursorCellColour);
    EXPECT_EQ(window.colours.at(101), kEmptyCellColour);
    for (int id : allFieldButtons()) {
        EXPECT_TRUE(window.enabled.at(id)) << id;
    }
    EXPECT_EQ(window.text(2057), "a");
    EXPECT_EQ(window.text(2109), "я");
}

TEST_F(EditorTest, EveryCommandHandsTheFocusBackToTheCaptureBox) {
    menu(ids::kShortcutRight);
    EXPECT_EQ(cursor(), 101);
    EXPECT_EQ(window.focused, ids::kCaptureBox);
    EXPECT_TRUE(window.pendingFocusEvents.empty());
    EXPECT_EQ(window.colours.at(101), kCursorCellColour);
    EXPECT_EQ(window.colours.at(100), kEmptyCellColour);

    // A click gives the control the focus first; the command must take it back, also where the
    // command changes nothing (a radio button, the save button).
    const int clicked[] = {ids::kOpenButton,
                           ids::kSaveButton,
                           ids::kCapsLockCheck,
                           3010,
                           3011,
                           3012,
                           2001,
                           2047,
                           ids::kBackspaceButton,
                           ids::kDeleteButton,
                           ids::kClearScreenButton,
                           ids::kClearAllButton};
    for (const int id : clicked) {
        window.setFocus(id);
        click(id);
        EXPECT_EQ(window.focused, ids::kCaptureBox) << id;
        EXPECT_EQ(window.colours.at(cursor()), kCursorCellColour) << id;
        window.messages.clear();  // the open command's missing file
    }
    for (const int id : {ids::kMenuOpen, ids::kMenuSave}) {
        window.setFocus(0);  // the menu bar had the keyboard
        menu(id);
        EXPECT_EQ(window.focused, ids::kCaptureBox) << id;
        window.messages.clear();
    }
}

TEST_F(EditorTest, ActivationHandsTheKeyboardBackToTyping) {
    menu(ids::kShortcutDown);
    window.setFocus(0);  // another window, then this one again: the focus is on the main window
    editor.onActivated();
    window.pump(editor);
    EXPECT_EQ(window.focused, ids::kCaptureBox);
    EXPECT_EQ(cursor(), 116);
    type("x");
    EXPECT_EQ(shown(116), "x");
}

TEST_F(EditorTest, ShortcutsMoveAndEraseAtTheCursor) {
    menu(ids::kShortcutUp);
    EXPECT_EQ(cursor(), 276);
    menu(ids::kShortcutDown);
    EXPECT_EQ(cursor(), 100);
    menu(ids::kShortcutLeft);
    EXPECT_EQ(cursor(), 179);
    menu(ids::kShortcutEnd);
    EXPECT_EQ(cursor(), 355);
    menu(ids::kShortcutHome);
    EXPECT_EQ(cursor(), 100);

    type("xyz");
    menu(ids::kShortcutBackspace);  // erases z at 102
    goTo(100);
    menu(ids::kShortcutDelete);
    click(ids::kBackspaceButton);  // stays on 100
    EXPECT_EQ(shown(100) + "|" + shown(101) + "|" + shown(102), "|y|");
    goTo(101);
    click(ids::kDeleteButton);
    EXPECT_EQ(shown(101), "");

    menu(ids::kMenuExit);
    EXPECT_TRUE(window.quitCalled);
}

TEST_F(EditorTest, EveryCharacterTypedWithinOneTickGoesIntoItsOwnCell) {
    type("ab");
    EXPECT_EQ(shown(100) + shown(101), "ab");
    EXPECT_EQ(cursor(), 102);
    EXPECT_EQ(window.text(ids::kCaptureBox), "");

    type("іїІЇ");  // Ukrainian letters without a glyph: Latin i, I
    EXPECT_EQ(shown(102) + shown(103) + shown(104) + shown(105), "iiII");
    EXPECT_EQ(editor.document().cell(102), 'i');

    type("Жх");
    EXPECT_EQ(editor.document().cell(106), 0xA3);
    EXPECT_EQ(shown(106) + shown(107), "Жx");

    menu(ids::kShortcutEnd);
    type("12");
    EXPECT_EQ(shown(355), "1");
    EXPECT_EQ(shown(100), "2");
    EXPECT_EQ(cursor(), 101);
}

// Letters typed just before a command, not yet taken in by a tick: every command takes them in
// first, so it acts after them, as the user did.
TEST(EditorOrder, EveryCommandFirstTakesInWhatWasTypedBeforeIt) {
    const struct {
        const char* command;
        const char* typedEarlier;  // taken in by a tick before
        const char* typedJustBefore;
        std::function<void(EditorRig&)> run;
        const char* row;  // cells 100 to 103 afterwards
        int cursor;
    } cases[] = {
        {"Backspace", "xy", "ab", [](EditorRig& r) { r.menu(ids::kShortcutBackspace); }, "xya",
         103},
        {"Ctrl+Z", "x", "ab", [](EditorRig& r) { r.menu(ids::kMenuUndo); }, "xa", 102},
        {"cell click", "", "q", [](EditorRig& r) { r.goTo(140); }, "q", 140},
        {"on-screen key", "", "q", [](EditorRig& r) { r.click(2047); }, "q0", 102},
        {"Field button", "", "q", [](EditorRig& r) { r.click(ids::kHoursButton); }, "q09", 103},
        {"Ctrl+S", "", "12:3", [](EditorRig& r) { r.menu(ids::kMenuSaveHere); }, "12:3", 104},
        {"a file dropped", "ab", "q",
         [](EditorRig& r) {
             r.editor.openFile(r.folder.path() / "missing.eep");
             r.window.pump(r.editor);
         },
         "abq", 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        EditorRig rig;
        rig.startUp();
        rig.type(c.typedEarlier);
        rig.typeOnly(c.typedJustBefore);
        c.run(rig);
        EXPECT_EQ(rig.shownRow(100, 4), c.row);
        EXPECT_EQ(rig.cursor(), c.cursor);
        EXPECT_EQ(rig.window.text(ids::kCaptureBox), "");
    }

    // A save takes the letters along and leaves nothing unsaved; closing and the end of the
    // session see the letters as unsaved work.
    EditorRig saved;
    saved.startUp();
    saved.typeOnly("12:30");
    saved.menu(ids::kMenuSaveHere);
    EXPECT_FALSE(saved.editor.hasUnsavedChanges());
    std::ifstream bin(saved.folder.path() / "chronotherm_lcd_m168.bin", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(bin), {}).substr(0, 5), "12:30");
    for (const bool endOfSession : {false, true}) {
        EditorRig closing;
        closing.startUp();
        closing.typeOnly("z");
        closing.window.answer = Answer::Cancel;
        if (endOfSession) {
            EXPECT_FALSE(closing.editor.onQueryEndSession());
        } else {
            closing.editor.onClose();
        }
        EXPECT_EQ(closing.window.questions.size(), 1u) << endOfSession;
        EXPECT_FALSE(closing.window.quitCalled);
        EXPECT_EQ(closing.editor.document().cell(100), 'z');
    }
}

TEST_F(EditorTest, ControlCharactersNeverEnterACell) {
    type("a\tb\x7f\x01\x1f\r\nc");  // a pasted Tab, Ctrl+Backspace, other control codes
    EXPECT_EQ(shownRow(100, 4), "abc");
    EXPECT_EQ(cursor(), 103);
    window.clipboard = "d\te\r\nf\x7f";
    menu(ids::kShortcutPaste);
    EXPECT_EQ(shownRow(100, 7), "abcdef");
    // Typography from a word processor or a browser, as the clock can show it.
    window.clipboard =
        "\u00AB1\u00BB\u00A0\u2014\u201E2\u201C\u2013\u201C3\u201D \u2018x\u2019\u2026";
    menu(ids::kShortcutPaste);
    EXPECT_EQ(shownRow(106, 19), "\"1\"-\"2\"-\"3\"'x'...");  // a blank cell shows nothing
    EXPECT_EQ(editor.document().cell(109), SkinDocument::kBlank);
    EXPECT_EQ(cursor(), 125);
    for (int id = kFirstCell; id <= kLastCell; ++id) {
        EXPECT_GE(editor.document().cell(id), 0x20) << id;
        EXPECT_NE(editor.document().cell(id), 0x7F) << id;
    }
}

TEST_F(EditorTest, FieldButtonsNeedRoomUpToTheRowEnd) {
    goTo(115);
    EXPECT_TRUE(enabledFieldButtons().empty());
    goTo(114);
    EXPECT_EQ(enabledFieldButtons(), kTwoWide);
    goTo(113);
    auto expected = kTwoWide;
    expected.insert(expected.end(), {2010, 2014});
    EXPECT_EQ(enabledFieldButtons(), expected);
    goTo(112);
    expected = kTwoWide;
    expected.insert(expected.end(), {2010, 2012, 2014, 2016});
    EXPECT_EQ(enabledFieldButtons(), expected);
    goTo(108);
    expected = allFieldButtons();
    std::erase(expected, 2009);
    EXPECT_EQ(enabledFieldButtons(), expected);
    goTo(107);
    EXPECT_EQ(enabledFieldButtons(), allFieldButtons());
}

TEST_F(EditorTest, FieldButtonsNeedFreeCells) {
    goTo(106);
    type("x");
    goTo(103);
    auto expected = kTwoWide;
    expected.insert(expected.end(), {2010, 2014});
    EXPECT_EQ(enabledFieldButtons(), expected);

    goTo(116);
    click(ids::kHoursButton);
    EXPECT_EQ(cursor(), 118);
    goTo(117);  // second cell of the Hours Field
    EXPECT_TRUE(enabledFieldButtons().empty());
    menu(ids::kShortcutDelete);
    EXPECT_EQ(cursor(), 117);
    EXPECT_EQ(enabledFieldButtons(), allFieldButtons());
    EXPECT_EQ(shown(116), "");
}

TEST_F(EditorTest, PlacingAFieldAtTheRowEndMovesTheCursorOnToTheNextScreen) {
    goTo(130);
    click(ids::kHoursButton);
    EXPECT_EQ(cursor(), 132);
    EXPECT_EQ(shown(130) + shown(131), "09");
    EXPECT_EQ(window.colours.at(132), kCursorCellColour);

    goTo(105);
    click(2013);  // Temperature1, DegreeC: 5 cells
    EXPECT_EQ(cursor(), 110);
    EXPECT_EQ(shown(105) + shown(106) + shown(107) + shown(108) + shown(109), "-10°C");
}

TEST_F(EditorTest, ClearScreenClearsOnlyTheCursorScreen) {
    goTo(164);
    type("k");
    goTo(200);
    type("m");
    click(ids::kAlarmCountButton);
    click(ids::kClearScreenButton);
    EXPECT_EQ(cursor(), 196);
    EXPECT_EQ(shown(200) + shown(201) + shown(202), "");
    EXPECT_EQ(shown(164), "k");
    EXPECT_EQ(window.colours.at(196), kCursorCellColour);

    click(ids::kClearAllButton);
    EXPECT_EQ(cursor(), 100);
    EXPECT_EQ(shown(164), "");
}

}  // namespace
}  // namespace facetor::testing
