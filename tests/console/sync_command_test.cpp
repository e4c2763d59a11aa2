#include "console/sync_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "tests/console/console_doubles.h"

namespace portwand {
namespace {

using testing::MemoryFileStore;
using testing::RecordingLink;
using testing::SteppedClock;

TEST(SyncCommandLine, SyncWithAtMostAPortRunsAndOtherUsesOfItsSwitchesAreWrong) {
    using Kind = CommandLine::Kind;
    const struct {
        std::vector<std::u16string> arguments;
        Kind inWindowProgram, inCommandLineProgram;
        std::optional<std::u16string> port;
    } table[] = {
        {{}, Kind::Window, Kind::Window, {}},
        {{u"sync"}, Kind::Window, Kind::WrongArguments, {}},
        {{u"C:\\design.txt"}, Kind::Window, Kind::WrongArguments, {}},
        {{u"/synchro"}, Kind::Window, Kind::WrongArguments, {}},
        {{u"/SYNC"}, Kind::Sync, Kind::Sync, {}},
        {{u"/Sync", u"COM14"}, Kind::Sync, Kind::Sync, u"COM14"},
        {{u"/sync", u"\\\\.\\COM3"}, Kind::Sync, Kind::Sync, u"COM3"},
        {{u"/sync", u" "}, Kind::Sync, Kind::Sync, {}},
        {{u"/sync", u"COM14", u"extra"}, Kind::WrongArguments, Kind::WrongArguments, {}},
        {{u"/?"}, Kind::Help, Kind::Help, {}},
        {{u"/?", u"COM14"}, Kind::WrongArguments, Kind::WrongArguments, {}},
    };
    for (const auto& row : table) {
        for (Program program : {Program::Window, Program::CommandLine}) {
            CommandLine line = parseCommandLine(row.arguments, program);
            EXPECT_EQ(line.kind,
                      program == Program::Window ? row.inWindowProgram : row.inCommandLineProgram)
                << row.arguments.size();
            EXPECT_EQ(line.request.port, row.port) << row.arguments.size();
        }
    }
}

class SyncCommandTest : public ::testing::Test {
  protected:
    SteppedClock clock;
    RecordingLink link{clock};
    MemoryFileStore files, programFiles;
    ByteAnsiCodec ansi;
    PortSettings settings{files, ansi}, programSettings{programFiles, ansi};
    SettingsPlaces places{settings, programSettings};
    std::vector<std::string> fileLog;

    void SetUp() override {
        clock.setReadingStepMicros(100);
        clock.setDate(2026, 12, 31);
        clock.setTime(23, 59, 59, 900);
        files.files["Portwand.ini"] = "port = COM4\r\n";
        files.sharedLog = &fileLog;
    }
};

TEST_F(SyncCommandTest, NamedPortIsSyncedAndNoFileIsTouched) {
    SyncReport report = runSync(SyncRequest{u"COM14"}, link, clock, places);
    EXPECT_EQ(report.exitCode, 0);
    EXPECT_EQ(report.line, u"Время компьютера передано в порт COM14: 01.01.2027 00:00:00");
    EXPECT_EQ(link.opened, std::vector<std::u16string>{u"COM14"});
    EXPECT_EQ(link.bytes.size(), 6u * 14);
    EXPECT_EQ(link.closes, 1);
    EXPECT_TRUE(fileLog.empty());
}

TEST_F(SyncCommandTest, WithoutAPortTheSettingsFileNamesItAndIsOnlyRead) {
    SyncReport report = runSync(SyncRequest{}, link, clock, places);
    EXPECT_EQ(report.exitCode, 0);
    EXPECT_EQ(link.opened, std::vector<std::u16string>{u"COM4"});
    EXPECT_EQ(fileLog, std::vector<std::string>{"read Portwand.ini"});
}

// A scheduled task starts in System32: the program's folder is asked next, and a port is never
// guessed. An empty "port =" names none; the device path names its port.
TEST_F(SyncCommandTest, WithoutAPortAnywhereNothingIsSentAndTheLineSaysWhereItLooked) {
    const struct {
        std::optional<std::string> here, inProgramFolder;
        std::u16string port;  // empty: nothing sent, exit code 2
    } table[] = {
        {std::nullopt, "port = \\\\.\\COM6\r\n", u"COM6"},
        {"port =\r\n", "port = COM7\r\n", u"COM7"},
        {"; no port\r\n", std::nullopt, u""},
        {std::nullopt, "port = \r\n", u""},
        {std::nullopt, std::nullopt, u""},
    };
    for (const auto& row : table) {
        files.files.erase("Portwand.ini");
        programFiles.files.erase("Portwand.ini");
        if (row.here)
            files.files["Portwand.ini"] = *row.here;
        if (row.inProgramFolder)
            programFiles.files["Portwand.ini"] = *row.inProgramFolder;
        link.opened.clear();
        SyncReport report = runSync(SyncRequest{}, link, clock, places);
        if (row.port.empty()) {
            EXPECT_EQ(report.exitCode, 2);
            EXPECT_EQ(report.line, kNoPortNamed);
            EXPECT_TRUE(link.opened.empty());
        } else {
            EXPECT_EQ(report.exitCode, 0);
            EXPECT_EQ(link.opened, std::vector<std::u16string>{row.port});
        }
    }
    EXPECT_TRUE(link.bytes.size() % 14 == 0);
    EXPECT_EQ(std::count(fileLog.begin(), fileLog.end(), "write Portwand.ini"), 0);
}

TEST_F(SyncCommandTest, PortThatCannotBeOpenedOrWrittenOrAClockThatKeepsChangingEndsWithOne) {
    link.missingPorts.insert(u"COM77");
    SyncReport missing = runSync(SyncRequest{u"COM77"}, link, clock, places);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.line, u"Порт COM77 недоступен, время не передано");
    EXPECT_TRUE(link.bytes.empty());

    link.failingByte = 30;  // inside the third pair
    SyncReport broken = runSync(SyncRequest{u"COM14"}, link, clock, places);
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_EQ(broken.line, u"Ошибка записи в порт COM14, время передано не полностью");
    EXPECT_EQ(link.bytes.size(), 30u);
    EXPECT_FALSE(link.isOpen());
    EXPECT_TRUE(fileLog.empty());

    // Set a second on every half second: the first try and both tries again see it.
    link.failingByte.reset();
    for (int i = 1; i < 60; ++i)
        clock.setLocalJump(clock.micros() + i * 500'000, 1'000'000);
    SyncReport stepping = runSync(SyncRequest{u"COM14"}, link, clock, places);
    EXPECT_EQ(stepping.exitCode, 1);
    EXPECT_EQ(stepping.line,
              u"Часы компьютера переводились во время передачи в порт COM14, время передано не "
              u"полностью");
    EXPECT_FALSE(link.isOpen());
}

}  // namespace
}  // namespace portwand
