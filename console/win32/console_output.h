// One line for the console that started the program, if there is one: Portwand is a window
// program, so it writes to its standard output when that was handed to it (a pipe, a file) and
// otherwise to the console of the program that started it.
#pragma once

#include <string>

namespace portwand::win32 {

void printLine(const std::u16string& line);

}  // namespace portwand::win32
