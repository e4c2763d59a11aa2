#include "editor/clock/port_names.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

namespace facetor::clock {
namespace {

constexpr int kFixedPorts = 9;

// The number the name ends in ("COM14" gives 14), or -1 when it ends in none that a port has.
std::int64_t trailingNumber(const std::string& name) {
    std::size_t start = name.size();
    while (start > 0 && name[start - 1] >= '0' && name[start - 1] <= '9') {
        --start;
    }
    if (start == name.size() || name.size() - start > 9) {
        return -1;
    }
    return std::stoll(name.substr(start));
}

}  // namespace

std::vector<std::string> comPortEntries(const std::vector<std::string>& existingPorts) {
    std::vector<std::string> entries;
    for (int n = 1; n <= kFixedPorts; ++n) {
        entries.push_back("COM" + std::to_string(n));
    }
    std::vector<std::string> others;
    for (const std::string& name : existingPorts) {
        if (!name.empty() && std::find(entries.begin(), entries.end(), name) == entries.end() &&
            std::find(others.begin(), others.end(), name) == others.end()) {
            others.push_back(name);
        }
    }
    const auto order = [](const std::string& name) {
        const std::int64_t number = trailingNumber(name);
        return std::make_tuple(number < 0, number, name);
    };
    std::sort(others.begin(), others.end(),
              [&](const std::string& a, const std::string& b) { return order(a) < order(b); });
    entries.insert(entries.end(), others.begin(), others.end());
    return entries;
}

}  // namespace facetor::clock
