// Hexadecimal digits of Intel HEX text, either case.
#pragma once

namespace facetor {

// 0..15, or -1 for a character that is not a hexadecimal digit.
inline int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

}  // namespace facetor
