#include <gtest/gtest.h>

#include "editor/image/bin_file.h"
#include "editor/image/eep_file.h"
#include "editor/image/save_messages.h"
#include "tests/editor/image/image_test_support.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>

#include <csignal>
#endif

namespace facetor {
namespace {

using testing::defaultLocalizations;
using testing::readFile;
using testing::sampleDocument;
using testing::ScratchFolder;
using testing::writeFile;

constexpr CalendarDate kMay9th2011{9, 5, 2011};
const std::string kRussianEep = "chronotherm_lcd_m168_ru.eep";
const std::string kBin = "chronotherm_lcd_m168.bin";

std::string bytesOf(const EepromImage& image) {
    return std::string(reinterpret_cast<const char*>(image.data()), image.size());
}

class ImageSave : public ::testing::Test {
  protected:
    EepromImage imageFor(int localizationNumber) const {
        return buildEepromImage(document, localizations, localizationNumber, kMay9th2011);
    }
    // One save as the editor does it: the .eep of the Localization, then the .bin.
    std::pair<bool, bool> save(int localizationNumber, const std::filesystem::path& into) const {
        const EepromImage image = imageFor(localizationNumber);
        return {writeEepFile(image, localizations, localizationNumber, into),
                writeBinFile(image, into)};
    }

    ScratchFolder folder;
    Localizations localizations = defaultLocalizations();
    SkinDocument document = sampleDocument();
};

TEST_F(ImageSave, WritesTheEepTextAndTheRawImage) {
    ASSERT_EQ(save(1, folder.path()), std::make_pair(true, true));

    const std::string eep = readFile(folder / kRussianEep);
    const std::string bin = readFile(folder / kBin);
    EXPECT_EQ(eep, eepFileText(imageFor(1)));
    EXPECT_EQ(eep.size(), 1273u);
    EXPECT_EQ(bin, bytesOf(imageFor(1)));
    ASSERT_EQ(bin.size(), 512u);
    EXPECT_EQ(bin.substr(0x1AF, 65), std::string(65, '\0'));
    // The last 16 bytes are the data of the last data record.
    const std::string lastRecord = eep.substr(27 * 45, 43);
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(std::stoi(lastRecord.substr(9 + 2 * i, 2), nullptr, 16),
                  static_cast<unsigned char>(bin[0x1F0 + i]));
    }
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{kBin, kRussianEep}));
}

TEST_F(ImageSave, EachLocalizationHasItsEepFileAndTheBinHoldsTheLastSave) {
    for (int n : {1, 2, 0}) {
        ASSERT_EQ(save(n, folder.path()), std::make_pair(true, true));
    }
    EXPECT_EQ(folder.entries(),
              (std::vector<std::string>{kBin, "chronotherm_lcd_m168_en.eep", kRussianEep,
                                        "chronotherm_lcd_m168_ua.eep"}));
    const std::string bin = readFile(folder / kBin);
    EXPECT_EQ(bin, bytesOf(imageFor(0)));
    EXPECT_EQ(bin[0x1FE], 0);
    EXPECT_EQ(bin.substr(0x160, 2), "Mn");
    EXPECT_EQ(readFile(folder / "chronotherm_lcd_m168_ua.eep"), eepFileText(imageFor(2)));
}

TEST_F(ImageSave, OlderLongerFilesLeaveNoTail) {
    const std::string older(5000, 'x');
    writeFile(folder / kRussianEep, older);
    writeFile(folder / kBin, older);

    ASSERT_EQ(save(1, folder.path()), std::make_pair(true, true));
    EXPECT_EQ(readFile(folder / kRussianEep), eepFileText(imageFor(1)));
    EXPECT_EQ(readFile(folder / kBin), bytesOf(imageFor(1)));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{kBin, kRussianEep}));
}

TEST_F(ImageSave, FolderThatCannotHoldFilesFailsAndCreatesNothing) {
    EXPECT_EQ(save(1, folder / "missing"), std::make_pair(false, false));
    writeFile(folder / "plain-file", "a file, not a folder");
    EXPECT_EQ(save(1, folder / "plain-file" / "sub"), std::make_pair(false, false));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"plain-file"});
}

TEST_F(ImageSave, TargetThatCannotBeReplacedStaysAndNoTemporaryRemains) {
    // A folder where the file should go: the rename fails after the temporary file is written.
    std::filesystem::create_directory(folder / kRussianEep);
    writeFile(folder / kRussianEep / "inside", "kept");
    std::filesystem::create_directory(folder / kBin);

    EXPECT_EQ(save(1, folder.path()), std::make_pair(false, false));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{kBin, kRussianEep}));
    EXPECT_TRUE(std::filesystem::is_directory(folder / kRussianEep));
    EXPECT_EQ(readFile(folder / kRussianEep / "inside"), "kept");
}

#ifndef _WIN32
TEST_F(ImageSave, DiskFullKeepsThePreviousFilesExactly) {
    const std::string previousEep = "previous eep content";
    const std::string previousBin(700, 'b');
    writeFile(folder / kRussianEep, previousEep);
    writeFile(folder / kBin, previousBin);

    // A file size limit makes every write past 100 bytes fail, as a full disk would.
    rlimit original{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &original), 0);
    rlimit small = original;
    small.rlim_cur = 100;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::pair<bool, bool> result = save(1, folder.path());
    setrlimit(RLIMIT_FSIZE, &original);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result, std::make_pair(false, false));
    EXPECT_EQ(readFile(folder / kRussianEep), previousEep);
    EXPECT_EQ(readFile(folder / kBin), previousBin);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{kBin, kRussianEep}));
}
#else
// An antivirus or an indexer holds the file for a moment: the save waits for it. Held for good,
// the file keeps its content and no temporary file remains.
TEST_F(ImageSave, AFileHeldForAMomentIsWaitedForAndOneHeldForGoodIsKept) {
    for (const bool released : {true, false}) {
        SCOPED_TRACE(released);
        writeFile(folder / kBin, "held");
        const HANDLE hold = CreateFileW((folder / kBin).wstring().c_str(), GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(hold, INVALID_HANDLE_VALUE);
        const auto releaseSoon = [](void* file) -> DWORD {
            Sleep(300);
            CloseHandle(file);
            return 0;
        };
        const HANDLE releaser =
            released ? CreateThread(nullptr, 0, releaseSoon, hold, 0, nullptr) : nullptr;
        const bool written = writeBinFile(imageFor(1), folder.path());
        if (releaser) {
            WaitForSingleObject(releaser, INFINITE);
            CloseHandle(releaser);
        } else {
            CloseHandle(hold);
        }

        EXPECT_EQ(written, released);
        EXPECT_EQ(readFile(folder / kBin), released ? bytesOf(imageFor(1)) : "held");
        EXPECT_EQ(folder.entries(), std::vector<std::string>{kBin});
    }
}
#endif

TEST_F(ImageSave, EmptyFolderMeansTheCurrentDirectory) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    const std::pair<bool, bool> result = save(2, {});
    std::filesystem::current_path(previous);

    EXPECT_EQ(result, std::make_pair(true, true));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{kBin, "chronotherm_lcd_m168_ua.eep"}));
}

TEST(SaveMessages, NameTheFileBetweenThreeBlanks) {
    EXPECT_EQ(notSavedMessage(kBin), "Файл   chronotherm_lcd_m168.bin   не сохранён !");
    EXPECT_EQ(damagedFileMessage("a.eep"), "Файл   a.eep   повреждён !");
}

}  // namespace
}  // namespace facetor
