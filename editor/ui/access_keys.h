// Menu access keys whatever keyboard layout is on: Alt+Ф opens "Файл" also where the English
// layout types "a" for that key, as Russian users switch layouts all the time.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace facetor {

// The Russian letter (small) on the key that types `typed` in the US layout (the ЙЦУКЕН keys
// over the QWERTY ones); std::nullopt for a character that no such key types.
std::optional<char32_t> russianLetterOnSameKey(char32_t typed);

// The position of the menu item whose access key (the letter after "&" in its UTF-8 caption) is
// `typed` or the Russian letter on the same key, in either case; std::nullopt for none.
std::optional<int> itemOfAccessKey(const std::vector<std::string>& captions, char32_t typed);

}  // namespace facetor
