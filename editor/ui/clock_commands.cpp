#include "editor/ui/clock_commands.h"

#include <cstdio>
#include <fstream>
#include <system_error>

#include "editor/image/eep_file.h"
#include "editor/ui/control_ids.h"

namespace facetor {
namespace {

using clock::JobKind;
using clock::Outcome;

constexpr std::string_view kWorkFolderName = "Transfer-";

std::string utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// A file avrdude read: all 512 bytes, or nothing.
std::optional<EepromImage> readImageFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    EepromImage image{};
    if (!in.read(reinterpret_cast<char*>(image.data()), image.size()) || in.peek() != EOF) {
        return std::nullopt;
    }
    return image;
}

bool writeText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

// The files of a run are read once it has ended: none is left behind but the backup.
void removeWorkFiles(const std::filesystem::path& folder) {
    std::error_code ignored;
    for (std::string_view file : {clock::kImageFile, clock::kAfterFile, clock::kReadFile}) {
        std::filesystem::remove(folder / file, ignored);
    }
    std::filesystem::remove(folder, ignored);  // only when empty
}

std::string datedName(const LocalDateTime& t, int attempt) {
    char name[64];
    if (attempt == 0) {
        std::snprintf(name, sizeof name, "eeprom-%04d-%02d-%02d-%02d%02d%02d.bin", t.year, t.month,
                      t.day, t.hour, t.minute, t.second);
    } else {
        std::snprintf(name, sizeof name, "eeprom-%04d-%02d-%02d-%02d%02d%02d-%d.bin", t.year,
                      t.month, t.day, t.hour, t.minute, t.second, attempt + 1);
    }
    return name;
}

}  // namespace

std::vector<MenuItemSpec> clockMenu() {
    return {{ids::kMenuWriteToClock, std::string(clock::kWriteItem), kNoPicture},
            {ids::kMenuReadFromClock, std::string(clock::kReadItem), kNoPicture},
            {0, "", kNoPicture},
            {ids::kMenuProgrammer, std::string(clock::kProgrammerItem), kNoPicture}};
}

std::vector<ShortcutSpec> clockShortcuts() {
    return {{'U', ids::kMenuWriteToClock, true}, {'U', ids::kMenuReadFromClock, true, true}};
}

ClockCommands::ClockCommands(EditorController& editor, ClockServices services)
    : editor_(editor), services_(std::move(services)) {}

bool ClockCommands::handles(int menuId) {
    return menuId >= ids::kMenuWriteToClock && menuId <= ids::kMenuProgrammer;
}

void ClockCommands::onMenu(int menuId) {
    switch (menuId) {
        case ids::kMenuWriteToClock:
            writeToClock();
            break;
        case ids::kMenuReadFromClock:
            readFromClock();
            return;  // the opening hands the keyboard back itself
        case ids::kMenuProgrammer:
            editProgrammer();
            break;
        default:
            return;
    }
    editor_.onActivated();  // back to typing into the cursor cell
}

void ClockCommands::writeToClock() {
    const EepromImage image = editor_.imageForClock();
    const std::optional<Setup> setup = prepare(JobKind::Write);
    if (!setup) {
        return;
    }
    if (!writeText(setup->workFolder / clock::kImageFile, eepFileText(image))) {
        services_.ui.showResult(
            clock::jobTitle(JobKind::Write),
            clock::preparationFailed(utf8(setup->workFolder), std::string(clock::kImageFile)), {},
            false);
        return;
    }
    const Finished finished = runOnTheChip(JobKind::Write, *setup, &image);
    const std::string backup =
        finished.files.before ? keepBackup(*setup, *finished.files.before) : std::string();
    removeWorkFiles(setup->workFolder);
    report(JobKind::Write, *setup, finished, backup);
}

void ClockCommands::readFromClock() {
    const std::optional<Setup> setup = prepare(JobKind::Read);
    if (!setup) {
        editor_.onActivated();
        return;
    }
    const Finished finished = runOnTheChip(JobKind::Read, *setup, nullptr);
    removeWorkFiles(setup->workFolder);
    if (finished.verdict.outcome == Outcome::Read && finished.files.after) {
        editor_.openImageAsDesign(*finished.files.after);
        return;
    }
    report(JobKind::Read, *setup, finished, {});
    editor_.onActivated();
}

void ClockCommands::editProgrammer() {
    if (const auto chosen = services_.ui.editProgrammer(services_.settings.load(), {})) {
        services_.settings.save(*chosen);
    }
}

