// Where and how large the main window first appears.
#pragma once

#include <windows.h>

#include "console/window_scale.h"

namespace portwand::win32 {

// The display's pixels per inch, as this DPI-aware program sees them (the system's DPI).
int displayDpi();

// The scale and outer rectangle of a window of that style whose client area measures
// clientWidth x clientHeight layout pixels: on the work area of the primary monitor, where it
// opens, at the display's DPI or less so that it fits.
WindowScale placeWindow(int clientWidth, int clientHeight, DWORD style);

}  // namespace portwand::win32
