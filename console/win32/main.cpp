// Portwand: the remote console of the LCD clock, on a serial port.
#include <windows.h>

#include <commctrl.h>

#include "console/console_app.h"
#include "console/port_settings.h"
#include "console/win32/console_window.h"
#include "console/win32/win32_platform.h"
#include "console/win32/win32_serial_link.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    portwand::win32::ConsoleWindow window(instance);
    portwand::win32::Win32SerialLink link;
    portwand::win32::Win32Clock clock;
    portwand::win32::Win32FileStore files;
    portwand::win32::Win32AnsiCodec ansi;
    portwand::PortSettings settings(files, ansi);
    portwand::ConsoleApp app(window, link, clock, settings);
    window.attach(app);

    if (!app.start())
        return 0;
    window.show();
    window.runEventLoop();
    app.exit();
    return 0;
}
