// avrdude.exe for the end-to-end tests under Wine: runs the Linux avrdude with the same
// arguments in the same folder, passes its output on to this program's standard error as it
// comes, and ends with its exit code. Wine starts a Linux program from a Windows one but gives
// back no process handle, no exit code and no standard error, so the Linux side writes its
// output and exit code into files that this program follows. A COM port is passed on as the
// device the prefix maps it to. When this program ends for any reason, avrdude ends too: nothing
// is left behind.
#include <windows.h>

#include <string>

namespace {

using UnixPath = char* (*)(const wchar_t*);

std::string narrow(const std::wstring& text, UINT codePage = CP_UTF8) {
    const int size =
        WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(codePage, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    return out;
}

// Wine's own mapping of a Windows path to the Linux one.
std::string unixPath(const std::wstring& windowsPath) {
    static const auto toUnix = reinterpret_cast<UnixPath>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* path = toUnix ? toUnix(windowsPath.c_str()) : nullptr;
    if (!path) {
        return narrow(windowsPath);
    }
    std::string out = path;
    HeapFree(GetProcessHeap(), 0, path);
    return out;
}

// The device the prefix maps a COM port to (HKLM\Software\Wine\Ports), else the name itself.
std::wstring mappedPort(const std::wstring& port) {
    wchar_t device[MAX_PATH] = {};
    DWORD bytes = sizeof device - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Wine\\Ports", port.c_str(), RRF_RT_REG_SZ,
                     nullptr, device, &bytes) == ERROR_SUCCESS) {
        return device;
    }
    return port;
}

std::string shellQuoted(const std::string& word) {
    std::string out = "'";
    for (char c : word) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

std::wstring quotedForWindows(const std::string& utf8) {
    std::wstring out = L"\"";
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring wide(size > 0 ? size - 1 : 0, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), size);
    for (wchar_t c : wide) {
        out += c == L'"' ? std::wstring(L"\\\"") : std::wstring(1, c);
    }
    return out + L"\"";
}

// Copies what the log file gained since the last call to standard error.
void passOn(HANDLE log, HANDLE out) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(log, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        DWORD written = 0;
        WriteFile(out, buffer, got, &written, nullptr);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    wchar_t folder[MAX_PATH];
    swprintf(folder, MAX_PATH, L"Z:\\tmp\\avrdude-shim-%lu-%lu", GetCurrentProcessId(),
             GetTickCount());
    CreateDirectoryW(folder, nullptr);
    const std::wstring logFile = std::wstring(folder) + L"\\log";
    const std::wstring codeFile = std::wstring(folder) + L"\\rc";
    const std::string unixFolder = unixPath(folder);

    std::string command = "avrdude";
    for (int i = 1; i < argc; ++i) {
        const bool port = i > 1 && std::wstring(argv[i - 1]) == L"-P";
        command += " " + shellQuoted(narrow(port ? mappedPort(argv[i]) : argv[i]));
    }
    wchar_t here[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, here);
    // Wine gives a Linux program no pipe of ours, but a FIFO that this program holds open for
    // writing ends (reads end of file) when this program ends, however it ends.
    const std::string lifeline = shellQuoted(unixFolder + "/lifeline");
    const std::string script =
        "mkfifo " + lifeline + " && exec 3<" + lifeline + " && rm " + lifeline + " || exit 1; cd " +
        shellQuoted(unixPath(here)) + " && { " + command + " </dev/null 3<&- >" +
        shellQuoted(unixFolder + "/log") +
        " 2>&1 & pid=$!; (cat <&3 >/dev/null; kill $pid 2>/dev/null) & "
        "exec 3<&-; wait $pid; }; echo $? >" +
        shellQuoted(unixFolder + "/rc.part") + "; mv " + shellQuoted(unixFolder + "/rc.part") +
        " " + shellQuoted(unixFolder + "/rc");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring line = L"Z:\\bin\\sh -c " + quotedForWindows(script);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return 1;
    }
    const std::wstring lifelineFile = std::wstring(folder) + L"\\lifeline";
    HANDLE lifelineEnd = INVALID_HANDLE_VALUE;
    for (int tries = 0; tries < 1000 && lifelineEnd == INVALID_HANDLE_VALUE; ++tries) {
        lifelineEnd =
            CreateFileW(lifelineFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
        if (lifelineEnd == INVALID_HANDLE_VALUE) {
            Sleep(10);
        }
    }
    HANDLE out = GetStdHandle(STD_ERROR_HANDLE);
    if (lifelineEnd == INVALID_HANDLE_VALUE) {
        const char failed[] = "avrdude.exe (test stand-in): the Linux side did not start\n";
        DWORD written = 0;
        WriteFile(out, failed, sizeof failed - 1, &written, nullptr);
        return 1;
    }
    HANDLE log = INVALID_HANDLE_VALUE;
    for (;;) {
        const bool finished = GetFileAttributesW(codeFile.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (log == INVALID_HANDLE_VALUE) {
            log = CreateFileW(logFile.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
        }
        if (log != INVALID_HANDLE_VALUE) {
            passOn(log, out);
        }
        if (finished) {
            break;
        }
        Sleep(20);
    }
    char code[16] = {};
    DWORD got = 0;
    HANDLE rc = CreateFileW(codeFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
    ReadFile(rc, code, sizeof code - 1, &got, nullptr);
    CloseHandle(rc);
    CloseHandle(log);
    DeleteFileW(logFile.c_str());
    DeleteFileW(codeFile.c_str());
    CloseHandle(lifelineEnd);
    RemoveDirectoryW(folder);
    return atoi(code);
}
