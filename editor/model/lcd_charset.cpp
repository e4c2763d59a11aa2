#include "editor/model/lcd_charset.h"

#include <array>

namespace facetor {

namespace {

// LCD codes of the Windows-1251 letters А..я (0xC0..0xFF). Letters that look like a Latin one
// use the Latin glyph's code; the device has no glyph of its own for them.
// clang-format off
constexpr std::array<std::uint8_t, 64> kLetterCodes = {
    // А     Б     В     Г     Д     Е     Ж     З     И     Й     К     Л     М     Н     О     П
    0x41, 0xA0, 0x42, 0xA1, 0xE0, 0x45, 0xA3, 0xA4, 0xA5, 0xA6, 0x4B, 0xA7, 0x4D, 0x48, 0x4F, 0xA8,
    // Р     С     Т     У     Ф     Х     Ц     Ч     Ш     Щ     Ъ     Ы     Ь     Э     Ю     Я
    0x50, 0x43, 0x54, 0xA9, 0xAA, 0x58, 0xE1, 0xAB, 0xAC, 0xE2, 0xAD, 0xAE, 0x62, 0xAF, 0xB0, 0xB1,
    // а     б     в     г     д     е     ж     з     и     й     к     л     м     н     о     п
    0x61, 0xB2, 0xB3, 0xB4, 0xE3, 0x65, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xBB, 0xBC, 0xBD, 0x6F, 0xBE,
    // р     с     т     у     ф     х     ц     ч     ш     щ     ъ     ы     ь     э     ю     я
    0x70, 0x63, 0xBF, 0x79, 0xE4, 0x78, 0xE5, 0xC0, 0xC1, 0xE6, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7,
};
// clang-format on

constexpr std::uint8_t kCapitalYo = 0xA8;  // Ё in Windows-1251
constexpr std::uint8_t kSmallYo = 0xB8;    // ё

constexpr bool hasCyrillicGlyph(std::uint8_t code) {
    return (code >= 0xA0 && code <= 0xC7) || (code >= 0xE0 && code <= 0xE6);
}

// The Windows-1251 letter behind each Cyrillic glyph code (0 where there is none), built by
// inverting the encoding so the two directions cannot disagree.
constexpr std::array<std::uint8_t, 256> buildGlyphLetters() {
    std::array<std::uint8_t, 256> letters{};
    for (int letter = 0xC0; letter <= 0xFF; ++letter) {
        const std::uint8_t code = kLetterCodes[letter - 0xC0];
        if (hasCyrillicGlyph(code)) {
            letters[code] = static_cast<std::uint8_t>(letter);
        }
    }
    letters[0xA2] = kCapitalYo;
    letters[0xB5] = kSmallYo;
    return letters;
}

constexpr std::array<std::uint8_t, 256> kGlyphLetters = buildGlyphLetters();

}  // namespace

std::uint8_t toLcdCode(std::uint8_t editorChar) {
    if (editorChar >= 0xC0) {
        return kLetterCodes[editorChar - 0xC0];
    }
    if (editorChar == kCapitalYo) {
        return 0xA2;
    }
    if (editorChar == kSmallYo) {
        return 0xB5;
    }
    return editorChar;
}

std::optional<std::string> displayText(std::uint8_t code) {
    if (code == 0x20) {
        return std::string();
    }
    if ((code >= 0x21 && code <= 0x5A) || (code >= 0x61 && code <= 0x7A)) {
        return std::string(1, static_cast<char>(code));
    }
    if (hasCyrillicGlyph(code)) {
        return std::string(1, static_cast<char>(kGlyphLetters[code]));
    }
    return std::nullopt;
}

std::uint8_t foldUkrainianI(std::uint8_t editorChar) {
    switch (editorChar) {
        case 0xB3:  // і
        case 0xBF:  // ї
            return 'i';
        case 0xB2:  // І
        case 0xAF:  // Ї
            return 'I';
        default:
            return editorChar;
    }
}

std::uint8_t typedCharCode(std::string_view typedText) {
    if (typedText.empty()) {
        return 0x20;
    }
    // The fold applies to a text of exactly one of these letters; otherwise the first byte counts.
    const auto first = static_cast<std::uint8_t>(typedText.front());
    return toLcdCode(typedText.size() == 1 ? foldUkrainianI(first) : first);
}

}  // namespace facetor
