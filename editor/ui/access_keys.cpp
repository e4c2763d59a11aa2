#include "editor/ui/access_keys.h"

#include <array>
#include <string>
#include <utility>

#include "editor/model/text_encoding.h"

namespace facetor {
namespace {

// The US layout's character and the Russian letter of each key that has one.
constexpr std::array<std::pair<char, char32_t>, 33> kSameKey{{
    {'`', U'ё'}, {'q', U'й'}, {'w', U'ц'},  {'e', U'у'}, {'r', U'к'}, {'t', U'е'}, {'y', U'н'},
    {'u', U'г'}, {'i', U'ш'}, {'o', U'щ'},  {'p', U'з'}, {'[', U'х'}, {']', U'ъ'}, {'a', U'ф'},
    {'s', U'ы'}, {'d', U'в'}, {'f', U'а'},  {'g', U'п'}, {'h', U'р'}, {'j', U'о'}, {'k', U'л'},
    {'l', U'д'}, {';', U'ж'}, {'\'', U'э'}, {'z', U'я'}, {'x', U'ч'}, {'c', U'с'}, {'v', U'м'},
    {'b', U'и'}, {'n', U'т'}, {'m', U'ь'},  {',', U'б'}, {'.', U'ю'},
}};

// Small letters for the Latin and Russian capitals; every other character as it is.
char32_t smallLetter(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= U'А' && c <= U'Я')) {
        return c + 0x20;
    }
    return c == U'Ё' ? U'ё' : c;
}

// The character after the "&" of a caption ("&&" is a plain "&"), small.
std::optional<char32_t> accessKeyOf(std::string_view utf8) {
    const std::u16string caption = utf8ToUtf16(utf8);
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') {
            continue;
        }
        if (caption[i + 1] != u'&') {
            return smallLetter(caption[i + 1]);
        }
        ++i;
    }
    return std::nullopt;
}

}  // namespace

std::optional<char32_t> russianLetterOnSameKey(char32_t typed) {
    const char32_t key = smallLetter(typed);
    for (const auto& [latin, russian] : kSameKey) {
        if (static_cast<char32_t>(latin) == key) {
            return russian;
        }
    }
    return std::nullopt;
}

std::optional<int> itemOfAccessKey(const std::vector<std::string>& captions, char32_t typed) {
    const char32_t letter = smallLetter(typed);
    const std::optional<char32_t> sameKey = russianLetterOnSameKey(typed);
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const std::optional<char32_t> key = accessKeyOf(captions[i]);
        if (key && (*key == letter || key == sameKey)) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

}  // namespace facetor
