// The live display of the grid: cell texts with the Field samples drawn over them, the clock on
// the palette buttons, and the cell colours.
#pragma once

#include <array>
#include <string>

#include "editor/model/cell_address.h"
#include "editor/model/localization.h"
#include "editor/model/skin_document.h"
#include "editor/ui/control_cache.h"
#include "editor/ui/window_ops.h"

namespace facetor {

// Texts of the cells 100..355 (index CellId - 100), in Windows-1251.
using CellTexts = std::array<std::string, kCellCount>;

// Shown for a code that the display has no glyph for: the middle dot (Windows-1251 0xB7), which no
// LCD code displays as, so the user sees that the cell is not empty.
inline constexpr const char* kNoGlyphText = "\xB7";

inline constexpr Rgb kEmptyCellColour{0, 204, 153};
inline constexpr Rgb kFilledCellColour{0, 204, 255};
inline constexpr Rgb kCursorCellColour{255, 204, 153};

// What every cell shows: its code's display text, then each placed Field's sample in draw order,
// running on in CellId order and cut off after cell 355.
CellTexts composeCellTexts(const SkinDocument& document, const WeekdayTables& names,
                           const LocalDateTime& now);

struct PaletteCaption {
    int buttonId;
    std::string utf8;
};
// The live captions of the buttons 2001..2007 and 2009.
std::array<PaletteCaption, 8> paletteCaptions(const LocalDateTime& now);

class GridDisplay {
  public:
    explicit GridDisplay(ControlCache& controls) : controls_(controls) {}

    // `names`: the weekday tables of the selected Localization.
    void refresh(const SkinDocument& document, const WeekdayTables& names,
                 const LocalDateTime& now);
    // Colours by the texts the last refresh set (all empty before the first one).
    void recolour(const SkinDocument& document);

    // As the last refresh left it (Windows-1251).
    const std::string& cellText(CellId id) const { return texts_[id - kFirstCell]; }

  private:
    ControlCache& controls_;
    CellTexts texts_{};
};

}  // namespace facetor
