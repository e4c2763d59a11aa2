#include "console/console_app.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/console/console_doubles.h"

namespace portwand {
namespace {

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
    ConsoleApp app{window, link, clock, settings};

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
    expected.insert(expected.end(), 9, "entry");
    expected.insert(expected.end(), {"select", "listText", "label", "timer"});
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

TEST_F(ConsoleAppTest, OnlyAnExactlyMatchingPortSelectsAnEntry) {
    EXPECT_EQ(portListIndex(u"COM1"), 0);
    EXPECT_EQ(portListIndex(u"COM9"), 8);
    EXPECT_EQ(portListIndex(u"com3"), -1);
    EXPECT_EQ(portListIndex(u"COM12"), -1);
    EXPECT_EQ(portListIndex(u"COM3 "), -1);
    EXPECT_EQ(portListIndex(u""), -1);
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
    clock.setTime(21, 5, 31, 20);
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

}  // namespace
}  // namespace portwand
