// Reading Facetor.ini into the weekday tables of the Localizations.
#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

#include "editor/model/localization.h"

namespace facetor {

// Shows a modal message box with an OK button; title and text are UTF-8.
using MessageBoxFn = std::function<void(std::string_view title, std::string_view text)>;

inline constexpr std::string_view kSettingsFileName = "Facetor.ini";

// Reads "Facetor.ini" from `folder` (empty: the current directory) or, where it is not, from
// `fallbackFolder` (the program's own folder: a program started to open a file may work in
// another folder). A file in neither, or one over 1 MiB, shows the "Information" message and
// leaves every name at its default.
void loadSettings(Localizations& localizations, const std::filesystem::path& folder,
                  const MessageBoxFn& showMessage,
                  const std::filesystem::path& fallbackFolder = {});

// The same rules applied to the bytes of a settings file already read (or to no file at all).
void applySettingsText(Localizations& localizations, std::string_view fileBytes);
void applyDefaultSettings(Localizations& localizations);

}  // namespace facetor
