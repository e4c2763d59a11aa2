// Reading Intel HEX text by its record addresses, as any tool that knows the format writes it.
#pragma once

#include <bitset>
#include <optional>
#include <streambuf>

#include "editor/image/eeprom_image.h"

namespace facetor {

// The EEPROM bytes a text gives, and which addresses it gives them for.
struct AddressedBytes {
    EepromImage bytes{};
    std::bitset<kImageSize> given;
};

// Reads `input` from where it stands to its end. The bytes when the text is Intel HEX of the
// EEPROM: every line a well-formed record with a right checksum, data only within the 512 bytes
// and never two values for one address, extended addresses only with a zero base, start
// addresses ignored, and the end-of-file record last (only empty lines after it). Records may
// have any length and come in any order. std::nullopt for any other text.
std::optional<AddressedBytes> readIntelHex(std::streambuf& input);

}  // namespace facetor
