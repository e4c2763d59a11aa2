// Portwand: the remote console of the LCD clock, on a serial port. "Portwand.exe /sync [port]"
// sets the device's whole clock without a window and ends.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "console/console_app.h"
#include "console/port_settings.h"
#include "console/sync_command.h"
#include "console/win32/console_output.h"
#include "console/win32/console_window.h"
#include "console/win32/wide_text.h"
#include "console/win32/win32_platform.h"
#include "console/win32/win32_port_catalog.h"
#include "console/win32/win32_serial_link.h"

namespace {

// The arguments after the program's name.
std::vector<std::u16string> commandLineArguments() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::u16string> result;
    for (int i = 1; arguments && i < count; ++i)
        result.push_back(portwand::win32::fromWide(arguments[i]));
    LocalFree(arguments);
    return result;
}

int runSync(const portwand::SyncRequest& request) {
    portwand::win32::Win32SerialLink link;
    portwand::win32::Win32Clock clock;
    portwand::win32::Win32FileStore files;
    portwand::win32::Win32AnsiCodec ansi;
    portwand::PortSettings settings(files, ansi);
    portwand::SyncReport report = portwand::runSync(request, link, clock, settings);
    portwand::win32::printLine(report.line);
    return report.exitCode;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    if (std::optional<portwand::SyncRequest> request =
            portwand::parseSyncRequest(commandLineArguments()))
        return runSync(*request);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    portwand::win32::ConsoleWindow window(instance);
    portwand::win32::Win32SerialLink link;
    portwand::win32::Win32Clock clock;
    portwand::win32::Win32FileStore files;
    portwand::win32::Win32AnsiCodec ansi;
    portwand::win32::Win32PortCatalog ports;
    portwand::PortSettings settings(files, ansi);
    portwand::ConsoleApp app(window, link, clock, settings, ports);
    window.attach(app);

    if (!app.start())
        return 0;
    window.show();
    window.runEventLoop();
    app.exit();
    return 0;
}
