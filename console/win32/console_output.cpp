#include "console/win32/console_output.h"

#include <windows.h>

#include "console/text_codec.h"
#include "console/win32/wide_text.h"

namespace portwand::win32 {

namespace {

bool writeToConsole(HANDLE console, const std::wstring& text) {
    DWORD mode = 0;
    if (!GetConsoleMode(console, &mode))
        return false;
    DWORD written = 0;
    return WriteConsoleW(console, text.data(), DWORD(text.size()), &written, nullptr);
}

}  // namespace

void printLine(const std::u16string& line) {
    std::wstring text = wide(line + u"\r\n");
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output && output != INVALID_HANDLE_VALUE) {
        if (writeToConsole(output, text))
            return;
        // Redirected to a file or a pipe: UTF-8, which keeps the Cyrillic whatever the code page.
        DWORD type = GetFileType(output);
        if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
            std::string bytes = utf16ToUtf8(line + u"\r\n");
            DWORD written = 0;
            WriteFile(output, bytes.data(), DWORD(bytes.size()), &written, nullptr);
            return;
        }
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;  // started by the Task Scheduler or the desktop: nobody reads it
    HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (console != INVALID_HANDLE_VALUE) {
        writeToConsole(console, text);
        CloseHandle(console);
    }
    FreeConsole();
}

}  // namespace portwand::win32
