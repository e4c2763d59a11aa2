#include "editor/ui/win32/registry_programmer_settings.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "editor/ui/win32/wide_text.h"

namespace facetor::win32 {
namespace {

constexpr wchar_t kKey[] = L"Software\\Facetor";
constexpr wchar_t kProgrammer[] = L"Programmer";
constexpr wchar_t kPort[] = L"Port";
constexpr wchar_t kBaud[] = L"BootloaderBaud";
constexpr wchar_t kSlowMode[] = L"SlowMode";
constexpr wchar_t kAvrdude[] = L"Avrdude";

std::wstring readText(HKEY key, const wchar_t* name) {
    DWORD bytes = 0;
    if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        bytes > 65536) {
        return {};
    }
    std::wstring value(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, value.data(), &bytes) !=
        ERROR_SUCCESS) {
        return {};
    }
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

std::optional<DWORD> readNumber(HKEY key, const wchar_t* name) {
    DWORD value = 0;
    DWORD bytes = sizeof value;
    if (RegGetValueW(key, nullptr, name, RRF_RT_REG_DWORD, nullptr, &value, &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

void writeText(HKEY key, const wchar_t* name, const std::wstring& value) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void writeNumber(HKEY key, const wchar_t* name, DWORD value) {
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

}  // namespace

// Whatever is missing or out of range keeps its default.
clock::ProgrammerSettings RegistryProgrammerSettings::load() {
    clock::ProgrammerSettings settings;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return settings;
    }
    if (const auto kind = clock::programmerFromSettingsId(fromWide(readText(key, kProgrammer)))) {
        settings.programmer = *kind;
    }
    settings.port = fromWide(readText(key, kPort));
    if (const auto baud = readNumber(key, kBaud);
        baud && std::find(clock::kBootloaderBauds.begin(), clock::kBootloaderBauds.end(),
                          static_cast<int>(*baud)) != clock::kBootloaderBauds.end()) {
        settings.bootloaderBaud = static_cast<int>(*baud);
    }
    settings.slowMode = readNumber(key, kSlowMode).value_or(0) != 0;
    settings.avrdude = readText(key, kAvrdude);
    RegCloseKey(key);
    return settings;
}

void RegistryProgrammerSettings::save(const clock::ProgrammerSettings& settings) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    writeText(key, kProgrammer, toWide(clock::programmerInfo(settings.programmer).settingsId));
    writeText(key, kPort, toWide(settings.port));
    writeNumber(key, kBaud, static_cast<DWORD>(settings.bootloaderBaud));
    writeNumber(key, kSlowMode, settings.slowMode ? 1 : 0);
    writeText(key, kAvrdude, settings.avrdude.wstring());
    RegCloseKey(key);
}

}  // namespace facetor::win32
