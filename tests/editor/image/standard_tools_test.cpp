// Tools that know Intel HEX agree with the files the editor writes. Run natively only.
#include <gtest/gtest.h>

#ifndef _WIN32

#include <cstdlib>

#include "editor/image/bin_file.h"
#include "editor/image/eep_file.h"
#include "tests/editor/image/image_test_support.h"

namespace facetor {
namespace {

using testing::crlfLines;
using testing::defaultLocalizations;
using testing::joinLines;
using testing::readFile;
using testing::sampleDocument;
using testing::ScratchFolder;
using testing::writeFile;

bool toolExists(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

bool run(const std::string& command) {
    return std::system((command + " 2>/dev/null").c_str()) == 0;
}

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

class StandardTools : public ::testing::Test {
  protected:
    void SetUp() override {
        const EepromImage image =
            buildEepromImage(sampleDocument(), localizations, 2, CalendarDate{24, 12, 2031});
        ASSERT_TRUE(writeEepFile(image, localizations, 2, folder.path()));
        ASSERT_TRUE(writeBinFile(image, folder.path()));
    }

    ScratchFolder folder;
    Localizations localizations = defaultLocalizations();
    std::filesystem::path eep = folder / "chronotherm_lcd_m168_ua.eep";
    std::filesystem::path bin = folder / "chronotherm_lcd_m168.bin";
};

TEST_F(StandardTools, ObjcopyTurnsTheEepIntoTheBin) {
    if (!toolExists("objcopy")) {
        GTEST_SKIP() << "objcopy is not installed";
    }
    const std::filesystem::path converted = folder / "converted.bin";
    ASSERT_TRUE(
        run("objcopy -I ihex -O binary --gap-fill 0 " + quoted(eep) + " " + quoted(converted)));
    EXPECT_EQ(readFile(converted), readFile(bin));
}

TEST_F(StandardTools, SrecordAcceptsTheChecksumsAndRejectsAWrongOne) {
    if (!toolExists("srec_cat")) {
        GTEST_SKIP() << "srec_cat is not installed";
    }
    EXPECT_TRUE(run("srec_cat " + quoted(eep) + " -intel -o /dev/null"));

    // The check is real: one changed data digit makes the tool refuse the file.
    std::vector<std::string> lines = crlfLines(readFile(eep));
    lines[4][12] = lines[4][12] == '0' ? '1' : '0';
    const std::filesystem::path damaged = folder / "damaged.eep";
    writeFile(damaged, joinLines(lines, "\r\n"));
    EXPECT_FALSE(run("srec_cat " + quoted(damaged) + " -intel -o /dev/null"));
}

}  // namespace
}  // namespace facetor

#endif
