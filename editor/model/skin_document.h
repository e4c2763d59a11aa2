// The skin document: the cells of the eight Screens, the Field placements and styles, the cursor.
#pragma once

#include <array>
#include <cstdint>

#include "editor/model/cell_address.h"

namespace facetor {

class SkinDocument {
  public:
    static constexpr std::uint8_t kBlank = 0x20;

    // As at program start: every table zero-filled, cursor 100. Start-up then calls clearAll().
    SkinDocument();

    // Raw access, used by the display, the image builder and the image reader.
    std::uint8_t cell(CellId id) const;
    void setCell(CellId id, std::uint8_t code);
    FieldPlacement placement(FieldKind kind, int screen) const;
    void setPlacement(FieldKind kind, int screen, FieldPlacement placement);
    // Style byte of Weekday (WeekdayStyle), Temperature1 or Temperature2 (TemperatureStyle) on a
    // Screen; any other kind has no style and reads 0 (setting it does nothing).
    std::uint8_t style(FieldKind kind, int screen) const;
    void setStyle(FieldKind kind, int screen, std::uint8_t value);

    CellId cursor() const { return cursor_; }
    int cursorScreen() const { return cursorScreen_; }
    int cursorRow() const { return cursorRow_; }
    int cursorColumn() const { return cursorColumn_; }

    // Whether the two documents hold the same cells, placements and styles (the cursor aside).
    bool sameContent(const SkinDocument& other) const;

    // Queries.
    int fieldWidth(FieldKind kind, int screen) const;  // 0 for a style value without a width
    bool isCellFree(CellId id) const;
    bool canPlace(int width) const;  // at the cursor

    // Operations; none fails, all keep the cursor within 100..355.
    void eraseAtCursor();
    void putCharacter(std::uint8_t code);
    void placeField(FieldKind kind, std::uint8_t style = 0);
    void advanceCursor(int n);
    void stepBack();
    void setCursor(CellId id);
    void moveLeft();
    void moveRight();
    void moveUp();
    void moveDown();
    void cursorHome();
    void cursorEnd();
    void clearScreen();
    void clearAll();

  private:
    // Tables indexed as the device's EEPROM orders them: cells by CellId (0..356, 100..355 used),
    // placements and styles by Screen index (9 entries, entry 8 unused).
    std::array<std::uint8_t, 357> cells_{};
    std::array<std::array<std::uint8_t, 9>, kFieldKindCount> columns_{};
    std::array<std::array<std::uint8_t, 9>, kFieldKindCount> rows_{};
    std::array<std::uint8_t, 9> temperature1Style_{};
    std::array<std::uint8_t, 9> temperature2Style_{};
    std::array<std::uint8_t, 9> weekdayStyle_{};
    CellId cursor_ = kFirstCell;
    std::uint8_t cursorScreen_ = 0;
    std::uint8_t cursorRow_ = 0;
    std::uint8_t cursorColumn_ = 0;
};

}  // namespace facetor
