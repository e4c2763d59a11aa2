// "Portwand /sync [port]": sets the device's whole clock without a window, from a console, a batch
// file or the Task Scheduler. The port is the one named, or else the one in Portwand.ini; nothing
// is written anywhere but to the port.
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

// Exit codes of the command.
inline constexpr int kSyncDone = 0;
inline constexpr int kSyncFailed = 1;  // the port could not be opened, or a write failed
inline constexpr int kWrongArguments = 2;

inline constexpr char16_t kSyncUsage[] =
    u"Использование: Portwand /sync [порт], например Portwand /sync COM14 "
    u"(без порта - порт из Portwand.ini текущей папки)";

// What the arguments after the program's name ask for: the window (no arguments; for the window
// program also arguments that are no switch of the console's), the clock ("/sync" in any letter
// case, then at most a port name), the usage ("/?"), or the usage as an error (anything else).
struct CommandLine {
    enum class Kind { Window, Sync, Help, WrongArguments };
    Kind kind;
    SyncRequest request;  // for Sync
};
enum class Program { Window, CommandLine };
CommandLine parseCommandLine(const std::vector<std::u16string>& arguments, Program program);

struct SyncReport {
    int exitCode;         // kSyncDone or kSyncFailed
    std::u16string line;  // what was done, for a console
};

SyncReport runSync(const SyncRequest& request, SerialLink& link, Clock& clock,
                   PortSettings& settings);

}  // namespace portwand
