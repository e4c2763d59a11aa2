#include "editor/clock/clock_job.h"

#include <algorithm>
#include <array>

namespace facetor::clock {
namespace {

std::string operation(std::string_view mode, std::string_view file, char format) {
    return "eeprom:" + std::string(mode) + ":" + std::string(file) + ":" + format;
}

bool inGap(std::size_t address) {
    return address >= kReservedGapOffset && address < kReservedGapOffset + kReservedGapSize;
}

// Facetor's own check: every byte of the records as written, and the gap as it was.
void compareReadBack(Verdict& verdict, const EepromImage& after, const EepromImage& before,
                     const EepromImage& written) {
    for (std::size_t address = 0; address < kImageSize; ++address) {
        const std::uint8_t expected = inGap(address) ? before[address] : written[address];
        if (after[address] == expected) {
            continue;
        }
        if (verdict.differingBytes++ == 0) {
            verdict.address = static_cast<std::uint32_t>(address);
            verdict.outcome = inGap(address) ? Outcome::GapChanged : Outcome::ReadBackDiffers;
        }
        if (!inGap(address)) {
            verdict.outcome = Outcome::ReadBackDiffers;  // the skins themselves matter most
        }
    }
}

Outcome diagnose(const OutputFacts& facts) {
    if (facts.usbAccessTrouble) {
        return Outcome::UsbDriver;
    }
    if (facts.usbDeviceMissing) {
        return Outcome::ProgrammerNotFound;
    }
    if (facts.portNotOpened) {
        return Outcome::PortNotOpened;
    }
    if (facts.notInSync || facts.notResponding > 0) {
        return Outcome::NoSync;
    }
    if (facts.invalidSignature || facts.initFailed) {
        return Outcome::TargetSilent;
    }
    if (facts.signatureMismatch && facts.signature == kSignature168P) {
        return Outcome::Is168P;
    }
    if (facts.signatureMismatch) {
        return Outcome::WrongChip;
    }
    if (facts.verifyMismatch) {
        return Outcome::VerifyFailed;
    }
    if (facts.programmerNotOpened) {
        return Outcome::ProgrammerNotFound;
    }
    return Outcome::Failed;
}

}  // namespace

std::vector<std::string> operationArguments(JobKind job, std::string_view backupName) {
    if (job == JobKind::Read) {
        return {"-U", operation("r", kReadFile, 'r')};
    }
    const std::string backup = "../" + std::string(kBackupFolder) + "/" + std::string(backupName);
    return {"-U", operation("r", backup, 'r'),    "-U", operation("w", kImageFile, 'i'),
            "-U", operation("r", kAfterFile, 'r')};
}

Progress progressOf(JobKind job, const OutputFacts& facts) {
    if (facts.bars == 0) {
        return {Phase::Connecting, 0};
    }
    const int marks = facts.barMarks;
    if (job == JobKind::Read) {
        return {Phase::Reading, marks * 100 / AvrdudeOutput::kMarksPerBar};
    }
    // Shares of the whole: writing EEPROM takes far longer than reading it.
    constexpr std::array<int, 4> kShare{15, 55, 15, 15};
    constexpr std::array<Phase, 4> kPhase{Phase::Backup, Phase::Writing, Phase::Verifying,
                                          Phase::Verifying};
    const int bar = std::min(facts.bars, 4) - 1;
    int percent = 0;
    for (int i = 0; i < bar; ++i) {
        percent += kShare[i];
    }
    percent += kShare[bar] * marks / AvrdudeOutput::kMarksPerBar;
    return {kPhase[bar], percent};
}

Verdict judge(JobKind job, const AvrdudeRun& run, const ReadFiles& files,
              const EepromImage* written) {
    const OutputFacts& facts = run.facts();
    Verdict verdict;
    verdict.writeBegan = job == JobKind::Write && facts.bars >= 2;
    verdict.signature = facts.signature;
    verdict.address = facts.mismatchAddress;
    verdict.portError = facts.portError;
    verdict.exitCode = run.exitCode();
    verdict.systemError = run.systemError();
    switch (run.end()) {
        case RunEnd::Running:
            break;
        case RunEnd::CouldNotStart:
            verdict.outcome = Outcome::CouldNotStart;
            return verdict;
        case RunEnd::Cancelled:
            verdict.outcome = Outcome::Cancelled;
            return verdict;
        case RunEnd::Silent:
            verdict.outcome = Outcome::Silent;
            return verdict;
        case RunEnd::NotResponding:
            verdict.outcome = verdict.writeBegan ? Outcome::NotResponding : Outcome::NoSync;
            return verdict;
        case RunEnd::TooLong:
            verdict.outcome = Outcome::TooLong;
            return verdict;
        case RunEnd::ExitCodeUnknown:
            verdict.outcome = Outcome::ExitCodeUnknown;
            return verdict;
        case RunEnd::Exited:
            break;
    }
    if (run.exitCode() != 0) {
        verdict.outcome = diagnose(facts);
        return verdict;
    }
    if (job == JobKind::Read) {
        verdict.outcome = files.after ? Outcome::Read : Outcome::Failed;
        return verdict;
    }
    verdict.writeBegan = true;
    if (!files.before || !files.after || !written) {
        verdict.outcome = Outcome::Failed;
        return verdict;
    }
    verdict.outcome = Outcome::Written;
    verdict.address.reset();
    compareReadBack(verdict, *files.after, *files.before, *written);
    return verdict;
}

}  // namespace facetor::clock
