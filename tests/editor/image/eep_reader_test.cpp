#include <gtest/gtest.h>

#include "editor/image/eep_file.h"
#include "tests/editor/image/image_test_support.h"

namespace facetor {
namespace {

using testing::clearedDocument;
using testing::contentsOf;
using testing::crlfLines;
using testing::defaultLocalizations;
using testing::joinLines;
using testing::ReaderWindow;
using testing::sampleDocument;
using testing::ScratchFolder;
using testing::writeFile;

constexpr CalendarDate kMay9th2011{9, 5, 2011};

class EepReader : public ::testing::Test {
  protected:
    std::string savedText(const SkinDocument& document, int localizationNumber) const {
        return eepFileText(
            buildEepromImage(document, localizations, localizationNumber, kMay9th2011));
    }
    std::filesystem::path fileOf(int localizationNumber) const {
        return folder / eepFileName(localizations, localizationNumber);
    }
    // Reads the file of that Localization into `target`, which starts as a copy of `before`.
    bool open(int localizationNumber) {
        return readEepFile(target, localizations, localizationNumber, window.ops(), folder.path());
    }

    ScratchFolder folder;
    Localizations localizations = defaultLocalizations();
    SkinDocument target = clearedDocument();
    ReaderWindow window;
};

TEST_F(EepReader, WrittenFileRestoresEveryCellPlacementAndStyleAndSwitchesLocalization) {
    const SkinDocument original = sampleDocument();
    for (int saved = 0; saved < kLocalizationCount; ++saved) {
        SCOPED_TRACE("localization " + std::to_string(saved));
        ASSERT_TRUE(writeEepFile(buildEepromImage(original, localizations, saved, kMay9th2011),
                                 localizations, saved, folder.path()));
        target = clearedDocument();
        target.setCursor(200);
        window = {};

        ASSERT_TRUE(open(saved));

        std::vector<int> expected = contentsOf(original);
        expected.back() = 200;  // the reader leaves the cursor to its caller
        EXPECT_EQ(contentsOf(target), expected);
        EXPECT_EQ(window.selectedLocalizations, std::vector<int>{saved});
        EXPECT_TRUE(window.messages.empty());
    }
}

TEST_F(EepReader, ReadsTheFileOfTheGivenLocalizationOnly) {
    SkinDocument english = clearedDocument();
    english.putCharacter('E');
    SkinDocument russian = clearedDocument();
    russian.putCharacter(0xA8);
    writeFile(fileOf(0), savedText(english, 0));
    writeFile(fileOf(1), savedText(russian, 1));

    ASSERT_TRUE(open(1));
    EXPECT_EQ(target.cell(kFirstCell), 0xA8);
    EXPECT_EQ(window.selectedLocalizations, std::vector<int>{1});
}

TEST_F(EepReader, LegacyAndLfOnlyLayoutsFindTheirTrailer) {
    const SkinDocument original = sampleDocument();
    const std::vector<std::string> lines = crlfLines(savedText(original, 2));
    // An older file: no weekday-name records, the trailer right after the styles.
    std::vector<std::string> legacy(lines.begin(), lines.begin() + 22);
    legacy.push_back(lines[27]);
    legacy.push_back(lines[28]);

    struct Layout {
        std::string name;
        std::string text;
        std::size_t size;
    };
    const Layout layouts[] = {
        {"legacy CR LF", joinLines(legacy, "\r\n"), 1048},
        {"legacy LF", joinLines(legacy, "\n"), 1024},
        {"legacy CR", joinLines(legacy, "\r"), 1024},
        {"full LF", joinLines(lines, "\n"), 1244},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        ASSERT_EQ(layout.text.size(), layout.size);
        writeFile(fileOf(0), layout.text);
        target = clearedDocument();
        window = {};

        ASSERT_TRUE(open(0));
        EXPECT_EQ(contentsOf(target), contentsOf(original));
        EXPECT_EQ(window.selectedLocalizations, std::vector<int>{2});
    }
}

TEST_F(EepReader, LegacySizeDecidesWhichLineIsTheTrailer) {
    // A 1048-byte file whose line 23 is a weekday-name record: that line is taken as the trailer.
    std::vector<std::string> lines = crlfLines(savedText(clearedDocument(), 1));
    lines.resize(23);
    lines.push_back(":00000001FF");
    // With right checksums it is Intel HEX without a trailer, read by its addresses: damaged.
    EXPECT_FALSE(parseEepText(joinLines(lines, "\r\n")));
    lines[22].replace(41, 2, "00");  // a wrong checksum: read line by line
    const std::string text = joinLines(lines, "\r\n");
    ASSERT_EQ(text.size(), 1048u);
    const std::optional<EepromImage> image = parseEepText(text);
    ASSERT_TRUE(image);
    // Line 23 holds the short names ("Пн" first, two zeros last) and so stands as the trailer.
    EXPECT_EQ((*image)[kTrailerOffset], 0xA8);
    EXPECT_EQ((*image)[kLocalizationNumberOffset], 0x00);
    EXPECT_EQ((*image)[kShortNamesOffset], 0x00);

    // One byte more and the same start needs all 28 records.
    EXPECT_FALSE(parseEepText(text + " "));
}

TEST_F(EepReader, LowerCaseDigitsWrongChecksumsAndAddressesReadTheSame) {
    const SkinDocument original = sampleDocument();
    std::vector<std::string> lines = crlfLines(savedText(original, 0));
    for (std::size_t n = 0; n < 28; ++n) {
        std::string& line = lines[n];
        for (char& c : line) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        line.replace(3, 4, "abcd");                // another address
        line.replace(41, 2, n % 2 ? "00" : "ff");  // a wrong checksum
        line += n % 3 ? "" : " \t ";               // trailing blanks
    }
    writeFile(fileOf(0), joinLines(lines, "\r\n"));

    ASSERT_TRUE(open(0));
    EXPECT_EQ(contentsOf(target), contentsOf(original));
    EXPECT_EQ(window.selectedLocalizations, std::vector<int>{0});
}

TEST_F(EepReader, LinesAfterTheTrailerAreNotLookedAt) {
    const SkinDocument original = sampleDocument();
    std::string text = savedText(original, 1);
    text.resize(text.size() - 13);  // no end record
    text += "not a record\r\n\x01\x02";
    writeFile(fileOf(1), text);

    ASSERT_TRUE(open(1));
    EXPECT_EQ(contentsOf(target), contentsOf(original));
}

TEST_F(EepReader, UnknownLocalizationNumberLoadsButLeavesTheRadios) {
    SkinDocument original = sampleDocument();
    EepromImage image = buildEepromImage(original, localizations, 1, kMay9th2011);
    image[kLocalizationNumberOffset] = 3;
    writeFile(fileOf(1), eepFileText(image));

    ASSERT_TRUE(open(1));
    EXPECT_EQ(contentsOf(target), contentsOf(original));
    EXPECT_TRUE(window.selectedLocalizations.empty());
}

TEST_F(EepReader, RawNibblesAreStoredAsTheyAre) {
    EepromImage image = buildEepromImage(clearedDocument(), localizations, 0, kMay9th2011);
    image[kPlacementOffset + 8 * static_cast<int>(FieldKind::AlarmCount) + 4] = 0x3C;
    image[kTemperatureStyleOffset + 2] = 0x9F;
    image[kWeekdayStyleOffset + 6] = 0xAB;
    writeFile(fileOf(0), eepFileText(image));

    ASSERT_TRUE(open(0));
    EXPECT_EQ(target.placement(FieldKind::AlarmCount, 4), (FieldPlacement{3, 12}));
    EXPECT_EQ(target.style(FieldKind::Temperature1, 2), 9);
    EXPECT_EQ(target.style(FieldKind::Temperature2, 2), 15);
    EXPECT_EQ(target.style(FieldKind::Weekday, 6), 0xAB);
}

TEST_F(EepReader, MissingFileIsReportedAndChangesNothing) {
    target = sampleDocument();
    const std::vector<int> before = contentsOf(target);
    writeFile(fileOf(0), savedText(clearedDocument(), 0));  // another Localization's file

    EXPECT_FALSE(open(2));
    EXPECT_EQ(contentsOf(target), before);
    EXPECT_TRUE(window.selectedLocalizations.empty());
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].first, "Information");
    EXPECT_EQ(window.messages[0].second, "Файл   chronotherm_lcd_m168_ua.eep   не найден !");
}

