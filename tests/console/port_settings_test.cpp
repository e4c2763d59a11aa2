#include "console/port_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/console/console_doubles.h"

namespace portwand {
namespace {

using testing::MemoryFileStore;

class PortSettingsTest : public ::testing::Test {
  protected:
    MemoryFileStore files;
    ByteAnsiCodec ansi;
    PortSettings settings{files, ansi};

    std::u16string readFrom(const std::string& bytes) {
        files.files["Portwand.ini"] = bytes;
        return settings.readPort();
    }
    // The file after writing that port into a file with those bytes ("" = no file at all).
    std::string rewritten(const std::optional<std::string>& bytes, const std::u16string& port) {
        files.files.clear();
        if (bytes)
            files.files["Portwand.ini"] = *bytes;
        EXPECT_TRUE(settings.writePort(port));
        return files.files.at("Portwand.ini");
    }
};

TEST_F(PortSettingsTest, MissingFileOrKeyGivesCom1) {
    EXPECT_EQ(settings.readPort(), u"COM1");
    EXPECT_EQ(readFrom(""), u"COM1");
    EXPECT_EQ(readFrom("; port = COM4\r\nbaud = 9600\r\n"), u"COM1");
    // Keys inside a group are not the console's.
    EXPECT_EQ(readFrom("[serial]\r\nport = COM4\r\n"), u"COM1");
}

TEST_F(PortSettingsTest, ReadingTrimsBlanksIgnoresKeyCaseAndTakesTheFirstMatch) {
    EXPECT_EQ(readFrom("port = COM4\r\n"), u"COM4");
    EXPECT_EQ(readFrom("PORT=COM4"), u"COM4");
    EXPECT_EQ(readFrom(" \t Port \t=\t COM12 \t\r\n"), u"COM12");
    EXPECT_EQ(readFrom("\n\r\n  \r; c\rother = 1\nport = COM6\r\nport = COM7\r\n"), u"COM6");
    // Split at the first equals sign only.
    EXPECT_EQ(readFrom("port = a=b\r\n"), u"a=b");
    // An empty value names no port; the device path names its port.
    EXPECT_EQ(readFrom("port =\r\n"), u"COM1");
    EXPECT_EQ(readFrom("port = \\\\.\\COM3\r\n"), u"COM3");
    // Letter case of the value stays.
    EXPECT_EQ(readFrom("port = com3\r\n"), u"com3");
    EXPECT_EQ(readFrom("ports = COM2\r\nport\r\nport = COM8\r\n[x]\r\n"), u"COM8");
}

TEST_F(PortSettingsTest, FirstRunCreatesTheFileWithOneLine) {
    EXPECT_EQ(rewritten(std::nullopt, u"COM1"), "port = COM1\r\n");
}

TEST_F(PortSettingsTest, ExistingLineGetsTheValueAndTheLowerCaseKey) {
    EXPECT_EQ(rewritten("PORT=COM4\r\n", u"COM4"), "port = COM4\r\n");
    EXPECT_EQ(rewritten("port = COM12\r\n", u"COM12"), "port = COM12\r\n");
    EXPECT_EQ(rewritten("a = 1\r\n  Port\t= COM2\nb = 2\r\n", u"COM9"),
              "a = 1\r\nport = COM9\r\nb = 2\r\n");
}

TEST_F(PortSettingsTest, OtherLinesStayInTheirOrder) {
    std::string before =
        "; Portwand settings\r\n"
        "speed = fast\r\n"
        "port = COM2\r\n"
        "\r\n"
        "[device]\r\n"
        "port = COM7\r\n"
        "; trailing comment\r\n";
    std::string after =
        "; Portwand settings\r\n"
        "speed = fast\r\n"
        "port = COM5\r\n"
        "\r\n"
        "[device]\r\n"
        "port = COM7\r\n"
        "; trailing comment\r\n";
    EXPECT_EQ(rewritten(before, u"COM5"), after);
    // Lines that ended in a bare line feed or carriage return are written with CR LF.
    EXPECT_EQ(rewritten("x = 1\ny = 2\rport = COM1", u"COM3"), "x = 1\r\ny = 2\r\nport = COM3\r\n");
}

TEST_F(PortSettingsTest, NewLineFollowsTheLastLineBeforeTheFirstGroup) {
    EXPECT_EQ(rewritten("; comment\r\nspeed = 1\r\n\r\n[grp]\r\nport = COM7\r\n", u"COM2"),
              "; comment\r\nspeed = 1\r\nport = COM2\r\n\r\n[grp]\r\nport = COM7\r\n");
    EXPECT_EQ(rewritten("; only a comment\r\n", u"COM2"), "; only a comment\r\nport = COM2\r\n");
}

TEST_F(PortSettingsTest, NewLineGoesFirstInAnEmptyFileOrOneThatBeginsWithAGroup) {
    EXPECT_EQ(rewritten("", u"COM6"), "port = COM6\r\n");
    EXPECT_EQ(rewritten("[grp]\r\nkey = v\r\n", u"COM6"), "port = COM6\r\n[grp]\r\nkey = v\r\n");
    EXPECT_EQ(rewritten("\r\n  [grp]\r\n", u"COM6"), "port = COM6\r\n\r\n  [grp]\r\n");
}

TEST_F(PortSettingsTest, Utf8FileKeepsItsMarkOnALineOfItsOwn) {
    const std::string mark = "\xEF\xBB\xBF";
    // Cyrillic in a comment and in the port name survive as UTF-8.
    std::string before = mark + "; \xD0\x9F\xD0\xBE\xD1\x80\xD1\x82\r\nport=COM4\r\n";
    EXPECT_EQ(readFrom(before), u"COM4");
    std::string after = rewritten(before, u"COM\u041F");
    EXPECT_EQ(after, mark + "\r\n; \xD0\x9F\xD0\xBE\xD1\x80\xD1\x82\r\nport = COM\xD0\x9F\r\n");
    EXPECT_EQ(readFrom(after), u"COM\u041F");
    // Writing again does not pile up empty lines after the mark.
    EXPECT_EQ(rewritten(after, u"COM\u041F"), after);
    // A mark directly followed by a group: the new line comes right after the mark's line.
    EXPECT_EQ(rewritten(mark + "[g]\r\n", u"COM2"), mark + "\r\nport = COM2\r\n[g]\r\n");
}

TEST_F(PortSettingsTest, FileWithoutMarkIsReadAndWrittenInTheAnsiCodePage) {
    // 0xCF 0xEE 0xF0 0xF2 is a Cyrillic word in code page 1251; the native codec keeps the bytes.
    std::string before = "; \xCF\xEE\xF0\xF2\r\nport = COM1\r\n";
    EXPECT_EQ(rewritten(before, u"COM2"), "; \xCF\xEE\xF0\xF2\r\nport = COM2\r\n");
}

// UTF-16 bytes of a text, with the mark first.
std::string utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        char high = char(c >> 8), low = char(c & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST_F(PortSettingsTest, EveryEncodingNotepadSavesIsReadAndWrittenBackInIt) {
    const std::u16string before = u"; \u041F\u043E\u0440\u0442\r\nport = COM4\r\n";
    const std::u16string after = u"; \u041F\u043E\u0440\u0442\r\nport = COM7\r\n";
    const std::string utf8Before = utf16ToUtf8(before), utf8After = utf16ToUtf8(after);
    const struct {
        const char* name;
        std::string before, after;
    } table[] = {
        // The native codec takes the bytes of code page 1251 as they are.
        {"ANSI", "; \xCF\xEE\xF0\xF2\r\nport = COM4\r\n", "; \xCF\xEE\xF0\xF2\r\nport = COM7\r\n"},
        {"UTF-8", utf8Before, utf8After},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + utf8Before, "\xEF\xBB\xBF\r\n" + utf8After},
        {"UTF-16 LE", utf16(before, false), utf16(after, false)},
        {"UTF-16 BE", utf16(before, true), utf16(after, true)},
    };
    for (const auto& row : table) {
        EXPECT_EQ(readFrom(row.before), u"COM4") << row.name;
        EXPECT_EQ(rewritten(row.before, u"COM7"), row.after) << row.name;
    }
    // A new line goes into a UTF-16 file in UTF-16.
    EXPECT_EQ(rewritten(utf16(u"; x\r\n", false), u"COM2"),
              utf16(u"; x\r\nport = COM2\r\n", false));
}

TEST_F(PortSettingsTest, FileThatCannotBeDecodedIsLeftUntouched) {
    for (const std::string& bytes : {
             utf16(u"port = COM4\r\n", false).substr(0, 9),     // an odd number of UTF-16 bytes
             std::string("p\0o\0r\0t\0=\0C\0O\0M\0004\0", 18),  // UTF-16 without its mark
             std::string("\xEF\xBB\xBFport = COM4\r\n; \xCF\xEE\r\n"),  // not UTF-8 after the mark
         }) {
        files.files["Portwand.ini"] = bytes;
        EXPECT_EQ(settings.readPort(), u"COM1");
        EXPECT_FALSE(settings.writePort(u"COM7"));
        EXPECT_EQ(files.files.at("Portwand.ini"), bytes);
    }
    // Windows-1251 where the system's code page is UTF-8 ("UTF-8 for worldwide language support"):
    // the code page cannot decode it, and its Russian comment is not written back replaced.
    struct Utf8CodePage : AnsiCodec {
        std::optional<std::u16string> decode(std::string_view bytes) const override {
            std::u16string text = utf8ToUtf16(bytes);
            return utf16ToUtf8(text) == bytes ? std::optional(text) : std::nullopt;
        }
        std::string encode(std::u16string_view text) const override { return utf16ToUtf8(text); }
    } utf8CodePage;
    PortSettings onUtf8System{files, utf8CodePage};
    const std::string cp1251 = "; \xEF\xEE\xF0\xF2\r\nport = COM4\r\n";
    files.files["Portwand.ini"] = cp1251;
    EXPECT_EQ(onUtf8System.readPort(), u"COM1");
    EXPECT_FALSE(onUtf8System.writePort(u"COM7"));
    EXPECT_EQ(files.files.at("Portwand.ini"), cp1251);
}

TEST_F(PortSettingsTest, FailedWriteReportsItAndKeepsTheOldFile) {
    files.files["Portwand.ini"] = "port = COM4\r\n";
    files.failWrites = true;
    EXPECT_FALSE(settings.writePort(u"COM5"));
    EXPECT_EQ(files.files.at("Portwand.ini"), "port = COM4\r\n");
}

TEST(Utf8Text, DecodesAndEncodesAllPlanesAndReplacesBrokenSequences) {
    std::string bytes = "A\xD0\x96\xE2\x82\xAC\xF0\x9F\x98\x80";
    std::u16string text = utf8ToUtf16(bytes);
    EXPECT_EQ(text, u"A\u0416\u20AC\U0001F600");
    EXPECT_EQ(utf16ToUtf8(text), bytes);
    EXPECT_EQ(utf8ToUtf16("\xC0\xAF|\xED\xA0\x80|\xE2\x82|\xFF"),
              u"\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD|\uFFFD");
}

// The standard-library store on real files in a folder of the test's own.
class StdFileStoreTest : public ::testing::Test {
  protected:
    std::filesystem::path folder;
    std::filesystem::path previous;

