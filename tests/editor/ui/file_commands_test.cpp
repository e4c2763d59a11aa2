#include "editor/ui/file_commands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>

#include "editor/image/eep_file.h"
#include "editor/model/settings_file.h"
#include "editor_harness.h"

namespace facetor::testing {
namespace {

constexpr const char* kRussianEep = "chronotherm_lcd_m168_ru.eep";
constexpr const char* kUkrainianEep = "chronotherm_lcd_m168_ua.eep";
constexpr const char* kBin = "chronotherm_lcd_m168.bin";

TEST_F(EditorTest, SavedImageOpensBackAndSwitchesToItsLocalization) {
    type("Hi");
    click(ids::kFullWeekdayButton);
    click(2013);
    goTo(300);
    click(ids::kYearButton);
    window.selectLocalization(2);
    click(ids::kSaveButton);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(std::filesystem::file_size(folder.path() / kBin), 512u);
    const SkinDocument saved = editor.document();

    click(ids::kClearAllButton);
    goTo(200);
    // The ua image under the ru name: opening with ru on switches the radios to ua.
    std::filesystem::rename(folder.path() / kUkrainianEep, folder.path() / kRussianEep);
    window.selectLocalization(1);
    menu(ids::kMenuOpen);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(window.isChecked(ids::kFirstLocalizationRadio + 2));
    EXPECT_FALSE(window.isChecked(ids::kFirstLocalizationRadio + 1));
    EXPECT_EQ(cursor(), 100);
    EXPECT_EQ(window.focused, ids::kCaptureBox);
    for (int id = kFirstCell; id <= kLastCell; ++id) {
        EXPECT_EQ(editor.document().cell(id), saved.cell(id)) << id;
    }
    EXPECT_EQ(editor.document().placement(FieldKind::Year, 6), saved.placement(FieldKind::Year, 6));
    EXPECT_EQ(editor.document().style(FieldKind::Temperature1, 0), 3);
    EXPECT_EQ(shown(100) + shown(101) + shown(102), "HiН");  // Sunday in the ua table: "Недiля"
    EXPECT_EQ(shown(300) + shown(301), "26");
}

TEST_F(EditorTest, AFailedSaveNamesEachFileNotWritten) {
    std::filesystem::create_directory(folder.path() / kRussianEep);
    click(ids::kSaveButton);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].title, "Ошибка");
    EXPECT_EQ(window.messages[0].text, "Файл   chronotherm_lcd_m168_ru.eep   не сохранён !");
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.path() / kBin));

    window.messages.clear();
    std::filesystem::remove(folder.path() / kBin);
    std::filesystem::create_directory(folder.path() / kBin);
    menu(ids::kMenuSave);
    ASSERT_EQ(window.messages.size(), 2u);
    EXPECT_EQ(window.messages[0].text, "Файл   chronotherm_lcd_m168_ru.eep   не сохранён !");
    EXPECT_EQ(window.messages[1].title, "Ошибка");
    EXPECT_EQ(window.messages[1].text, "Файл   chronotherm_lcd_m168.bin   не сохранён !");
}

TEST_F(EditorTest, AMissingOrDamagedFileLeavesTheDocumentAndPutsTheCursorOn100) {
    type("ok");
    menu(ids::kMenuOpen);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].title, "Information");
    EXPECT_EQ(window.messages[0].text, "Файл   chronotherm_lcd_m168_ru.eep   не найден !");
    EXPECT_EQ(cursor(), 100);

    std::ofstream(folder.path() / kRussianEep) << "not an image\r\n";
    window.messages.clear();
    goTo(140);
    click(ids::kOpenButton);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].title, "Ошибка");
    EXPECT_EQ(window.messages[0].text, "Файл   chronotherm_lcd_m168_ru.eep   повреждён !");
    EXPECT_EQ(shown(100) + shown(101), "ok");
    EXPECT_EQ(cursor(), 100);
    EXPECT_TRUE(window.isChecked(ids::kFirstLocalizationRadio + 1));
}

namespace fs = std::filesystem;

// Every file of a folder with its bytes.
std::map<fs::path, std::string> folderContents(const fs::path& folder) {
    std::map<fs::path, std::string> contents;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::ifstream file(entry.path(), std::ios::binary);
        contents[entry.path().filename()] = {std::istreambuf_iterator<char>(file), {}};
    }
    return contents;
}

// The files that differ between two looks at a folder.
std::set<fs::path> changedFiles(const std::map<fs::path, std::string>& before,
                                const std::map<fs::path, std::string>& after) {
    std::set<fs::path> changed;
    for (const auto& [name, bytes] : after) {
        const auto old = before.find(name);
        if (old == before.end() || old->second != bytes) {
            changed.insert(name);
        }
    }
    return changed;
}

// A design "B" saved for ru, as another run of the editor would have left it.
void writeDesignB(const fs::path& file) {
    SkinDocument design;
    design.clearAll();
    design.setCell(kFirstCell, 'B');
    Localizations localizations = Localizations::initial();
    applyDefaultSettings(localizations);
    ASSERT_TRUE(writeEepFileTo(buildEepromImage(design, localizations, 1, {1, 5, 2026}), file));
}

