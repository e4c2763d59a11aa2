#include "editor/model/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "editor/model/text_encoding.h"

namespace facetor {
namespace {

namespace fs = std::filesystem;

constexpr int kEn = 0;
constexpr int kRu = 1;
constexpr int kUa = 2;
constexpr int kSunday = 0;
constexpr int kMonday = 1;
constexpr int kTuesday = 2;

std::string cp(std::string_view utf8) {
    return utf8ToCp1251(utf8);
}

std::string shortName(const Localizations& l, int localization, int day) {
    const auto& positions = l.items[localization].names.shortNames[day];
    return positions[0] + "|" + positions[1];
}

// Positions 0..8, the part of a full name that the device and the grid use.
std::string fullName(const Localizations& l, int localization, int day) {
    std::string name;
    for (int i = 0; i < 9; ++i) {
        name += l.items[localization].names.fullNames[day][i];
    }
    return name;
}

Localizations fromText(std::string_view text) {
    Localizations l = Localizations::initial();
    applySettingsText(l, text);
    return l;
}

class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() / ("facetor_model_" + std::string(test->name()) + "_" +
                                               std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    void writeSettings(std::string_view bytes) {
        std::ofstream(folder_ / "Facetor.ini", std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    // Loads from the test's folder; returns the messages shown.
    std::vector<std::string> load(Localizations& l, const fs::path& folder) {
        std::vector<std::string> messages;
        loadSettings(l, folder, [&](std::string_view title, std::string_view text) {
            messages.push_back(std::string(title) + ": " + std::string(text));
        });
        return messages;
    }

    fs::path folder_;
};

TEST_F(SettingsFileTest, MissingFileShowsTheMessageAndGivesDefaults) {
    Localizations l = Localizations::initial();
    const auto messages = load(l, folder_);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "Information: Файл Facetor.ini не найден !  Загружены установки по умолчанию.");
    EXPECT_EQ(fullName(l, kEn, kMonday), "Monday   ");
    EXPECT_EQ(fullName(l, kRu, kMonday), cp("Понедел-к"));
    EXPECT_EQ(fullName(l, kUa, 5), cp("П'ятниця "));
    EXPECT_EQ(fullName(l, kUa, kSunday), cp("Недiля   "));
    EXPECT_EQ(shortName(l, kUa, kSunday), cp("Н|д"));
    EXPECT_EQ(shortName(l, kEn, 6), "S|t");
    EXPECT_EQ(l.items[kEn].names.fullNames[kMonday][19], " ");
    EXPECT_EQ(l.items[kEn].names.fullNames[kMonday][20], "");
    EXPECT_EQ(l.items[kEn].names.shortNames[kMonday][2], "");
    EXPECT_EQ(l.items[kRu].imageFileName, "chronotherm_lcd_m168_ru.eep");
}

TEST(SettingsDefaults, AllFortyTwoNamesByteForByte) {
    // Weekday numbers 1 (Monday) to 7 (Sunday): en, ru, ua, each short and full. The "i" of the
    // Ukrainian names is the Latin i and the apostrophe the ASCII one.
    const char* const kNames[7][6] = {
        {"Mn", "Monday", "Пн", "Понедел-к", "Пн", "Понедiлок"},
        {"Tu", "Tuesday", "Вт", "Вторник", "Вт", "Вiвторок"},
        {"Wd", "Wednesday", "Ср", "Среда", "Ср", "Середа"},
        {"Th", "Thursday", "Чт", "Четверг", "Чт", "Четвер"},
        {"Fr", "Friday", "Пт", "Пятница", "Пт", "П'ятниця"},
        {"St", "Saturday", "Сб", "Суббота", "Сб", "Субота"},
        {"Sn", "Sunday", "Вс", "Воскр-нье", "Нд", "Недiля"},
    };
    Localizations l = Localizations::initial();
    applyDefaultSettings(l);
    for (int number = 1; number <= 7; ++number) {
        for (int localization = 0; localization < 3; ++localization) {
            const std::string shortExpected = cp(kNames[number - 1][2 * localization]);
            std::string fullExpected = cp(kNames[number - 1][2 * localization + 1]);
            fullExpected.resize(9, ' ');
            ASSERT_EQ(shortExpected.size(), 2u);
            EXPECT_EQ(shortName(l, localization, number % 7),
                      shortExpected.substr(0, 1) + "|" + shortExpected.substr(1))
                << localization << " " << number;
            EXPECT_EQ(fullName(l, localization, number % 7), fullExpected)
                << localization << " " << number;
        }
    }
}

TEST_F(SettingsFileTest, ExistingFileIsReadWithoutMessage) {
    writeSettings("en_1_short=Lu\r\n");
    Localizations l = Localizations::initial();
    EXPECT_TRUE(load(l, folder_).empty());
    EXPECT_EQ(shortName(l, kEn, kMonday), "L|u");
    EXPECT_EQ(shortName(l, kEn, kTuesday), "T|u");

    writeSettings("");
    l = Localizations::initial();
    EXPECT_TRUE(load(l, folder_).empty());
    EXPECT_EQ(fullName(l, kRu, kTuesday), cp("Вторник  "));
}

TEST_F(SettingsFileTest, TheProgramFolderStandsInForAWorkFolderWithoutTheFile) {
    writeSettings("ru_7_short=Bc\n");
    const fs::path work = folder_ / "work";
    fs::create_directory(work);
    Localizations l = Localizations::initial();
    std::vector<std::string> messages;
    const auto show = [&](std::string_view title, std::string_view) {
        messages.emplace_back(title);
    };
    loadSettings(l, work, show, folder_);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(shortName(l, kRu, kSunday), "B|c");

    std::ofstream(work / "Facetor.ini") << "ru_7_short=Xy\n";  // the work folder's own wins
    loadSettings(l, work, show, folder_);
    EXPECT_EQ(shortName(l, kRu, kSunday), "X|y");
}

TEST_F(SettingsFileTest, AFileOverOneMegabyteIsUnreadable) {
    std::string text = "ru_7_short=Bc\r\n;";
    text.resize(1024 * 1024, 'x');  // a long comment line up to the limit
    writeSettings(text);
    Localizations l = Localizations::initial();
    EXPECT_TRUE(load(l, folder_).empty());
    EXPECT_EQ(shortName(l, kRu, kSunday), "B|c");

    writeSettings(text + "x");
    l = Localizations::initial();
    const auto messages = load(l, folder_);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "Information: Файл Facetor.ini не найден !  Загружены установки по умолчанию.");
    EXPECT_EQ(shortName(l, kRu, kSunday), cp("В|с"));
}

TEST_F(SettingsFileTest, EmptyFolderMeansTheCurrentDirectory) {
    writeSettings("ru_7_short=Bc\n");
    const fs::path previous = fs::current_path();
    fs::current_path(folder_);
    Localizations l = Localizations::initial();
    const auto messages = load(l, fs::path());
    fs::current_path(previous);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(shortName(l, kRu, kSunday), "B|c");
}

TEST(SettingsRules, FullNamesDropTheFirstCharacterAndKeepUnreachedSpaces) {
    const Localizations l =
        fromText(cp("ru_1_full=*Пн\nru_2_full=Пн\nen_7_full=\n"
                    "ua_3_full=0123456789abcdef\n"));
    EXPECT_EQ(fullName(l, kRu, kMonday), cp("Пн       "));
    EXPECT_EQ(fullName(l, kRu, kTuesday), cp("н        "));
    EXPECT_EQ(fullName(l, kEn, kSunday), "         ");  // present but empty: not the default
    EXPECT_EQ(fullName(l, kUa, 3), "123456789");
    EXPECT_EQ(l.items[kUa].names.fullNames[3][14], "f");
    EXPECT_EQ(l.items[kUa].names.fullNames[3][15], " ");
}

TEST(SettingsRules, ShortNamesTakeTwoCharactersAndLeaveMissingOnesEmpty) {
    const Localizations l = fromText("en_1_short=M\nen_2_short=\nen_3_short=Wed\nen_7_short=Su\n");
    EXPECT_EQ(shortName(l, kEn, kMonday), "M|");
    EXPECT_EQ(shortName(l, kEn, kTuesday), "|");
    EXPECT_EQ(shortName(l, kEn, 3), "W|e");
    EXPECT_EQ(l.items[kEn].names.shortNames[3][2], "");
    EXPECT_EQ(shortName(l, kEn, kSunday), "S|u");  // key number 7 is table index 0
}

TEST(SettingsRules, KeysAreTrimmedCaseInsensitiveAndFirstOneWins) {
    const Localizations l = fromText(
        " \tEN_1_SHORT \t= \tAb \t\r\n"
        "en_1_short=Zz\r"
        "Ru_2_Short=a;b\n"
        "ua_2_short=\"q\"\n"
        "en_3_full= x=y;z\n"
        "en_4_short\n");
    EXPECT_EQ(shortName(l, kEn, kMonday), "A|b");
    EXPECT_EQ(shortName(l, kRu, kTuesday), "a|;");
    EXPECT_EQ(shortName(l, kUa, kTuesday), "\"|q");
    EXPECT_EQ(fullName(l, kEn, 3), "=y;z     ");
    EXPECT_EQ(shortName(l, kEn, 4), "T|h");
}

TEST(SettingsRules, CommentsAndGroupsHideKeys) {
    const Localizations l = fromText(
        "; en_1_short=Xx\n"
        "  \t;en_2_short=Xx\n"
        "en_3_short=;x\n"
        "\t[group]\n"
        "en_4_short=Xx\n");
    EXPECT_EQ(shortName(l, kEn, kMonday), "M|n");
    EXPECT_EQ(shortName(l, kEn, kTuesday), "T|u");
    EXPECT_EQ(shortName(l, kEn, 3), ";|x");
    EXPECT_EQ(shortName(l, kEn, 4), "T|h");
}

// The bytes of `utf8` as UTF-16 with its byte order mark, as Notepad saves "Unicode".
std::string utf16File(std::string_view utf8, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : utf8ToUtf16(utf8)) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST(SettingsEncodings, EveryEncodingNotepadSavesGivesTheSameNames) {
    // Ґ and € exist in Windows-1251, ß does not.
    const std::string text = "ru_2_short=Вт\nua_1_full=*Ґß€\n";
    const struct {
        const char* encoding;
        std::string bytes;
    } files[] = {
        {"UTF-8 with mark", "\xEF\xBB\xBF" + text},
        {"UTF-8 without mark", text},
        {"UTF-16 little endian", utf16File(text, false)},
        {"UTF-16 big endian", utf16File(text, true)},
        {"Windows-1251", cp(text)},
    };
    for (const auto& file : files) {
        const Localizations l = fromText(file.bytes);
        EXPECT_EQ(shortName(l, kRu, kTuesday), cp("В|т")) << file.encoding;
        EXPECT_EQ(fullName(l, kUa, kMonday), "\xA5?\x88      ") << file.encoding;
        EXPECT_EQ(shortName(l, kEn, kMonday), "M|n") << file.encoding;  // untouched default
    }
}

TEST(SettingsEncodings, Windows1251StaysWindows1251UnlessTheWholeFileIsUtf8) {
    // "Рё" in Windows-1251 is D0 B8, valid UTF-8 for "и"; the "д" after it (E4) is not.
    EXPECT_EQ(fullName(fromText(cp("ru_1_full=*Рёд\n")), kRu, kMonday), cp("Рёд      "));
    EXPECT_EQ(fullName(fromText(cp("ru_1_full=*Понедельник\n")), kRu, kMonday), cp("Понедельн"));
    // A stray lead byte: without the mark the file is Windows-1251, with it the byte is no
    // character.
    EXPECT_EQ(shortName(fromText("en_1_short=\xD0\n"), kEn, kMonday), cp("Р|"));
    EXPECT_EQ(shortName(fromText("\xEF\xBB\xBF"
                                 "en_1_short=\xD0\n"),
                        kEn, kMonday),
              "?|");
}

TEST(SettingsEncodings, UkrainianIFoldsToLatinInEveryEncoding) {
    const std::string text = "ua_1_full=*Понеділок\nua_7_full=*Неділя\nua_2_short=Її\n";
    for (const std::string& bytes : {text, cp(text), utf16File(text, false)}) {
        const Localizations l = fromText(bytes);
        EXPECT_EQ(fullName(l, kUa, kMonday), cp("Понедiлок"));
        EXPECT_EQ(fullName(l, kUa, kSunday), cp("Недiля   "));
        EXPECT_EQ(shortName(l, kUa, kTuesday), "I|i");
    }
}

// Every position holds one character or is empty, and nothing lies outside the tables.
void expectWellFormed(const Localizations& l) {
    for (const Localization& localization : l.items) {
        for (const auto& day : localization.names.shortNames) {
            for (const auto& position : day) {
                ASSERT_LE(position.size(), 1u);
            }
        }
        for (const auto& day : localization.names.fullNames) {
            for (const auto& position : day) {
                ASSERT_LE(position.size(), 1u);
            }
        }
    }
}

TEST(SettingsRules, OversizedAndBinaryLinesStayWithinTheTables) {
    std::string huge = "ru_1_full=*";
    for (int i = 0; i < 1 << 20; ++i) {
        huge += static_cast<char>('a' + i % 26);
    }
    Localizations l = fromText(huge);  // no line end at all
    expectWellFormed(l);
    EXPECT_EQ(fullName(l, kRu, kMonday), "abcdefghi");
    EXPECT_EQ(l.items[kRu].names.fullNames[kMonday][20], "u");

    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string binary = std::string("en_5_full=\0\1\2", 13) + "\n\xEF\xBB\xBF";
    for (int i = 0; i < 20000; ++i) {
        binary += static_cast<char>(byte(random));
    }
    l = fromText(binary);
    expectWellFormed(l);
    EXPECT_EQ(l.items[kEn].names.fullNames[5][0], std::string(1, '\1'));
    expectWellFormed(fromText("\xEF\xBB\xBF" + binary));
}

}  // namespace
}  // namespace facetor
