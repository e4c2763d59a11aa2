// The entries of the port list: COM1 to COM9 always, in that order, then the other serial ports
// that exist on this computer (USB and Bluetooth adapters usually get COM10 and up).
#pragma once

#include <string>
#include <vector>

namespace portwand {

// The serial ports the computer has now, by their names as the user sees them ("COM14").
class PortCatalog {
  public:
    virtual ~PortCatalog() = default;
    virtual std::vector<std::u16string> existingPorts() = 0;
};

// The nine fixed entries, then each other existing port once, in ascending number ("COM10"
// before "COM14"); names that do not end in a number come last, in the order of their text.
std::vector<std::u16string> portListEntries(const std::vector<std::u16string>& existingPorts);

// The entry whose text equals the port exactly (letter case counts), or -1.
int portListIndex(const std::vector<std::u16string>& entries, const std::u16string& port);

}  // namespace portwand
