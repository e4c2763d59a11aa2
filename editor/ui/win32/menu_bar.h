// The menus "Файл" and "Правка" with their pictures, and the window-wide keyboard shortcuts.
#pragma once

#include <windows.h>

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
