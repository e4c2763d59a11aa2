// Arbitrary bytes as a settings file: reading must stay within the weekday tables and leave
// every position holding one character or nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "editor/model/settings_file.h"

namespace {

template <typename Days>
void checkPositions(const Days& days) {
    for (const auto& day : days) {
        for (const auto& position : day) {
            if (position.size() > 1) {
                std::abort();
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    facetor::Localizations localizations = facetor::Localizations::initial();
    facetor::applySettingsText(localizations,
                               std::string_view(reinterpret_cast<const char*>(data), size));
    for (const facetor::Localization& localization : localizations.items) {
        checkPositions(localization.names.shortNames);
        checkPositions(localization.names.fullNames);
        // Nothing writes the unused third short position or the unused eighth day.
        for (const auto& day : localization.names.shortNames) {
            if (!day[2].empty()) {
                std::abort();
            }
        }
        for (const auto& position : localization.names.fullNames[7]) {
            if (!position.empty()) {
                std::abort();
            }
        }
    }
    return 0;
}
