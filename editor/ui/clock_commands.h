// The menu "Часы": "Записать в часы", "Прочитать из часов" and "Программатор...". Each write or
// read is one run of avrdude in a folder of this Facetor's own in the per-user folder, followed
// by a progress dialog and ended by a result message that says what happened and what to do; the
// EEPROM as it was before a write is kept as a dated backup there.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/clock/avrdude_locator.h"
#include "editor/clock/avrdude_run.h"
#include "editor/clock/clock_job.h"
#include "editor/clock/clock_messages.h"
#include "editor/clock/programmer.h"
#include "editor/ui/editor_controller.h"
#include "editor/ui/window_layout.h"

namespace facetor {

// The dialogs of the clock commands, all modal.
class ClockUi {
  public:
    virtual ~ClockUi() = default;
    // Shows the phase and progress of `run`, polling it, until it has ended; "Отмена" cancels it.
    virtual void follow(clock::AvrdudeRun& run, clock::JobKind job) = 0;
    // The result, with OK and "Показать журнал" showing `log` (all UTF-8; no log: no button).
    virtual void showResult(std::string_view title, std::string_view text, std::string_view log,
                            bool success) = 0;
    // "Программатор": the settings the user confirmed with OK, or std::nullopt; `note` (may be
    // empty) says why it opened by itself.
    virtual std::optional<clock::ProgrammerSettings> editProgrammer(
        const clock::ProgrammerSettings& current, std::string_view note) = 0;
};

struct ClockServices {
    ClockUi& ui;
    clock::ProgrammerSettingsStore& settings;
    clock::ProcessLauncher& launcher;
    const clock::Stopwatch& stopwatch;
    const Clock& wallClock;  // the backups' dated names
    std::function<std::optional<clock::FoundAvrdude>(const std::filesystem::path& chosen)>
        findAvrdude;
    std::function<std::string(std::string_view)> outputToUtf8;  // avrdude's ANSI code page
    std::function<std::string(std::uint32_t)> systemErrorText;  // UTF-8
    std::filesystem::path dataFolder;  // %LOCALAPPDATA%\Facetor; backups go into Backups there
    // This running Facetor among others (its process id): each keeps the files of its runs
    // apart, so one never writes another's image into a clock.
    std::string instanceName;
    clock::RunLimits limits = {};
};

std::vector<MenuItemSpec> clockMenu();
std::vector<ShortcutSpec> clockShortcuts();

class ClockCommands {
  public:
    ClockCommands(EditorController& editor, ClockServices services);

    static bool handles(int menuId);
    void onMenu(int menuId);

  private:
    struct Setup {
        clock::ProgrammerSettings settings;
        clock::FoundAvrdude avrdude;
        std::filesystem::path workFolder;
        std::string backupName;  // of a write: in the Backups folder
    };
    struct Finished {
        clock::Verdict verdict;
        clock::ReadFiles files;
        std::string log;
        bool as168P = false;
    };

    void writeToClock();
    void readFromClock();
    void editProgrammer();
    std::optional<Setup> prepare(clock::JobKind job);
    Finished run(clock::JobKind job, const Setup& setup, std::string_view part,
                 const EepromImage* image);
    Finished runOnTheChip(clock::JobKind job, const Setup& setup, const EepromImage* image);
    std::filesystem::path backupFolder() const;
    std::string keepBackup(const Setup& setup, const EepromImage& before);
    void report(clock::JobKind job, const Setup& setup, const Finished& finished,
                const std::string& backup);

    EditorController& editor_;
    ClockServices services_;
};

}  // namespace facetor
