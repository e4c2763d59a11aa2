#include "editor/ui/win32/user_data_folder.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

namespace facetor::win32 {

std::filesystem::path facetorUserDataFolder() {
    PWSTR folder = nullptr;
    std::filesystem::path result;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &folder))) {
        result = std::filesystem::path(folder) / L"Facetor";
    }
    CoTaskMemFree(folder);
    return result;
}

}  // namespace facetor::win32
