// Portwand's command line, shared by the window program and the command-line program:
// "/sync [port]" sets the device's clock, "/?" shows the usage.
#pragma once

#include <string>
#include <vector>

#include "console/sync_command.h"

namespace portwand::win32 {

// The arguments after the program's name.
std::vector<std::u16string> commandLineArguments();

// Does what the command line asks for, other than the window, and returns the exit code: the
// clock, with one line about it (on the standard error when it failed), or the usage.
int runCommand(const CommandLine& line);

}  // namespace portwand::win32
