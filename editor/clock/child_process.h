// Starting a program and following it: the portable side of avrdude's runs. The Win32 front end
// starts the child in a job that ends with it, reads its output on a thread of its own and hands
// it over here; the tests use a fake.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace facetor::clock {

class ChildProcess {
  public:
    virtual ~ChildProcess() = default;
    // The bytes of its standard output and error together that came since the last call.
    virtual std::string takeOutput() = 0;
    // True once its output has ended and it has exited.
    virtual bool finished() = 0;
    // Once finished: its exit code, or std::nullopt when the system could not tell it.
    virtual std::optional<std::uint32_t> exitCode() = 0;
    // The system's error code of the last thing that failed (0: none).
    virtual std::uint32_t systemError() const = 0;
    // Ends it and every process it started; finished() becomes true soon after.
    virtual void terminate() = 0;
};

struct StartedProcess {
    std::unique_ptr<ChildProcess> process;  // null when it could not be started
    std::uint32_t systemError = 0;          // why not
};

class ProcessLauncher {
  public:
    virtual ~ProcessLauncher() = default;
    // Starts `program` with `arguments` (UTF-8) in `workFolder`, without a window, its input
    // empty.
    virtual StartedProcess start(const std::filesystem::path& program,
                                 const std::vector<std::string>& arguments,
                                 const std::filesystem::path& workFolder) = 0;
};

// Milliseconds from any fixed moment, never going back: the deadlines of a run.
class Stopwatch {
  public:
    virtual ~Stopwatch() = default;
    virtual std::int64_t milliseconds() const = 0;
};

// The command line that Windows programs split back into `arguments` as given (the C runtime's
// rules: quotes around an argument with blanks or quotes, backslashes doubled before a quote).
std::string windowsCommandLine(const std::filesystem::path& program,
                               const std::vector<std::string>& arguments);

}  // namespace facetor::clock
