#include "editor/clock/avrdude_locator.h"

#include <algorithm>
#include <cctype>

namespace facetor::clock {
namespace {

// Compares version folder names by their numbers: "6.3.0-arduino17" after "6.3.0-arduino9".
bool newerVersion(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::isdigit(static_cast<unsigned char>(a[i])) &&
            std::isdigit(static_cast<unsigned char>(b[j]))) {
            std::size_t endA = i, endB = j;
            while (endA < a.size() && std::isdigit(static_cast<unsigned char>(a[endA]))) {
                ++endA;
            }
            while (endB < b.size() && std::isdigit(static_cast<unsigned char>(b[endB]))) {
                ++endB;
            }
            const std::string numberA = a.substr(i, endA - i), numberB = b.substr(j, endB - j);
            const auto trimmed = [](const std::string& n) {
                return n.substr(std::min(n.find_first_not_of('0'), n.size()));
            };
            const std::string ta = trimmed(numberA), tb = trimmed(numberB);
            if (ta.size() != tb.size() || ta != tb) {
                return ta.size() != tb.size() ? ta.size() > tb.size() : ta > tb;
            }
            i = endA;
            j = endB;
        } else {
            if (a[i] != b[j]) {
                return a[i] > b[j];
            }
            ++i;
            ++j;
        }
    }
    return a.size() - i > b.size() - j;
}

std::vector<std::filesystem::path> candidates(const AvrdudePlaces& places, const FileProbe& files) {
    std::vector<std::filesystem::path> found;
    if (!places.chosen.empty()) {
        found.push_back(places.chosen);
    }
    if (!places.programFolder.empty()) {
        found.push_back(places.programFolder / kAvrdudeFileName);
    }
    for (const auto& folder : places.pathFolders) {
        if (!folder.empty()) {
            found.push_back(folder / kAvrdudeFileName);
        }
    }
    for (const auto& folder : places.versionedFolders) {
        std::vector<std::filesystem::path> versions = files.subfolders(folder);
        std::sort(versions.begin(), versions.end(), [](const auto& a, const auto& b) {
            return newerVersion(a.filename().string(), b.filename().string());
        });
        for (const auto& version : versions) {
            found.push_back(version / "bin" / kAvrdudeFileName);
        }
    }
    found.insert(found.end(), places.fixedPrograms.begin(), places.fixedPrograms.end());
    return found;
}

}  // namespace

std::optional<FoundAvrdude> findAvrdude(const AvrdudePlaces& places, const FileProbe& files) {
    for (const auto& program : candidates(places, files)) {
        if (!files.isFile(program)) {
            continue;
        }
        const std::filesystem::path folder = program.parent_path();
        const std::filesystem::path besideEtc = folder.parent_path() / "etc" / "avrdude.conf";
        if (!files.isFile(folder / "avrdude.conf") && files.isFile(besideEtc)) {
            return FoundAvrdude{program, besideEtc};
        }
        return FoundAvrdude{program, {}};
    }
    return std::nullopt;
}

std::optional<std::string> avrdudeVersion(std::string_view usageOutput) {
    constexpr std::string_view kMark = "avrdude version ";
    const std::size_t at = usageOutput.rfind(kMark);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view rest = usageOutput.substr(at + kMark.size());
    const std::size_t end = rest.find_first_of(", \r\n");
    rest = rest.substr(0, end);
    if (rest.empty() || !std::isdigit(static_cast<unsigned char>(rest.front()))) {
        return std::nullopt;
    }
    return std::string(rest);
}

}  // namespace facetor::clock
