// The standard Windows dialogs for choosing an image file to open or to save.
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>

namespace facetor::win32 {

// Both leave the current directory as it was (the fixed-name files live there); std::nullopt
// when the user cancels.
std::optional<std::filesystem::path> askFileToOpen(HWND owner);
std::optional<std::filesystem::path> askFileToSave(HWND owner,
                                                   const std::filesystem::path& suggested);

}  // namespace facetor::win32
