#include "editor/ui/onscreen_keyboard.h"

#include <array>

#include "editor/ui/control_ids.h"

namespace facetor {
namespace {

struct FixedKey {
    int id;
    std::uint8_t code;
};

// Digits and punctuation: each writes the ASCII code of its caption.
constexpr std::array<FixedKey, 9> kPunctuationKeys = {{
    {2031, '.'},
    {2029, ','},
    {2033, ':'},
    {2034, ';'},
    {2032, '/'},
    {2024, '\''},
    {2030, '-'},
    {2028, '+'},
    {2036, '='},
}};
constexpr int kFirstDigitKey = 2047;  // "0".."9" at 2047..2056

struct CyrillicKey {
    const char* capital;  // UTF-8
    const char* small;
    std::uint8_t capitalCode;
    std::uint8_t smallCode;
};

// Keys 2083..2109. Letters the device shows with a Latin glyph (А, Е, О, Р, С, Х) have no key;
// В, К, М, Н, Т, Ь and у write the code of their Latin look-alike.
constexpr std::array<CyrillicKey, 27> kCyrillicKeys = {{
    {"Б", "б", 0xA0, 0xB2}, {"В", "в", 0x42, 0xB3}, {"Г", "г", 0xA1, 0xB4}, {"Д", "д", 0xE0, 0xE3},
    {"Ё", "ё", 0xA2, 0xB5}, {"Ж", "ж", 0xA3, 0xB6}, {"З", "з", 0xA4, 0xB7}, {"И", "и", 0xA5, 0xB8},
    {"Й", "й", 0xA6, 0xB9}, {"К", "к", 0x4B, 0xBA}, {"Л", "л", 0xA7, 0xBB}, {"М", "м", 0x4D, 0xBC},
    {"Н", "н", 0x48, 0xBD}, {"П", "п", 0xA8, 0xBE}, {"Т", "т", 0x54, 0xBF}, {"У", "у", 0xA9, 0x79},
    {"Ф", "ф", 0xAA, 0xE4}, {"Ц", "ц", 0xE1, 0xE5}, {"Ч", "ч", 0xAB, 0xC0}, {"Ш", "ш", 0xAC, 0xC1},
    {"Щ", "щ", 0xE2, 0xE6}, {"Ъ", "ъ", 0xAD, 0xC2}, {"Ы", "ы", 0xAE, 0xC3}, {"Ь", "ь", 0x62, 0xC4},
    {"Э", "э", 0xAF, 0xC5}, {"Ю", "ю", 0xB0, 0xC6}, {"Я", "я", 0xB1, 0xC7},
}};
constexpr int kLatinKeyCount = 26;

}  // namespace

std::optional<std::uint8_t> keyCode(int keyId, bool capsLock) {
    if (keyId >= kFirstDigitKey && keyId < kFirstDigitKey + 10) {
        return static_cast<std::uint8_t>('0' + (keyId - kFirstDigitKey));
    }
    for (const FixedKey& key : kPunctuationKeys) {
        if (key.id == keyId) {
            return key.code;
        }
    }
    if (keyId >= ids::kFirstLatinKey && keyId < ids::kFirstLatinKey + kLatinKeyCount) {
        const int letter = keyId - ids::kFirstLatinKey;
        return static_cast<std::uint8_t>((capsLock ? 'A' : 'a') + letter);
    }
    if (keyId >= ids::kFirstCyrillicKey && keyId <= ids::kLastKey) {
        const CyrillicKey& key = kCyrillicKeys[keyId - ids::kFirstCyrillicKey];
        return capsLock ? key.capitalCode : key.smallCode;
    }
    return std::nullopt;
}

std::string letterKeyCaption(int keyId, bool capsLock) {
    if (keyId >= ids::kFirstLatinKey && keyId < ids::kFirstLatinKey + kLatinKeyCount) {
        const int letter = keyId - ids::kFirstLatinKey;
        return std::string(1, static_cast<char>((capsLock ? 'A' : 'a') + letter));
    }
    if (keyId >= ids::kFirstCyrillicKey && keyId <= ids::kLastKey) {
        const CyrillicKey& key = kCyrillicKeys[keyId - ids::kFirstCyrillicKey];
        return capsLock ? key.capital : key.small;
    }
    return {};
}

void relabelKeys(ControlCache& controls, bool capsLock) {
    for (int id = ids::kFirstLatinKey; id < ids::kFirstLatinKey + kLetterKeyCount; ++id) {
        controls.setText(id, letterKeyCaption(id, capsLock));
    }
}

}  // namespace facetor
