#include "console/win32/win32_serial_link.h"

#include "console/line_settings.h"
#include "console/win32/wide_text.h"

namespace portwand::win32 {

namespace {

// Applies the fixed line settings; false when the driver refuses them.
bool configure(HANDLE port) {
    using namespace line_settings;
    SetupComm(port, kReceiveQueueBytes, kTransmitQueueBytes);  // a driver may keep its own sizes
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb))
        return false;
    // Only these fields change; DTR, DSR, XON/XOFF and the special characters stay as the driver
    // has them.
    dcb.BaudRate = kBaudRate;
    dcb.ByteSize = BYTE(kDataBits);
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    if (!SetCommState(port, &dcb))
        return false;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = kReadIntervalTimeoutMs;
    timeouts.ReadTotalTimeoutMultiplier = kReadTotalTimeoutMultiplierMs;
    timeouts.ReadTotalTimeoutConstant = kReadTotalTimeoutConstantMs;
    timeouts.WriteTotalTimeoutMultiplier = kWriteTotalTimeoutMultiplierMs;
    timeouts.WriteTotalTimeoutConstant = kWriteTotalTimeoutConstantMs;
    SetCommTimeouts(port, &timeouts);
    return true;
}

}  // namespace

LinkStatus Win32SerialLink::open(const std::u16string& portName) {
    std::wstring path = wide(devicePathFor(portName));
    // Exclusive, existing devices only, plain blocking input and output.
    HANDLE port = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (port == INVALID_HANDLE_VALUE)
        return LinkStatus::Failed;
    if (!configure(port)) {
        CloseHandle(port);
        return LinkStatus::Failed;
    }
    port_ = port;
    return LinkStatus::Opened;
}

bool Win32SerialLink::writeByte(std::uint8_t byte) {
    DWORD written = 0;
    return WriteFile(port_, &byte, 1, &written, nullptr) && written == 1;
}

void Win32SerialLink::close() {
    if (port_ == INVALID_HANDLE_VALUE)
        return;
    // A driver that completes writes before the bytes are out could drop the last frame.
    FlushFileBuffers(port_);
    CloseHandle(port_);
    port_ = INVALID_HANDLE_VALUE;
}

}  // namespace portwand::win32
