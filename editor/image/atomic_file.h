// Replacing a file only once its new content is complete on disk.
#pragma once

#include <filesystem>
#include <string_view>

namespace facetor {

// Writes `bytes` into a temporary file beside `target` and renames it over `target`, so the old
// file stays exactly as it was unless the whole new content was written. A failure removes the
// temporary file and returns false. A target another program holds for a moment (an antivirus
// scanning it) is waited for, up to about a second.
bool replaceFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// `name` inside `folder`; an empty folder means the current directory.
std::filesystem::path pathInFolder(const std::filesystem::path& folder, std::string_view name);

}  // namespace facetor
