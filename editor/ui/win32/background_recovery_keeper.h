// Keeps the copy of unsaved work on a thread of its own, so that typing never waits for a disk:
// the editor hands over the latest copy and goes on; the thread writes it within a second or so,
// the newest copy only, however many came meanwhile.
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "editor/ui/recovery_copy.h"

namespace facetor::win32 {

class BackgroundRecoveryKeeper final : public RecoveryKeeper {
  public:
    // Copies in `folder`; this process's copy is its own, marked as in use for as long as the
    // process runs (a named mutex the system drops when the process ends, however it ends).
    explicit BackgroundRecoveryKeeper(const std::filesystem::path& folder);
    ~BackgroundRecoveryKeeper() override;
    BackgroundRecoveryKeeper(const BackgroundRecoveryKeeper&) = delete;
    BackgroundRecoveryKeeper& operator=(const BackgroundRecoveryKeeper&) = delete;

    void keep(std::optional<std::string> copy) override;
    void flush() override;
    std::optional<std::string> adoptOrphan() override;

  private:
    static DWORD WINAPI run(void* self);
    void writeUntilStopped();

    HANDLE inUseMark_ = nullptr;
    RecoveryFolder folder_;
    CRITICAL_SECTION lock_;
    CONDITION_VARIABLE changed_;
    bool pending_ = false;               // a copy waits to be written
    std::optional<std::string> latest_;  // what to write: the copy, or none (remove it)
    bool writing_ = false;
    bool hurry_ = false;  // flush() waits: no pause before the next write
    bool stopping_ = false;
    HANDLE thread_ = nullptr;
};

}  // namespace facetor::win32
