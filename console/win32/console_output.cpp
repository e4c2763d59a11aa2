#include "console/win32/console_output.h"

#include <windows.h>

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

std::string encoded(UINT codePage, const std::wstring& text, BOOL* lost) {
    DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    int length = WideCharToMultiByte(codePage, flags, text.data(), int(text.size()), nullptr, 0,
                                     nullptr, lost);
    if (length <= 0)
        return {};
    std::string bytes(std::size_t(length), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), int(text.size()), bytes.data(), length,
                        nullptr, lost);
    return bytes;
}

// Redirected text is read back in the console's code page by cmd's "type", a batch file's
// "for /f" and PowerShell alike: 866 on a Russian Windows, UTF-8 after "chcp 65001". Without any
// console (the Task Scheduler), the system's OEM code page is what a console would have. A code
// page without Cyrillic (437, 850 on an English Windows) would turn the line into question marks:
// then it is written in UTF-8, which any editor reads.
std::string forRedirection(const std::wstring& text) {
    UINT codePage = GetConsoleOutputCP();
    if (codePage == 0)
        codePage = GetOEMCP();
    if (codePage != CP_UTF8) {
        BOOL lost = FALSE;
        std::string bytes = encoded(codePage, text, &lost);
        if (!bytes.empty() && !lost)
            return bytes;
    }
    return encoded(CP_UTF8, text, nullptr);
}

}  // namespace

void printLine(OutputStream stream, const std::u16string& line) {
    std::wstring text = wide(line + u"\r\n");
    HANDLE handle =
        GetStdHandle(stream == OutputStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (handle && handle != INVALID_HANDLE_VALUE) {
        if (writeToConsole(handle, text))
            return;
        // A file, a pipe or nul.
        std::string bytes = forRedirection(text);
        DWORD written = 0;
        if (WriteFile(handle, bytes.data(), DWORD(bytes.size()), &written, nullptr))
            return;
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;  // started from the desktop: nobody reads it
    HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (console != INVALID_HANDLE_VALUE) {
        writeToConsole(console, text);
        CloseHandle(console);
    }
    FreeConsole();
}

}  // namespace portwand::win32
