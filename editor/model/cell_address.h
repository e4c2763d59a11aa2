// Addressing of the 256 cells: CellId, Screen index, row and column, and the Field kinds.
#pragma once

#include <cstdint>

namespace facetor {

// 100 + 32 x screen + 16 x row + column; also the control id of the cell's edit box.
using CellId = std::uint16_t;

inline constexpr CellId kFirstCell = 100;
inline constexpr CellId kLastCell = 355;
inline constexpr int kCellCount = 256;
inline constexpr int kScreenCount = 8;  // screen index = 2 x (skin - 1) + (screen number - 1)
inline constexpr int kRowCount = 2;
inline constexpr int kColumnCount = 16;
inline constexpr int kCellsPerScreen = kRowCount * kColumnCount;

constexpr CellId cellIdOf(int screen, int row, int column) {
    return static_cast<CellId>(kFirstCell + kCellsPerScreen * screen + kColumnCount * row + column);
}
constexpr int screenOf(CellId id) {
    return (id - kFirstCell) / kCellsPerScreen;
}
constexpr int rowOf(CellId id) {
    return ((id - kFirstCell) / kColumnCount) % kRowCount;
}
constexpr int columnOf(CellId id) {
    return (id - kFirstCell) % kColumnCount;
}
constexpr bool isCellId(int id) {
    return id >= kFirstCell && id <= kLastCell;
}

enum class FieldKind : std::uint8_t {
    Hours,
    Minutes,
    Seconds,
    Day,
    Month,
    Year,
    Weekday,
    AlarmCount,
    Temperature1,
    Temperature2,
};
inline constexpr int kFieldKindCount = 10;

enum class WeekdayStyle : std::uint8_t { Short = 0, Full = 1 };
enum class TemperatureStyle : std::uint8_t { Plain = 0, Tenths = 1, Degree = 2, DegreeC = 3 };

// Where a Field starts on a Screen; column 15 and row 15 mean absent.
struct FieldPlacement {
    static constexpr std::uint8_t kAbsent = 15;
    std::uint8_t column = kAbsent;
    std::uint8_t row = kAbsent;

    constexpr bool present() const { return row < kRowCount; }
    friend constexpr bool operator==(FieldPlacement, FieldPlacement) = default;
};

}  // namespace facetor
