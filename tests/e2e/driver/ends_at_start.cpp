// ends_at_start: a test-only program that never shows its window, as a broken program would.
// "exit N" ends at once with code N, "crash" dies of an access violation, "hang" waits forever.
#include <windows.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    if (std::wcsncmp(commandLine, L"exit ", 5) == 0) {
        return static_cast<int>(std::wcstol(commandLine + 5, nullptr, 10));
    }
    if (std::wcscmp(commandLine, L"hang") == 0) {
        Sleep(INFINITE);
    }
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    return 0;
}
