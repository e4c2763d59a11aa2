#include "editor/ui/win32/menu_bar.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "editor/ui/win32/menu_pictures_data.h"
#include "editor/ui/win32/wide_text.h"
#include "editor/ui/window_layout.h"

namespace facetor::win32 {
namespace {

// A 32-bit top-down DIB section with premultiplied alpha, as menus draw item bitmaps with
// their alpha channel.
HBITMAP pictureFromPixels(const std::array<std::uint32_t, 256>& argb) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kMenuPictureSize;
    info.bmiHeader.biHeight = -kMenuPictureSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        return bitmap;
    }
    auto* out = static_cast<std::uint32_t*>(bits);
    for (size_t i = 0; i < argb.size(); ++i) {
        const std::uint32_t alpha = argb[i] >> 24;
        auto premultiply = [alpha](std::uint32_t channel) { return channel * alpha / 255; };
        out[i] = alpha << 24 | premultiply((argb[i] >> 16) & 0xFF) << 16 |
                 premultiply((argb[i] >> 8) & 0xFF) << 8 | premultiply(argb[i] & 0xFF);
    }
    return bitmap;
}

HACCEL createShortcuts() {
    std::vector<ACCEL> table;
    for (const ShortcutSpec& s : shortcuts()) {
        table.push_back({FVIRTKEY, s.virtualKey, static_cast<WORD>(s.eventId)});
    }
    return CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

}  // namespace

MenuBar::MenuBar() {
    openPicture_ = pictureFromPixels(kOpenPicturePixels);
    savePicture_ = pictureFromPixels(kSavePicturePixels);
    shortcuts_ = createShortcuts();

    HMENU file = CreatePopupMenu();
    for (const MenuItemSpec& item : fileMenu()) {
        if (item.id == 0) {
            AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::wstring caption = toWide(item.caption);
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
        info.fType = MFT_STRING;
        info.wID = static_cast<UINT>(item.id);
        info.dwTypeData = caption.data();
        if (item.picture != kNoPicture) {
            info.fMask |= MIIM_BITMAP;
            info.hbmpItem = item.picture == kOpenPicture ? openPicture_ : savePicture_;
        }
        InsertMenuItemW(file, GetMenuItemCount(file), TRUE, &info);
    }
    menu_ = CreateMenu();
    AppendMenuW(menu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(file),
                toWide(kFileMenuCaption).c_str());
}

MenuBar::~MenuBar() {
    if (shortcuts_) {
        DestroyAcceleratorTable(shortcuts_);
    }
    // The menu itself goes with the window; the pictures must outlive it.
    if (openPicture_) {
        DeleteObject(openPicture_);
    }
    if (savePicture_) {
        DeleteObject(savePicture_);
    }
}

}  // namespace facetor::win32
