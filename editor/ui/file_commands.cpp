#include "editor/ui/file_commands.h"

#include "editor/image/bin_file.h"
#include "editor/image/eep_file.h"
#include "editor/image/save_messages.h"
#include "editor/ui/control_ids.h"

namespace facetor {
namespace {

constexpr int kDefaultLocalization = 1;  // "ru", on when the window is built

void reportNotSaved(WindowOps& window, std::string_view fileName) {
    window.showMessage(kErrorTitle, notSavedMessage(fileName));
}

}  // namespace

int selectedLocalization(const WindowOps& window) {
    for (int n = 0; n < kLocalizationCount; ++n) {
        if (window.isChecked(ids::kFirstLocalizationRadio + n)) {
            return n;
        }
    }
    return kDefaultLocalization;
}

void selectLocalization(WindowOps& window, int localizationNumber) {
    for (int n = 0; n < kLocalizationCount; ++n) {
        window.setChecked(ids::kFirstLocalizationRadio + n, n == localizationNumber);
    }
}

void openImageFile(SkinDocument& document, const Localizations& localizations, WindowOps& window,
                   const std::filesystem::path& folder) {
    const EepReaderOps ops{
        [&window](int localizationNumber) { selectLocalization(window, localizationNumber); },
        [&window](std::string_view title, std::string_view text) {
            window.showMessage(title, text);
        },
    };
    readEepFile(document, localizations, selectedLocalization(window), ops, folder);
}

void saveImageFiles(const SkinDocument& document, const Localizations& localizations,
                    CalendarDate today, WindowOps& window, const std::filesystem::path& folder) {
    const int localization = selectedLocalization(window);
    const EepromImage image = buildEepromImage(document, localizations, localization, today);
    const bool eepWritten = writeEepFile(image, localizations, localization, folder);
    const bool binWritten = writeBinFile(image, folder);
    if (!eepWritten) {
        reportNotSaved(window, eepFileName(localizations, localization));
    }
    if (!binWritten) {
        reportNotSaved(window, kBinFileName);
    }
}

}  // namespace facetor
