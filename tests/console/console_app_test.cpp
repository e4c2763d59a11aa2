#include "console/console_app.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/console/console_doubles.h"

namespace portwand {
namespace {

using testing::FakePortCatalog;
using testing::FakeWindow;
using testing::MemoryFileStore;
using testing::RecordingLink;
using testing::SteppedClock;

class ConsoleAppTest : public ::testing::Test {
  protected:
    FakeWindow window;
    SteppedClock clock;
    RecordingLink link{clock};
    MemoryFileStore files;
    ByteAnsiCodec ansi;
    PortSettings settings{files, ansi};
    FakePortCatalog ports;
    testing::InlinePortWorker worker;
    ConsoleApp app{window, link, clock, settings, ports, worker};

    void withSettings(const std::string& bytes) { files.files["Portwand.ini"] = bytes; }
    std::string settingsFile() { return files.files.at("Portwand.ini"); }
    void clearRecords() {
        link.opened.clear();
        link.bytes.clear();
        window.messages.clear();
        window.labelText.clear();
    }
};

TEST_F(ConsoleAppTest, StartUpBuildsTheWindowReadsTheSettingsAndMakesATrialOpening) {
    files.sharedLog = &window.log;
    ASSERT_TRUE(app.start());
    std::vector<std::string> expected{"window", "font", "font", "read Portwand.ini"};
    expected.insert(expected.end(), 20, "control");
    expected.insert(expected.end(), {"command", "clear"});
    expected.insert(expected.end(), 9, "entry");
    expected.insert(expected.end(), {"select", "listText", "show", "label", "label", "timer"});
    EXPECT_EQ(window.log, expected);

    std::vector<int> ids(window.controlIds.begin(), window.controlIds.end());
    std::vector<int> expectedIds{kTabControl, kControlPage};
    for (int id = 10; id <= 18; ++id)
        expectedIds.push_back(id);
    expectedIds.push_back(kSyncPage);
    for (int id = 19; id <= 24; ++id)
        expectedIds.push_back(id);
    expectedIds.insert(expectedIds.end(), {kPortList, kStatusLabel});
    EXPECT_EQ(ids, expectedIds);

    // First run: COM1 is selected and opened once, and closed again at once.
    EXPECT_EQ(app.currentPort(), u"COM1");
    EXPECT_EQ(window.selectedEntry, 0);
    EXPECT_EQ(link.opened, std::vector<std::u16string>{u"COM1"});
    EXPECT_EQ(link.closes, 1);
    EXPECT_TRUE(link.bytes.empty());
    EXPECT_EQ(window.labelText, u"Порт открыт");
    EXPECT_EQ(window.labelColour, (Rgb{12, 2, 202}));
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(window.timer, (std::pair<int, int>{100, 100}));
    EXPECT_EQ(app.protocol().armedSecond(), RemoteProtocol::kDisarmed);
}

TEST_F(ConsoleAppTest, WindowIsOnScreenSayingThePortIsBeingOpenedWhileItOpens) {
    using Seen = std::pair<bool, std::u16string>;  // shown, and the status, as an open begins
    std::vector<Seen> seen;
    link.whenOpening = [&] { seen.push_back({window.shown, window.labelText}); };
    ASSERT_TRUE(app.start());
    EXPECT_EQ(seen, std::vector<Seen>{Seen(true, u"Открытие...")});
    EXPECT_EQ(window.labelText, u"Порт открыт");
    window.pick(2);
    app.onControl(kPortList);
    EXPECT_EQ(seen.back(), Seen(true, u"Открытие..."));
}

TEST_F(ConsoleAppTest, WindowThatCannotBeCreatedEndsWithoutTouchingTheSettings) {
    files.sharedLog = &window.log;
    window.canCreate = false;
    withSettings("port = COM4\r\n");
    EXPECT_FALSE(app.start());
    EXPECT_EQ(window.log, std::vector<std::string>{"window"});
    EXPECT_TRUE(link.opened.empty());
}

TEST_F(ConsoleAppTest, FailedTrialOpeningShowsTheErrorInRedWithoutAMessageBox) {
    withSettings("port = COM3\r\n");
    link.missingPorts.insert(u"COM3");
    ASSERT_TRUE(app.start());
    EXPECT_EQ(window.selectedEntry, 2);
    EXPECT_EQ(window.labelText, u"Ошибка!");
    EXPECT_EQ(window.labelColour, (Rgb{253, 4, 2}));
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(link.closes, 0);
    // A button command afterwards shows the message box.
    app.onControl(kEscButton);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].title, u"Ошибка");
    EXPECT_EQ(window.messages[0].text, u"Текущий порт недоступен!");
    EXPECT_TRUE(link.bytes.empty());
}

