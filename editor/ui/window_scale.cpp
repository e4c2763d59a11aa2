#include "editor/ui/window_scale.h"

#include <algorithm>
#include <cstdint>

namespace facetor {
namespace {

constexpr int kLayoutDpi = 96;

// numerator / denominator rounded to the nearest, halves away from zero (as MulDiv does).
int roundedQuotient(std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t half = denominator / 2;
    return static_cast<int>(numerator >= 0 ? (numerator + half) / denominator
                                           : -((-numerator + half) / denominator));
}

int centred(int size, int areaStart, int areaEnd) {
    const int length = areaEnd - areaStart;
    return areaStart + (size <= length ? (length - size) / 2 : 0);
}

}  // namespace

int WindowScale::scaled(int layoutPixels) const {
    return roundedQuotient(std::int64_t{layoutPixels} * dpi, kLayoutDpi);
}

int WindowScale::markSurplus(int displayDpi) const {
    constexpr int kMark = 13;
    return std::max(0,
                    roundedQuotient(std::int64_t{kMark} * displayDpi, kLayoutDpi) - scaled(kMark));
}

WindowScale fitWindow(int displayDpi, WorkArea area, int clientWidth, int clientHeight,
                      WindowFrame frame) {
    // The menu bar keeps the system's height, so only the rest of the client height scales: at
    // the display's DPI the client area is as high as the layout's scaled, and at 96 DPI exactly
    // as high as the layout.
    const std::int64_t bodyAtDisplayDpi =
        std::int64_t{clientHeight} * displayDpi - std::int64_t{frame.menuHeight} * kLayoutDpi;
    auto sizeAt = [&](int dpi) {
        WindowScale scale{dpi, 0, 0, 0, 0};
        scale.width = frame.width + scale.scaled(clientWidth);
        scale.height =
            frame.height + frame.menuHeight +
            roundedQuotient(bodyAtDisplayDpi * dpi, std::int64_t{kLayoutDpi} * displayDpi);
        return scale;
    };
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;
    WindowScale scale = sizeAt(displayDpi);
    while (scale.dpi > kSmallestDpi && (scale.width > areaWidth || scale.height > areaHeight)) {
        scale = sizeAt(scale.dpi - 1);
    }
    scale.x = centred(scale.width, area.left, area.right);
    scale.y = centred(scale.height, area.top, area.bottom);
    return scale;
}

}  // namespace facetor
