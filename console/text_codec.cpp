#include "console/text_codec.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace portwand {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void appendCodePoint(std::u16string& out, char32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out += char16_t(0xD800 + (cp >> 10));
        out += char16_t(0xDC00 + (cp & 0x3FF));
    } else {
        out += char16_t(cp);
    }
}

// Length of the sequence a lead byte starts, or 0 for a byte that cannot start one.
std::size_t sequenceLength(std::uint8_t lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

std::optional<std::u16string> utf16ToText(std::string_view bytes, bool bigEndian) {
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        auto first = std::uint8_t(bytes[i]), second = std::uint8_t(bytes[i + 1]);
        text += bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
    }
    return text;
}

std::string textToUtf16(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        char high = char(c >> 8), low = char(c & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// UTF-8 that comes back byte for byte: nothing was replaced.
std::optional<std::u16string> exactUtf8ToText(std::string_view bytes) {
    std::u16string text = utf8ToUtf16(bytes);
    if (utf16ToUtf8(text) != bytes)
        return std::nullopt;
    return text;
}

bool beyondAscii(std::string_view bytes) {
    for (char c : bytes) {
        if (std::uint8_t(c) >= 0x80)
            return true;
    }
    return false;
}

}  // namespace

std::u16string utf8ToUtf16(std::string_view bytes) {
    std::u16string out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        auto lead = std::uint8_t(bytes[i]);
        std::size_t length = sequenceLength(lead);
        if (length == 0 || i + length > bytes.size()) {
            out += kReplacement;
            ++i;
            continue;
        }
        char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = true;
        for (std::size_t k = 1; k < length; ++k) {
            auto next = std::uint8_t(bytes[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values beyond U+10FFFF are not characters.
        static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (!valid || cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += kReplacement;
            ++i;
            continue;
        }
        appendCodePoint(out, cp);
        i += length;
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;  // an unpaired surrogate
        }
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::optional<std::u16string> ByteAnsiCodec::decode(std::string_view bytes) const {
    std::u16string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out += char16_t(std::uint8_t(c));
    return out;
}

std::string ByteAnsiCodec::encode(std::u16string_view text) const {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text)
        out += c <= 0xFF ? char(c) : '?';
    return out;
}

std::optional<DecodedText> decodeText(std::string_view bytes, const AnsiCodec& ansi) {
    std::optional<std::u16string> text;
    TextEncoding encoding = TextEncoding::Ansi;
    if (bytes.starts_with(kUtf8Mark)) {
        encoding = TextEncoding::Utf8WithMark;
        text = exactUtf8ToText(bytes.substr(kUtf8Mark.size()));
    } else if (bytes.starts_with(kUtf16LeMark) || bytes.starts_with(kUtf16BeMark)) {
        bool bigEndian = bytes.starts_with(kUtf16BeMark);
        encoding = bigEndian ? TextEncoding::Utf16Be : TextEncoding::Utf16Le;
        text = utf16ToText(bytes.substr(2), bigEndian);
    } else if (bytes.find('\0') != std::string_view::npos) {
        return std::nullopt;
    } else if (beyondAscii(bytes) && (text = exactUtf8ToText(bytes))) {
        encoding = TextEncoding::Utf8;
    } else {
        text = ansi.decode(bytes);
    }
    if (!text)
        return std::nullopt;
    return DecodedText{encoding, std::move(*text)};
}

std::string encodeText(std::u16string_view text, TextEncoding encoding, const AnsiCodec& ansi) {
    switch (encoding) {
        case TextEncoding::Ansi:
            return ansi.encode(text);
        case TextEncoding::Utf8:
            return utf16ToUtf8(text);
        case TextEncoding::Utf8WithMark:
            return std::string(kUtf8Mark) + utf16ToUtf8(text);
        case TextEncoding::Utf16Le:
            return std::string(kUtf16LeMark) + textToUtf16(text, false);
        case TextEncoding::Utf16Be:
            return std::string(kUtf16BeMark) + textToUtf16(text, true);
    }
    return {};
}

}  // namespace portwand