    void SetUp() override {
        folder =
            std::filesystem::temp_directory_path() /
            ("portwand-store-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(folder);
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(folder);
    }
    static std::string contents(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
};

TEST_F(StdFileStoreTest, SettingsGoToTheWorkingFolderThroughATemporaryFile) {
    StdFileStore store;
    ByteAnsiCodec ansi;
    PortSettings settings(store, ansi);
    EXPECT_EQ(settings.readPort(), u"COM1");
    ASSERT_TRUE(settings.writePort(u"COM1"));
    EXPECT_EQ(contents("Portwand.ini"), "port = COM1\r\n");
    EXPECT_FALSE(std::filesystem::exists(temporaryNameFor("Portwand.ini")));

    std::ofstream("Portwand.ini", std::ios::binary) << "; keep\r\nPORT=COM4\r\n[g]\r\n";
    EXPECT_EQ(settings.readPort(), u"COM4");
    ASSERT_TRUE(settings.writePort(u"COM12"));
    EXPECT_EQ(contents("Portwand.ini"), "; keep\r\nport = COM12\r\n[g]\r\n");
}

TEST_F(StdFileStoreTest, WriteThatFailsLeavesTheOldFileWhole) {
    std::ofstream("Portwand.ini", std::ios::binary) << "; keep\r\nport = COM4\r\n";
    // A folder where the temporary file should go makes the write fail.
    std::filesystem::create_directory(temporaryNameFor("Portwand.ini"));
    StdFileStore store;
    ByteAnsiCodec ansi;
    PortSettings settings(store, ansi);
    EXPECT_FALSE(settings.writePort(u"COM7"));
    EXPECT_EQ(contents("Portwand.ini"), "; keep\r\nport = COM4\r\n");
    EXPECT_TRUE(std::filesystem::is_directory(temporaryNameFor("Portwand.ini")));
}

TEST_F(StdFileStoreTest, SomethingThatCannotBeReadIsNotMissing) {
    StdFileStore store;
    EXPECT_EQ(store.read("Portwand.ini").state, FileContents::State::Missing);
    std::filesystem::create_directory("Portwand.ini");
    EXPECT_EQ(store.read("Portwand.ini").state, FileContents::State::Unreadable);
    ByteAnsiCodec ansi;
    PortSettings settings(store, ansi);
    EXPECT_EQ(settings.readPort(), u"COM1");
    EXPECT_FALSE(settings.writePort(u"COM7"));
    EXPECT_TRUE(std::filesystem::is_directory("Portwand.ini"));
    EXPECT_FALSE(std::filesystem::exists(temporaryNameFor("Portwand.ini")));
}

}  // namespace
}  // namespace portwand
