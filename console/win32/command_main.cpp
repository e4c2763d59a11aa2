// Portwand.com: Portwand on the command line, a console program beside Portwand.exe. "Portwand"
// typed in cmd.exe, PowerShell or a batch file runs it rather than the window program (.com comes
// before .exe), so "Portwand /sync [port]" is waited for, and its exit code and its line reach
// the caller, the Task Scheduler included. Without arguments it starts the window program.
#include <windows.h>

#include <string>

#include "console/sync_command.h"
#include "console/win32/command_line.h"
#include "console/win32/console_output.h"
#include "console/win32/win32_platform.h"

namespace {

// Portwand.exe from the folder of this program, not waited for.
int startWindowProgram() {
    std::wstring path = portwand::win32::programPath();
    path.replace(path.rfind(L'.'), std::wstring::npos, L".exe");
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        portwand::win32::printLine(portwand::win32::OutputStream::Error,
                                   u"Не удалось запустить Portwand.exe");
        return portwand::kSyncFailed;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return portwand::kSyncDone;
}

}  // namespace

int wmain() {
    portwand::win32::keepTimerResolutionWhenHidden();
    portwand::CommandLine line = portwand::parseCommandLine(portwand::win32::commandLineArguments(),
                                                            portwand::Program::CommandLine);
    if (line.kind == portwand::CommandLine::Kind::Window)
        return startWindowProgram();
    return portwand::win32::runCommand(line);
}
