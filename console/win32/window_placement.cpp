#include "console/win32/window_placement.h"

namespace portwand::win32 {

int displayDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

WindowScale placeWindow(int clientWidth, int clientHeight, DWORD style) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor))
        area = monitor.rcWork;
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    return fitWindow(displayDpi(), {area.left, area.top, area.right, area.bottom}, clientWidth,
                     clientHeight, {frame.right - frame.left, frame.bottom - frame.top});
}

}  // namespace portwand::win32
