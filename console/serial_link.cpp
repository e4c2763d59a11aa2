#include "console/serial_link.h"

#include <cstddef>

namespace portwand {

namespace {
constexpr std::size_t kMaxPortNameChars = 59;
}

std::u16string devicePathFor(const std::u16string& portName) {
    return u"\\\\.\\" + portName.substr(0, kMaxPortNameChars);
}

}  // namespace portwand
