#include "editor/model/skin_document.h"

namespace facetor {

namespace {

constexpr int kVisualRows = 8;
constexpr int kVisualColumns = 32;

// Where a cell sits in the window's 8 x 32 grid: Skins 1 and 3 on the left, 2 and 4 on the
// right, screen #1 above screen #2 of each Skin.
struct VisualPosition {
    int row;
    int column;
};

VisualPosition visualOf(CellId id) {
    const int screen = screenOf(id);
    const int skin = screen / 2;
    const int number = screen % 2;
    return {4 * (skin / 2) + 2 * number + rowOf(id), 16 * (skin % 2) + columnOf(id)};
}

CellId cellIdOfVisual(VisualPosition position) {
    const int skin = 2 * (position.row / 4) + position.column / kColumnCount;
    const int number = (position.row % 4) / 2;
    return cellIdOf(2 * skin + number, position.row % 2, position.column % kColumnCount);
}

int wrap(int value, int modulus) {
    return ((value % modulus) + modulus) % modulus;
}

}  // namespace

SkinDocument::SkinDocument() {
    setCursor(kFirstCell);
}

bool SkinDocument::sameContent(const SkinDocument& other) const {
    return cells_ == other.cells_ && columns_ == other.columns_ && rows_ == other.rows_ &&
           temperature1Style_ == other.temperature1Style_ &&
           temperature2Style_ == other.temperature2Style_ && weekdayStyle_ == other.weekdayStyle_;
}

std::uint8_t SkinDocument::cell(CellId id) const {
    return id < cells_.size() ? cells_[id] : 0;
}

void SkinDocument::setCell(CellId id, std::uint8_t code) {
    if (id < cells_.size()) {
        cells_[id] = code;
    }
}

FieldPlacement SkinDocument::placement(FieldKind kind, int screen) const {
    const auto k = static_cast<std::size_t>(kind);
    if (k >= columns_.size() || screen < 0 || screen >= static_cast<int>(columns_[k].size())) {
        return {};
    }
    return {columns_[k][screen], rows_[k][screen]};
}

void SkinDocument::setPlacement(FieldKind kind, int screen, FieldPlacement placement) {
    const auto k = static_cast<std::size_t>(kind);
    if (k >= columns_.size() || screen < 0 || screen >= static_cast<int>(columns_[k].size())) {
        return;
    }
    columns_[k][screen] = placement.column;
    rows_[k][screen] = placement.row;
}

std::uint8_t SkinDocument::style(FieldKind kind, int screen) const {
    if (screen < 0 || screen >= static_cast<int>(weekdayStyle_.size())) {
        return 0;
    }
    switch (kind) {
        case FieldKind::Weekday:
            return weekdayStyle_[screen];
        case FieldKind::Temperature1:
            return temperature1Style_[screen];
        case FieldKind::Temperature2:
            return temperature2Style_[screen];
        default:
            return 0;
    }
}

void SkinDocument::setStyle(FieldKind kind, int screen, std::uint8_t value) {
    if (screen < 0 || screen >= static_cast<int>(weekdayStyle_.size())) {
        return;
    }
    switch (kind) {
        case FieldKind::Weekday:
            weekdayStyle_[screen] = value;
            break;
        case FieldKind::Temperature1:
            temperature1Style_[screen] = value;
            break;
        case FieldKind::Temperature2:
            temperature2Style_[screen] = value;
            break;
        default:
            break;
    }
}

int SkinDocument::fieldWidth(FieldKind kind, int screen) const {
    switch (kind) {
        case FieldKind::Weekday:
            switch (style(kind, screen)) {
                case static_cast<std::uint8_t>(WeekdayStyle::Short):
                    return 2;
                case static_cast<std::uint8_t>(WeekdayStyle::Full):
                    return 9;
                default:
                    return 0;
            }
        case FieldKind::Temperature1:
        case FieldKind::Temperature2:
            switch (style(kind, screen)) {
                case static_cast<std::uint8_t>(TemperatureStyle::Plain):
                    return 3;
                case static_cast<std::uint8_t>(TemperatureStyle::Tenths):
                case static_cast<std::uint8_t>(TemperatureStyle::DegreeC):
                    return 5;
                case static_cast<std::uint8_t>(TemperatureStyle::Degree):
                    return 4;
                default:
                    return 0;
            }
        default:
            return 2;
    }
}

bool SkinDocument::isCellFree(CellId id) const {
    if (!isCellId(id)) {
        return false;
    }
    if (cells_[id] != kBlank) {
        return false;
    }
    const int screen = screenOf(id);
    const int row = rowOf(id);
    const int column = columnOf(id);
    for (int k = 0; k < kFieldKindCount; ++k) {
        const auto kind = static_cast<FieldKind>(k);
        const FieldPlacement where = placement(kind, screen);
        if (where.present() && where.row == row && where.column <= column &&
            column <= where.column + fieldWidth(kind, screen) - 1) {
            return false;
        }
    }
    return true;
}

bool SkinDocument::canPlace(int width) const {
    if (cursorColumn_ + width > kColumnCount) {
        return false;
    }
    for (int i = 0; i < width; ++i) {
        if (!isCellFree(static_cast<CellId>(cursor_ + i))) {
            return false;
        }
    }
    return true;
}

void SkinDocument::eraseAtCursor() {
    cells_[cursor_] = kBlank;
    for (int k = 0; k < kFieldKindCount; ++k) {
        const auto kind = static_cast<FieldKind>(k);
        const FieldPlacement where = placement(kind, cursorScreen_);
        if (where.present() && where.row == cursorRow_ && where.column <= cursorColumn_ &&
            cursorColumn_ <= where.column + fieldWidth(kind, cursorScreen_) - 1) {
            setPlacement(kind, cursorScreen_, FieldPlacement{});
        }
    }
}

void SkinDocument::putCharacter(std::uint8_t code) {
    eraseAtCursor();
    cells_[cursor_] = code;
    advanceCursor(1);
}

void SkinDocument::placeField(FieldKind kind, std::uint8_t style) {
    // The style goes first so that erasing measures an existing Field of this kind with the new
    // width.
    setStyle(kind, cursorScreen_, style);
    eraseAtCursor();
    setPlacement(kind, cursorScreen_, FieldPlacement{cursorColumn_, cursorRow_});
    advanceCursor(fieldWidth(kind, cursorScreen_));
}

void SkinDocument::advanceCursor(int n) {
    const int next = cursor_ + n;
    // The overshoot is not carried over: past the last cell the cursor starts again at the first.
    setCursor(isCellId(next) ? static_cast<CellId>(next) : kFirstCell);
}

void SkinDocument::stepBack() {
    setCursor(cursor_ > kFirstCell ? static_cast<CellId>(cursor_ - 1) : kFirstCell);
    eraseAtCursor();
}

void SkinDocument::setCursor(CellId id) {
    if (!isCellId(id)) {
        return;  // the cursor never leaves the cells
    }
    cursor_ = id;
    cursorScreen_ = static_cast<std::uint8_t>(screenOf(id));
    cursorRow_ = static_cast<std::uint8_t>(rowOf(id));
    cursorColumn_ = static_cast<std::uint8_t>(columnOf(id));
}

void SkinDocument::moveLeft() {
    VisualPosition at = visualOf(cursor_);
    at.column = wrap(at.column - 1, kVisualColumns);
    setCursor(cellIdOfVisual(at));
}

void SkinDocument::moveRight() {
    VisualPosition at = visualOf(cursor_);
    at.column = wrap(at.column + 1, kVisualColumns);
    setCursor(cellIdOfVisual(at));
}

void SkinDocument::moveUp() {
    VisualPosition at = visualOf(cursor_);
    at.row = wrap(at.row - 1, kVisualRows);
    setCursor(cellIdOfVisual(at));
}

void SkinDocument::moveDown() {
    VisualPosition at = visualOf(cursor_);
    at.row = wrap(at.row + 1, kVisualRows);
    setCursor(cellIdOfVisual(at));
}

void SkinDocument::cursorHome() {
    setCursor(kFirstCell);
}

void SkinDocument::cursorEnd() {
    setCursor(kLastCell);
}

void SkinDocument::clearScreen() {
    const int screen = cursorScreen_;
    for (int k = 0; k < kFieldKindCount; ++k) {
        setPlacement(static_cast<FieldKind>(k), screen, FieldPlacement{});
    }
    for (int i = 0; i < kCellsPerScreen; ++i) {
        cells_[cellIdOf(screen, 0, 0) + i] = kBlank;
    }
    setCursor(cellIdOf(screen, 0, 0));
}

void SkinDocument::clearAll() {
    for (int screen = 0; screen < kScreenCount; ++screen) {
        for (int k = 0; k < kFieldKindCount; ++k) {
            setPlacement(static_cast<FieldKind>(k), screen, FieldPlacement{});
        }
    }
    for (int id = kFirstCell; id <= kLastCell; ++id) {
        cells_[id] = kBlank;
    }
    setCursor(kFirstCell);
}

}  // namespace facetor
