#include "editor/ui/field_buttons.h"

namespace facetor {

std::optional<FieldButton> fieldButton(int id) {
    for (const FieldButton& button : kFieldButtons) {
        if (button.id == id) {
            return button;
        }
    }
    return std::nullopt;
}

bool fieldFits(const GridDisplay& grid, CellId cursor, int width) {
    if (columnOf(cursor) + width > kColumnCount) {
        return false;
    }
    for (int i = 0; i < width; ++i) {
        if (!grid.cellText(static_cast<CellId>(cursor + i)).empty()) {
            return false;
        }
    }
    return true;
}

void updateFieldButtons(ControlCache& controls, const GridDisplay& grid, CellId cursor) {
    for (const FieldButton& button : kFieldButtons) {
        controls.setEnabled(button.id, fieldFits(grid, cursor, button.width));
    }
}

}  // namespace facetor
