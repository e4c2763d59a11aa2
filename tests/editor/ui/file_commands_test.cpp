#include "editor/ui/file_commands.h"

#include <gtest/gtest.h>

#include <fstream>

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

}  // namespace
}  // namespace facetor::testing
