// Undo and redo, the question before unsaved work is lost, and designs under their own names.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "editor_harness.h"

namespace facetor::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRussianEep = "chronotherm_lcd_m168_ru.eep";
constexpr const char* kBin = "chronotherm_lcd_m168.bin";
constexpr int kRadioRu = ids::kFirstLocalizationRadio + 1;
constexpr int kRadioUa = ids::kFirstLocalizationRadio + 2;

class UndoTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        type("abc");
        click(ids::kHoursButton);
        goTo(140);
    }
    bool undoEnabled() const { return window.enabled.at(ids::kMenuUndo); }
    bool redoEnabled() const { return window.enabled.at(ids::kMenuRedo); }
};

TEST_F(UndoTest, EveryEditingCommandIsOneStepThatUndoesAndRedoes) {
    const struct {
        const char* command;
        int from;  // the cursor cell the command starts from
        std::function<void()> run;
    } steps[] = {
        {"typed character", 140, [this] { type("x"); }},
        {"on-screen key", 140, [this] { click(2047); }},
        {"Field button", 132, [this] { click(ids::kFullWeekdayButton); }},
        {"Delete", 101, [this] { menu(ids::kShortcutDelete); }},
        {"Backspace", 104, [this] { menu(ids::kShortcutBackspace); }},
        {"<--", 102, [this] { click(ids::kBackspaceButton); }},
        {"clear screen", 101, [this] { click(ids::kClearScreenButton); }},
        {"clear all", 140, [this] { click(ids::kClearAllButton); }},
    };
    for (const auto& step : steps) {
        goTo(step.from);
        const SkinDocument before = editor.document();
        step.run();
        const SkinDocument after = editor.document();
        ASSERT_FALSE(after.sameContent(before)) << step.command;
        menu(ids::kMenuUndo);
        EXPECT_TRUE(editor.document().sameContent(before)) << step.command;
        EXPECT_EQ(cursor(), step.from) << step.command;
        menu(ids::kMenuRedo);
        EXPECT_TRUE(editor.document().sameContent(after)) << step.command;
        EXPECT_EQ(cursor(), after.cursor()) << step.command;
        EXPECT_EQ(window.focused, ids::kCaptureBox) << step.command;
        menu(ids::kMenuUndo);  // the next command starts from the same document
    }
}

TEST_F(UndoTest, UndoRestoresTheCursorOfTheStepAndCursorMovesAreNoSteps) {
    type("x");  // at 140
    menu(ids::kShortcutDown);
    menu(ids::kShortcutDown);
    menu(ids::kMenuUndo);
    EXPECT_EQ(cursor(), 140);
    EXPECT_EQ(shown(140), "");
    menu(ids::kMenuUndo);  // the Hours Field at 103
    EXPECT_EQ(cursor(), 103);
    EXPECT_EQ(shown(103) + shown(104), "");
    EXPECT_EQ(shown(100) + shown(101) + shown(102), "abc");
}

TEST_F(UndoTest, ANewStepDropsWhatCouldBeRedone) {
    menu(ids::kMenuUndo);  // the Hours Field
    EXPECT_TRUE(redoEnabled());
    type("z");
    EXPECT_FALSE(redoEnabled());
    menu(ids::kMenuRedo);
    EXPECT_EQ(shown(103), "z");
    EXPECT_EQ(shown(104), "");
}

TEST_F(UndoTest, TheMenuItemsAreGreyedWhenThereIsNothingToDo) {
    for (int i = 0; i < 4; ++i) {
        menu(ids::kMenuUndo);
    }
    EXPECT_FALSE(undoEnabled());
    EXPECT_TRUE(redoEnabled());
    EXPECT_EQ(shown(100), "");
    menu(ids::kMenuUndo);  // nothing left: changes nothing
    EXPECT_EQ(shown(100), "");
    for (int i = 0; i < 4; ++i) {
        menu(ids::kMenuRedo);
    }
    EXPECT_TRUE(undoEnabled());
    EXPECT_FALSE(redoEnabled());
    EXPECT_EQ(shown(100) + shown(101) + shown(102), "abc");
}

