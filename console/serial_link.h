// The serial link to the clock device: one port, opened per command, written one byte at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace portwand {

enum class LinkStatus { Opened, Failed };

// The platform's side of the link. The Win32 build talks to a real COM port; tests use a double
// that records what was written.
class SerialLink {
  public:
    virtual ~SerialLink() = default;

    // Opens the port of that name (as the user sees it, e.g. "COM12") with the fixed line settings.
    // Called only while no link is open.
    virtual LinkStatus open(const std::u16string& portName) = 0;
    // One blocking write of one byte; true when exactly that byte was handed to the driver.
    virtual bool writeByte(std::uint8_t byte) = 0;
    // Releases the port so that the next open, by this program or another, can succeed.
    virtual void close() = 0;
};

// Where every open attempt is shown to the user (the console window's status label).
class StatusDisplay {
  public:
    virtual ~StatusDisplay() = default;
    virtual void showLinkStatus(LinkStatus status) = 0;
};

// A port name as the user may write it: "\\.\COM3" (the device path itself, as some tools show
// it) is COM3; blanks around it are not part of it. Empty: no port.
std::u16string plainPortName(std::u16string_view name);

// The Windows device path of a port: the "\\.\" prefix and the first 59 characters of the name,
// so that names beyond COM9 open too.
std::u16string devicePathFor(const std::u16string& portName);

}  // namespace portwand
