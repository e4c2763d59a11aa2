// Whole-file access to the settings file in the current working folder.
#pragma once

#include <optional>
#include <string>

namespace portwand {

class FileStore {
  public:
    virtual ~FileStore() = default;
    // The file's bytes, or nothing when it cannot be read.
    virtual std::optional<std::string> read(const std::string& name) = 0;
    // Writes a temporary file beside it and renames that over the file, so a write that fails
    // leaves the old file as it was. False when nothing was replaced.
    virtual bool replace(const std::string& name, const std::string& bytes) = 0;
};

// On the standard library's files; used natively.
class StdFileStore : public FileStore {
  public:
    std::optional<std::string> read(const std::string& name) override;
    bool replace(const std::string& name, const std::string& bytes) override;
};

// The name of the temporary file written before it replaces `name`.
std::string temporaryNameFor(const std::string& name);

}  // namespace portwand
