#include "editor/model/lcd_charset.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "editor/model/text_encoding.h"

namespace facetor {
namespace {

std::string cp(std::string_view utf8) {
    return utf8ToCp1251(utf8);
}
std::uint8_t byteOf(std::string_view utf8) {
    return static_cast<std::uint8_t>(cp(utf8).at(0));
}

// Cyrillic letters that the device draws with a Latin glyph.
const std::map<std::string, char> kLookAlikes = {
    {"А", 'A'}, {"В", 'B'}, {"Е", 'E'}, {"К", 'K'}, {"М", 'M'}, {"Н", 'H'}, {"О", 'O'},
    {"Р", 'P'}, {"С", 'C'}, {"Т", 'T'}, {"Х", 'X'}, {"Ь", 'b'}, {"а", 'a'}, {"е", 'e'},
    {"о", 'o'}, {"р", 'p'}, {"с", 'c'}, {"у", 'y'}, {"х", 'x'},
};

TEST(LcdCharset, BytesBelowTheLettersEncodeToThemselvesExceptYo) {
    for (int byte = 0x00; byte <= 0xBF; ++byte) {
        if (byte == 0xA8 || byte == 0xB8) {
            continue;
        }
        EXPECT_EQ(toLcdCode(static_cast<std::uint8_t>(byte)), byte) << byte;
    }
    EXPECT_EQ(toLcdCode(byteOf("Ё")), 0xA2);
    EXPECT_EQ(toLcdCode(byteOf("ё")), 0xB5);
    EXPECT_EQ(displayText(0xA2), cp("Ё"));
    EXPECT_EQ(displayText(0xB5), cp("ё"));
}

TEST(LcdCharset, EveryLetterShowsAsItselfOrItsLatinLookAlike) {
    std::set<std::uint8_t> codes;
    for (int letter = 0xC0; letter <= 0xFF; ++letter) {
        const std::string text(1, static_cast<char>(letter));
        const std::uint8_t code = toLcdCode(static_cast<std::uint8_t>(letter));
        codes.insert(code);
        const auto lookAlike = kLookAlikes.find(cp1251ToUtf8(text));
        const std::string expected =
            lookAlike == kLookAlikes.end() ? text : std::string(1, lookAlike->second);
        EXPECT_EQ(displayText(code), expected) << cp1251ToUtf8(text);
        if (lookAlike == kLookAlikes.end()) {
            EXPECT_TRUE((code >= 0xA0 && code <= 0xC7) || (code >= 0xE0 && code <= 0xE6));
        }
    }
    EXPECT_EQ(codes.size(), 64u);  // no two letters share a glyph
}

TEST(LcdCharset, DisplayTableCoversExactlyTheGlyphCodes) {
    int withText = 0;
    for (int code = 0; code <= 0xFF; ++code) {
        const auto text = displayText(static_cast<std::uint8_t>(code));
        const bool ascii = (code >= 0x21 && code <= 0x5A) || (code >= 0x61 && code <= 0x7A);
        const bool cyrillic = (code >= 0xA0 && code <= 0xC7) || (code >= 0xE0 && code <= 0xE6);
        EXPECT_EQ(text.has_value(), code == 0x20 || ascii || cyrillic) << code;
        if (!text) {
            continue;
        }
        ++withText;
        if (code == 0x20) {
            EXPECT_EQ(*text, "");
        } else {
            ASSERT_EQ(text->size(), 1u) << code;
            // What the grid shows, typed back in, gives the same code.
            EXPECT_EQ(toLcdCode(static_cast<std::uint8_t>(text->front())), code) << code;
        }
    }
    EXPECT_EQ(withText, 1 + 58 + 26 + 47);
    EXPECT_EQ(displayText(0xB0), cp("Ю"));  // the degree sign's code
    EXPECT_EQ(displayText(0xB9), cp("й"));  // the code of "№"
    EXPECT_EQ(displayText(0x22), "\"");
    EXPECT_EQ(displayText(0x42), "B");
}

TEST(LcdCharset, UkrainianLettersFoldOnlyWhenTypedAlone) {
    EXPECT_EQ(typedCharCode(cp("ї")), 0x69);
    EXPECT_EQ(typedCharCode(cp("і")), 0x69);
    EXPECT_EQ(typedCharCode(cp("Ї")), 0x49);
    EXPECT_EQ(typedCharCode(cp("І")), 0x49);
    EXPECT_EQ(typedCharCode(cp("ії")), 0xB3);
    EXPECT_EQ(typedCharCode("ab"), 0x61);
    EXPECT_EQ(typedCharCode(cp("Щ")), 0xE2);
    EXPECT_EQ(toLcdCode(byteOf("є")), 0xBA);
    EXPECT_EQ(toLcdCode(byteOf("ґ")), 0xB4);
}

}  // namespace
}  // namespace facetor
