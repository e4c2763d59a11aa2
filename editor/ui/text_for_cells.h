// What typed or pasted text puts into cells.
#pragma once

#include <string>
#include <string_view>

namespace facetor {

// The Windows-1251 characters of UTF-8 text, one per cell. Typography that word processors and
// browsers put into text becomes what the clock can show: a no-break space a space, « » „ “ ”
// straight double quotes, ‘ ’ ‚ straight single ones, dashes and the minus sign a hyphen, …
// three dots. Control characters (a Tab, line ends, DEL) have no place in a cell and are
// dropped: the device would show them as its user-defined glyphs.
std::string textForCells(std::string_view utf8);

}  // namespace facetor
