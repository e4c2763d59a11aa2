// Saving the image files, with the radio buttons and message boxes of the window.
#pragma once

#include <filesystem>

#include "editor/image/eeprom_image.h"
#include "editor/model/localization.h"
#include "editor/model/skin_document.h"
#include "editor/ui/save_target.h"
#include "editor/ui/window_ops.h"

namespace facetor {

// The Localization whose radio button (3010..3012) is on; "ru" if the window shows none.
int selectedLocalization(const WindowOps& window);
// Switches one radio button on and the two others off.
void selectLocalization(WindowOps& window, int localizationNumber);

struct SaveResult {
    bool eepWritten;
    bool binWritten;
    bool complete() const { return eepWritten && binWritten; }
};

// Writes the image of `localization` as the .eep file, then as the .bin file; each file that
// could not be written gets its own message box, the .eep one first. A good save shows nothing.
SaveResult saveImageFiles(const SkinDocument& document, const Localizations& localizations,
                          int localization, CalendarDate today, const ImageFilePaths& files,
                          WindowOps& window);

}  // namespace facetor