// The settings, avrdude and an empty work folder; the programmer dialog opens by itself when
// avrdude cannot be found or a COM port is missing.
std::optional<ClockCommands::Setup> ClockCommands::prepare(JobKind job) {
    // Beside the Backups folder, as avrdude is told where the backup goes relative to it.
    Setup setup{services_.settings.load(),
                {},
                services_.dataFolder / (std::string(kWorkFolderName) + services_.instanceName),
                {}};
    std::optional<clock::FoundAvrdude> found = services_.findAvrdude(setup.settings.avrdude);
    const auto portMissing = [&setup] {
        return clock::programmerInfo(setup.settings.programmer).serial &&
               setup.settings.port.empty();
    };
    if (!found || portMissing()) {
        const auto chosen = services_.ui.editProgrammer(
            setup.settings, !found ? clock::kAvrdudeMissing : clock::kNoPort);
        if (!chosen) {
            return std::nullopt;
        }
        services_.settings.save(*chosen);
        setup.settings = *chosen;
        found = services_.findAvrdude(setup.settings.avrdude);
    }
    const std::string_view title = clock::jobTitle(job);
    if (!found || portMissing()) {
        services_.ui.showResult(title, !found ? clock::kNoAvrdude : clock::kNoPort, {}, false);
        return std::nullopt;
    }
    setup.avrdude = *found;
    std::error_code error;
    removeWorkFiles(setup.workFolder);
    std::filesystem::create_directories(setup.workFolder, error);
    if (!error) {
        std::filesystem::create_directories(backupFolder(), error);
    }
    // A name no backup has yet: that of this minute and second, numbered when it is taken.
    const LocalDateTime now = services_.wallClock.now();
    for (int attempt = 0; setup.backupName.empty() && attempt < 100; ++attempt) {
        const std::string name = datedName(now, attempt);
        std::error_code ignored;
        if (!std::filesystem::exists(backupFolder() / name, ignored)) {
            setup.backupName = name;
        }
    }
    if (error) {
        services_.ui.showResult(
            title, clock::preparationFailed(utf8(setup.workFolder), error.message()), {}, false);
        return std::nullopt;
    }
    return setup;
}

ClockCommands::Finished ClockCommands::run(JobKind job, const Setup& setup, std::string_view part,
                                           const EepromImage* image) {
    const std::filesystem::path& folder = setup.workFolder;
    Finished finished;
    std::vector<std::string> arguments =
        clock::connectionArguments(setup.settings, part, setup.avrdude.config);
    const std::vector<std::string> operations = clock::operationArguments(job, setup.backupName);
    arguments.insert(arguments.end(), operations.begin(), operations.end());

    clock::AvrdudeRun avrdude(services_.launcher, services_.stopwatch, services_.limits);
    avrdude.start(setup.avrdude.program, arguments, folder);
    services_.ui.follow(avrdude, job);

    if (job == JobKind::Write) {
        finished.files.before = readImageFile(backupFolder() / setup.backupName);
        finished.files.after = readImageFile(folder / clock::kAfterFile);
    } else {
        finished.files.after = readImageFile(folder / clock::kReadFile);
    }
    finished.verdict = clock::judge(job, avrdude, finished.files, image);
    finished.log = std::string(clock::kLogCommand) + "\n" + avrdude.commandLine() + "\n\n" +
                   std::string(clock::kLogOutput) + "\n" + services_.outputToUtf8(avrdude.output());
    return finished;
}

// As an ATmega168, and again as an ATmega168P when that is what answers (nothing was written
// then); the log holds both runs.
ClockCommands::Finished ClockCommands::runOnTheChip(JobKind job, const Setup& setup,
                                                    const EepromImage* image) {
    Finished finished = run(job, setup, clock::kPart168, image);
    if (finished.verdict.outcome == Outcome::Is168P) {
        const std::string firstLog = finished.log;
        finished = run(job, setup, clock::kPart168P, image);
        finished.as168P = true;
        finished.log = firstLog + "\n\n" + finished.log;
    }
    return finished;
}

std::filesystem::path ClockCommands::backupFolder() const {
    return services_.dataFolder / clock::kBackupFolder;
}

// Beside the EEPROM as avrdude read it, the same as Intel HEX that Facetor opens. The path of
// the .eep, or of the .bin when the .eep could not be written.
std::string ClockCommands::keepBackup(const Setup& setup, const EepromImage& before) {
    std::filesystem::path backup = backupFolder() / setup.backupName;
    const std::filesystem::path asHex = std::filesystem::path(backup).replace_extension(".eep");
    return utf8(writeText(asHex, wholeEepromHexText(before)) ? asHex : backup);
}

void ClockCommands::report(JobKind job, const Setup& setup, const Finished& finished,
                           const std::string& backup) {
    clock::ResultContext context{setup.settings, backup, finished.as168P, {}, {}};
    context.portError = services_.outputToUtf8(finished.verdict.portError);
    if (finished.verdict.systemError != 0) {
        context.systemError = services_.systemErrorText(finished.verdict.systemError);
    }
    const bool success =
        finished.verdict.outcome == Outcome::Written || finished.verdict.outcome == Outcome::Read;
    services_.ui.showResult(clock::jobTitle(job), clock::resultText(job, finished.verdict, context),
                            finished.log, success);
}

}  // namespace facetor
