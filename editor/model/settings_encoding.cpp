#include "editor/model/settings_encoding.h"

#include "editor/model/text_encoding.h"

namespace facetor {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

// A trailing odd byte is no character and is dropped.
std::u16string utf16Units(std::string_view bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        units += static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    }
    return units;
}

}  // namespace

std::string settingsTextAsCp1251(std::string_view fileBytes) {
    if (fileBytes.starts_with(kUtf8ByteOrderMark)) {
        return utf8ToCp1251(fileBytes.substr(kUtf8ByteOrderMark.size()), '?');
    }
    if (fileBytes.starts_with(kUtf16LittleEndianMark) ||
        fileBytes.starts_with(kUtf16BigEndianMark)) {
        const bool bigEndian = fileBytes.starts_with(kUtf16BigEndianMark);
        return utf8ToCp1251(utf16ToUtf8(utf16Units(fileBytes.substr(2), bigEndian)), '?');
    }
    // Cyrillic in Windows-1251 almost never forms valid UTF-8, so this test keeps such files
    // as they are while reading Notepad's unmarked UTF-8 right.
    if (isUtf8WithMultiByteCharacters(fileBytes)) {
        return utf8ToCp1251(fileBytes, '?');
    }
    return std::string(fileBytes);
}

}  // namespace facetor
