#include "editor/ui/win32/menu_bar.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "editor/clock/clock_messages.h"
#include "editor/ui/access_keys.h"
#include "editor/ui/clock_commands.h"
#include "editor/ui/control_ids.h"
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
    std::vector<ShortcutSpec> all = shortcuts();
    for (const ShortcutSpec& s : clockShortcuts()) {
        all.push_back(s);
    }
    for (const ShortcutSpec& s : all) {
        const BYTE modifiers = (s.control ? FCONTROL : 0) | (s.shift ? FSHIFT : 0);
        table.push_back(
            {static_cast<BYTE>(FVIRTKEY | modifiers), s.virtualKey, static_cast<WORD>(s.eventId)});
    }
    return CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

}  // namespace

MenuBar::MenuBar() {
    openPicture_ = pictureFromPixels(kOpenPicturePixels);
    savePicture_ = pictureFromPixels(kSavePicturePixels);
    undoPicture_ = pictureFromPixels(kUndoPicturePixels);
    redoPicture_ = pictureFromPixels(kRedoPicturePixels);
    shortcuts_ = createShortcuts();

    menu_ = CreateMenu();
    AppendMenuW(menu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup(fileMenu())),
                toWide(kFileMenuCaption).c_str());
    AppendMenuW(menu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup(editMenu())),
                toWide(kEditMenuCaption).c_str());
    AppendMenuW(menu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup(clockMenu())),
                toWide(clock::kClockMenuCaption).c_str());
    // Where the work belongs, named in grey at the right end: the window has no other room, and
    // its title stays "Facetor". The controller writes the name; a greyed item does nothing.
    std::wstring placeholder = L" ";
    MENUITEMINFOW label{};
    label.cbSize = sizeof(label);
    label.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_STATE;
    label.fType = MFT_STRING | MFT_RIGHTJUSTIFY;
    label.fState = MFS_GRAYED;
    label.wID = ids::kSaveTargetLabel;
    label.dwTypeData = placeholder.data();
    InsertMenuItemW(menu_, GetMenuItemCount(menu_), TRUE, &label);
}

std::optional<int> MenuBar::itemOfAccessKey(HMENU menu, wchar_t typed) {
    std::vector<std::string> captions;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t caption[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), caption, 256, MF_BYPOSITION);
        captions.push_back(fromWide(caption));
    }
    return facetor::itemOfAccessKey(captions, typed);
}

HMENU MenuBar::popup(const std::vector<MenuItemSpec>& items) {
    HMENU menu = CreatePopupMenu();
    for (const MenuItemSpec& item : items) {
        if (item.id == 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::wstring caption = toWide(item.caption);
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
        info.fType = MFT_STRING;
        info.wID = static_cast<UINT>(item.id);
        info.dwTypeData = caption.data();
        if (HBITMAP bitmap = picture(item.picture)) {
            info.fMask |= MIIM_BITMAP;
            info.hbmpItem = bitmap;
        }
        InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
    }
    return menu;
}

HBITMAP MenuBar::picture(int pictureId) const {
    switch (pictureId) {
        case kOpenPicture:
            return openPicture_;
        case kSavePicture:
            return savePicture_;
        case kUndoPicture:
            return undoPicture_;
        case kRedoPicture:
            return redoPicture_;
        default:
            return nullptr;
    }
}

MenuBar::~MenuBar() {
    if (shortcuts_) {
        DestroyAcceleratorTable(shortcuts_);
    }
    // The menu itself goes with the window; the pictures must outlive it.
    for (HBITMAP bitmap : {openPicture_, savePicture_, undoPicture_, redoPicture_}) {
        if (bitmap) {
            DeleteObject(bitmap);
        }
    }
}

}  // namespace facetor::win32
