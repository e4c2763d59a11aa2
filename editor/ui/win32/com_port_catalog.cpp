#include "editor/ui/win32/com_port_catalog.h"

#include <windows.h>

#include "editor/ui/win32/wide_text.h"

namespace facetor::win32 {
namespace {

// HKLM\HARDWARE\DEVICEMAP\SERIALCOMM: a value per port, its data the port's name.
void addSerialDriverPorts(std::vector<std::string>& ports) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        wchar_t data[256] = {};
        DWORD dataBytes = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &dataBytes);
        if (result == ERROR_MORE_DATA) {
            continue;
        }
        if (result != ERROR_SUCCESS) {
            break;
        }
        if (type == REG_SZ && data[0] != L'\0') {
            ports.push_back(fromWide(data));
        }
    }
    RegCloseKey(key);
}

bool isComDevice(const wchar_t* name) {
    if (_wcsnicmp(name, L"COM", 3) != 0 || name[3] == L'\0') {
        return false;
    }
    for (const wchar_t* c = name + 3; *c; ++c) {
        if (*c < L'0' || *c > L'9') {
            return false;
        }
    }
    return true;
}

// The DOS device names "COMn", for ports whose driver does not list itself above.
void addComDevices(std::vector<std::string>& ports) {
    std::vector<wchar_t> names(65536);
    if (QueryDosDeviceW(nullptr, names.data(), static_cast<DWORD>(names.size())) == 0) {
        return;
    }
    for (const wchar_t* name = names.data(); *name; name += wcslen(name) + 1) {
        if (isComDevice(name)) {
            ports.push_back(fromWide(name));
        }
    }
}

}  // namespace

std::vector<std::string> existingComPorts() {
    std::vector<std::string> ports;
    addSerialDriverPorts(ports);
    addComDevices(ports);
    return ports;
}

}  // namespace facetor::win32
