// The serial ports this computer has now: the ones Windows lists for its serial drivers (where
// USB and Bluetooth adapters appear, and the ports Wine maps), and the COM devices it knows.
#pragma once

#include "console/port_list.h"

namespace portwand::win32 {

class Win32PortCatalog : public PortCatalog {
  public:
    std::vector<std::u16string> existingPorts() override;
};

}  // namespace portwand::win32
