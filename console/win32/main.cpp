// Portwand: the remote console of the LCD clock, on a serial port. "Portwand.exe /sync [port]"
// sets the device's whole clock without a window and ends (Portwand.com does the same as a
// console program, which is what a command line wants).
#include <windows.h>

#include <commctrl.h>

#include "console/console_app.h"
#include "console/port_settings.h"
#include "console/sync_command.h"
#include "console/win32/command_line.h"
#include "console/win32/console_window.h"
#include "console/win32/win32_platform.h"
#include "console/win32/win32_port_catalog.h"
#include "console/win32/win32_port_worker.h"
#include "console/win32/win32_serial_link.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    portwand::win32::keepTimerResolutionWhenHidden();
    portwand::CommandLine line = portwand::parseCommandLine(portwand::win32::commandLineArguments(),
                                                            portwand::Program::Window);
    if (line.kind != portwand::CommandLine::Kind::Window)
        return portwand::win32::runCommand(line);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    portwand::win32::ConsoleWindow window(instance);
    portwand::win32::Win32SerialLink link;
    portwand::win32::Win32Clock clock;
    portwand::win32::Win32FileStore files;
    portwand::win32::Win32AnsiCodec ansi;
    portwand::win32::Win32PortCatalog ports;
    portwand::PortSettings settings(files, ansi);
    portwand::win32::Win32PortWorker worker;
    portwand::ConsoleApp app(window, link, clock, settings, ports, worker);
    window.attach(app);

    if (!app.start())
        return 0;
    window.runEventLoop();
    app.exit();
    return 0;
}
