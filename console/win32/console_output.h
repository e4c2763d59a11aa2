// Lines for whoever started the program: its console, or the file, pipe or nul device its output
// was redirected to. A window program started from a console without redirection writes to that
// console, if there is one.
#pragma once

#include <string>

namespace portwand::win32 {

enum class OutputStream { Output, Error };

void printLine(OutputStream stream, const std::u16string& line);

}  // namespace portwand::win32
