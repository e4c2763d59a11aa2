// What a placed Field shows in the grid: one Windows-1251 text per cell it covers.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/model/cell_address.h"
#include "editor/model/localization.h"
#include "editor/ui/window_ops.h"

namespace facetor {

// The order in which the grid draws the kinds: where two Fields overlap, the later one wins.
inline constexpr std::array<FieldKind, kFieldKindCount> kFieldDrawOrder = {
    FieldKind::Hours,        FieldKind::Minutes,    FieldKind::Seconds, FieldKind::Day,
    FieldKind::Month,        FieldKind::Year,       FieldKind::Weekday, FieldKind::Temperature1,
    FieldKind::Temperature2, FieldKind::AlarmCount,
};

// The sample texts of `kind` drawn with `style` (the Screen's style byte for that kind) at the
// moment `now`, weekday names taken from `names`. Empty for a weekday style without a width; an
// unknown temperature style draws as Plain.
std::vector<std::string> fieldSample(FieldKind kind, std::uint8_t style, const WeekdayTables& names,
                                     const LocalDateTime& now);

}  // namespace facetor
