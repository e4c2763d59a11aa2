#include "console/serial_link.h"

#include <gtest/gtest.h>

#include <string>

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

TEST(OpenAndReport, ShowsEveryOutcomeAndHandsItBack) {
    testing::SteppedClock clock;
    testing::RecordingLink link(clock);
    link.missingPorts.insert(u"COM2");
    StatusCollector display;
    EXPECT_EQ(openAndReport(link, u"COM2", display), LinkStatus::Failed);
    EXPECT_EQ(openAndReport(link, u"COM3", display), LinkStatus::Opened);
    link.close();
    EXPECT_EQ(display.shown, (std::vector<LinkStatus>{LinkStatus::Failed, LinkStatus::Opened}));
    EXPECT_EQ(link.opened, (std::vector<std::u16string>{u"COM2", u"COM3"}));
}

}  // namespace
}  // namespace portwand
