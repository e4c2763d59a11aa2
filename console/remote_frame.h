// The seven-byte ASCII frames sent to the device: a kind letter, a two-digit selector, a two-digit
// value, then line feed and carriage return (in that order).
#pragma once

#include <array>
#include <cstdint>

#include "console/clock.h"

namespace portwand {

using RemoteFrame = std::array<std::uint8_t, 7>;

enum class RemoteKey { Esc, Menu, Up, Down, Left, Right, Backlight, SkinPlus, SkinMinus };
enum class ClockField { Year, Month, Day, Hours, Minutes, Seconds };

// The two ASCII digits sent for a number: a leading 0 below 10, the first two digits from 100 up.
std::array<std::uint8_t, 2> twoDigitText(std::uint8_t number);

int keyCode(RemoteKey key);
RemoteFrame keyFrame(RemoteKey key);

// The value of a clock part at that moment; the year counts from 2000 and wraps in one byte.
std::uint8_t clockValue(ClockField field, const LocalTime& time);
// The check value sent before every clock value: the complement of its low six bits.
std::uint8_t checkValue(std::uint8_t value);
RemoteFrame checkFrame(std::uint8_t value);
RemoteFrame valueFrame(ClockField field, std::uint8_t value);

}  // namespace portwand