TEST_F(ConsoleAppTest, LowerCasePortSelectsNothingButIsUsed) {
    withSettings("port = com3\r\n");
    ASSERT_TRUE(app.start());
    EXPECT_EQ(window.selectedEntry, -1);
    EXPECT_EQ(link.opened, std::vector<std::u16string>{u"com3"});
    app.exit();
    EXPECT_EQ(settingsFile(), "port = com3\r\n");
}

TEST_F(ConsoleAppTest, PortBeyondTheListSelectsNothingButEveryCommandUsesIt) {
    withSettings("; my adapter\r\nport = COM12\r\n");
    ASSERT_TRUE(app.start());
    EXPECT_EQ(window.selectedEntry, -1);
    EXPECT_EQ(app.currentPort(), u"COM12");
    app.onControl(kUpButton);
    app.onControl(kYearButton);
    EXPECT_EQ(link.opened, (std::vector<std::u16string>{u"COM12", u"COM12", u"COM12"}));
    // An event of the list that leaves it empty changes nothing.
    app.onControl(kPortList);
    EXPECT_EQ(app.currentPort(), u"COM12");
    EXPECT_EQ(link.opened.size(), 3u);
    app.exit();
    EXPECT_EQ(settingsFile(), "; my adapter\r\nport = COM12\r\n");
}

TEST_F(ConsoleAppTest, RealChangeOfSelectionMakesOneTrialOpening) {
    ASSERT_TRUE(app.start());
    clearRecords();
    link.missingPorts.insert(u"COM3");
    window.pick(2);
    app.onControl(kPortList);
    EXPECT_EQ(app.currentPort(), u"COM3");
    EXPECT_EQ(link.opened, std::vector<std::u16string>{u"COM3"});
    EXPECT_EQ(window.labelText, u"Ошибка!");
    EXPECT_TRUE(window.messages.empty());
    // Picking COM3 again, or any other event of the list, opens nothing.
    app.onControl(kPortList);
    window.pick(2);
    app.onControl(kPortList);
    EXPECT_EQ(link.opened.size(), 1u);
    // Back to a working port.
    window.pick(4);
    app.onControl(kPortList);
    EXPECT_EQ(link.opened.back(), u"COM5");
    EXPECT_EQ(window.labelText, u"Порт открыт");
    app.onControl(kMenuButton);
    EXPECT_EQ(link.opened.back(), u"COM5");
    EXPECT_EQ(link.text(), "A0059\n\r");
}

