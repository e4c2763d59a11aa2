#include "console/port_list.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

#include "console/console_layout.h"

namespace portwand {

namespace {

// The number the name ends in ("COM14" gives 14), or -1 when it ends in none.
std::int64_t trailingNumber(const std::u16string& name) {
    std::size_t start = name.size();
    while (start > 0 && name[start - 1] >= u'0' && name[start - 1] <= u'9')
        --start;
    // Longer numbers than any port has are ordered by their text.
    if (start == name.size() || name.size() - start > 9)
        return -1;
    std::int64_t number = 0;
    for (std::size_t i = start; i < name.size(); ++i)
        number = number * 10 + (name[i] - u'0');
    return number;
}

bool isFixedEntry(const std::u16string& name) {
    return std::any_of(kPortNames.begin(), kPortNames.end(),
                       [&](const char16_t* fixed) { return name == fixed; });
}

}  // namespace

std::vector<std::u16string> portListEntries(const std::vector<std::u16string>& existingPorts) {
    std::vector<std::u16string> others;
    for (const std::u16string& name : existingPorts) {
        if (!name.empty() && !isFixedEntry(name) &&
            std::find(others.begin(), others.end(), name) == others.end())
            others.push_back(name);
    }
    auto order = [](const std::u16string& name) {
        std::int64_t number = trailingNumber(name);
        return std::make_tuple(number < 0, number, name);
    };
    std::sort(others.begin(), others.end(), [&](const std::u16string& a, const std::u16string& b) {
        return order(a) < order(b);
    });
    std::vector<std::u16string> entries(kPortNames.begin(), kPortNames.end());
    entries.insert(entries.end(), others.begin(), others.end());
    return entries;
}

int portListIndex(const std::vector<std::u16string>& entries, const std::u16string& port) {
    auto found = std::find(entries.begin(), entries.end(), port);
    return found == entries.end() ? -1 : int(found - entries.begin());
}

}  // namespace portwand
