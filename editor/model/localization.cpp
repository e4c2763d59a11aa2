#include "editor/model/localization.h"

namespace facetor {

Localizations Localizations::initial() {
    static constexpr const char* kCodes[kLocalizationCount] = {"en", "ru", "ua"};
    Localizations result;
    for (int i = 0; i < kLocalizationCount; ++i) {
        Localization& localization = result.items[i];
        // Built as new strings rather than assigned from literals: GCC 12 warns falsely
        // (-Wrestrict) on the inlined assignment of a literal.
        localization.code = std::string(kCodes[i]);
        localization.imageFileName = std::string("chronotherm_lcd_m168_") + kCodes[i] + ".eep";
        // Full names start as spaces so that a short value leaves the rest of the name blank.
        for (int day = 0; day < 7; ++day) {
            for (int position = 0; position < 20; ++position) {
                localization.names.fullNames[day][position] = std::string(1, ' ');
            }
        }
    }
    return result;
}

}  // namespace facetor
