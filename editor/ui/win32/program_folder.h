// The folder Facetor.exe was started from: where Facetor.ini is looked for when the current
// folder has none, and the first place avrdude.exe is looked for.
#pragma once

#include <filesystem>

namespace facetor::win32 {

std::filesystem::path programFolder();

}  // namespace facetor::win32
