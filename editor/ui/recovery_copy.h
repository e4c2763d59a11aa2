// The copy of unsaved work that survives a forced end (a killed process, a power cut, the end of
// a session that does not wait): its text, and the folder where every running Facetor keeps one
// of its own.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "editor/image/eeprom_image.h"
#include "editor/ui/save_target.h"

namespace facetor {

struct RecoveredWork {
    EepromImage image;     // the work's cells, Fields, styles and Localization
    ImageFilePaths files;  // where it belonged
    bool fixedNames;       // there because those are the fixed names of its Localization
};

// A first line that names the format, where the work belonged, then the image as an .eep file.
std::string recoveryCopyText(const EepromImage& image, const ImageFilePaths& files,
                             bool fixedNames);
std::optional<RecoveredWork> parseRecoveryCopy(std::string_view text);

// The copies in one folder. This program's copy is named after `ownName`; `inUse` tells whether
// the program a copy is named after still runs, whose copy no other start may take.
class RecoveryFolder {
  public:
    using InUse = std::function<bool(const std::string& name)>;

    RecoveryFolder(std::filesystem::path folder, std::string ownName, InUse inUse);

    // Replaces this program's copy with `copy` once it is complete; creates the folder.
    bool write(std::string_view copy) const;
    void remove() const;
    // The newest copy left by a program no longer running, made this program's own first, so
    // that no other start offers it too; std::nullopt when there is none.
    std::optional<std::string> adoptOrphan() const;

  private:
    std::filesystem::path copyOf(const std::string& name) const;

    std::filesystem::path folder_;
    std::string ownName_;
    InUse inUse_;
};

// Keeps this program's copy as the editor asks, at once or in the background.
class RecoveryKeeper {
  public:
    virtual ~RecoveryKeeper() = default;
    // The copy as it is to be from now on; std::nullopt: none. Returns without waiting for a
    // disk.
    virtual void keep(std::optional<std::string> copy) = 0;
    // Returns once the copy on disk is what keep() was last given.
    virtual void flush() = 0;
    virtual std::optional<std::string> adoptOrphan() = 0;
};

// Writes at once, on the caller's thread.
class ImmediateRecoveryKeeper final : public RecoveryKeeper {
  public:
    explicit ImmediateRecoveryKeeper(RecoveryFolder folder) : folder_(std::move(folder)) {}

    void keep(std::optional<std::string> copy) override;
    void flush() override {}
    std::optional<std::string> adoptOrphan() override { return folder_.adoptOrphan(); }

  private:
    RecoveryFolder folder_;
};

}  // namespace facetor