TEST_F(UndoTest, AThousandStepsAreKept) {
    // One step per character, each changing its cell (the letters cycle as the cursor wraps).
    std::string letters;
    for (int i = 0; i < 1100; ++i) {
        letters += static_cast<char>('a' + i % 26);
    }
    type(letters.substr(0, 100));
    const SkinDocument beyondRecall = editor.document();
    type(letters.substr(100));
    int undone = 0;
    while (window.enabled.at(ids::kMenuUndo)) {
        menu(ids::kMenuUndo);
        ++undone;
    }
    EXPECT_EQ(undone, 1000);
    EXPECT_TRUE(editor.document().sameContent(beyondRecall));
}

TEST_F(UndoTest, APasteIsOneStepHoweverLong) {
    const SkinDocument before = editor.document();
    std::string pasted;
    for (int i = 0; i < 1200; ++i) {
        pasted += static_cast<char>('A' + i % 26);
    }
    window.clipboard = pasted;
    menu(ids::kShortcutPaste);
    const SkinDocument after = editor.document();
    EXPECT_EQ(after.cursor(), 100 + (140 - 100 + 1200) % 256);
    EXPECT_EQ(shown(kFirstCell + (140 - 100 + 1199) % 256), "D");  // the last: 1199 % 26 = 3
    menu(ids::kMenuUndo);
    EXPECT_TRUE(editor.document().sameContent(before));
    EXPECT_EQ(cursor(), 140);
    menu(ids::kMenuRedo);
    EXPECT_TRUE(editor.document().sameContent(after));

    window.clipboard.clear();  // nothing to paste: no step
    menu(ids::kShortcutPaste);
    menu(ids::kMenuUndo);
    EXPECT_TRUE(editor.document().sameContent(before));
}

TEST_F(UndoTest, OpeningAFileIsOneStepThatTakesTheRadioButtonsAlong) {
    window.selectLocalization(2);
    click(ids::kSaveButton);
    const fs::path design = folder.path() / "design.eep";
    fs::rename(folder.path() / "chronotherm_lcd_m168_ua.eep", design);
    click(ids::kClearAllButton);
    window.selectLocalization(1);
    window.fileToOpen = design;
    menu(ids::kMenuOpenAs);
    EXPECT_TRUE(window.isChecked(kRadioUa));
    EXPECT_EQ(shown(100) + shown(101) + shown(102), "abc");

    menu(ids::kMenuUndo);
    EXPECT_TRUE(window.isChecked(kRadioRu));
    EXPECT_FALSE(window.isChecked(kRadioUa));
    EXPECT_EQ(shown(100), "");
    menu(ids::kMenuRedo);
    EXPECT_TRUE(window.isChecked(kRadioUa));
    EXPECT_EQ(shown(100), "a");
    // The switch to ru before the opening was a step of its own; the clearing before it leaves
    // the radio buttons alone.
    menu(ids::kMenuUndo);
    menu(ids::kMenuUndo);  // the switch
    EXPECT_TRUE(window.isChecked(kRadioUa));
    menu(ids::kMenuUndo);  // the clearing
    EXPECT_TRUE(window.isChecked(kRadioUa));
    EXPECT_EQ(shown(100), "a");
}

// What is read from the clock opens as a design: one step, and it belongs to the fixed names.
TEST_F(UndoTest, TheClockIsWrittenWithWhatWasTypedAndReadBackAsOneOpening) {
    typeOnly("xy");  // not yet taken in by a tick
    EepromImage image = editor.imageForClock();
    EXPECT_EQ(image[40], 'x');  // cell 140
    EXPECT_EQ(image[kLocalizationNumberOffset], 1);
    image[40] = 'Q';
    image[kLocalizationNumberOffset] = 2;
    window.fileToSave = folder.path() / "own.eep";
    menu(ids::kMenuSaveAs);  // the work belonged to its own file
    editor.openImageAsDesign(image);
    window.pump(editor);
    EXPECT_EQ(shown(140) + shown(141), "Qy");
    EXPECT_TRUE(window.isChecked(kRadioUa) && editor.hasUnsavedChanges());
    EXPECT_EQ(cursor(), 100);
    EXPECT_EQ(window.text(ids::kSaveTargetLabel), "chronotherm_lcd_m168_ua.eep");
    menu(ids::kMenuUndo);
    EXPECT_EQ(shown(140) + shown(141), "xy");
    EXPECT_TRUE(window.isChecked(kRadioRu));
    EXPECT_EQ(window.text(ids::kSaveTargetLabel), "own.eep");
}

