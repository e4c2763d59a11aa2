// Translation between editor characters (Windows-1251 bytes) and the device's LCD codes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace facetor {

// Editor character (one Windows-1251 byte) to the LCD code the device shows for it.
std::uint8_t toLcdCode(std::uint8_t editorChar);

// Text the grid shows for an LCD code, in Windows-1251: "" for the blank 0x20, one character for
// a code with a glyph, std::nullopt for a code outside the display table.
std::optional<std::string> displayText(std::uint8_t code);

// The Ukrainian і and ї (І and Ї) have no glyph on the device and are written with the Latin i
// (I); every other editor character is returned as it is.
std::uint8_t foldUkrainianI(std::uint8_t editorChar);

// LCD code for a non-empty text typed into the capture box (Windows-1251): the Ukrainian і/ї and
// І/Ї fold to Latin i/I, then the first byte goes through toLcdCode.
std::uint8_t typedCharCode(std::string_view typedText);

}  // namespace facetor
