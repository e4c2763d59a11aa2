#include "editor/ui/win32/file_dialogs.h"

#include <commdlg.h>

#include <string>
#include <system_error>

namespace facetor::win32 {
namespace {

// Each filter a description and a pattern, each ended by a NUL, then a NUL. Opening also offers
// every file: a dump read back from the clock may have any name.
const wchar_t kSaveFilter[] = L"Образ EEPROM (*.eep)\0*.eep\0";
const wchar_t kOpenFilter[] = L"Образ EEPROM (*.eep)\0*.eep\0Все файлы (*.*)\0*.*\0";
constexpr DWORD kPathBufferSize = 32768;

struct Dialog {
    OPENFILENAMEW info{};
    std::wstring file = std::wstring(kPathBufferSize, L'\0');
    std::wstring folder;

    Dialog(HWND owner, const std::filesystem::path& suggested, const wchar_t* filter) {
        std::error_code error;
        const std::filesystem::path where = suggested.has_parent_path()
                                                ? suggested.parent_path()
                                                : std::filesystem::current_path(error);
        folder = where.wstring();
        const std::wstring name = suggested.filename().wstring();
        file.replace(0, name.size(), name);
        info.lStructSize = sizeof(info);
        info.hwndOwner = owner;
        info.lpstrFilter = filter;
        info.nFilterIndex = 1;
        info.lpstrFile = file.data();
        info.nMaxFile = kPathBufferSize;
        info.lpstrInitialDir = folder.c_str();
        info.lpstrDefExt = L"eep";
        info.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    }

    std::filesystem::path chosen() const { return std::filesystem::path(file.c_str()); }
};

}  // namespace

std::optional<std::filesystem::path> askFileToOpen(HWND owner) {
    Dialog dialog(owner, {}, kOpenFilter);
    dialog.info.Flags |= OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameW(&dialog.info)) {
        return std::nullopt;
    }
    return dialog.chosen();
}

std::optional<std::filesystem::path> askFileToSave(HWND owner,
                                                   const std::filesystem::path& suggested) {
    // No OFN_OVERWRITEPROMPT: the editor asks itself, naming the .bin beside the name too.
    Dialog dialog(owner, suggested, kSaveFilter);
    if (!GetSaveFileNameW(&dialog.info)) {
        return std::nullopt;
    }
    return dialog.chosen();
}

}  // namespace facetor::win32
