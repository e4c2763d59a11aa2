#include "console/win32/win32_platform.h"

#include <windows.h>

#include <mmsystem.h>

#include <string>
#include <utility>

#include "console/win32/wide_text.h"

namespace portwand::win32 {

void keepTimerResolutionWhenHidden() {
    using SetInformation = BOOL(WINAPI*)(HANDLE, PROCESS_INFORMATION_CLASS, LPVOID, DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto setInformation = kernel ? reinterpret_cast<SetInformation>(reinterpret_cast<void*>(
                                       GetProcAddress(kernel, "SetProcessInformation")))
                                 : nullptr;
    if (!setInformation)
        return;
    // Control the timer-resolution throttling and switch it off; failure (a system before
    // Windows 11) changes nothing.
    PROCESS_POWER_THROTTLING_STATE state{};
    state.Version = PROCESS_POWER_THROTTLING_CURRENT_VERSION;
    state.ControlMask = PROCESS_POWER_THROTTLING_IGNORE_TIMER_RESOLUTION;
    state.StateMask = 0;
    setInformation(GetCurrentProcess(), ProcessPowerThrottling, &state, sizeof state);
}

LocalTime Win32Clock::now() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

std::int64_t Win32Clock::steadyMicros() {
    LARGE_INTEGER frequency, count;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return count.QuadPart / frequency.QuadPart * 1'000'000 +
           count.QuadPart % frequency.QuadPart * 1'000'000 / frequency.QuadPart;
}

void Win32Clock::sleepMs(int milliseconds) {
    Sleep(DWORD(milliseconds));
}
void Win32Clock::beginFineResolution() {
    timeBeginPeriod(1);
}
void Win32Clock::endFineResolution() {
    timeEndPeriod(1);
}

std::optional<std::u16string> Win32AnsiCodec::decode(std::string_view bytes) const {
    if (bytes.empty())
        return std::u16string();
    // Strict on every code page: where the system's is UTF-8, a Windows-1251 file would otherwise
    // come back with its letters replaced.
    int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()),
                                     nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring text(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), text.data(),
                        length);
    return fromWide(text);
}

std::string Win32AnsiCodec::encode(std::u16string_view text) const {
    if (text.empty())
        return {};
    std::wstring source(text.begin(), text.end());
    int length = WideCharToMultiByte(CP_ACP, 0, source.data(), int(source.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string bytes(std::size_t(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, source.data(), int(source.size()), bytes.data(), length, nullptr,
                        nullptr);
    return bytes;
}

std::wstring programPath() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()))) == path.size())
        path.resize(path.size() * 2);
    path.resize(length);
    return path;
}

std::wstring programFolder() {
    std::wstring path = programPath();
    return path.substr(0, path.rfind(L'\\') + 1);
}

FileContents Win32FileStore::read(const std::string& name) {
    // Others may have it open, even for writing, as long as they share it.
    HANDLE file = CreateFileW((folder_ + wideAscii(name)).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return {missing ? FileContents::State::Missing : FileContents::State::Unreadable, {}};
    }
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    if (!ok)
        return {FileContents::State::Unreadable, {}};
    return {FileContents::State::Read, std::move(bytes)};
}

namespace {

std::wstring fullPath(const std::wstring& name) {
    DWORD length = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return name;
    std::wstring path(length, L'\0');
    length = GetFullPathNameW(name.c_str(), length, path.data(), nullptr);
    path.resize(length);
    return path;
}

}  // namespace

bool Win32FileStore::replace(const std::string& name, const std::string& bytes) {
    // Full paths: Wine's ReplaceFileW takes no others.
    std::wstring target = fullPath(folder_ + wideAscii(name));
    std::wstring temporary = fullPath(folder_ + wideAscii(temporaryNameFor(name)));
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok =
        bytes.empty() || (WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                          written == bytes.size());
    ok = FlushFileBuffers(file) && ok;
    CloseHandle(file);
    if (!ok) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        ok = MoveFileExW(temporary.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    } else {
        // Unlike a rename over it, this keeps the file's attributes, permissions and creation
        // time. A read-only file is not replaced.
        ok = ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                          REPLACEFILE_WRITE_THROUGH | REPLACEFILE_IGNORE_MERGE_ERRORS |
                              REPLACEFILE_IGNORE_ACL_ERRORS,
                          nullptr, nullptr);
        // The old file is gone and the new one still has its temporary name: put it in place.
        if (!ok && GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT)
            ok = MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
        // Wine's ReplaceFileW drops the attributes (hidden, archive) as a rename would.
        if (ok && GetFileAttributesW(target.c_str()) != attributes)
            SetFileAttributesW(target.c_str(), attributes);
    }
    if (!ok)
        DeleteFileW(temporary.c_str());
    return ok;
}

}  // namespace portwand::win32
