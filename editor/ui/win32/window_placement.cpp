#include "editor/ui/win32/window_placement.h"

namespace facetor::win32 {
namespace {

int along(int size, LONG areaStart, LONG areaEnd) {
    const int length = static_cast<int>(areaEnd - areaStart);
    return static_cast<int>(areaStart) + (size <= length ? (length - size) / 2 : 0);
}

}  // namespace

POINT startPosition(int width, int height) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        area = monitor.rcWork;
    }
    return {along(width, area.left, area.right), along(height, area.top, area.bottom)};
}

}  // namespace facetor::win32
