// UTF-8 <-> wchar_t strings for the W API, through the project's one conversion module.
#pragma once

#include <string>
#include <string_view>

#include "editor/model/text_encoding.h"

namespace facetor::win32 {

inline std::wstring toWide(std::string_view utf8) {
    const std::u16string utf16 = utf8ToUtf16(utf8);
    return std::wstring(utf16.begin(), utf16.end());
}

inline std::string fromWide(std::wstring_view wide) {
    return utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

}  // namespace facetor::win32
