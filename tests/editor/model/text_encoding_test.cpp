#include "editor/model/text_encoding.h"

#include <gtest/gtest.h>

#include <random>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace facetor {
namespace {

// The platform's own Windows-1251 decoder, as an independent reference; nullopt if it has no
// character for the byte.
std::optional<std::string> referenceUtf8(std::uint8_t byte) {
#ifdef _WIN32
    const char in = static_cast<char>(byte);
    wchar_t wide[4];
    const int n = MultiByteToWideChar(1251, MB_ERR_INVALID_CHARS, &in, 1, wide, 4);
    if (n != 1) {
        return std::nullopt;
    }
    return utf16ToUtf8(std::u16string(1, static_cast<char16_t>(wide[0])));
#else
    iconv_t converter = iconv_open("UTF-8", "CP1251");
    char in = static_cast<char>(byte);
    char out[8] = {};
    char* inPtr = &in;
    char* outPtr = out;
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    const std::size_t result = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1)) {
        return std::nullopt;
    }
    return std::string(out, outPtr);
#endif
}

TEST(TextEncoding, EveryCp1251ByteMatchesThePlatformAndRoundTrips) {
    std::string all;
    for (int byte = 0; byte <= 0xFF; ++byte) {
        const auto b = static_cast<std::uint8_t>(byte);
        all += static_cast<char>(b);
        if (b == 0x98) {
            EXPECT_EQ(cp1251ToUnicode(b), U'\uFFFD');
            continue;
        }
        EXPECT_EQ(cp1251ToUtf8(std::string(1, static_cast<char>(b))), referenceUtf8(b)) << byte;
        EXPECT_EQ(unicodeToCp1251(cp1251ToUnicode(b)), b) << byte;
    }
    std::string expected = all;
    expected[0x98] = '?';
    EXPECT_EQ(utf8ToCp1251(cp1251ToUtf8(all)), expected);
    EXPECT_EQ(utf16ToUtf8(utf8ToUtf16(cp1251ToUtf8(all))), cp1251ToUtf8(all));
}

TEST(TextEncoding, CharactersCp1251LacksBecomeTheReplacement) {
    EXPECT_EQ(unicodeToCp1251(U'\u00DF'), std::nullopt);
    EXPECT_EQ(unicodeToCp1251(U'\uFFFD'), std::nullopt);
    EXPECT_EQ(utf8ToCp1251("a\xC3\x9F\xF0\x9F\x98\x80z"), "a??z");         // ß and an emoji
    EXPECT_EQ(utf8ToCp1251("\xE2\x82\xAC\xE2\x84\x96", '#'), "\x88\xB9");  // € №
    EXPECT_EQ(utf8ToCp1251("\xC3\x9F", '#'), "#");
}

TEST(TextEncoding, MalformedUtf8IsReplacedWithoutSwallowingTheNextCharacter) {
    EXPECT_EQ(utf8ToCp1251("\x80"), "?");    // lone continuation byte
    EXPECT_EQ(utf8ToCp1251("x\xD0"), "x?");  // truncated at the end
    EXPECT_EQ(utf8ToCp1251("\xE2\x82"
                           "A"),
              "?A");                                      // truncated before ASCII
    EXPECT_EQ(utf8ToCp1251("\xC0\xAF"), "??");            // overlong "/"
    EXPECT_EQ(utf8ToCp1251("\xED\xA0\x80"), "???");       // an encoded surrogate
    EXPECT_EQ(utf8ToCp1251("\xF4\x90\x80\x80"), "????");  // past U+10FFFF
    EXPECT_EQ(utf8ToCp1251("\xFF\xD0\x94"), "?\xC4");     // then a valid Д
    EXPECT_EQ(utf8ToUtf16("\xD0"), u"\uFFFD");
}

TEST(TextEncoding, Utf16UsesSurrogatePairsBeyondTheBasicPlane) {
    const std::string emoji = "\xF0\x9F\x98\x80";  // U+1F600
    EXPECT_EQ(utf8ToUtf16(emoji), u"\U0001F600");
    EXPECT_EQ(utf8ToUtf16(emoji).size(), 2u);
    EXPECT_EQ(utf16ToUtf8(u"\U0001F600"), emoji);
    EXPECT_EQ(utf16ToUtf8(u"\U0010FFFF"), "\xF4\x8F\xBF\xBF");
    EXPECT_EQ(utf8ToUtf16("\xD0\x9F\xD0\xBD x"), u"\u041F\u043D x");
    const std::u16string unpaired = {0xD83D, u'a', 0xDE00};
    EXPECT_EQ(utf16ToUtf8(unpaired),
              "\xEF\xBF\xBD"
              "a\xEF\xBF\xBD");
}

TEST(TextEncoding, ArbitraryBytesConvertToWellFormedText) {
    std::mt19937 random(1251);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(static_cast<std::size_t>(round % 24), '\0');
        for (char& c : bytes) {
            c = static_cast<char>(byte(random));
        }
        // Once converted, text is well formed and survives further round trips unchanged.
        const std::string utf8 = utf16ToUtf8(utf8ToUtf16(bytes));
        EXPECT_EQ(utf16ToUtf8(utf8ToUtf16(utf8)), utf8);
        const std::string cp1251 = utf8ToCp1251(bytes);
        EXPECT_LE(cp1251.size(), bytes.size());
        EXPECT_EQ(utf8ToCp1251(cp1251ToUtf8(cp1251)), cp1251);
    }
}

}  // namespace
}  // namespace facetor
