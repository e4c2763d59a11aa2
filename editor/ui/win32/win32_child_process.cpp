#include "editor/ui/win32/win32_child_process.h"

#include <windows.h>

#include <atomic>

#include "editor/ui/win32/wide_text.h"

namespace facetor::win32 {
namespace {

// Closes a handle once, whether or not it is valid.
void closeHandle(HANDLE& handle) {
    if (handle && handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
    }
    handle = nullptr;
}

class Win32ChildProcess : public clock::ChildProcess {
  public:
    Win32ChildProcess(HANDLE job, HANDLE process, HANDLE outputPipe)
        : job_(job), process_(process), pipe_(outputPipe) {
        InitializeCriticalSection(&lock_);
        reader_ = CreateThread(nullptr, 0, &Win32ChildProcess::readAll, this, 0, nullptr);
        if (!reader_) {
            error_ = GetLastError();
            outputEnded_ = true;
        }
    }

    ~Win32ChildProcess() override {
        terminate();
        if (reader_) {
            // A process outside the job (where jobs cannot nest) may still hold the pipe open.
            CancelSynchronousIo(reader_);
            WaitForSingleObject(reader_, INFINITE);
        }
        closeHandle(reader_);
        closeHandle(pipe_);
        closeHandle(process_);
        closeHandle(job_);  // kills whatever may still be in it
        DeleteCriticalSection(&lock_);
    }
    Win32ChildProcess(const Win32ChildProcess&) = delete;
    Win32ChildProcess& operator=(const Win32ChildProcess&) = delete;

    std::string takeOutput() override {
        EnterCriticalSection(&lock_);
        std::string taken;
        taken.swap(pending_);
        LeaveCriticalSection(&lock_);
        return taken;
    }

    bool finished() override {
        return outputEnded_.load() && WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
    }

    std::optional<std::uint32_t> exitCode() override {
        DWORD code = 0;
        if (!GetExitCodeProcess(process_, &code)) {
            error_ = GetLastError();
            return std::nullopt;
        }
        return code;
    }

    std::uint32_t systemError() const override { return error_; }

    void terminate() override {
        if (job_ && TerminateJobObject(job_, 1)) {
            return;
        }
        TerminateProcess(process_, 1);  // not in a job: at least the child itself
    }

  private:
    // The reader thread: everything the child and its children write, until the last of them
    // has closed the pipe.
    static DWORD WINAPI readAll(void* self) {
        auto* child = static_cast<Win32ChildProcess*>(self);
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(child->pipe_, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            EnterCriticalSection(&child->lock_);
            child->pending_.append(buffer, got);
            LeaveCriticalSection(&child->lock_);
        }
        child->outputEnded_.store(true);
        return 0;
    }

    HANDLE job_;
    HANDLE process_;
    HANDLE pipe_;
    HANDLE reader_ = nullptr;
    CRITICAL_SECTION lock_;
    std::string pending_;  // written by the reader thread, taken by the window's thread
    std::atomic<bool> outputEnded_{false};
    std::uint32_t error_ = 0;
};

clock::StartedProcess failed() {
    return {nullptr, GetLastError()};
}

// A job whose processes all end when its last handle closes.
HANDLE killOnCloseJob() {
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (!job) {
        return nullptr;
    }
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        CloseHandle(job);
        return nullptr;
    }
    return job;
}

}  // namespace

clock::StartedProcess Win32ProcessLauncher::start(const std::filesystem::path& program,
                                                  const std::vector<std::string>& arguments,
                                                  const std::filesystem::path& workFolder) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        return failed();
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);  // the child gets only its end
    HANDLE nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             OPEN_EXISTING, 0, nullptr);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    std::wstring commandLine = toWide(clock::windowsCommandLine(program, arguments));
    const std::wstring application = program.wstring();
    const std::wstring folder = workFolder.wstring();
    PROCESS_INFORMATION started{};
    const BOOL ok = CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                   CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr,
                                   folder.empty() ? nullptr : folder.c_str(), &startup, &started);
    const DWORD startError = GetLastError();
    closeHandle(writeEnd);  // the child holds its own copy: the pipe ends when it does
    closeHandle(nul);
    if (!ok) {
        closeHandle(readEnd);
        return {nullptr, startError};
    }
    // Without a job (where jobs cannot nest) the child still runs; ending it then ends only it.
    HANDLE job = killOnCloseJob();
    if (job && !AssignProcessToJobObject(job, started.hProcess)) {
        closeHandle(job);
    }
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);
    return {std::make_unique<Win32ChildProcess>(job, started.hProcess, readEnd), 0};
}

std::int64_t TickStopwatch::milliseconds() const {
    return static_cast<std::int64_t>(GetTickCount64());
}

}  // namespace facetor::win32
