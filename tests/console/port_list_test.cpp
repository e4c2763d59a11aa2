#include "console/port_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace portwand {
namespace {

using Names = std::vector<std::u16string>;

const Names kFixed{u"COM1", u"COM2", u"COM3", u"COM4", u"COM5", u"COM6", u"COM7", u"COM8", u"COM9"};

Names fixedAnd(const Names& more) {
    Names all = kFixed;
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

TEST(PortList, NineFixedEntriesThenTheOtherExistingPortsInAscendingNumber) {
    EXPECT_EQ(portListEntries({}), kFixed);
    // COM1 to COM9 keep their places whether they exist or not; each port is listed once.
    EXPECT_EQ(portListEntries({u"COM3", u"COM1"}), kFixed);
    EXPECT_EQ(portListEntries({u"COM14", u"COM100", u"COM3", u"COM10", u"COM14", u"COM9"}),
              fixedAnd({u"COM10", u"COM14", u"COM100"}));
    // Other names go by their number too, those without one last; letter case is kept (a com3
    // is not COM3).
    EXPECT_EQ(portListEntries({u"BTHX", u"COM12", u"com3", u"CNCB0", u""}),
              fixedAnd({u"CNCB0", u"com3", u"COM12", u"BTHX"}));
}

TEST(PortList, OnlyAnExactlyMatchingPortSelectsAnEntry) {
    Names entries = fixedAnd({u"COM14"});
    EXPECT_EQ(portListIndex(entries, u"COM1"), 0);
    EXPECT_EQ(portListIndex(entries, u"COM9"), 8);
    EXPECT_EQ(portListIndex(entries, u"COM14"), 9);
    EXPECT_EQ(portListIndex(entries, u"com3"), -1);
    EXPECT_EQ(portListIndex(entries, u"COM12"), -1);
    EXPECT_EQ(portListIndex(entries, u"COM3 "), -1);
    EXPECT_EQ(portListIndex(entries, u""), -1);
}

}  // namespace
}  // namespace portwand
