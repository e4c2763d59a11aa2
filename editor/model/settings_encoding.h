// The text of a settings file as Windows-1251 bytes, whichever encoding the user's editor saved
// it in: UTF-8 with or without the byte order mark, UTF-16 with the mark, or Windows-1251.
#pragma once

#include <string>
#include <string_view>

namespace facetor {

// UTF-8 (marked, or valid with at least one multi-byte sequence) and marked UTF-16 are read as
// Unicode text: each character becomes its Windows-1251 byte, "?" where Windows-1251 has none.
// Any other file is taken byte for byte as Windows-1251.
std::string settingsTextAsCp1251(std::string_view fileBytes);

}  // namespace facetor
