#include "console/win32/win32_platform.h"

#include <windows.h>

#include <mmsystem.h>

#include <utility>

#include "console/win32/wide_text.h"

namespace portwand::win32 {

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

std::u16string Win32AnsiCodec::decode(std::string_view bytes) const {
    if (bytes.empty())
        return {};
    int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::wstring text(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), text.data(), length);
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

FileContents Win32FileStore::read(const std::string& name) {
    // Others may have it open, even for writing, as long as they share it.
    HANDLE file = CreateFileW(wideAscii(name).c_str(), GENERIC_READ,
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

bool Win32FileStore::replace(const std::string& name, const std::string& bytes) {
    std::wstring target = wideAscii(name);
    std::wstring temporary = wideAscii(temporaryNameFor(name));
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
    if (ok)
        ok = MoveFileExW(temporary.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok)
        DeleteFileW(temporary.c_str());
    return ok;
}

}  // namespace portwand::win32
