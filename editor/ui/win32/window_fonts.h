// The window's fonts, created once at start-up by face, point size and weight.
#pragma once

#include <windows.h>

#include <array>

#include "editor/ui/window_layout.h"

namespace facetor::win32 {

class WindowFonts {
  public:
    WindowFonts();
    ~WindowFonts();
    WindowFonts(const WindowFonts&) = delete;
    WindowFonts& operator=(const WindowFonts&) = delete;

    HFONT font(FontRole role) const { return fonts_[static_cast<int>(role)]; }

  private:
    std::array<HFONT, 5> fonts_{};
};

}  // namespace facetor::win32
