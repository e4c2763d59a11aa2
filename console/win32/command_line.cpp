#include "console/win32/command_line.h"

#include <windows.h>

#include <shellapi.h>

#include "console/port_settings.h"
#include "console/win32/console_output.h"
#include "console/win32/wide_text.h"
#include "console/win32/win32_platform.h"
#include "console/win32/win32_serial_link.h"

namespace portwand::win32 {

std::vector<std::u16string> commandLineArguments() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::u16string> result;
    for (int i = 1; arguments && i < count; ++i)
        result.push_back(fromWide(arguments[i]));
    LocalFree(arguments);
    return result;
}

int runCommand(const CommandLine& line) {
    switch (line.kind) {
        case CommandLine::Kind::Help:
            printLine(OutputStream::Output, kSyncUsage);
            return kSyncDone;
        case CommandLine::Kind::Sync: {
            Win32SerialLink link;
            Win32Clock clock;
            Win32FileStore currentFolderFiles;
            Win32FileStore programFolderFiles(programFolder());
            Win32AnsiCodec ansi;
            PortSettings currentFolder(currentFolderFiles, ansi);
            PortSettings programFolderSettings(programFolderFiles, ansi);
            SyncReport report =
                runSync(line.request, link, clock, {currentFolder, programFolderSettings});
            printLine(report.exitCode == kSyncDone ? OutputStream::Output : OutputStream::Error,
                      report.line);
            return report.exitCode;
        }
        case CommandLine::Kind::Window:
        case CommandLine::Kind::WrongArguments:
            break;
    }
    printLine(OutputStream::Error, kSyncUsage);
    return kWrongArguments;
}

}  // namespace portwand::win32
