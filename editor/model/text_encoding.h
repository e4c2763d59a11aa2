// The one conversion between Windows-1251 bytes, UTF-8 and UTF-16, used wherever editor text
// meets the window or a UTF-8 file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace facetor {

// The Unicode character of a Windows-1251 byte (the unassigned 0x98 maps to U+FFFD).
char32_t cp1251ToUnicode(std::uint8_t byte);
// The Windows-1251 byte of a Unicode character, if Windows-1251 has it.
std::optional<std::uint8_t> unicodeToCp1251(char32_t ch);

std::string cp1251ToUtf8(std::string_view cp1251);
// Characters that Windows-1251 lacks (and malformed UTF-8 sequences) become `replacement`.
std::string utf8ToCp1251(std::string_view utf8, char replacement = '?');

// True when `text` is well-formed UTF-8 and holds at least one character beyond ASCII.
bool isUtf8WithMultiByteCharacters(std::string_view text);

std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

}  // namespace facetor
