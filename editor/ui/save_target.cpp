#include "editor/ui/save_target.h"

#include <string_view>
#include <vector>

#include "editor/image/atomic_file.h"
#include "editor/image/bin_file.h"
#include "editor/image/eep_file.h"

namespace facetor {
namespace {

std::string utf8(const std::u8string& text) {
    return {text.begin(), text.end()};
}

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// Whether a byte begins a character of UTF-8 text (is no continuation byte).
bool startsCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

// Byte offsets of the characters of UTF-8 text.
std::vector<std::size_t> characterStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (startsCharacter(text[i])) {
            starts.push_back(i);
        }
    }
    return starts;
}

}  // namespace

ImageFilePaths fixedImageFiles(const Localizations& localizations, int localization,
                               const std::filesystem::path& folder) {
    return {pathInFolder(folder, eepFileName(localizations, localization)),
            pathInFolder(folder, kBinFileName)};
}

ImageFilePaths imageFilesBeside(const std::filesystem::path& eepFile) {
    const std::string extension = lowerAscii(utf8(eepFile.extension().u8string()));
    ImageFilePaths files{eepFile, eepFile};
    if (extension == ".eep") {
        files.bin.replace_extension(".bin");
    } else if (extension == ".bin") {
        files.eep.replace_extension(".eep");
    } else {
        files.bin += ".bin";
    }
    return files;
}

ImageFilePaths saveTarget(const WorkFiles& own, const Localizations& localizations,
                          int localization, const std::filesystem::path& workFolder) {
    return own ? *own : fixedImageFiles(localizations, localization, workFolder);
}

std::string saveTargetLabel(const ImageFilePaths& files) {
    std::string name = utf8(files.eep.filename().u8string());
    const std::vector<std::size_t> starts = characterStarts(name);
    if (starts.size() <= kLabelLength) {
        return name;
    }
    // The start and the end stay: the end holds the extension and what tells versions apart.
    const std::size_t head = (kLabelLength - 1) / 2;
    const std::size_t tail = kLabelLength - 1 - head;
    return name.substr(0, starts[head]) + "…" + name.substr(starts[starts.size() - tail]);
}

}  // namespace facetor
