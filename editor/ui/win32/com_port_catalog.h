// The serial ports this computer has now, by the names the user sees ("COM14"): those Windows
// lists for its serial drivers (USB adapters, Arduinos, and the ports Wine maps) and the COM
// devices it knows.
#pragma once

#include <string>
#include <vector>

namespace facetor::win32 {

std::vector<std::string> existingComPorts();

}  // namespace facetor::win32
