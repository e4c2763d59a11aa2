// The Field palette: which Field each button places, and which buttons are enabled at the cursor.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "editor/model/cell_address.h"
#include "editor/model/skin_document.h"
#include "editor/ui/control_cache.h"
#include "editor/ui/grid_display.h"

namespace facetor {

struct FieldButton {
    int id;
    FieldKind kind;
    std::uint8_t style;  // WeekdayStyle / TemperatureStyle; 0 for kinds without a style
    int width;           // cells covered, also the cursor's advance after placing
};

inline constexpr std::array<FieldButton, 17> kFieldButtons = {{
    {2001, FieldKind::Hours, 0, 2},
    {2002, FieldKind::Minutes, 0, 2},
    {2003, FieldKind::Seconds, 0, 2},
    {2004, FieldKind::Day, 0, 2},
    {2005, FieldKind::Month, 0, 2},
    {2006, FieldKind::Year, 0, 2},
    {2007, FieldKind::Weekday, static_cast<std::uint8_t>(WeekdayStyle::Short), 2},
    {2008, FieldKind::AlarmCount, 0, 2},
    {2009, FieldKind::Weekday, static_cast<std::uint8_t>(WeekdayStyle::Full), 9},
    {2010, FieldKind::Temperature1, static_cast<std::uint8_t>(TemperatureStyle::Plain), 3},
    {2011, FieldKind::Temperature1, static_cast<std::uint8_t>(TemperatureStyle::Tenths), 5},
    {2012, FieldKind::Temperature1, static_cast<std::uint8_t>(TemperatureStyle::Degree), 4},
    {2013, FieldKind::Temperature1, static_cast<std::uint8_t>(TemperatureStyle::DegreeC), 5},
    {2014, FieldKind::Temperature2, static_cast<std::uint8_t>(TemperatureStyle::Plain), 3},
    {2015, FieldKind::Temperature2, static_cast<std::uint8_t>(TemperatureStyle::Tenths), 5},
    {2016, FieldKind::Temperature2, static_cast<std::uint8_t>(TemperatureStyle::Degree), 4},
    {2017, FieldKind::Temperature2, static_cast<std::uint8_t>(TemperatureStyle::DegreeC), 5},
}};

std::optional<FieldButton> fieldButton(int id);

// Whether a Field of `width` fits at `cursor`: it stays within the row and every cell it would
// cover shows an empty text in the grid.
bool fieldFits(const GridDisplay& grid, CellId cursor, int width);

// Enables exactly the buttons whose Field fits at the cursor.
void updateFieldButtons(ControlCache& controls, const GridDisplay& grid, CellId cursor);

}  // namespace facetor
