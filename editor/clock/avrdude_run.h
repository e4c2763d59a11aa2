// One run of avrdude, followed to its end: its output read into AvrdudeOutput and kept for the
// log, and the watchdog. Facetor ends the run (avrdude and all it started) when it is cancelled,
// when avrdude prints nothing for 20 s, when it says three times that the programmer does not
// respond, or when it takes longer than any write could. The caller polls it from its timer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/clock/avrdude_output.h"
#include "editor/clock/child_process.h"

namespace facetor::clock {

struct RunLimits {
    std::int64_t silenceMs = 20'000;
    int notResponding = 3;
    std::int64_t wholeRunMs = 300'000;
    // After Facetor ended it: how long to wait for the end before no longer waiting.
    std::int64_t endingMs = 10'000;
};

// How a run ended. Ending it on purpose (cancelled, a watchdog) wins over what it exited with.
enum class RunEnd {
    Running,
    Exited,           // by itself: see exitCode()
    CouldNotStart,    // see systemError()
    Cancelled,        // "Отмена"
    Silent,           // nothing printed for silenceMs
    NotResponding,    // "programmer is not responding" notResponding times
    TooLong,          // longer than wholeRunMs
    ExitCodeUnknown,  // it ended, but the system could not tell how: see systemError()
};

class AvrdudeRun {
  public:
    static constexpr std::size_t kOutputLimit = 1 << 20;  // kept for the log, head and tail

    AvrdudeRun(ProcessLauncher& launcher, const Stopwatch& stopwatch, RunLimits limits = {});

    void start(const std::filesystem::path& avrdude, const std::vector<std::string>& arguments,
               const std::filesystem::path& workFolder);
    // Takes in what avrdude printed and checks the deadlines; false once the run is over.
    bool poll();
    void cancel();

    RunEnd end() const { return end_; }
    std::uint32_t exitCode() const { return exitCode_; }
    std::uint32_t systemError() const { return systemError_; }
    const OutputFacts& facts() const { return parser_.facts(); }
    // The output as avrdude printed it (ANSI code page), its middle dropped beyond kOutputLimit.
    const std::string& output() const { return output_; }
    // The command line as it was started, for the log (UTF-8).
    const std::string& commandLine() const { return commandLine_; }

  private:
    void keep(const std::string& chunk);
    void stop(RunEnd reason);
    void collectEnd();

    ProcessLauncher& launcher_;
    const Stopwatch& stopwatch_;
    RunLimits limits_;
    std::unique_ptr<ChildProcess> process_;
    AvrdudeOutput parser_;
    std::string output_;
    bool outputCut_ = false;
    std::string commandLine_;
    std::int64_t startedAt_ = 0;
    std::int64_t lastOutputAt_ = 0;
    std::int64_t stoppedAt_ = 0;
    RunEnd end_ = RunEnd::Running;
    RunEnd stoppedFor_ = RunEnd::Running;  // set when Facetor ends it on purpose
    std::uint32_t exitCode_ = 0;
    std::uint32_t systemError_ = 0;
};

}  // namespace facetor::clock
