#include "console/window_scale.h"

#include <cstdint>

namespace portwand {
namespace {

constexpr int kLayoutDpi = 96;

int centred(int size, int areaStart, int areaEnd) {
    int length = areaEnd - areaStart;
    return areaStart + (size <= length ? (length - size) / 2 : 0);
}

}  // namespace

int WindowScale::scaled(int layoutPixels) const {
    // Rounded half away from zero, as MulDiv does.
    std::int64_t product = std::int64_t{layoutPixels} * dpi;
    std::int64_t half = kLayoutDpi / 2;
    return int(product >= 0 ? (product + half) / kLayoutDpi : -((-product + half) / kLayoutDpi));
}

WindowScale fitWindow(int displayDpi, WorkArea area, int clientWidth, int clientHeight,
                      WindowFrame frame) {
    auto sizeAt = [&](int dpi) {
        WindowScale scale{dpi, 0, 0, 0, 0};
        scale.width = frame.width + scale.scaled(clientWidth);
        scale.height = frame.height + scale.scaled(clientHeight);
        return scale;
    };
    int areaWidth = area.right - area.left;
    int areaHeight = area.bottom - area.top;
    WindowScale scale = sizeAt(displayDpi);
    while (scale.dpi > kSmallestDpi && (scale.width > areaWidth || scale.height > areaHeight))
        scale = sizeAt(scale.dpi - 1);
    scale.x = centred(scale.width, area.left, area.right);
    scale.y = centred(scale.height, area.top, area.bottom);
    return scale;
}

}  // namespace portwand