class CloseTest : public EditorTest {
  protected:
    bool fileIn(const char* name) const { return fs::exists(folder.path() / name); }
};

TEST_F(CloseTest, AnUnchangedDocumentClosesWithoutAQuestion) {
    editor.onClose();
    EXPECT_TRUE(window.quitCalled);
    EXPECT_TRUE(window.questions.empty());

    // Changed and changed back by undo: the content is compared, not a flag.
    window.quitCalled = false;
    type("x");
    menu(ids::kMenuUndo);
    menu(ids::kMenuExit);
    EXPECT_TRUE(window.quitCalled);
    EXPECT_TRUE(window.questions.empty());
}

TEST_F(CloseTest, TheAnswerDecidesWhetherToSaveAndWhetherToEnd) {
    const struct {
        Answer answer;
        bool ends;
        bool saves;
    } cases[] = {
        {Answer::No, true, false},
        {Answer::Cancel, false, false},
        {Answer::Yes, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        type("x");
        window.answer = c.answer;
        window.quitCalled = false;
        window.questions.clear();
        editor.onClose();
        ASSERT_EQ(window.questions.size(), 1u);
        EXPECT_EQ(window.questions[0].title, "Facetor");
        EXPECT_EQ(window.questions[0].text, "Сохранить изменения перед выходом?");
        EXPECT_EQ(window.quitCalled, c.ends);
        EXPECT_EQ(fileIn(kRussianEep), c.saves);
        EXPECT_EQ(fileIn(kBin), c.saves);
    }
    // Saved by the answer: nothing is left to ask about.
    window.quitCalled = false;
    window.questions.clear();
    editor.onClose();
    EXPECT_TRUE(window.quitCalled);
    EXPECT_TRUE(window.questions.empty());
}

TEST_F(CloseTest, TheEndOfTheSessionAsksAsClosingDoesAndIsBlockedWhileItAsks) {
    const struct {
        const char* story;
        bool changed;
        Answer answer;
        bool saveFails;
        bool mayEnd;
        bool saved;
    } cases[] = {
        {"nothing to save", false, Answer::Cancel, false, true, false},
        {"No", true, Answer::No, false, true, false},
        {"Cancel", true, Answer::Cancel, false, false, false},
        {"Yes", true, Answer::Yes, false, true, true},
        {"Yes, but the save fails", true, Answer::Yes, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.story);
        EditorRig rig;
        rig.startUp();
        if (c.changed) {
            rig.type("x");
        }
        if (c.saveFails) {
            fs::create_directory(rig.folder.path() / kBin);
        }
        rig.window.answer = c.answer;
        EXPECT_EQ(rig.editor.onQueryEndSession(), c.mayEnd);
        rig.window.pump(rig.editor);
        ASSERT_EQ(rig.window.questions.size(), c.changed ? 1u : 0u);
        if (c.changed) {
            EXPECT_EQ(rig.window.questions[0].text, "Сохранить изменения перед выходом?");
            EXPECT_EQ(rig.window.endOfSessionBlockWhileAsking[0],
                      "Есть несохранённые изменения скинов: Facetor спрашивает, сохранить ли их.");
        }
        EXPECT_FALSE(rig.window.endOfSessionBlock.has_value());
        EXPECT_EQ(fs::is_regular_file(rig.folder.path() / kBin), c.saved);
        EXPECT_FALSE(rig.window.quitCalled);  // the program ends with the session, not before
        if (c.mayEnd) {
            rig.editor.onEndSession();
            EXPECT_TRUE(rig.window.quitCalled);
        } else {
            EXPECT_EQ(rig.window.focused, ids::kCaptureBox);
        }
    }
}

// Files named by the fixed names go to the folder the program started in, though a file dialog
// may leave another current directory behind.
TEST(WorkingFolder, IsFixedAtStartUp) {
    TempFolder start;
    TempFolder elsewhere;
    const fs::path previous = fs::current_path();
    fs::current_path(start.path());
    {
        FakeWindow window;
        FakeClock clock;
        EditorController editor(window, clock);
        editor.start();
        window.pump(editor);
        fs::current_path(elsewhere.path());
        window.texts[ids::kCaptureBox] = "x";
        editor.onTimer(ids::kTimer);
        editor.onMenu(ids::kMenuSave);
        editor.onMenu(ids::kMenuSaveHere);
        window.messages.clear();
        editor.onMenu(ids::kMenuOpen);
        EXPECT_TRUE(window.messages.empty());
    }
    fs::current_path(previous);
    EXPECT_TRUE(fs::exists(start.path() / kRussianEep));
    EXPECT_TRUE(fs::exists(start.path() / kBin));
    EXPECT_TRUE(fs::is_empty(elsewhere.path()));
}

TEST_F(CloseTest, AFailedSaveKeepsTheEditorOpen) {
    type("x");
    fs::create_directory(folder.path() / kBin);
    window.answer = Answer::Yes;
    editor.onClose();
    window.pump(editor);
    EXPECT_FALSE(window.quitCalled);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "Файл   chronotherm_lcd_m168.bin   не сохранён !");
    EXPECT_EQ(window.focused, ids::kCaptureBox);
    EXPECT_TRUE(editor.hasUnsavedChanges());
}

