// The console's clock, ANSI code page and settings file on Windows.
#pragma once

#include <string>
#include <utility>

#include "console/clock.h"
#include "console/file_store.h"
#include "console/text_codec.h"

namespace portwand::win32 {

// Windows 11 lets a process's 1 ms timer resolution lapse while its windows are minimised, covered
// or absent (a scheduled "/sync" has none) unless the process opts out. Looked up at run time:
// older Windows has no such call and needs none.
void keepTimerResolutionWhenHidden();

class Win32Clock : public Clock {
  public:
    LocalTime now() override;
    std::int64_t steadyMicros() override;
    void sleepMs(int milliseconds) override;
    void beginFineResolution() override;
    void endFineResolution() override;
};

class Win32AnsiCodec : public AnsiCodec {
  public:
    std::optional<std::u16string> decode(std::string_view bytes) const override;
    std::string encode(std::u16string_view text) const override;
};

// The full path of this program, and its folder with a trailing backslash.
std::wstring programPath();
std::wstring programFolder();

// Files in the current folder, or in the folder given (its path ending in a backslash).
class Win32FileStore : public FileStore {
  public:
    Win32FileStore() = default;
    explicit Win32FileStore(std::wstring folder) : folder_(std::move(folder)) {}

    FileContents read(const std::string& name) override;
    bool replace(const std::string& name, const std::string& bytes) override;

  private:
    std::wstring folder_;
};

}  // namespace portwand::win32
