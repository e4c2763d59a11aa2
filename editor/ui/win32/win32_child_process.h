// Starting avrdude on Windows. The child starts suspended inside a job object that kills every
// process in it when the job closes, and is resumed only once it is in the job: "Отмена", the
// watchdog and Facetor's own end all end avrdude and whatever it started. Its standard output
// and error share one pipe, read by a thread of its own into a buffer that the progress
// dialog's timer drains; its input is the NUL device.
#pragma once

#include "editor/clock/child_process.h"

namespace facetor::win32 {

class Win32ProcessLauncher : public clock::ProcessLauncher {
  public:
    clock::StartedProcess start(const std::filesystem::path& program,
                                const std::vector<std::string>& arguments,
                                const std::filesystem::path& workFolder) override;
};

// GetTickCount64: milliseconds since the system started.
class TickStopwatch : public clock::Stopwatch {
  public:
    std::int64_t milliseconds() const override;
};

}  // namespace facetor::win32
