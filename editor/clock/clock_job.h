// One "Записать в часы" or "Прочитать из часов": the EEPROM operations avrdude is given, the
// phase its output shows, and the result, decided from how the run ended, what avrdude said and
// what the files read from the clock hold, before any text is chosen.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/clock/avrdude_output.h"
#include "editor/clock/avrdude_run.h"
#include "editor/clock/programmer.h"
#include "editor/image/eeprom_image.h"

namespace facetor::clock {

enum class JobKind { Write, Read };

// The files of one run, named relative to avrdude's working folder: short ASCII names, so that
// no code page stands between Facetor and avrdude. The backup of a write goes straight into the
// Backups folder beside it, under its dated name (forward slashes suit both Windows and avrdude).
inline constexpr std::string_view kBackupFolder = "Backups";
inline constexpr std::string_view kImageFile = "image.eep";  // the records to write
inline constexpr std::string_view kAfterFile = "after.bin";  // read back after the write
inline constexpr std::string_view kReadFile = "read.bin";    // "Прочитать из часов"

// The -U operations, in order: a write reads the EEPROM (raw) into `backupName` in the Backups
// folder, writes the image's records (its 448 bytes, never the reserved gap; avrdude verifies
// them), and reads it again (raw).
std::vector<std::string> operationArguments(JobKind job, std::string_view backupName = {});

enum class Phase { Connecting, Backup, Writing, Verifying, Reading };

struct Progress {
    Phase phase;
    int percent;  // of the whole job, 0..100
};

// Follows avrdude's own bars: the first of a write is the backup, the second the write, the
// third avrdude's verification and the fourth the read back.
Progress progressOf(JobKind job, const OutputFacts& facts);

inline constexpr std::uint32_t kSignature168 = 0x1E9406;
inline constexpr std::uint32_t kSignature168P = 0x1E940B;

enum class Outcome {
    Written,
    Read,
    Is168P,              // the chip is an ATmega168P: run again with m168p
    CouldNotStart,       // avrdude.exe would not start
    ProgrammerNotFound,  // the USB programmer is not plugged in
    UsbDriver,           // it is, but Windows gives no access: the driver
    PortNotOpened,       // the COM port is busy or does not exist
    NoSync,              // a serial programmer or bootloader that does not answer
    TargetSilent,        // the programmer answers, the chip does not
    WrongChip,           // another signature: not an ATmega168
    VerifyFailed,        // avrdude's verification failed
    ReadBackDiffers,     // Facetor's own comparison of the read back with the image
    GapChanged,          // the reserved gap was changed by the write
    Cancelled,
    Silent,
    NotResponding,  // the watchdog: three times "programmer is not responding"
    TooLong,
    ExitCodeUnknown,
    Failed,  // avrdude failed for another reason: see the log
};

struct Verdict {
    Outcome outcome = Outcome::Failed;
    bool writeBegan = false;  // the EEPROM may have changed
    std::optional<std::uint32_t> signature;
    std::optional<std::uint32_t> address;  // the first byte that differs
    int differingBytes = 0;
    std::string portError;  // the system's reason (as avrdude printed it)
    std::uint32_t exitCode = 0;
    std::uint32_t systemError = 0;
};

// What the run's files hold, when they hold all 512 bytes.
struct ReadFiles {
    std::optional<EepromImage> before;  // of a write
    std::optional<EepromImage> after;   // of a write, or what a read read
};

Verdict judge(JobKind job, const AvrdudeRun& run, const ReadFiles& files,
              const EepromImage* written = nullptr);

}  // namespace facetor::clock
