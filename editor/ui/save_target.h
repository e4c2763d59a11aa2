// Where the work belongs: the .eep and .bin files that Ctrl+S and the closing question's Yes
// write, and the name the menu bar shows for them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "editor/model/localization.h"

namespace facetor {

// Where one save writes: an .eep file and the .bin file.
struct ImageFilePaths {
    std::filesystem::path eep;
    std::filesystem::path bin;
    friend bool operator==(const ImageFilePaths&, const ImageFilePaths&) = default;
};

// The work's own files, last opened with "Открыть файл..." (or named at start) or saved with
// "Сохранить как..."; none while the work belongs to the fixed names of the selected
// Localization.
using WorkFiles = std::optional<ImageFilePaths>;

// The fixed names of the selected Localization in `folder` (empty: the current directory).
ImageFilePaths fixedImageFiles(const Localizations& localizations, int localization,
                               const std::filesystem::path& folder);

// An .eep file the user named and its .bin beside it. "зима.eep" gives "зима.bin"; any other
// name keeps its whole self and gets ".bin" added ("зима.v2" gives "зима.v2.bin"), so that
// "зима.v1" and "зима.v2" do not share a .bin. A name ending in ".bin" names the .bin itself;
// its .eep takes ".eep" instead, so the image text never lands in the .bin.
ImageFilePaths imageFilesBeside(const std::filesystem::path& eepFile);

// Where Ctrl+S and Yes save: the work's own files, or else the fixed names.
ImageFilePaths saveTarget(const WorkFiles& own, const Localizations& localizations,
                          int localization, const std::filesystem::path& workFolder);

// The menu bar's name for that place (UTF-8): the .eep file's name without its folder; a name
// longer than kLabelLength characters loses its middle to "…", so the menu bar stays one line.
inline constexpr std::size_t kLabelLength = 48;
std::string saveTargetLabel(const ImageFilePaths& files);

}  // namespace facetor
