// The menu "Файл" with its two pictures, and the window-wide keyboard shortcuts.
#pragma once

#include <windows.h>

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
    HBITMAP openPicture_ = nullptr;
    HBITMAP savePicture_ = nullptr;
    HACCEL shortcuts_ = nullptr;
    HMENU menu_ = nullptr;
};

}  // namespace facetor::win32
