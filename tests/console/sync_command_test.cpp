#include "console/sync_command.h"

#include <gtest/gtest.h>

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
    MemoryFileStore files;
    ByteAnsiCodec ansi;
    PortSettings settings{files, ansi};
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
    SyncReport report = runSync(SyncRequest{u"COM14"}, link, clock, settings);
    EXPECT_EQ(report.exitCode, 0);
    EXPECT_EQ(report.line, u"Время компьютера передано в порт COM14: 01.01.2027 00:00:00");
    EXPECT_EQ(link.opened, std::vector<std::u16string>{u"COM14"});
    EXPECT_EQ(link.bytes.size(), 6u * 14);
    EXPECT_EQ(link.closes, 1);
    EXPECT_TRUE(fileLog.empty());
}

TEST_F(SyncCommandTest, WithoutAPortTheSettingsFileNamesItAndIsOnlyRead) {
    SyncReport report = runSync(SyncRequest{}, link, clock, settings);
    EXPECT_EQ(report.exitCode, 0);
    EXPECT_EQ(link.opened, std::vector<std::u16string>{u"COM4"});
    EXPECT_EQ(fileLog, std::vector<std::string>{"read Portwand.ini"});
}

TEST_F(SyncCommandTest, PortThatCannotBeOpenedOrWrittenEndsWithOne) {
    link.missingPorts.insert(u"COM77");
    SyncReport missing = runSync(SyncRequest{u"COM77"}, link, clock, settings);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.line, u"Порт COM77 недоступен, время не передано");
    EXPECT_TRUE(link.bytes.empty());

    link.failingByte = 30;  // inside the third pair
    SyncReport broken = runSync(SyncRequest{u"COM14"}, link, clock, settings);
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_EQ(broken.line, u"Ошибка записи в порт COM14, время передано не полностью");
    EXPECT_EQ(link.bytes.size(), 30u);
    EXPECT_FALSE(link.isOpen());
    EXPECT_TRUE(fileLog.empty());
}

}  // namespace
}  // namespace portwand