TEST_F(ConsoleAppTest, EveryButtonSendsItsCommand) {
    clock.setDate(2011, 4, 9);
    clock.setTime(21, 5, 30, 0);
    ASSERT_TRUE(app.start());
    const struct {
        int id;
        const char* bytes;
    } table[] = {
        {kEscButton, "A0013\n\r"},
        {kMenuButton, "A0059\n\r"},
        {kUpButton, "A0032\n\r"},
        {kLeftButton, "A0017\n\r"},
        {kRightButton, "A0016\n\r"},
        {kDownButton, "A0033\n\r"},
        {kBacklightButton, "A0012\n\r"},
        {kSkinPlusButton, "A0063\n\r"},
        {kSkinMinusButton, "A0056\n\r"},
        {kMinutesButton, "B2058\n\rB0505\n\r"},
        {kHoursButton, "B2042\n\rB0421\n\r"},
        {kDayButton, "B2054\n\rB0309\n\r"},
        {kMonthButton, "B2059\n\rB0204\n\r"},
        {kYearButton, "B2052\n\rB0111\n\r"},
    };
    for (const auto& row : table) {
        clearRecords();
        app.onControl(row.id);
        EXPECT_EQ(link.text(), row.bytes) << row.id;
        EXPECT_EQ(link.opened.size(), 1u) << row.id;
    }
    // The seconds button only arms; the timer sends.
    clearRecords();
    app.onControl(kSecondsButton);
    EXPECT_TRUE(link.opened.empty());
    EXPECT_EQ(app.protocol().armedSecond(), 31);
    clock.setReadingStepMicros(100);
    clock.setTime(21, 5, 30, 900);
    app.onTimer(7);  // not the console's timer
    EXPECT_TRUE(link.opened.empty());
    app.onTimer(kSecondsTimer);
    EXPECT_EQ(link.text(), "B2032\n\rB0631\n\r");
}

