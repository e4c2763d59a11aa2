#include "editor/model/text_encoding.h"

#include <array>

namespace facetor {

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Unicode characters of the Windows-1251 bytes 0x80..0xBF; 0x98 is unassigned.
constexpr std::array<char32_t, 64> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80 Ђ Ѓ ‚ ѓ „ … † ‡
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88 € ‰ Љ ‹ Њ Ќ Ћ Џ
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90 ђ ‘ ’ “ ” • – —
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98 ™ љ › њ ќ ћ џ
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0 NBSP Ў ў Ј ¤ Ґ ¦ §
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8 Ё © Є « ¬ SHY ® Ї
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0 ° ± І і ґ µ ¶ ·
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8 ё № є » ј Ѕ ѕ ї
};

constexpr char32_t kCapitalA = 0x0410;  // А..я are contiguous in both character sets
constexpr char32_t kSmallYa = 0x044F;

// One character read from UTF-8: its value (nullopt for a malformed sequence) and how many
// bytes it took. A malformed sequence takes only its well-formed start, so a following ASCII
// byte is never swallowed.
struct Decoded {
    std::optional<char32_t> character;
    std::size_t length;
};

constexpr bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

Decoded decodeUtf8(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t length = 0;
    char32_t value = 0;
    unsigned char low = 0x80;   // the allowed range of the second byte excludes overlong forms,
    unsigned char high = 0xBF;  // surrogates and values past U+10FFFF
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {std::nullopt, 1};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (at + i >= text.size()) {
            return {std::nullopt, i};
        }
        const auto byte = static_cast<unsigned char>(text[at + i]);
        const bool inRange = i == 1 ? (byte >= low && byte <= high) : isContinuation(byte);
        if (!inRange) {
            return {std::nullopt, i};
        }
        value = (value << 6) | (byte & 0x3F);
    }
    return {value, length};
}

void appendUtf8(std::string& out, char32_t ch) {
    if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) {
        ch = kReplacementCharacter;
    }
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

}  // namespace

char32_t cp1251ToUnicode(std::uint8_t byte) {
    if (byte < 0x80) {
        return byte;
    }
    if (byte < 0xC0) {
        return kUpperHalf[byte - 0x80];
    }
    return kCapitalA + (byte - 0xC0);
}

std::optional<std::uint8_t> unicodeToCp1251(char32_t ch) {
    if (ch < 0x80) {
        return static_cast<std::uint8_t>(ch);
    }
    if (ch >= kCapitalA && ch <= kSmallYa) {
        return static_cast<std::uint8_t>(0xC0 + (ch - kCapitalA));
    }
    if (ch == kReplacementCharacter) {
        return std::nullopt;  // stands in for the unassigned 0x98, which is no character
    }
    for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
        if (kUpperHalf[i] == ch) {
            return static_cast<std::uint8_t>(0x80 + i);
        }
    }
    return std::nullopt;
}

std::string cp1251ToUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (const char byte : cp1251) {
        appendUtf8(out, cp1251ToUnicode(static_cast<std::uint8_t>(byte)));
    }
    return out;
}

std::string utf8ToCp1251(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const Decoded decoded = decodeUtf8(utf8, at);
        at += decoded.length;
        const auto byte = decoded.character ? unicodeToCp1251(*decoded.character) : std::nullopt;
        out += byte ? static_cast<char>(*byte) : replacement;
    }
    return out;
}

bool isUtf8WithMultiByteCharacters(std::string_view text) {
    bool multiByte = false;
    for (std::size_t at = 0; at < text.size();) {
        const Decoded decoded = decodeUtf8(text, at);
        if (!decoded.character) {
            return false;
        }
        multiByte = multiByte || decoded.length > 1;
        at += decoded.length;
    }
    return multiByte;
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const Decoded decoded = decodeUtf8(utf8, at);
        at += decoded.length;
        const char32_t ch = decoded.character.value_or(kReplacementCharacter);
        if (ch >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((ch - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((ch - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(ch);
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t at = 0; at < utf16.size(); ++at) {
        const char16_t unit = utf16[at];
        const bool isHigh = unit >= 0xD800 && unit <= 0xDBFF;
        const bool isLow = unit >= 0xDC00 && unit <= 0xDFFF;
        if (isHigh && at + 1 < utf16.size() && utf16[at + 1] >= 0xDC00 && utf16[at + 1] <= 0xDFFF) {
            const char32_t ch =
                0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(utf16[at + 1]) - 0xDC00);
            appendUtf8(out, ch);
            ++at;
        } else if (isHigh || isLow) {
            appendUtf8(out, kReplacementCharacter);  // an unpaired surrogate
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

}  // namespace facetor
