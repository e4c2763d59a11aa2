#include "editor/ui/window_scale.h"

#include <gtest/gtest.h>

#include <tuple>

#include "editor/ui/control_ids.h"
#include "editor/ui/window_layout.h"

namespace facetor {
namespace {

auto fields(const WindowScale& s) {
    return std::tuple(s.dpi, s.x, s.y, s.width, s.height);
}

// The system's frame (borders, caption, menu bar) grows with the display's DPI, not with the
// window's scale.
constexpr WindowFrame kFrame96{6, 30, 20}, kFrame120{8, 38, 25}, kFrame144{9, 45, 30},
    kFrame192{12, 60, 40};
constexpr WorkArea kFullHd{0, 0, 1920, 1040}, kLaptop{0, 0, 1366, 728}, kSxga{0, 0, 1280, 984};

TEST(WindowScaleTest, WindowTakesTheDisplayScaleOrShrinksToFitTheWorkArea) {
    struct Case {
        int displayDpi;
        WorkArea area;
        WindowFrame frame;
        WindowScale expected;
    };
    const Case cases[] = {
        {96, kFullHd, kFrame96, {96, 572, 140, 776, 760}},  // as the layout is, centred
        {96, kSxga, kFrame96, {96, 252, 112, 776, 760}},
        {96, kLaptop, kFrame96, {91, 315, 2, 736, 723}},  // too low a screen even at 100 %
        {120, kFullHd, kFrame120, {120, 474, 44, 971, 951}},
        {120, kLaptop, kFrame120, {89, 322, 3, 722, 721}},
        {144, kFullHd, kFrame144, {130, 434, 2, 1052, 1036}},  // 150 % on 1080p: 135 %
        {144, kSxga, kFrame144, {122, 146, 3, 988, 977}},
        {192, kFullHd, kFrame192, {127, 444, 0, 1031, 1039}},
        {192, kLaptop, kFrame192, {84, 340, 3, 686, 721}},
        // A work area that does not start at the screen's corner (a second monitor on the
        // right, the task bar at the top).
        {144, {1920, 40, 3840, 1080}, kFrame144, {130, 2354, 42, 1052, 1036}},
        // Too low even at half the size: against the top edge, centred across.
        {96, {0, 0, 640, 400}, kFrame96, {kSmallestDpi, 124, 0, 391, 405}},
    };
    for (const Case& c : cases) {
        const WindowScale got =
            fitWindow(c.displayDpi, c.area, kClientWidth, kClientHeight, c.frame);
        EXPECT_EQ(fields(got), fields(c.expected)) << c.displayDpi << " " << c.area.right;
        // The layout below the menu bar fits the client area that is left; the capture box
        // stays out of sight.
        const int clientWidth = got.width - c.frame.width;
        const int clientHeight = got.height - c.frame.height - c.frame.menuHeight;
        for (const ControlSpec& control : windowLayout(Localizations::initial())) {
            const int right = got.scaled(control.rect.x) + got.scaled(control.rect.width);
            const int bottom = got.scaled(control.rect.y) + got.scaled(control.rect.height);
            if (control.id == ids::kCaptureBox) {
                EXPECT_GE(got.scaled(control.rect.x), clientWidth);
                EXPECT_GE(got.scaled(control.rect.width), 1);
            } else {
                EXPECT_LE(right, clientWidth) << control.id << " at " << got.dpi;
                EXPECT_LE(bottom, clientHeight) << control.id << " at " << got.dpi;
            }
        }
    }
}

// A shrunk window widens its check boxes by what the system's mark outgrows its scale.
TEST(WindowScaleTest, CheckBoxesKeepRoomForTheSystemsMark) {
    EXPECT_EQ((WindowScale{129, 0, 0, 0, 0}.markSurplus(144)), 3);  // 20 - 17
    EXPECT_EQ((WindowScale{144, 0, 0, 0, 0}.markSurplus(144)), 0);
    EXPECT_EQ((WindowScale{96, 0, 0, 0, 0}.markSurplus(96)), 0);
}

}  // namespace
}  // namespace facetor
