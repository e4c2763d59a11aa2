// "Portwand.exe /sync [port]": sets the device's whole clock without a window, for scheduled runs.
// The port is the one named, or else the one in Portwand.ini; nothing is written anywhere but to
// the port.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "console/clock.h"
#include "console/port_settings.h"
#include "console/serial_link.h"

namespace portwand {

struct SyncRequest {
    std::optional<std::u16string> port;  // none: the port of Portwand.ini
};

// The request, when the arguments after the program's name ask for one ("/sync", in any letter
// case, then at most a port name); otherwise the window opens as usual.
std::optional<SyncRequest> parseSyncRequest(const std::vector<std::u16string>& arguments);

struct SyncReport {
    int exitCode;         // 0 when every frame was written, 1 otherwise
    std::u16string line;  // what was done, for a console
};

SyncReport runSync(const SyncRequest& request, SerialLink& link, Clock& clock,
                   PortSettings& settings);

}  // namespace portwand
