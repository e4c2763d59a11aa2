// Where avrdude may be on this computer, for the portable search: beside Facetor.exe, the PATH
// folders, and where Arduino IDE keeps its tools (Arduino15 and ArduinoData of the boards
// manager, hardware\tools\avr of the old installations).
#pragma once

#include <optional>

#include "editor/clock/avrdude_locator.h"

namespace facetor::win32 {

std::optional<clock::FoundAvrdude> findAvrdudeOnThisComputer(const std::filesystem::path& chosen);

}  // namespace facetor::win32
