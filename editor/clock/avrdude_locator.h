// Finding avrdude: the file chosen in "Программатор...", then avrdude.exe beside Facetor.exe,
// then on PATH, then where Arduino's tools keep it (the newest version first). Facetor ships no
// avrdude. An avrdude whose avrdude.conf lies only in ..\etc\ (as Arduino's does) gets it
// passed with -C.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace facetor::clock {

inline constexpr std::string_view kAvrdudeFileName = "avrdude.exe";

struct AvrdudePlaces {
    std::filesystem::path chosen;         // from the settings; empty: none
    std::filesystem::path programFolder;  // where Facetor.exe is
    std::vector<std::filesystem::path> pathFolders;
    // Folders holding one folder per installed avrdude version, each with bin\avrdude.exe
    // (Arduino15\packages\arduino\tools\avrdude).
    std::vector<std::filesystem::path> versionedFolders;
    // Whole paths where older Arduino installations keep it.
    std::vector<std::filesystem::path> fixedPrograms;
};

class FileProbe {
  public:
    virtual ~FileProbe() = default;
    virtual bool isFile(const std::filesystem::path& path) const = 0;
    virtual std::vector<std::filesystem::path> subfolders(
        const std::filesystem::path& folder) const = 0;
};

struct FoundAvrdude {
    std::filesystem::path program;
    std::filesystem::path config;  // to pass with -C; empty: avrdude finds its own
};

std::optional<FoundAvrdude> findAvrdude(const AvrdudePlaces& places, const FileProbe& files);

// "7.1" from the last line of `avrdude -?` ("avrdude version 7.1, URL: ..."), or of 6.x's
// "avrdude version 6.3-20171130, URL: ...".
std::optional<std::string> avrdudeVersion(std::string_view usageOutput);

// The arguments that make avrdude print its usage and version, and nothing else.
inline const std::vector<std::string> kVersionArguments{"-?"};

}  // namespace facetor::clock
