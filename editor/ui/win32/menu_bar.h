// The menus "Файл" and "Правка" with their pictures, the grey name of where the work belongs at
// the right end of the menu bar, and the window-wide keyboard shortcuts.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "editor/ui/window_layout.h"

namespace facetor::win32 {

class MenuBar {
  public:
    MenuBar();
    ~MenuBar();
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    // Owned by the window once attached with SetMenu; destroyed with it.
    HMENU menu() const { return menu_; }
    HACCEL shortcuts() const { return shortcuts_; }

    // For WM_MENUCHAR: the item of `menu` (the menu bar or one of its menus) whose access key
    // the typed character stands for in any keyboard layout.
    static std::optional<int> itemOfAccessKey(HMENU menu, wchar_t typed);

  private:
    HMENU popup(const std::vector<MenuItemSpec>& items);
    HBITMAP picture(int pictureId) const;

    HBITMAP openPicture_ = nullptr;
    HBITMAP savePicture_ = nullptr;
    HBITMAP undoPicture_ = nullptr;
    HBITMAP redoPicture_ = nullptr;
    HACCEL shortcuts_ = nullptr;
    HMENU menu_ = nullptr;
};

}  // namespace facetor::win32
