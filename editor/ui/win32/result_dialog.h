// The result of a write or read: the message with what to do, OK, and "Показать журнал", which
// shows avrdude's whole output and its command line.
#pragma once

#include <windows.h>

#include <string_view>

namespace facetor::win32 {

void showClockResult(HWND owner, std::string_view title, std::string_view text,
                     std::string_view log, bool success);

}  // namespace facetor::win32
