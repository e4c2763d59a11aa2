#include "console/sync_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/console/console_doubles.h"

namespace portwand {
namespace {

using testing::MemoryFileStore;
using testing::RecordingLink;
using testing::SteppedClock;

TEST(SyncCommandLine, OnlySyncWithAtMostAPortAsksForIt) {
    using Args = std::vector<std::u16string>;
    EXPECT_FALSE(parseSyncRequest(Args{}));
    EXPECT_FALSE(parseSyncRequest(Args{u"sync"}));
    EXPECT_FALSE(parseSyncRequest(Args{u"/synchro"}));
    EXPECT_FALSE(parseSyncRequest(Args{u"/sync", u"COM14", u"COM15"}));
    auto fromSettings = parseSyncRequest(Args{u"/SYNC"});
    ASSERT_TRUE(fromSettings);
    EXPECT_FALSE(fromSettings->port);
    auto named = parseSyncRequest(Args{u"/Sync", u"COM14"});
    ASSERT_TRUE(named && named->port);
    EXPECT_EQ(*named->port, u"COM14");
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
    EXPECT_EQ(report.line, u"Часы устройства установлены через COM14: 01.01.2027 00:00:00");
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
    EXPECT_EQ(missing.line, u"Порт COM77 недоступен, часы устройства не установлены");
    EXPECT_TRUE(link.bytes.empty());

    link.failingByte = 30;  // inside the third pair
    SyncReport broken = runSync(SyncRequest{u"COM14"}, link, clock, settings);
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_EQ(broken.line, u"Ошибка записи в порт COM14, часы устройства установлены не полностью");
    EXPECT_EQ(link.bytes.size(), 30u);
    EXPECT_FALSE(link.isOpen());
    EXPECT_TRUE(fileLog.empty());
}

}  // namespace
}  // namespace portwand
