// The entries of the COM port list of "Программатор": COM1 to COM9 always, then every other
// serial port the computer has (USB adapters and Arduinos usually get COM10 and up).
#pragma once

#include <string>
#include <vector>

namespace facetor::clock {

// The nine fixed entries, then each other existing port once, in ascending number ("COM10"
// before "COM14"); names that do not end in a number come last, in the order of their text.
std::vector<std::string> comPortEntries(const std::vector<std::string>& existingPorts);

}  // namespace facetor::clock