// Ctrl+S and the closing question's Yes save where the work belongs, the menu bar names that
// place, and a design's .bin goes beside its .eep under a name no other design uses.
TEST(SaveTarget, CtrlSAndYesSaveWhereTheWorkBelongs) {
    using Steps = std::function<void(EditorRig&)>;
    const auto saveAs = [](const char* name) {
        return [name](EditorRig& r) {
            r.window.fileToSave =
                r.folder.path() / fs::path(reinterpret_cast<const char8_t*>(name));
            r.menu(ids::kMenuSaveAs);
        };
    };
    const auto open = [](const char* name) {
        return [name](EditorRig& r) {
            r.window.fileToOpen = r.folder.path() / name;
            r.menu(ids::kMenuOpenAs);
        };
    };
    const auto then = [](std::vector<Steps> steps) {
        return [steps](EditorRig& r) {
            for (const Steps& step : steps) {
                step(r);
            }
        };
    };
    const Steps undo = [](EditorRig& r) { r.menu(ids::kMenuUndo); };
    const Steps redo = [](EditorRig& r) { r.menu(ids::kMenuRedo); };
    const Steps typeA = [](EditorRig& r) { r.type("a"); };
    const Steps fixedSave = [](EditorRig& r) { r.menu(ids::kMenuSave); };
    const Steps fixedOpen = [](EditorRig& r) {
        fs::copy_file(r.folder.path() / "B.eep", r.folder.path() / kRussianEep);
        r.menu(ids::kMenuOpen);
    };
    const struct {
        const char* story;
        Steps steps;
        const char* eep;  // the files a save writes, and the name the menu bar shows
        const char* bin;
    } cases[] = {
        {"new work", typeA, kRussianEep, kBin},
        {"new work, ua chosen",
         [](EditorRig& r) {
             r.window.selectLocalization(2);  // the click switches the radio buttons first
             r.click(ids::kFirstLocalizationRadio + 2);
         },
         kUkrainianEep, kBin},
        {"a file opened", open("B.eep"), "B.eep", "B.bin"},
        {"a file opened, then the fixed-name save", then({open("B.eep"), fixedSave}), "B.eep",
         "B.bin"},
        {"a file opened, then the fixed names opened", then({open("B.eep"), fixedOpen}),
         kRussianEep, kBin},
        {"a file opened, then a missing one", then({open("B.eep"), open("missing.eep")}), "B.eep",
         "B.bin"},
        {"a file opened by mistake and undone", then({typeA, open("B.eep"), undo}), kRussianEep,
         kBin},
        {"saved as, a file opened and undone", then({saveAs("A.eep"), open("B.eep"), undo}),
         "A.eep", "A.bin"},
        {"... and redone", then({saveAs("A.eep"), open("B.eep"), undo, redo}), "B.eep", "B.bin"},
        {"saved as, then typed and undone", then({saveAs("A.eep"), typeA, undo}), "A.eep", "A.bin"},
        {"saved as зима.eep", saveAs("зима.eep"), "зима.eep", "зима.bin"},
        {"saved as ЗИМА.EEP", saveAs("ЗИМА.EEP"), "ЗИМА.EEP", "ЗИМА.bin"},
        {"saved as зима.v2", saveAs("зима.v2"), "зима.v2", "зима.v2.bin"},
        {"saved as зима", saveAs("зима"), "зима", "зима.bin"},
        {"saved as зима.bin", saveAs("зима.bin"), "зима.eep", "зима.bin"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.story);
        EditorRig rig;
        rig.startUp();
        writeDesignB(rig.folder.path() / "B.eep");
        c.steps(rig);
        rig.window.messages.clear();
        const fs::path eep = reinterpret_cast<const char8_t*>(c.eep);
        const fs::path bin = reinterpret_cast<const char8_t*>(c.bin);
        EXPECT_EQ(rig.window.text(ids::kSaveTargetLabel), c.eep);

        for (const bool answerYes : {false, true}) {
            rig.type(answerYes ? "y" : "s");
            const auto before = folderContents(rig.folder.path());
            if (answerYes) {
                rig.window.answer = Answer::Yes;
                rig.editor.onClose();
                EXPECT_TRUE(rig.window.quitCalled);
            } else {
                rig.menu(ids::kMenuSaveHere);
            }
            const auto after = folderContents(rig.folder.path());
            EXPECT_EQ(changedFiles(before, after), (std::set<fs::path>{eep, bin})) << answerYes;
            std::string cells;
            for (int id = kFirstCell; id <= kLastCell; ++id) {
                cells += static_cast<char>(rig.editor.document().cell(id));
            }
            EXPECT_EQ(after.count(bin) ? after.at(bin).substr(0, kCellAreaSize) : "", cells);
            EXPECT_FALSE(rig.editor.hasUnsavedChanges());
        }
        EXPECT_TRUE(rig.window.messages.empty());
    }
}

}  // namespace
}  // namespace facetor::testing
