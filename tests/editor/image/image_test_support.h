// Shared helpers of the image file tests: a scratch folder, sample documents and Localizations,
// and recorders for the window operations the reader calls.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "editor/image/eep_file.h"
#include "editor/model/settings_file.h"
#include "editor/model/skin_document.h"

namespace facetor::testing {

// A fresh folder under the system's temporary directory, removed with everything in it.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::random_device entropy;
        path_ = std::filesystem::temp_directory_path() /
                ("facetor-image-" + std::to_string(entropy()) + "-" + std::to_string(entropy()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // Names of everything in the folder, sorted.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The Localizations as the editor has them without a settings file.
inline Localizations defaultLocalizations() {
    Localizations localizations = Localizations::initial();
    applyDefaultSettings(localizations);
    return localizations;
}

// As at start-up: every cell blank, every Field absent, every style 0.
inline SkinDocument clearedDocument() {
    SkinDocument document;
    document.clearAll();
    return document;
}

// Cells, Fields and styles on several Screens of several Skins, with codes that need a leading
// zero, codes without a glyph and Cyrillic glyph codes.
inline SkinDocument sampleDocument() {
    SkinDocument document = clearedDocument();
    document.setCursor(cellIdOf(0, 0, 0));
    for (std::uint8_t code : {0x54, 0x0A, 0xA8, 0xFF, 0x00}) {  // T, LF, П, no glyph, zero
        document.putCharacter(code);
    }
    document.setCursor(cellIdOf(0, 1, 4));
    document.placeField(FieldKind::Hours);
    document.putCharacter(':');
    document.placeField(FieldKind::Minutes);
    document.setCursor(cellIdOf(3, 0, 7));
    document.placeField(FieldKind::Weekday, static_cast<std::uint8_t>(WeekdayStyle::Full));
    document.setCursor(cellIdOf(3, 1, 0));
    document.placeField(FieldKind::Temperature1,
                        static_cast<std::uint8_t>(TemperatureStyle::DegreeC));
    document.placeField(FieldKind::Temperature2,
                        static_cast<std::uint8_t>(TemperatureStyle::Tenths));
    document.setCursor(cellIdOf(6, 1, 11));
    document.placeField(FieldKind::Temperature2,
                        static_cast<std::uint8_t>(TemperatureStyle::Degree));
    document.setCursor(cellIdOf(7, 0, 0));
    for (FieldKind kind : {FieldKind::Day, FieldKind::Month, FieldKind::Year, FieldKind::Seconds,
                           FieldKind::AlarmCount}) {
        document.placeField(kind);
    }
    document.setCursor(cellIdOf(7, 1, 15));
    document.putCharacter(0xE6);  // щ, in the very last cell
    return document;
}

// Everything a file can carry (cells, placements, styles) and the cursor, to compare documents.
inline std::vector<int> contentsOf(const SkinDocument& document) {
    std::vector<int> values;
    for (int id = kFirstCell; id <= kLastCell; ++id) {
        values.push_back(document.cell(static_cast<CellId>(id)));
    }
    for (int kind = 0; kind < kFieldKindCount; ++kind) {
        for (int screen = 0; screen < kScreenCount; ++screen) {
            const FieldPlacement placement =
                document.placement(static_cast<FieldKind>(kind), screen);
            values.push_back(placement.column);
            values.push_back(placement.row);
        }
    }
    for (int screen = 0; screen < kScreenCount; ++screen) {
        for (FieldKind kind :
             {FieldKind::Weekday, FieldKind::Temperature1, FieldKind::Temperature2}) {
            values.push_back(document.style(kind, screen));
        }
    }
    values.push_back(document.cursor());
    return values;
}

// What the reader did to the window.
struct ReaderWindow {
    std::vector<int> selectedLocalizations;
    std::vector<std::pair<std::string, std::string>> messages;

    EepReaderOps ops() {
        return EepReaderOps{
            [this](int localizationNumber) { selectedLocalizations.push_back(localizationNumber); },
            [this](std::string_view title, std::string_view text) {
                messages.emplace_back(std::string(title), std::string(text));
            },
        };
    }
};

// The lines of a text split at CR LF, without their ends.
inline std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

inline std::string joinLines(const std::vector<std::string>& lines, const std::string& lineEnd) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + lineEnd;
    }
    return text;
}

}  // namespace facetor::testing
