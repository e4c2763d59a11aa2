// The serial link on a Windows COM port.
#pragma once

#include <windows.h>

#include "console/serial_link.h"

namespace portwand::win32 {

class Win32SerialLink : public SerialLink {
  public:
    Win32SerialLink() = default;
    Win32SerialLink(const Win32SerialLink&) = delete;
    Win32SerialLink& operator=(const Win32SerialLink&) = delete;
    ~Win32SerialLink() override { close(); }

    LinkStatus open(const std::u16string& portName) override;
    bool writeByte(std::uint8_t byte) override;
    void close() override;

  private:
    HANDLE port_ = INVALID_HANDLE_VALUE;
};

}  // namespace portwand::win32
