// Where the main window first appears.
#pragma once

#include <windows.h>

namespace facetor::win32 {

// The top-left corner for a window of that outer size: centred on the work area of the primary
// monitor (the screen less the task bar); along a side where the window is larger than that area,
// against its top or left edge, so that the caption and the menu stay on the screen.
POINT startPosition(int width, int height);

}  // namespace facetor::win32
