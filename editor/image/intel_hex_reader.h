// Reading Intel HEX text by its record addresses, as any tool that knows the format writes it.
#pragma once

#include <bitset>
#include <streambuf>

#include "editor/image/eeprom_image.h"

namespace facetor {

// The EEPROM bytes a text gives, and which addresses it gives them for.
struct AddressedBytes {
    EepromImage bytes{};
    std::bitset<kImageSize> given;
};

enum class IntelHexKind {
    NotIntelHex,   // some line is no well-formed record with a right checksum
    NotEeprom,     // Intel HEX with data outside the 512 bytes (a firmware, a whole ELF's dump)
    Inconsistent,  // Intel HEX of the EEPROM that gives one address two values
    Eeprom,        // Intel HEX of the EEPROM: `eeprom` holds what it gives
};

struct IntelHexText {
    IntelHexKind kind = IntelHexKind::NotIntelHex;
    AddressedBytes eeprom;
};

// Reads `input` from where it stands to its end. Intel HEX: every line a well-formed record with
// a right checksum (blank lines and blanks after a record aside), records of any length in any
// order, extended addresses counted in, start addresses ignored; after the end-of-file record
// only blanks and the Ctrl+Z that old tools put at the end of a text. Records without the
// end-of-file record are Intel HEX as far as they go.
IntelHexText readIntelHex(std::streambuf& input);

}  // namespace facetor
