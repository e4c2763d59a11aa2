// The user's own folder of Facetor: %LOCALAPPDATA%\Facetor\ (recovery copies in Recovery\,
// backups in Backups\).
#pragma once

#include <filesystem>

namespace facetor::win32 {

// Empty when Windows names no local application data folder for the user.
std::filesystem::path facetorUserDataFolder();

}  // namespace facetor::win32
