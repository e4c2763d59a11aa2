#include "console/serial_link.h"

#include <gtest/gtest.h>

#include <string>

#include "console/port_opener.h"
#include "tests/console/console_doubles.h"

namespace portwand {
namespace {

TEST(DevicePath, PrefixesTheNameAndCutsItTo59Characters) {
    EXPECT_EQ(devicePathFor(u"COM1"), u"\\\\.\\COM1");
    EXPECT_EQ(devicePathFor(u"COM12"), u"\\\\.\\COM12");
    EXPECT_EQ(devicePathFor(u""), u"\\\\.\\");
    std::u16string longName(70, u'x');
    std::u16string path = devicePathFor(longName);
    EXPECT_EQ(path.size(), 63u);
    EXPECT_EQ(path, u"\\\\.\\" + std::u16string(59, u'x'));
    EXPECT_EQ(devicePathFor(std::u16string(59, u'y')).size(), 63u);
}

class StatusCollector : public StatusDisplay {
  public:
    std::vector<LinkStatus> shown;
    void showLinkStatus(LinkStatus status) override { shown.push_back(status); }
};

TEST(PortOpener, ShowsEveryOutcomeAndLearnsHowLongEachPortTakes) {
    testing::SteppedClock clock;
    testing::RecordingLink link(clock);
    StatusCollector display;
    PortOpener opener(link, display, clock);
    link.missingPorts.insert(u"COM2");
    link.openMicros = 140'000;
    EXPECT_EQ(opener.open(u"COM2"), LinkStatus::Failed);
    EXPECT_EQ(opener.openMicros(u"COM2"), 0);
    EXPECT_EQ(opener.open(u"COM3"), LinkStatus::Opened);
    link.close();
    EXPECT_EQ(display.shown, (std::vector<LinkStatus>{LinkStatus::Failed, LinkStatus::Opened}));
    EXPECT_EQ(link.opened, (std::vector<std::u16string>{u"COM2", u"COM3"}));
    EXPECT_EQ(opener.openMicros(u"COM3"), 140'000);
    // A failed open leaves what was learnt; the next good one replaces it.
    link.missingPorts.insert(u"COM3");
    opener.open(u"COM3");
    EXPECT_EQ(opener.openMicros(u"COM3"), 140'000);
    link.missingPorts.clear();
    link.openMicros = 20'000;
    opener.open(u"COM3");
    link.close();
    EXPECT_EQ(opener.openMicros(u"COM3"), 20'000);
    // What one port took says nothing about another.
    EXPECT_EQ(opener.openMicros(u"COM14"), 0);
}

}  // namespace
}  // namespace portwand
