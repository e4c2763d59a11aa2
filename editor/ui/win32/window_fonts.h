// The window's fonts, created once at start-up by face, point size and weight for the window's
// scale.
#pragma once

#include <windows.h>

#include <array>

#include "editor/ui/window_layout.h"

namespace facetor::win32 {

class WindowFonts {
  public:
    WindowFonts() = default;
    ~WindowFonts();
    WindowFonts(const WindowFonts&) = delete;
    WindowFonts& operator=(const WindowFonts&) = delete;

    // Every font for a window whose layout pixels are drawn at `dpi` pixels per inch.
    void create(int dpi);
    HFONT font(FontRole role) const { return fonts_[static_cast<int>(role)]; }

  private:
    std::array<HFONT, 5> fonts_{};
};

}  // namespace facetor::win32
