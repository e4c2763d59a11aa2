// Creates the window's controls from the layout table at the window's scale, with their fonts and
// tool tips.
#pragma once

#include <windows.h>

#include <string>

#include "editor/ui/window_layout.h"
#include "editor/ui/window_scale.h"

namespace facetor::win32 {

HWND createControl(HWND parent, HINSTANCE instance, const ControlSpec& desc, HFONT font,
                   const WindowScale& scale);

// One tool tip control for the whole window; each tool is a control window it subclasses.
class ToolTips {
  public:
    ToolTips(HWND parent, HINSTANCE instance, const WindowScale& scale);
    void add(HWND control, const std::wstring& text);

  private:
    HWND parent_;
    HWND tips_;
};

}  // namespace facetor::win32
