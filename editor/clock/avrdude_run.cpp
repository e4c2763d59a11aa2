#include "editor/clock/avrdude_run.h"

#include <utility>

namespace facetor::clock {
namespace {

constexpr std::string_view kCutMarker = "\n[...]\n";

}  // namespace

AvrdudeRun::AvrdudeRun(ProcessLauncher& launcher, const Stopwatch& stopwatch, RunLimits limits)
    : launcher_(launcher), stopwatch_(stopwatch), limits_(limits) {}

void AvrdudeRun::start(const std::filesystem::path& avrdude,
                       const std::vector<std::string>& arguments,
                       const std::filesystem::path& workFolder) {
    commandLine_ = windowsCommandLine(avrdude, arguments);
    startedAt_ = lastOutputAt_ = stopwatch_.milliseconds();
    StartedProcess started = launcher_.start(avrdude, arguments, workFolder);
    process_ = std::move(started.process);
    if (!process_) {
        systemError_ = started.systemError;
        end_ = RunEnd::CouldNotStart;
    }
}

bool AvrdudeRun::poll() {
    if (end_ != RunEnd::Running) {
        return false;
    }
    const std::int64_t now = stopwatch_.milliseconds();
    const std::string chunk = process_->takeOutput();
    if (!chunk.empty()) {
        lastOutputAt_ = now;
        parser_.feed(chunk);
        keep(chunk);
    }
    if (process_->finished()) {
        // What came between the last read and the end.
        const std::string rest = process_->takeOutput();
        parser_.feed(rest);
        keep(rest);
        parser_.finish();
        collectEnd();
        return false;
    }
    if (stoppedFor_ != RunEnd::Running && now - stoppedAt_ >= limits_.endingMs) {
        parser_.finish();  // what the system could not end is left to it
        end_ = stoppedFor_;
        return false;
    }
    if (stoppedFor_ == RunEnd::Running) {
        if (parser_.facts().notResponding >= limits_.notResponding) {
            stop(RunEnd::NotResponding);
        } else if (now - lastOutputAt_ >= limits_.silenceMs) {
            stop(RunEnd::Silent);
        } else if (now - startedAt_ >= limits_.wholeRunMs) {
            stop(RunEnd::TooLong);
        }
    }
    return true;
}

void AvrdudeRun::cancel() {
    if (end_ == RunEnd::Running && stoppedFor_ == RunEnd::Running) {
        stop(RunEnd::Cancelled);
    }
}

void AvrdudeRun::stop(RunEnd reason) {
    stoppedFor_ = reason;
    stoppedAt_ = stopwatch_.milliseconds();
    process_->terminate();
}

void AvrdudeRun::collectEnd() {
    const std::optional<std::uint32_t> code = process_->exitCode();
    if (stoppedFor_ != RunEnd::Running) {
        end_ = stoppedFor_;
    } else if (code) {
        end_ = RunEnd::Exited;
        exitCode_ = *code;
    } else {
        end_ = RunEnd::ExitCodeUnknown;
        systemError_ = process_->systemError();
    }
}

// The head of the output tells how the run began, the tail how it ended: beyond the limit the
// middle goes.
void AvrdudeRun::keep(const std::string& chunk) {
    output_ += chunk;
    if (output_.size() <= kOutputLimit) {
        return;
    }
    const std::size_t head = kOutputLimit / 4;
    if (!outputCut_) {
        output_.insert(head, kCutMarker);
        outputCut_ = true;
    }
    const std::size_t keptHead = head + kCutMarker.size();
    output_.erase(keptHead, output_.size() - kOutputLimit);
}

}  // namespace facetor::clock
