#include "console/serial_link.h"

#include <cstddef>

namespace portwand {

namespace {
constexpr std::size_t kMaxPortNameChars = 59;
}

std::u16string plainPortName(std::u16string_view name) {
    while (!name.empty() && (name.front() == u' ' || name.front() == u'\t'))
        name.remove_prefix(1);
    while (!name.empty() && (name.back() == u' ' || name.back() == u'\t'))
        name.remove_suffix(1);
    constexpr std::u16string_view kDevicePrefix = u"\\\\.\\";
    if (name.starts_with(kDevicePrefix))
        name.remove_prefix(kDevicePrefix.size());
    return std::u16string(name);
}

std::u16string devicePathFor(const std::u16string& portName) {
    return u"\\\\.\\" + plainPortName(portName).substr(0, kMaxPortNameChars);
}

}  // namespace portwand
