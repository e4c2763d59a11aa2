// Facetor's folder of the user's own: %LOCALAPPDATA%\Facetor (backups of the clock's EEPROM in
// Backups, recovery copies of unsaved work in Recovery).
#pragma once

#include <filesystem>

namespace facetor::win32 {

// Empty when Windows names no local application data folder.
std::filesystem::path facetorUserDataFolder();

}  // namespace facetor::win32
