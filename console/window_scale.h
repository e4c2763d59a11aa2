// How large the console window is drawn on the display it opens on. The layout's pixels are meant
// for 96 dots per inch; the display's DPI enlarges them, and a work area too small for that
// shrinks them again, so that the whole window (frame and caption included) lies on it.
#pragma once

namespace portwand {

// The part of the monitor that windows may cover (the screen less the task bar), in pixels.
struct WorkArea {
    int left, top, right, bottom;
};

// What the system puts around the client area, in pixels at the display's DPI. It keeps its
// size whatever scale the window's contents take.
struct WindowFrame {
    int width;   // the side borders
    int height;  // the caption with the top and bottom borders
};

struct WindowScale {
    int dpi;                  // a layout pixel becomes dpi / 96 pixels
    int x, y, width, height;  // the window's outer rectangle on the screen

    // A position or length of the layout in the window's pixels, rounded to the nearest.
    int scaled(int layoutPixels) const;
};

// The smallest scale a window is shrunk to: half the layout's size, where text is still legible.
inline constexpr int kSmallestDpi = 48;

// A window whose client area measures clientWidth x clientHeight layout pixels: the largest scale
// up to the display's DPI at which the window fits the work area, the window centred on it. Along
// a side where it does not fit even at the smallest scale, it stands against the area's top or
// left edge, so that the caption stays on the screen.
WindowScale fitWindow(int displayDpi, WorkArea area, int clientWidth, int clientHeight,
                      WindowFrame frame);

}  // namespace portwand
