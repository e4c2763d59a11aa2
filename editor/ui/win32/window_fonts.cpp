#include "editor/ui/win32/window_fonts.h"

#include "editor/ui/win32/wide_text.h"
#include "editor/ui/win32/window_placement.h"

namespace facetor::win32 {
namespace {

HFONT stockGuiFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Every font shows Russian text; asking for the Cyrillic character set makes the font mapper
// pick a face that has it (a "Courier" without Cyrillic would show boxes on a system whose
// locale is not Russian).
HFONT createFont(const FontSpec& desc, int dpi) {
    const std::wstring face = toWide(desc.face);
    return CreateFontW(-MulDiv(desc.points, dpi, 72), 0, 0, 0, desc.bold ? FW_BOLD : FW_NORMAL,
                       FALSE, FALSE, FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       face.c_str());
}

// The system's default GUI font at the window's scale: at 96 DPI the stock font itself.
HFONT createGuiFont(const FontSpec& desc, int dpi) {
    if (dpi == 96 && displayDpi() == 96) {
        return stockGuiFont();
    }
    LOGFONTW font{};
    GetObjectW(stockGuiFont(), sizeof(font), &font);
    font.lfHeight = -MulDiv(desc.points, dpi, 72);
    font.lfWidth = 0;
    return CreateFontIndirectW(&font);
}

}  // namespace

void WindowFonts::create(int dpi) {
    for (int i = 0; i < static_cast<int>(fonts_.size()); ++i) {
        const auto role = static_cast<FontRole>(i);
        fonts_[i] = role == FontRole::DefaultGui ? createGuiFont(fontSpec(role), dpi)
                                                 : createFont(fontSpec(role), dpi);
    }
}

WindowFonts::~WindowFonts() {
    for (HFONT font : fonts_) {
        if (font && font != stockGuiFont()) {
            DeleteObject(font);
        }
    }
}

}  // namespace facetor::win32
