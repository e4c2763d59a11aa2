#include "editor/image/atomic_file.h"

#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace facetor {

namespace {

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
    // Replaces an existing file in one step, on POSIX and on the Windows runtime alike.
    std::error_code renameError;
    std::filesystem::rename(temporary, target, renameError);
    if (renameError) {
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
