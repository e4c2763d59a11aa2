#include "editor/model/lcd_charset.h"

#include <gtest/gtest.h>

#include <utility>

#include "editor/model/text_encoding.h"

namespace facetor {
namespace {

std::string cp(std::string_view utf8) {
    return utf8ToCp1251(utf8);
}
std::uint8_t byteOf(std::string_view utf8) {
    return static_cast<std::uint8_t>(cp(utf8).at(0));
}

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

// The device's letter table: each capital and small letter with its LCD code. A code below 0x80
// is a Latin look-alike's glyph.
TEST(LcdCharset, AllSixtyFourLettersEncodeAndShowAsTheDeviceDrawsThem) {
    const struct {
        const char* capital;
        std::uint8_t capitalCode;
        const char* small;
        std::uint8_t smallCode;
    } kLetters[] = {
        {"А", 0x41, "а", 0x61}, {"Б", 0xA0, "б", 0xB2}, {"В", 0x42, "в", 0xB3},
        {"Г", 0xA1, "г", 0xB4}, {"Д", 0xE0, "д", 0xE3}, {"Е", 0x45, "е", 0x65},
        {"Ё", 0xA2, "ё", 0xB5}, {"Ж", 0xA3, "ж", 0xB6}, {"З", 0xA4, "з", 0xB7},
        {"И", 0xA5, "и", 0xB8}, {"Й", 0xA6, "й", 0xB9}, {"К", 0x4B, "к", 0xBA},
        {"Л", 0xA7, "л", 0xBB}, {"М", 0x4D, "м", 0xBC}, {"Н", 0x48, "н", 0xBD},
        {"О", 0x4F, "о", 0x6F}, {"П", 0xA8, "п", 0xBE}, {"Р", 0x50, "р", 0x70},
        {"С", 0x43, "с", 0x63}, {"Т", 0x54, "т", 0xBF}, {"У", 0xA9, "у", 0x79},
        {"Ф", 0xAA, "ф", 0xE4}, {"Х", 0x58, "х", 0x78}, {"Ц", 0xE1, "ц", 0xE5},
        {"Ч", 0xAB, "ч", 0xC0}, {"Ш", 0xAC, "ш", 0xC1}, {"Щ", 0xE2, "щ", 0xE6},
        {"Ъ", 0xAD, "ъ", 0xC2}, {"Ы", 0xAE, "ы", 0xC3}, {"Ь", 0x62, "ь", 0xC4},
        {"Э", 0xAF, "э", 0xC5}, {"Ю", 0xB0, "ю", 0xC6}, {"Я", 0xB1, "я", 0xC7},
    };
    int letters = 0;
    for (const auto& row : kLetters) {
        for (const auto& [letter, code] :
             {std::pair{row.capital, row.capitalCode}, std::pair{row.small, row.smallCode}}) {
            EXPECT_EQ(toLcdCode(byteOf(letter)), code) << letter;
            const std::string shown =
                code < 0x80 ? std::string(1, static_cast<char>(code)) : cp(letter);
            EXPECT_EQ(displayText(code), shown) << letter;
            ++letters;
        }
    }
    EXPECT_EQ(letters, 66);  // the 64 letters А..я and Ё, ё
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
