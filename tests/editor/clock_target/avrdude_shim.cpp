// avrdude.exe for the end-to-end tests under Wine: runs the Linux avrdude with the same
// arguments in the same folder, passes its output on to this program's standard error as it
// comes, and ends with its exit code. Wine starts a Linux program from a Windows one but gives
// back no process handle, no exit code and no standard error, so a shell script writes
// avrdude's output and exit code into files that this program follows. A COM port is passed on
// as the device the prefix maps it to. However this program ends, avrdude ends with it.
#include <windows.h>

#include <string>

namespace {

std::string utf8(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    return out;
}

// Wine's own mapping of a Windows path to the Linux one.
std::string unixPath(const std::wstring& windowsPath) {
    using ToUnix = char* (*)(const wchar_t*);
    static const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* path = toUnix ? toUnix(windowsPath.c_str()) : nullptr;
    const std::string out = path ? path : utf8(windowsPath);
    HeapFree(GetProcessHeap(), 0, path);
    return out;
}

// The device the prefix maps a COM port to (HKLM\Software\Wine\Ports), else the name itself.
std::wstring mappedPort(const std::wstring& port) {
    wchar_t device[MAX_PATH] = {};
    DWORD bytes = sizeof device - sizeof(wchar_t);
    return RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Wine\\Ports", port.c_str(), RRF_RT_REG_SZ,
                        nullptr, device, &bytes) == ERROR_SUCCESS
               ? device
               : port;
}

std::string shellQuoted(const std::string& word) {
    std::string out = "'";
    for (char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

HANDLE openFile(const std::wstring& name, DWORD access) {
    return CreateFileW(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, access == GENERIC_WRITE ? CREATE_ALWAYS : OPEN_EXISTING, 0,
                       nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::string folder = "/tmp/avrdude-stand-in-" + std::to_string(GetCurrentProcessId()) +
                               "-" + std::to_string(GetTickCount());
    const std::wstring windowsFolder = L"Z:" + std::wstring(folder.begin(), folder.end());
    CreateDirectoryW(windowsFolder.c_str(), nullptr);
    std::string command = "avrdude";
    for (int i = 1; i < argc; ++i) {
        const bool port = i > 1 && std::wstring(argv[i - 1]) == L"-P";
        command += " " + shellQuoted(utf8(port ? mappedPort(argv[i]) : argv[i]));
    }
    wchar_t here[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, here);
    // Wine hands a Linux program no pipe of ours, but the FIFO "lifeline" that this program
    // holds open for writing reads as ended once this program has ended, however it ended.
    const std::string script =
        "d=" + folder + "; mkfifo $d/lifeline && exec 3<$d/lifeline && rm $d/lifeline || exit 1\n" +
        "cd " + shellQuoted(unixPath(here)) + " && { " + command +
        " </dev/null 3<&- >$d/log 2>&1 &" +
        " pid=$!; (cat <&3 >/dev/null; kill $pid 2>/dev/null; sleep 2; rm -rf $d) & exec 3<&-; "
        "wait $pid; }\n" +
        "echo $? >$d/rc.part; mv $d/rc.part $d/rc\n";
    HANDLE scriptFile = openFile(windowsFolder + L"\\run.sh", GENERIC_WRITE);
    DWORD written = 0;
    WriteFile(scriptFile, script.data(), static_cast<DWORD>(script.size()), &written, nullptr);
    CloseHandle(scriptFile);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring line = L"sh " + windowsFolder.substr(2) + L"/run.sh";
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return 1;
    }
    HANDLE lifeline = INVALID_HANDLE_VALUE;
    for (int tries = 0; tries < 1000 && lifeline == INVALID_HANDLE_VALUE; ++tries, Sleep(10)) {
        lifeline =
            CreateFileW((windowsFolder + L"\\lifeline").c_str(), GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    const HANDLE out = GetStdHandle(STD_ERROR_HANDLE);
    HANDLE log = INVALID_HANDLE_VALUE;
    for (bool finished = lifeline == INVALID_HANDLE_VALUE; !finished; Sleep(20)) {
        finished = GetFileAttributesW((windowsFolder + L"\\rc").c_str()) != INVALID_FILE_ATTRIBUTES;
        if (log == INVALID_HANDLE_VALUE)
            log = openFile(windowsFolder + L"\\log", GENERIC_READ);
        char buffer[4096];  // what the log gained since the last look, passed on
        DWORD got = 0;
        while (ReadFile(log, buffer, sizeof buffer, &got, nullptr) && got > 0)
            WriteFile(out, buffer, got, &written, nullptr);
    }
    char code[16] = "1";
    DWORD got = 0;
    HANDLE rc = openFile(windowsFolder + L"\\rc", GENERIC_READ);
    ReadFile(rc, code, sizeof code - 1, &got, nullptr);
    for (HANDLE handle : {rc, log, lifeline})
        CloseHandle(handle);
    for (const wchar_t* name : {L"\\rc", L"\\log", L"\\run.sh"})
        DeleteFileW((windowsFolder + name).c_str());
    RemoveDirectoryW(windowsFolder.c_str());
    return atoi(code);
}
