// Facetor.exe: the skin-layout editor's Windows program.
#include <windows.h>

#include <commctrl.h>

#include "editor/ui/win32/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    facetor::win32::MainWindow window(instance);
    if (!window.create(showCommand)) {
        return 1;  // no window, no message
    }
    return window.run();
}
