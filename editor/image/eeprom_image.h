// The device's 512-byte EEPROM image: byte map and how it is built from the document.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "editor/model/localization.h"
#include "editor/model/skin_document.h"

namespace facetor {

inline constexpr std::size_t kImageSize = 512;
using EepromImage = std::array<std::uint8_t, kImageSize>;

// Byte map (EEPROM addresses).
inline constexpr std::size_t kCellAreaOffset = 0x000, kCellAreaSize = 256;
inline constexpr std::size_t kPlacementOffset = 0x100, kPlacementTableSize = 8;  // per FieldKind
inline constexpr std::size_t kTemperatureStyleOffset = 0x150;
inline constexpr std::size_t kWeekdayStyleOffset = 0x158;
inline constexpr std::size_t kShortNamesOffset = 0x160, kShortNamesSize = 16;  // 14 + 2 zeros
inline constexpr std::size_t kFullNamesOffset = 0x170, kFullNamesSize = 64;    // 63 + 1 zero
inline constexpr std::size_t kReservedGapOffset = 0x1B0, kReservedGapSize = 64;
inline constexpr std::size_t kTrailerOffset = 0x1F0, kTrailerSize = 16;
inline constexpr std::size_t kDateStampOffset = 0x1FB;  // day, month, year - 2000 in BCD
inline constexpr std::size_t kLocalizationNumberOffset = 0x1FE;

struct CalendarDate {
    int day;    // 1..31
    int month;  // 1..12
    int year;   // four digits
};

EepromImage buildEepromImage(const SkinDocument& document, const Localizations& localizations,
                             int localizationNumber, CalendarDate today);

}  // namespace facetor