TEST_F(CloseTest, SaveAsWritesBothFilesUnderTheChosenNameWhereTheDocumentThenBelongs) {
    type("x");
    window.selectLocalization(0);
    // Built from UTF-8 explicitly: a plain narrow name would be read in the ANSI code page.
    const fs::path eep = folder.path() / fs::path(u8"Часы на кухне.eep");
    const fs::path bin = folder.path() / fs::path(u8"Часы на кухне.bin");
    window.fileToSave = eep;
    menu(ids::kMenuSaveAs);
    EXPECT_EQ(window.suggestedSaveName, folder.path() / "chronotherm_lcd_m168_en.eep");
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(fs::file_size(eep), 1273u);
    EXPECT_EQ(fs::file_size(bin), 512u);
    EXPECT_FALSE(fileIn("chronotherm_lcd_m168_en.eep"));
    EXPECT_FALSE(editor.hasUnsavedChanges());

    // The .bin carries the selected Localization; closing with changes saves to the same names.
    {
        std::ifstream written(bin, std::ios::binary);
        written.seekg(0x1FE);
        EXPECT_EQ(written.get(), 0);
    }
    type("y");
    fs::remove(bin);
    window.answer = Answer::Yes;
    editor.onClose();
    EXPECT_TRUE(window.quitCalled);
    EXPECT_TRUE(fs::exists(bin));
    EXPECT_FALSE(fileIn(kRussianEep));
    EXPECT_FALSE(fileIn(kBin));

    window.fileToSave.reset();  // cancelled: nothing written, nothing changed
    menu(ids::kMenuSaveAs);
    EXPECT_EQ(window.suggestedSaveName, eep);
    EXPECT_EQ(window.focused, ids::kCaptureBox);
}

TEST_F(CloseTest, AFileNamedAtStartOpensLikeAChosenOneAndAMissingOneLeavesTheEmptyDocument) {
    editor.openFile(folder.path() / "missing.eep");
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "Файл   missing.eep   не найден !");
    EXPECT_FALSE(editor.hasUnsavedChanges());
    EXPECT_FALSE(window.enabled.at(ids::kMenuUndo));

    type("ab");
    window.fileToSave = folder.path() / "b.eep";
    menu(ids::kMenuSaveAs);
    click(ids::kClearAllButton);
    editor.openFile(folder.path() / "b.eep");
    window.pump(editor);
    EXPECT_EQ(shown(100) + shown(101), "ab");
    EXPECT_FALSE(editor.hasUnsavedChanges());  // opened: the saved state is the file's
    EXPECT_EQ(cursor(), 100);
}

}  // namespace
}  // namespace facetor::testing
