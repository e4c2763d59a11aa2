// Opening and saving the image files of the selected Localization, with the radio buttons and
// message boxes of the window.
#pragma once

#include <filesystem>

#include "editor/image/eeprom_image.h"
#include "editor/model/localization.h"
#include "editor/model/skin_document.h"
#include "editor/ui/window_ops.h"

namespace facetor {

// The Localization whose radio button (3010..3012) is on; "ru" if the window shows none.
int selectedLocalization(const WindowOps& window);
// Switches one radio button on and the two others off.
void selectLocalization(WindowOps& window, int localizationNumber);

// Reads the .eep file of the selected Localization into the document; a missing or damaged file
// is reported by a message box and leaves the document as it was.
void openImageFile(SkinDocument& document, const Localizations& localizations, WindowOps& window,
                   const std::filesystem::path& folder);

// Writes the .eep file of the selected Localization, then the .bin file; each file that could not
// be written gets its own message box, the .eep one first. A good save shows nothing.
void saveImageFiles(const SkinDocument& document, const Localizations& localizations,
                    CalendarDate today, WindowOps& window, const std::filesystem::path& folder);

}  // namespace facetor
