#include "editor/image/atomic_file.h"

#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace facetor {

namespace {

// An antivirus or an indexer may hold the file for a moment after anyone wrote it: the replace
// is tried again for about a second before it counts as failed.
constexpr int kReplaceAttempts = 20;
constexpr int kReplacePauseMs = 50;

void pause(int milliseconds) {
#ifdef _WIN32
    Sleep(static_cast<DWORD>(milliseconds));
#else
    const timespec duration{0, milliseconds * 1000000L};
    nanosleep(&duration, nullptr);
#endif
}

// Renames `from` over `to`; only a failure that another program's hold on either file can cause
// is tried again (a folder in the way, say, is not).
bool replaceRetrying(const std::filesystem::path& from, const std::filesystem::path& to) {
    for (int attempt = 1;; ++attempt) {
#ifdef _WIN32
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            return true;
        }
        const DWORD error = GetLastError();
        std::error_code ignored;
        const bool heldByAnother =
            error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
            (error == ERROR_ACCESS_DENIED && !std::filesystem::is_directory(to, ignored));
#else
        std::error_code renameError;
        std::filesystem::rename(from, to, renameError);
        if (!renameError) {
            return true;
        }
        const bool heldByAnother = renameError == std::errc::device_or_resource_busy;
#endif
        if (!heldByAnother || attempt == kReplaceAttempts) {
            return false;
        }
        pause(kReplacePauseMs);
    }
}

// A name no other save uses at the same moment: two editors saving into the same folder must
// not write into each other's temporary file.
std::filesystem::path temporaryPathFor(const std::filesystem::path& target) {
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::random_device entropy;
    std::uint32_t token = entropy();
    std::string suffix = ".tmp";
    for (int i = 0; i < 8; ++i) {
        suffix += kHexDigits[token & 0x0F];
        token >>= 4;
    }
    std::filesystem::path temporary = target;
    temporary += suffix;
    return temporary;
}

bool writeWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    const bool written = out.good();
    out.close();
    return written && !out.fail();
}

}  // namespace

bool replaceFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
    std::error_code ignored;
    std::filesystem::path temporary = temporaryPathFor(target);
    for (int attempt = 0; attempt < 8 && std::filesystem::exists(temporary, ignored); ++attempt) {
        temporary = temporaryPathFor(target);
    }
    if (!writeWholeFile(temporary, bytes)) {
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    // Replaces an existing file in one step, on POSIX and on Windows alike.
    if (!replaceRetrying(temporary, target)) {
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
}

std::filesystem::path pathInFolder(const std::filesystem::path& folder, std::string_view name) {
    const std::filesystem::path file{std::string(name)};
    return folder.empty() ? file : folder / file;
}

}  // namespace facetor
