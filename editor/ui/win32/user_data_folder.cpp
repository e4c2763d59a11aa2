#include "editor/ui/win32/user_data_folder.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

namespace facetor::win32 {

std::filesystem::path facetorUserDataFolder() {
    PWSTR local = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &local))) {
        folder = std::filesystem::path(local) / L"Facetor";
    }
    CoTaskMemFree(local);
    return folder;
}

}  // namespace facetor::win32
