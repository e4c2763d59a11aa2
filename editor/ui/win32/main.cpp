// Facetor.exe: the skin-layout editor's Windows program.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <filesystem>
#include <system_error>

#include "editor/ui/win32/main_window.h"

namespace {

// The first argument after the program: a file to open at start ("Open with", a file dropped
// onto the program's icon, or a command line). A relative name counts from the folder Facetor
// starts in, whatever folder a file dialog visits later.
std::filesystem::path fileFromCommandLine() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::filesystem::path file;
    if (arguments && count > 1 && arguments[1][0] != L'\0') {
        std::error_code error;
        file = std::filesystem::absolute(arguments[1], error);
        if (error) {
            file = arguments[1];
        }
    }
    LocalFree(arguments);
    return file;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    facetor::win32::MainWindow window(instance);
    if (!window.create(showCommand)) {
        return 1;  // no window, no message
    }
    return window.run(fileFromCommandLine());
}