TEST_F(ConsoleAppTest, TabControlAndUnknownControlsSendNothing) {
    ASSERT_TRUE(app.start());
    clearRecords();
    for (int id : {int(kTabControl), kControlPage, kSyncPage, int(kStatusLabel), 25, 9, 3001})
        app.onControl(id);
    EXPECT_TRUE(link.opened.empty());
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(ConsoleAppTest, CloseSetsTheQuitFlagAndExitWritesTheLastPickedPort) {
    withSettings("PORT=COM4\r\n[grp]\r\nport = COM7\r\n");
    ASSERT_TRUE(app.start());
    EXPECT_EQ(window.selectedEntry, 3);
    link.missingPorts.insert(u"COM8");
    window.pick(7);
    app.onControl(kPortList);
    EXPECT_FALSE(app.quitRequested());
    app.onClose();
    EXPECT_TRUE(app.quitRequested());
    app.exit();
    // Written even though COM8 failed to open.
    EXPECT_EQ(settingsFile(), "port = COM8\r\n[grp]\r\nport = COM7\r\n");
}

TEST_F(ConsoleAppTest, PortsThatExistFollowCom9AndCanBePicked) {
    ports.ports = {u"COM14", u"COM3", u"COM10"};
    withSettings("port = COM14\r\n");
    ASSERT_TRUE(app.start());
    std::vector<std::u16string> expected{u"COM1", u"COM2", u"COM3", u"COM4",  u"COM5", u"COM6",
                                         u"COM7", u"COM8", u"COM9", u"COM10", u"COM14"};
    EXPECT_EQ(window.listEntries, expected);
    EXPECT_EQ(window.selectedEntry, 10);
    EXPECT_EQ(link.opened, std::vector<std::u16string>{u"COM14"});
    window.pick(9);
    app.onControl(kPortList);
    EXPECT_EQ(app.currentPort(), u"COM10");
    EXPECT_EQ(link.opened.back(), u"COM10");
    app.exit();
    EXPECT_EQ(settingsFile(), "port = COM10\r\n");
}

TEST_F(ConsoleAppTest, PortListFollowsDevicesAndKeepsTheCurrentPort) {
    ports.ports = {u"COM14"};
    withSettings("port = COM14\r\n");
    ASSERT_TRUE(app.start());
    clearRecords();
    window.log.clear();
    // Nothing changed: the list is left alone.
    app.refreshPortList();
    EXPECT_EQ(window.log, std::vector<std::string>{});
    // The adapter is unplugged: its entry goes, nothing is selected, but it stays the port.
    ports.ports.clear();
    app.refreshPortList();
    EXPECT_EQ(window.listEntries.size(), 9u);
    EXPECT_EQ(window.selectedEntry, -1);
    EXPECT_EQ(app.currentPort(), u"COM14");
    app.onControl(kPortList);  // the list's own event after the change
    EXPECT_EQ(app.currentPort(), u"COM14");
    // Plugged in again, with another adapter: selected again; no port is tried for it.
    ports.ports = {u"COM20", u"COM14"};
    app.refreshPortList();
    ASSERT_EQ(window.listEntries.size(), 11u);
    EXPECT_EQ(window.listEntries[9], u"COM14");
    EXPECT_EQ(window.listEntries[10], u"COM20");
    EXPECT_EQ(window.selectedEntry, 9);
    app.onControl(kPortList);
    EXPECT_TRUE(link.opened.empty());
    app.onControl(kUpButton);
    EXPECT_EQ(link.opened, std::vector<std::u16string>{u"COM14"});
}

TEST_F(ConsoleAppTest, TwoSecondsPressesInOneSecondSendOnePairAlsoLateInTheSecond) {
    clock.setReadingStepMicros(100);
    ASSERT_TRUE(app.start());
    clock.setTime(8, 30, 15, 900);
    app.onControl(kSecondsButton);
    ASSERT_EQ(link.text(), "B2047\n\rB0616\n\r");
    // The second press came 50 ms after the first and waited while the first was served.
    int ageMs = int(clock.micros() / 1000 - (8 * 3600 + 30 * 60 + 15) * 1000 - 950);
    app.onControl(kSecondsButton, ageMs);
    for (int i = 0; i < 30; ++i) {
        app.onTimer(kSecondsTimer);
        clock.advanceMicros(100'000);
    }
    EXPECT_EQ(link.bytes.size(), 14u);
    EXPECT_EQ(link.opened.size(), 2u);  // the trial opening and the one transfer
    // A press in a later second arms again.
    app.onControl(kSecondsButton);
    for (int i = 0; i < 12; ++i) {
        app.onTimer(kSecondsTimer);
        clock.advanceMicros(100'000);
    }
    EXPECT_EQ(link.bytes.size(), 28u);
}

TEST_F(ConsoleAppTest, SyncCommandSetsTheWholeClockOverOneOpening) {
    clock.setReadingStepMicros(100);
    clock.setDate(2026, 7, 4);
    clock.setTime(12, 0, 30, 200);
    ASSERT_TRUE(app.start());
    clearRecords();
    EXPECT_EQ(window.commands, std::vector<int>{kSyncClockCommand});
    app.onCommand(kSyncClockCommand - 16);  // not the console's
    EXPECT_TRUE(link.opened.empty());
    app.onCommand(kSyncClockCommand);
    EXPECT_EQ(link.opened.size(), 1u);
    // The seconds first, then minutes, hours, day, month and year of that minute.
    EXPECT_EQ(link.text(),
              "B2032\n\rB0631\n\rB2063\n\rB0500\n\rB2051\n\rB0412\n\r"
              "B2059\n\rB0304\n\rB2056\n\rB0207\n\rB2037\n\rB0126\n\r");
    EXPECT_TRUE(window.messages.empty());
    // A port that cannot be opened: the message box, nothing sent.
    clearRecords();
    link.missingPorts.insert(u"COM1");
    app.onCommand(kSyncClockCommand);
    EXPECT_TRUE(link.bytes.empty());
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, u"Текущий порт недоступен!");
}

TEST_F(ConsoleAppTest, SettingsFileThatCannotBeReadIsLeftAsItIs) {
    withSettings("; keep me\r\n[group]\r\nport = COM4\r\n");
    files.unreadable.insert("Portwand.ini");
    ASSERT_TRUE(app.start());
    EXPECT_EQ(app.currentPort(), u"COM1");
    window.pick(4);
    app.onControl(kPortList);
    app.exit();
    EXPECT_EQ(settingsFile(), "; keep me\r\n[group]\r\nport = COM4\r\n");
}

}  // namespace
}  // namespace portwand
