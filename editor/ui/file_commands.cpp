#include "editor/ui/file_commands.h"

#include "editor/image/bin_file.h"
#include "editor/image/eep_file.h"
#include "editor/image/save_messages.h"
#include "editor/ui/control_ids.h"

namespace facetor {
namespace {

constexpr int kDefaultLocalization = 1;  // "ru", on when the window is built

void reportNotSaved(WindowOps& window, const std::filesystem::path& file) {
    window.showMessage(kErrorTitle, notSavedMessage(fileNameForMessages(file)));
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

SaveResult saveImageFiles(const SkinDocument& document, const Localizations& localizations,
                          int localization, CalendarDate today, const ImageFilePaths& files,
                          WindowOps& window) {
    const EepromImage image = buildEepromImage(document, localizations, localization, today);
    const SaveResult result{writeEepFileTo(image, files.eep), writeBinFileTo(image, files.bin)};
    if (!result.eepWritten) {
        reportNotSaved(window, files.eep);
    }
    if (!result.binWritten) {
        reportNotSaved(window, files.bin);
    }
    return result;
}

}  // namespace facetor
