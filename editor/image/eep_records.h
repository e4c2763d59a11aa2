// Which image bytes the data records of an .eep file carry, in file order.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "editor/image/eeprom_image.h"

namespace facetor {

inline constexpr std::size_t kRecordDataSize = 16;
inline constexpr std::size_t kRecordCount = 28;

// Lines 1..27 cover 0x000..0x1AF without a hole; line 28 is the trailer. The reserved gap has
// no record.
inline constexpr std::array<std::size_t, kRecordCount> kRecordAddresses = [] {
    std::array<std::size_t, kRecordCount> addresses{};
    for (std::size_t line = 0; line + 1 < kRecordCount; ++line) {
        addresses[line] = line * kRecordDataSize;
    }
    addresses[kRecordCount - 1] = kTrailerOffset;
    return addresses;
}();
static_assert(kRecordAddresses[kRecordCount - 2] + kRecordDataSize == kReservedGapOffset);

// Records before the weekday names: cells, placements, styles.
inline constexpr std::size_t kRecordsBeforeNames = kShortNamesOffset / kRecordDataSize;
// Records of the weekday names, which an older image file did not have.
inline constexpr std::size_t kNameRecordCount =
    kReservedGapOffset / kRecordDataSize - kRecordsBeforeNames;

// An older file without the name records: 23 CR LF data records and the CR LF end record.
inline constexpr std::size_t kLegacyMaxFileSize = 1048;

inline constexpr std::string_view kEndRecord = ":00000001FF";

}  // namespace facetor
