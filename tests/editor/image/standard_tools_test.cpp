// Tools that know Intel HEX agree with the files the editor writes. Run natively only.
#include <gtest/gtest.h>

#ifndef _WIN32

#include <cstdlib>

#include "editor/image/bin_file.h"
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

// What other programs write for the saved image. In the commands, which sh runs, {eep} and {bin}
// stand for the files Facetor saved and {out} for the file that is then opened.
TEST_F(StandardTools, IntelHexOfTheImageOpensByItsAddressesWhateverWroteIt) {
    ASSERT_TRUE(toolExists("srec_cat") && toolExists("objcopy") && toolExists("shuf"))
        << "scripts/install-deps installs srecord and binutils";
    const std::string srec32 = "srec_cat {eep} -intel -o - -intel -obs=32";
    struct ToolFile {
        std::string name;
        std::string command;
        const char* refusal;  // the end of the message; nullptr: the file opens
    };
    constexpr const char* opens = nullptr;
    constexpr const char* damaged = "повреждён !";
    constexpr const char* foreign = "не образ EEPROM часов !";
    const ToolFile files[] = {
        {"32-byte records, as avrdude reads the clock back", srec32 + " > {out}", opens},
        {"8-byte records, CR LF, a start address",
         "srec_cat {eep} -intel -execution-start-address 0 -o {out} -intel -obs=8 "
         "-line-termination=crlf",
         opens},
        {"records shuffled",
         "(" + srec32 + " | sed '$d' | shuf --random-source={bin}; echo :00000001FF) > {out}",
         opens},
        {"the whole EEPROM, the gap as 0xFF",
         "srec_cat {eep} -intel -fill 0xFF 0 0x200 -o {out} -intel -obs=32", opens},
        {"lower case", srec32 + " | tr A-F a-f > {out}", opens},
        {"objcopy from the .bin, the gap as zeros", "objcopy -I binary -O ihex {bin} {out}", opens},
        {"a blank after every record", srec32 + " | sed 's/$/ /' > {out}", opens},
        {"a Ctrl+Z after the end record", "(" + srec32 + "; printf '\\032') > {out}", opens},
        {"a UTF-8 byte order mark", "(printf '\\357\\273\\277'; " + srec32 + ") > {out}", opens},
        {"a zero-length data record", "(echo :0000000000; " + srec32 + ") > {out}", opens},
        // Intel HEX of something else: never read line by line.
        {"Facetor's records past the EEPROM",
         "objcopy -I ihex -O ihex --change-addresses 0x1000 {eep} {out}", foreign},
        {"a 4 KiB firmware in 16-byte records",
         "srec_cat -generate 0 0x1000 -constant 0x0C -o {out} -intel -obs=16 -address-length=2",
         foreign},
        {"the EEPROM at 0x810000, as in an ELF file",
         "srec_cat {eep} -intel -offset 0x810000 -o {out} -intel -obs=16", foreign},
        {"a wrong checksum", srec32 + " | sed '3s/..$/00/' > {out}", damaged},
        {"one address given two values",
         "(" + srec32 +
             " | sed '$d'; srec_cat {eep} -intel -crop 0x10 0x20 -offset -0x10 -o - "
             "-intel) > {out}",
         damaged},
        // Intel HEX of the EEPROM without bytes the document is made from.
        {"without the styles", "srec_cat {eep} -intel -crop 0 0x150 -o {out} -intel", damaged},
        {"without the trailer", "srec_cat {eep} -intel -crop 0 0x1B0 -o {out} -intel -obs=16",
         damaged},
    };

    SkinDocument saved = clearedDocument();
    ASSERT_TRUE(readEepFileAt(saved, eep, {}));
    const std::filesystem::path out = folder / "backup.eep";
    for (const ToolFile& file : files) {
        SCOPED_TRACE(file.name);
        std::string command = file.command;
        for (const auto& [name, path] : {std::pair{"{eep}", eep}, {"{bin}", bin}, {"{out}", out}}) {
            for (std::size_t at; (at = command.find(name)) != std::string::npos;) {
                command.replace(at, std::string_view(name).size(), quoted(path));
            }
        }
        ASSERT_TRUE(run(command)) << command;
        SkinDocument target = clearedDocument();
        ReaderWindow window;

        EXPECT_EQ(readEepFileAt(target, out, window.ops()), file.refusal == opens);
        if (file.refusal == opens) {
            EXPECT_EQ(contentsOf(target), contentsOf(saved));
            EXPECT_EQ(window.selectedLocalizations, std::vector<int>{2});
            EXPECT_TRUE(window.messages.empty());
        } else {
            EXPECT_EQ(contentsOf(target), contentsOf(clearedDocument()));
            ASSERT_EQ(window.messages.size(), 1u);
            EXPECT_EQ(window.messages[0].second,
                      std::string("Файл   backup.eep   ") + file.refusal);
        }
    }
}

}  // namespace
}  // namespace facetor

#endif
