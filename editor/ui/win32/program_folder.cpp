#include "editor/ui/win32/program_folder.h"

#include <windows.h>

#include <string>

namespace facetor::win32 {

std::filesystem::path programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
           path.size()) {
        path.resize(path.size() * 2);
    }
    path.resize(length);
    return std::filesystem::path(path).parent_path();
}

}  // namespace facetor::win32
