// Every open of the link goes through here: it shows the outcome and remembers how long the port
// took to open, so that the timed seconds transfer can open it early enough (a USB adapter may
// take tens of milliseconds, a Bluetooth one more than a second).
#pragma once

#include <cstdint>
#include <string>

#include "console/clock.h"
#include "console/serial_link.h"

namespace portwand {

class PortOpener {
  public:
    PortOpener(SerialLink& link, StatusDisplay& display, Clock& clock)
        : link_(link), display_(display), clock_(clock) {}

    // Opens the link and shows the outcome, whatever it is, before returning it.
    LinkStatus open(const std::u16string& portName);
    // How long the last successful open of that port took; 0 while it has not opened yet.
    std::int64_t openMicros(const std::u16string& portName) const;

  private:
    SerialLink& link_;
    StatusDisplay& display_;
    Clock& clock_;
    std::u16string timedPort_;
    std::int64_t openMicros_ = 0;
};

}  // namespace portwand
