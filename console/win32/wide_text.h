// The console's UTF-16 texts as the Windows API's wide strings (both are 16-bit code units there).
#pragma once

#include <string>

namespace portwand::win32 {

inline std::wstring wide(const std::u16string& text) {
    return {text.begin(), text.end()};
}
inline std::u16string fromWide(const std::wstring& text) {
    return {text.begin(), text.end()};
}
inline std::wstring wideAscii(const std::string& text) {
    return {text.begin(), text.end()};
}

}  // namespace portwand::win32
