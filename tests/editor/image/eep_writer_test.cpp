#include <gtest/gtest.h>

#include "editor/image/eep_file.h"
#include "tests/editor/image/image_test_support.h"

namespace facetor {
namespace {

using testing::clearedDocument;
using testing::crlfLines;
using testing::defaultLocalizations;
using testing::sampleDocument;

constexpr CalendarDate kMay9th2011{9, 5, 2011};

int hexByte(const std::string& text, std::size_t at) {
    return std::stoi(text.substr(at, 2), nullptr, 16);
}

TEST(EepFileText, ClearedDocumentGivesTheExpectedRecords) {
    const EepromImage image =
        buildEepromImage(clearedDocument(), defaultLocalizations(), 1, kMay9th2011);
    const std::string text = eepFileText(image);
    ASSERT_EQ(text.size(), kEepFileSize);
    ASSERT_TRUE(text.ends_with("\r\n"));

    const std::vector<std::string> lines = crlfLines(text);
    ASSERT_EQ(lines.size(), 29u);
    EXPECT_EQ(lines[0], ":1000000020202020202020202020202020202020F0");
    EXPECT_EQ(lines[15], ":1000F0002020202020202020202020202020202000");
    EXPECT_EQ(lines[16], ":10010000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF");
    EXPECT_EQ(lines[27], ":1001F000FFFFFFFFFFFFFFFFFFFFFF09051101FFEB");
    EXPECT_EQ(lines[28], ":00000001FF");
}

TEST(EepFileText, RecordsCoverTheImageExceptTheGapWithValidChecksums) {
    const EepromImage image =
        buildEepromImage(sampleDocument(), defaultLocalizations(), 2, kMay9th2011);
    const std::vector<std::string> lines = crlfLines(eepFileText(image));
    ASSERT_EQ(lines.size(), 29u);

    for (std::size_t n = 0; n < 28; ++n) {
        SCOPED_TRACE("line " + std::to_string(n + 1));
        const std::string& line = lines[n];
        ASSERT_EQ(line.size(), 43u);
        EXPECT_EQ(line.substr(0, 3), ":10");
        EXPECT_EQ(line.substr(7, 2), "00");
        EXPECT_EQ(line.find_first_not_of(":0123456789ABCDEF"), std::string::npos);
        const std::size_t address = n < 27 ? 0x10 * n : 0x1F0;
        EXPECT_EQ(static_cast<std::size_t>(std::stoi(line.substr(3, 4), nullptr, 16)), address);
        int sum = 0;
        for (std::size_t at = 1; at < line.size(); at += 2) {
            sum += hexByte(line, at);
        }
        EXPECT_EQ(sum % 256, 0);
        for (std::size_t i = 0; i < 16; ++i) {
            EXPECT_EQ(hexByte(line, 9 + 2 * i), image[address + i]) << "byte " << i;
        }
    }
    // A byte below 0x10 keeps its leading zero: the sample's first row holds 0x0A and 0x00.
    EXPECT_EQ(lines[0].substr(9, 10), "540AA8FF00");
}

// A backup of the clock's EEPROM keeps the gap too, and Facetor opens it as any .eep.
TEST(EepFileText, TheWholeEepromAsBackupHasEveryRecordAndOpens) {
    EepromImage image = buildEepromImage(sampleDocument(), defaultLocalizations(), 2, kMay9th2011);
    image[kReservedGapOffset + 5] = 0x5A;
    const std::vector<std::string> lines = crlfLines(wholeEepromHexText(image));
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[27], ":1001B00000000000005A00000000000000000000E5");
    const std::optional<EepromImage> opened = parseEepText(wholeEepromHexText(image));
    ASSERT_TRUE(opened);
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + kReservedGapOffset, opened->begin()));
}

}  // namespace
}  // namespace facetor
