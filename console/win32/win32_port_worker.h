// The port worker on a thread of its own, made with the Windows API (the win32 thread model of
// the toolchain has no std::thread).
#pragma once

#include <windows.h>

#include <deque>
#include <functional>

#include "console/port_worker.h"

namespace portwand::win32 {

class Win32PortWorker : public PortWorker {
  public:
    Win32PortWorker();
    Win32PortWorker(const Win32PortWorker&) = delete;
    Win32PortWorker& operator=(const Win32PortWorker&) = delete;
    ~Win32PortWorker() override { finish(); }

    void submit(std::function<void()> job) override;
    void finish() override;

  private:
    static DWORD WINAPI threadMain(LPVOID self);
    void run();

    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE wake_ = CONDITION_VARIABLE_INIT;
    std::deque<std::function<void()>> jobs_;  // under lock_
    bool finishing_ = false;                  // under lock_
    HANDLE thread_ = nullptr;
};

}  // namespace portwand::win32
