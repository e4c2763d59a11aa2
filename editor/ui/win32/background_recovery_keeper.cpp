#include "editor/ui/win32/background_recovery_keeper.h"

#include <cwchar>
#include <utility>

#include "editor/ui/win32/wide_text.h"

namespace facetor::win32 {
namespace {

// Between two writes: a burst of typing costs one write a second, not one a letter.
constexpr ULONGLONG kPauseBetweenWritesMs = 1000;

// Tells this process from every other, also from a later one that gets the same id.
std::string ownCopyName() {
    FILETIME created{};
    FILETIME unused{};
    GetProcessTimes(GetCurrentProcess(), &created, &unused, &unused, &unused);
    wchar_t name[64];
    std::swprintf(name, 64, L"%lu-%08lx%08lx", GetCurrentProcessId(), created.dwHighDateTime,
                  created.dwLowDateTime);
    return fromWide(name);
}

std::wstring inUseMarkName(const std::string& copyName) {
    return L"Local\\Facetor.Recovery." + toWide(copyName);
}

// Whether the process a copy is named after still runs: its mark exists as long as it does. A
// mark that cannot be looked at counts as in use; that copy is left alone.
bool copyInUse(const std::string& copyName) {
    if (HANDLE mark = OpenMutexW(SYNCHRONIZE, FALSE, inUseMarkName(copyName).c_str())) {
        CloseHandle(mark);
        return true;
    }
    return GetLastError() != ERROR_FILE_NOT_FOUND;
}

}  // namespace

BackgroundRecoveryKeeper::BackgroundRecoveryKeeper(const std::filesystem::path& folder)
    : inUseMark_(CreateMutexW(nullptr, FALSE, inUseMarkName(ownCopyName()).c_str())),
      folder_(folder, ownCopyName(), copyInUse) {
    InitializeCriticalSection(&lock_);
    InitializeConditionVariable(&changed_);
    thread_ = CreateThread(nullptr, 0, &BackgroundRecoveryKeeper::run, this, 0, nullptr);
}

BackgroundRecoveryKeeper::~BackgroundRecoveryKeeper() {
    if (thread_) {
        EnterCriticalSection(&lock_);
        stopping_ = true;  // what is still pending is written first
        WakeAllConditionVariable(&changed_);
        LeaveCriticalSection(&lock_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    DeleteCriticalSection(&lock_);
    if (inUseMark_) {
        CloseHandle(inUseMark_);
    }
}

void BackgroundRecoveryKeeper::keep(std::optional<std::string> copy) {
    if (!thread_) {  // no thread to be had: better late than never
        ImmediateRecoveryKeeper(folder_).keep(std::move(copy));
        return;
    }
    EnterCriticalSection(&lock_);
    latest_ = std::move(copy);
    pending_ = true;
    WakeAllConditionVariable(&changed_);
    LeaveCriticalSection(&lock_);
}

void BackgroundRecoveryKeeper::flush() {
    if (!thread_) {
        return;
    }
    EnterCriticalSection(&lock_);
    hurry_ = true;
    WakeAllConditionVariable(&changed_);
    while (pending_ || writing_) {
        SleepConditionVariableCS(&changed_, &lock_, INFINITE);
    }
    hurry_ = false;
    LeaveCriticalSection(&lock_);
}

std::optional<std::string> BackgroundRecoveryKeeper::adoptOrphan() {
    return folder_.adoptOrphan();
}

DWORD WINAPI BackgroundRecoveryKeeper::run(void* self) {
    static_cast<BackgroundRecoveryKeeper*>(self)->writeUntilStopped();
    return 0;
}

void BackgroundRecoveryKeeper::writeUntilStopped() {
    EnterCriticalSection(&lock_);
    for (;;) {
        while (!pending_ && !stopping_) {
            SleepConditionVariableCS(&changed_, &lock_, INFINITE);
        }
        if (!pending_) {
            break;  // stopping, and everything is written
        }
        std::optional<std::string> copy = std::move(latest_);
        pending_ = false;
        writing_ = true;
        LeaveCriticalSection(&lock_);
        if (copy) {
            folder_.write(*copy);
        } else {
            folder_.remove();
        }
        EnterCriticalSection(&lock_);
        writing_ = false;
        WakeAllConditionVariable(&changed_);
        const ULONGLONG until = GetTickCount64() + kPauseBetweenWritesMs;
        for (ULONGLONG now = GetTickCount64(); !hurry_ && !stopping_ && now < until;
             now = GetTickCount64()) {
            SleepConditionVariableCS(&changed_, &lock_, static_cast<DWORD>(until - now));
        }
    }
    LeaveCriticalSection(&lock_);
}

}  // namespace facetor::win32
