#include "console/win32/win32_port_worker.h"

#include <utility>

namespace portwand::win32 {

Win32PortWorker::Win32PortWorker() {
    thread_ = CreateThread(nullptr, 0, threadMain, this, 0, nullptr);
}

void Win32PortWorker::submit(std::function<void()> job) {
    AcquireSRWLockExclusive(&lock_);
    bool taken = !finishing_ && thread_;
    if (taken)
        jobs_.push_back(std::move(job));
    ReleaseSRWLockExclusive(&lock_);
    if (taken)
        WakeConditionVariable(&wake_);
}

void Win32PortWorker::finish() {
    AcquireSRWLockExclusive(&lock_);
    finishing_ = true;
    jobs_.clear();
    ReleaseSRWLockExclusive(&lock_);
    WakeConditionVariable(&wake_);
    if (thread_) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
}

DWORD WINAPI Win32PortWorker::threadMain(LPVOID self) {
    static_cast<Win32PortWorker*>(self)->run();
    return 0;
}

void Win32PortWorker::run() {
    for (;;) {
        AcquireSRWLockExclusive(&lock_);
        while (jobs_.empty() && !finishing_)
            SleepConditionVariableSRW(&wake_, &lock_, INFINITE, 0);
        if (finishing_) {
            ReleaseSRWLockExclusive(&lock_);
            return;
        }
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        ReleaseSRWLockExclusive(&lock_);
        job();
    }
}

}  // namespace portwand::win32
