// The menu "Часы" on Windows: the clock commands with their dialogs, avrdude started through a
// job, the settings in the registry and the backups in the user's own folder.
#pragma once

#include <windows.h>

#include "editor/ui/clock_commands.h"
#include "editor/ui/win32/registry_programmer_settings.h"
#include "editor/ui/win32/win32_child_process.h"

namespace facetor::win32 {

class ClockFrontEnd : private ClockUi {
  public:
    ClockFrontEnd(EditorController& editor, const Clock& wallClock);
    ClockFrontEnd(const ClockFrontEnd&) = delete;
    ClockFrontEnd& operator=(const ClockFrontEnd&) = delete;

    void attach(HWND mainWindow) { owner_ = mainWindow; }
    static bool handles(int menuId) { return ClockCommands::handles(menuId); }
    void onMenu(int menuId) { commands_.onMenu(menuId); }
    // avrdude is writing into the clock: the end of the session must wait for it.
    bool writing() const { return writing_; }

  private:
    void follow(clock::AvrdudeRun& run, clock::JobKind job) override;
    void showResult(std::string_view title, std::string_view text, std::string_view log,
                    bool success) override;
    std::optional<clock::ProgrammerSettings> editProgrammer(
        const clock::ProgrammerSettings& current, std::string_view note) override;

    HWND owner_ = nullptr;
    bool writing_ = false;
    Win32ProcessLauncher launcher_;
    TickStopwatch stopwatch_;
    RegistryProgrammerSettings settings_;
    ClockCommands commands_;
};

}  // namespace facetor::win32
