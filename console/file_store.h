// Whole-file access to the settings file in the current working folder.
#pragma once

#include <string>

namespace portwand {

// What reading a file found. A file that exists but cannot be read (held by another program
// without sharing, a network error) is told apart from one that is not there, so that it is
// never rewritten from nothing.
struct FileContents {
    enum class State { Read, Missing, Unreadable };
    State state = State::Missing;
    std::string bytes;  // when Read
};

class FileStore {
  public:
    virtual ~FileStore() = default;
    virtual FileContents read(const std::string& name) = 0;
    // Writes a temporary file beside it and renames that over the file, so a write that fails
    // leaves the old file as it was. False when nothing was replaced.
    virtual bool replace(const std::string& name, const std::string& bytes) = 0;
};

// On the standard library's files; used natively.
class StdFileStore : public FileStore {
  public:
    FileContents read(const std::string& name) override;
    bool replace(const std::string& name, const std::string& bytes) override;
};

// The name of the temporary file written before it replaces `name`.
std::string temporaryNameFor(const std::string& name);

}  // namespace portwand
