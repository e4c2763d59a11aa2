#include "editor/ui/recovery_copy.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>
#include <vector>

#include "editor/image/atomic_file.h"
#include "editor/image/eep_file.h"

namespace facetor {
namespace {

constexpr std::string_view kFormatLine = "Facetor recovery copy 1";
constexpr std::string_view kFixedNames = "fixed";
constexpr std::string_view kOwnFiles = "own";
constexpr std::string_view kCopyExtension = ".recovery";
constexpr std::uintmax_t kMaxCopySize = std::uintmax_t{64} * 1024;

std::string utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::filesystem::path fromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// The next line of `text` from `at` on, without its LF; std::nullopt at the end.
std::optional<std::string_view> nextLine(std::string_view text, std::size_t& at) {
    const std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view line = text.substr(at, end - at);
    at = end + 1;
    return line;
}

std::optional<std::string> readSmallFile(const std::filesystem::path& file) {
    std::error_code error;
    if (std::filesystem::file_size(file, error) > kMaxCopySize || error) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

std::string recoveryCopyText(const EepromImage& image, const ImageFilePaths& files,
                             bool fixedNames) {
    std::string text(kFormatLine);
    text += '\n';
    text += fixedNames ? kFixedNames : kOwnFiles;
    text += '\n' + utf8(files.eep) + '\n' + utf8(files.bin) + '\n';
    return text + eepFileText(image);
}

std::optional<RecoveredWork> parseRecoveryCopy(std::string_view text) {
    std::size_t at = 0;
    const auto format = nextLine(text, at);
    const auto kind = nextLine(text, at);
    const auto eep = nextLine(text, at);
    const auto bin = nextLine(text, at);
    if (!bin || *format != kFormatLine || (*kind != kFixedNames && *kind != kOwnFiles) ||
        eep->empty() || bin->empty()) {
        return std::nullopt;
    }
    const std::optional<EepromImage> image = parseEepText(text.substr(at));
    if (!image) {
        return std::nullopt;
    }
    return RecoveredWork{*image, {fromUtf8(*eep), fromUtf8(*bin)}, *kind == kFixedNames};
}

RecoveryFolder::RecoveryFolder(std::filesystem::path folder, std::string ownName, InUse inUse)
    : folder_(std::move(folder)), ownName_(std::move(ownName)), inUse_(std::move(inUse)) {}

std::filesystem::path RecoveryFolder::copyOf(const std::string& name) const {
    return folder_ / fromUtf8(name + std::string(kCopyExtension));
}

bool RecoveryFolder::write(std::string_view copy) const {
    std::error_code ignored;
    std::filesystem::create_directories(folder_, ignored);
    return replaceFileAtomically(copyOf(ownName_), copy);
}

void RecoveryFolder::remove() const {
    std::error_code ignored;
    std::filesystem::remove(copyOf(ownName_), ignored);
}

std::optional<std::string> RecoveryFolder::adoptOrphan() const {
    std::vector<std::pair<std::filesystem::file_time_type, std::filesystem::path>> orphans;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder_, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::filesystem::path& path = entry->path();
        const std::string name = utf8(path.stem());
        if (path.extension() == kCopyExtension && name != ownName_ && !inUse_(name)) {
            orphans.emplace_back(entry->last_write_time(error), path);
        }
    }
    std::sort(orphans.rbegin(), orphans.rend());
    for (const auto& orphan : orphans) {
        // Another start may take the same copy at the same moment: only one rename succeeds.
        std::error_code taken;
        std::filesystem::rename(orphan.second, copyOf(ownName_), taken);
        if (taken) {
            continue;
        }
        if (std::optional<std::string> text = readSmallFile(copyOf(ownName_))) {
            return text;
        }
        remove();  // unreadable: no use to anyone
    }
    return std::nullopt;
}

void ImmediateRecoveryKeeper::keep(std::optional<std::string> copy) {
    if (copy) {
        folder_.write(*copy);
    } else {
        folder_.remove();
    }
}

}  // namespace facetor