TEST_F(EepReader, DamagedFilesAreReportedAndChangeNothing) {
    const std::string good = savedText(sampleDocument(), 0);
    const std::vector<std::string> lines = crlfLines(good);
    const auto withLine = [&lines](std::size_t index, const std::string& replacement) {
        std::vector<std::string> changed = lines;
        changed[index] = replacement;
        return joinLines(changed, "\r\n");
    };
    const std::string record = lines[5];
    const auto recordWith = [&record](std::size_t at, std::size_t count, const char* replacement) {
        std::string changed = record;
        changed.replace(at, count, replacement);
        return changed;
    };

    struct Damage {
        std::string name;
        std::string text;
    };
    const Damage damages[] = {
        {"empty file", ""},
        {"cut after 20 lines", joinLines({lines.begin(), lines.begin() + 20}, "\r\n")},
        {"cut before the trailer", joinLines({lines.begin(), lines.begin() + 27}, "\r\n") + "   "},
        {"blank line", withLine(3, "")},
        {"no start code", withLine(0, recordWith(0, 1, "="))},
        {"byte count 08", withLine(4, recordWith(1, 2, "08"))},
        {"record type 01", withLine(9, recordWith(7, 2, "01"))},
        {"non-hex data", withLine(12, recordWith(20, 1, "G"))},
        {"short record", withLine(16, record.substr(0, 41))},
        {"text after the record", withLine(21, record + " x")},
        {"extra byte", withLine(1, record + "00")},
        {"bad weekday-name line", withLine(24, "hello")},
        {"bad trailer", withLine(27, ":00000001FF")},
        {"line of 2000 characters", withLine(2, record + std::string(2000 - record.size(), ' '))},
        {"4 MiB without a line end", std::string(4 << 20, 'A')},
        {"binary junk", std::string("\x00\xFF\x10:\r\n", 6)},
    };

    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        EXPECT_FALSE(parseEepText(damage.text));
        writeFile(fileOf(1), damage.text);
        target = sampleDocument();
        target.setCursor(300);
        const std::vector<int> before = contentsOf(target);
        window = {};

        EXPECT_FALSE(open(1));
        EXPECT_EQ(contentsOf(target), before);
        EXPECT_TRUE(window.selectedLocalizations.empty());
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_EQ(window.messages[0].first, "Ошибка");
        EXPECT_EQ(window.messages[0].second, "Файл   chronotherm_lcd_m168_ru.eep   повреждён !");
    }
}

TEST_F(EepReader, BlanksUpToTheLineBoundAreAccepted) {
    std::vector<std::string> lines = crlfLines(savedText(sampleDocument(), 0));
    lines[2] += std::string(1024 - lines[2].size(), ' ');
    EXPECT_TRUE(parseEepText(joinLines(lines, "\r\n")));
    lines[2] += " ";
    EXPECT_FALSE(parseEepText(joinLines(lines, "\r\n")));
}

}  // namespace
}  // namespace facetor
