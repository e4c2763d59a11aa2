#include "console/remote_frame.h"

#include <gtest/gtest.h>

#include <string>

namespace portwand {
namespace {

std::string asText(const RemoteFrame& frame) {
    return std::string(frame.begin(), frame.end());
}

TEST(RemoteFrame, EveryKeyFrameCarriesItsCodeAfterSelectorZero) {
    const struct {
        RemoteKey key;
        const char* bytes;
    } table[] = {
        {RemoteKey::Esc, "A0013\n\r"},       {RemoteKey::Menu, "A0059\n\r"},
        {RemoteKey::Up, "A0032\n\r"},        {RemoteKey::Down, "A0033\n\r"},
        {RemoteKey::Left, "A0017\n\r"},      {RemoteKey::Right, "A0016\n\r"},
        {RemoteKey::Backlight, "A0012\n\r"}, {RemoteKey::SkinPlus, "A0063\n\r"},
        {RemoteKey::SkinMinus, "A0056\n\r"},
    };
    for (const auto& row : table) {
        EXPECT_EQ(asText(keyFrame(row.key)), row.bytes) << row.bytes;
    }
    // Line feed comes before carriage return.
    RemoteFrame esc = keyFrame(RemoteKey::Esc);
    EXPECT_EQ(esc[5], 0x0A);
    EXPECT_EQ(esc[6], 0x0D);
}

TEST(RemoteFrame, TwoDigitTextPadsSmallNumbersAndCutsLargeOnes) {
    auto text = [](int n) {
        auto d = twoDigitText(std::uint8_t(n));
        return std::string{char(d[0]), char(d[1])};
    };
    EXPECT_EQ(text(0), "00");
    EXPECT_EQ(text(7), "07");
    EXPECT_EQ(text(9), "09");
    EXPECT_EQ(text(10), "10");
    EXPECT_EQ(text(42), "42");
    EXPECT_EQ(text(99), "99");
    EXPECT_EQ(text(100), "10");
    EXPECT_EQ(text(199), "19");
    EXPECT_EQ(text(255), "25");
}

TEST(RemoteFrame, CheckValueIsTheComplementOfTheLowSixBits) {
    for (int v = 0; v <= 63; ++v)
        EXPECT_EQ(checkValue(std::uint8_t(v)), 63 - v) << v;
    EXPECT_EQ(checkValue(64), 63);
    EXPECT_EQ(checkValue(100), 27);  // 100 = 0b1100100, low six bits 36
    EXPECT_EQ(checkValue(255), 0);
}

TEST(RemoteFrame, ClockPartsGoOutAsCheckAndValueFrames) {
    // Leading zeros in both frames.
    EXPECT_EQ(asText(valueFrame(ClockField::Minutes, 3)), "B0503\n\r");
    EXPECT_EQ(asText(checkFrame(54)), "B2009\n\r");
    EXPECT_EQ(asText(checkFrame(7)), "B2056\n\r");
    EXPECT_EQ(asText(valueFrame(ClockField::Minutes, 7)), "B0507\n\r");
    EXPECT_EQ(asText(checkFrame(31)), "B2032\n\r");
    EXPECT_EQ(asText(valueFrame(ClockField::Day, 31)), "B0331\n\r");
    EXPECT_EQ(asText(valueFrame(ClockField::Year, 11)), "B0111\n\r");
    EXPECT_EQ(asText(valueFrame(ClockField::Month, 12)), "B0212\n\r");
    EXPECT_EQ(asText(valueFrame(ClockField::Hours, 0)), "B0400\n\r");
    EXPECT_EQ(asText(valueFrame(ClockField::Seconds, 0)), "B0600\n\r");
    EXPECT_EQ(asText(checkFrame(0)), "B2063\n\r");
}

TEST(RemoteFrame, ClockValuesComeFromTheLocalTime) {
    LocalTime t{2011, 9, 30, 23, 58, 7, 999};
    EXPECT_EQ(clockValue(ClockField::Year, t), 11);
    EXPECT_EQ(clockValue(ClockField::Month, t), 9);
    EXPECT_EQ(clockValue(ClockField::Day, t), 30);
    EXPECT_EQ(clockValue(ClockField::Hours, t), 23);
    EXPECT_EQ(clockValue(ClockField::Minutes, t), 58);
    EXPECT_EQ(clockValue(ClockField::Seconds, t), 7);
}

TEST(RemoteFrame, YearsOutsideThisCenturyWrapInOneByte) {
    LocalTime y2100{2100, 1, 1, 0, 0, 0, 0};
    EXPECT_EQ(clockValue(ClockField::Year, y2100), 100);
    EXPECT_EQ(asText(valueFrame(ClockField::Year, 100)), "B0110\n\r");
    LocalTime y2155{2155, 1, 1, 0, 0, 0, 0};
    EXPECT_EQ(clockValue(ClockField::Year, y2155), 155);
    EXPECT_EQ(asText(valueFrame(ClockField::Year, 155)), "B0115\n\r");

    LocalTime y1999{1999, 12, 31, 0, 0, 0, 0};
    std::uint8_t v = clockValue(ClockField::Year, y1999);
    EXPECT_EQ(v, 255);
    EXPECT_EQ(asText(checkFrame(v)), "B2000\n\r");
    EXPECT_EQ(asText(valueFrame(ClockField::Year, v)), "B0125\n\r");
}

}  // namespace
}  // namespace portwand
