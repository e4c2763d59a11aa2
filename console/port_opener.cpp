#include "console/port_opener.h"

namespace portwand {

LinkStatus PortOpener::open(const std::u16string& portName) {
    std::int64_t start = clock_.steadyMicros();
    LinkStatus status = link_.open(portName);
    // A failed open says nothing about how long a good one takes.
    if (status == LinkStatus::Opened) {
        timedPort_ = portName;
        openMicros_ = clock_.steadyMicros() - start;
    }
    display_.showLinkStatus(status);
    return status;
}

std::int64_t PortOpener::openMicros(const std::u16string& portName) const {
    return portName == timedPort_ ? openMicros_ : 0;
}

}  // namespace portwand
