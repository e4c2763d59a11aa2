// "Portwand /sync [port]": sets the device's whole clock without a window, from a console, a batch
// file or the Task Scheduler. The port is the one named, or else the one in Portwand.ini of the
// current folder, or else of the program's folder; never a guess (a scheduled task starts in
// System32, and COM1 may be a modem). Nothing is written anywhere but to the port.
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
// 1: the port could not be opened, a write failed, or the computer's clock kept changing.
inline constexpr int kSyncFailed = 1;
inline constexpr int kWrongArguments = 2;  // or no port named anywhere

inline constexpr char16_t kSyncUsage[] =
    u"Использование: Portwand /sync [порт], например Portwand /sync COM14 "
    u"(без порта - порт из Portwand.ini текущей папки или папки программы)";
inline constexpr char16_t kNoPortNamed[] =
    u"Порт не указан, а Portwand.ini с портом нет ни в текущей папке, ни в папке программы; "
    u"время не передано. Укажите порт: Portwand /sync COM14";

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
    int exitCode;         // kSyncDone, kSyncFailed or kWrongArguments (no port anywhere)
    std::u16string line;  // what was done, for a console
};

// The settings of the current folder, then of the program's folder, name the port when the
// request does not.
struct SettingsPlaces {
    PortSettings& currentFolder;
    PortSettings& programFolder;
};

SyncReport runSync(const SyncRequest& request, SerialLink& link, Clock& clock,
                   SettingsPlaces settings);

}  // namespace portwand
