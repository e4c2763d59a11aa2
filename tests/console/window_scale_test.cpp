#include "console/window_scale.h"

#include <gtest/gtest.h>

#include <tuple>

#include "console/console_layout.h"

namespace portwand {
namespace {

auto fields(const WindowScale& s) {
    return std::tuple(s.dpi, s.x, s.y, s.width, s.height);
}

// The system's frame (borders and caption) grows with the display's DPI, not with the window's
// scale.
constexpr WindowFrame kFrame96{6, 30}, kFrame120{8, 38}, kFrame144{9, 45}, kFrame192{12, 60};
constexpr WorkArea kFullHd{0, 0, 1920, 1040}, kLaptop{0, 0, 1366, 728}, kSxga{0, 0, 1280, 984};

TEST(WindowScaleTest, WindowTakesTheDisplayScaleOrShrinksToFitTheWorkArea) {
    struct Case {
        int displayDpi;
        WorkArea area;
        WindowFrame frame;
        WindowScale expected;
    };
    const Case cases[] = {
        {96, kFullHd, kFrame96, {96, 834, 280, 251, 480}},  // as the layout is, centred
        {120, kFullHd, kFrame120, {120, 803, 219, 314, 601}},
        {144, kLaptop, kFrame144, {144, 494, 4, 377, 720}},
        {192, kSxga, kFrame192, {192, 389, 12, 502, 960}},
        {192, kLaptop, kFrame192, {142, 496, 1, 374, 726}},  // 200 % is too high: 148 %
        {96, {0, 0, 640, 400}, kFrame96, {79, 216, 0, 208, 400}},
        // A work area that does not start at the screen's corner (a second monitor on the
        // right, the task bar at the top).
        {192, {1920, 40, 3840, 1080}, kFrame192, {192, 2629, 80, 502, 960}},
        // Too low even at half the size: against the top edge, centred across.
        {96, {0, 0, 200, 240}, kFrame96, {kSmallestDpi, 35, 0, 129, 255}},
    };
    for (const Case& c : cases) {
        WindowScale got = fitWindow(c.displayDpi, c.area, kConsoleWindow.clientWidth,
                                    kConsoleWindow.clientHeight, c.frame);
        EXPECT_EQ(fields(got), fields(c.expected)) << c.displayDpi << " " << c.area.right;
    }
}

}  // namespace
}  // namespace portwand
