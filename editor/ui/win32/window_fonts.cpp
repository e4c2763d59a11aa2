#include "editor/ui/win32/window_fonts.h"

#include "editor/ui/win32/wide_text.h"

namespace facetor::win32 {
namespace {

// Every font shows Russian text; asking for the Cyrillic character set makes the font mapper
// pick a face that has it (a "Courier" without Cyrillic would show boxes on a system whose
// locale is not Russian).
HFONT createFont(const FontSpec& desc, int pixelsPerInch) {
    const std::wstring face = toWide(desc.face);
    return CreateFontW(-MulDiv(desc.points, pixelsPerInch, 72), 0, 0, 0,
                       desc.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

}  // namespace

WindowFonts::WindowFonts() {
    HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (int i = 0; i < static_cast<int>(fonts_.size()); ++i) {
        const auto role = static_cast<FontRole>(i);
        fonts_[i] = role == FontRole::DefaultGui
                        ? static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))
                        : createFont(fontSpec(role), pixelsPerInch);
    }
}

WindowFonts::~WindowFonts() {
    for (int i = 0; i < static_cast<int>(fonts_.size()); ++i) {
        if (static_cast<FontRole>(i) != FontRole::DefaultGui && fonts_[i]) {
            DeleteObject(fonts_[i]);
        }
    }
}

}  // namespace facetor::win32
