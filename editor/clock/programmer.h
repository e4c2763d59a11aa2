// The programmers that owners of such a clock have, and how avrdude is told to use each: the
// settings the user chooses in "Программатор..." and the command lines of one write or read.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace facetor::clock {

enum class ProgrammerKind { Usbasp, UsbaspClone, UsbTiny, AvrispMk2, ArduinoAsIsp, Bootloader };

struct ProgrammerInfo {
    ProgrammerKind kind;
    std::string_view name;        // as the list shows it (UTF-8)
    std::string_view avrdudeId;   // after -c
    std::string_view settingsId;  // as kept in the user's settings
    bool serial;                  // needs a COM port
    bool isp;        // writes through the ISP pins: "Медленный режим" applies
    bool usbDriver;  // a USB device that needs a libusb driver on Windows
};

inline constexpr std::array<ProgrammerInfo, 6> kProgrammers{{
    {ProgrammerKind::Usbasp, "USBasp", "usbasp", "usbasp", false, true, true},
    {ProgrammerKind::UsbaspClone, "USBasp (клон)", "usbasp-clone", "usbasp-clone", false, true,
     true},
    {ProgrammerKind::UsbTiny, "USBtinyISP", "usbtiny", "usbtiny", false, true, true},
    {ProgrammerKind::AvrispMk2, "AVRISP mkII", "avrispmkII", "avrispmkII", false, true, true},
    {ProgrammerKind::ArduinoAsIsp, "Arduino as ISP (COM-порт, 19200)", "stk500v1", "arduino-as-isp",
     true, true, false},
    {ProgrammerKind::Bootloader, "Загрузчик в часах (COM-порт)", "arduino", "bootloader", true,
     false, false},
}};

const ProgrammerInfo& programmerInfo(ProgrammerKind kind);
std::optional<ProgrammerKind> programmerFromSettingsId(std::string_view id);

// Arduino as ISP always talks at 19200; a bootloader at the speed it was built for.
inline constexpr int kArduinoIspBaud = 19200;
inline constexpr std::array<int, 4> kBootloaderBauds{19200, 38400, 57600, 115200};

// What the user chose in "Программатор...", kept per user.
struct ProgrammerSettings {
    ProgrammerKind programmer = ProgrammerKind::Usbasp;
    std::string port;               // "COM3"; only for the serial ones
    int bootloaderBaud = 19200;     // one of kBootloaderBauds
    bool slowMode = false;          // -B 32 for the ISP programmers
    std::filesystem::path avrdude;  // chosen with "Обзор..."; empty: look for it
    friend bool operator==(const ProgrammerSettings&, const ProgrammerSettings&) = default;
};

// Where the settings are kept (the registry under HKCU on Windows).
class ProgrammerSettingsStore {
  public:
    virtual ~ProgrammerSettingsStore() = default;
    virtual ProgrammerSettings load() = 0;
    virtual void save(const ProgrammerSettings& settings) = 0;
};

// The ATmega168's two parts: the plain one and the "P", told apart by the signature.
inline constexpr std::string_view kPart168 = "m168";
inline constexpr std::string_view kPart168P = "m168p";

// The arguments that choose the programmer, the part and the line, without any -U: -c, -p, -P,
// -b and -B. `config` (an avrdude.conf avrdude would not find itself) gives -C first. Never -e,
// -F, -D or -V: nothing but the EEPROM is touched, and avrdude always verifies.
std::vector<std::string> connectionArguments(const ProgrammerSettings& settings,
                                             std::string_view part,
                                             const std::filesystem::path& config = {});

}  // namespace facetor::clock
