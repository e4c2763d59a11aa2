#include "console/file_store.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

namespace portwand {

std::string temporaryNameFor(const std::string& name) {
    return name + ".new";
}

FileContents StdFileStore::read(const std::string& name) {
    std::error_code error;
    std::filesystem::file_type type = std::filesystem::status(name, error).type();
    if (type == std::filesystem::file_type::not_found)
        return {FileContents::State::Missing, {}};
    // Anything else by that name (a folder, a device) is there but is no settings file.
    if (type != std::filesystem::file_type::regular)
        return {FileContents::State::Unreadable, {}};
    std::ifstream in(name, std::ios::binary);
    if (!in)
        return {FileContents::State::Unreadable, {}};
    std::string bytes;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        bytes.append(buffer, std::size_t(in.gcount()));
    if (in.bad())
        return {FileContents::State::Unreadable, {}};
    return {FileContents::State::Read, std::move(bytes)};
}

bool StdFileStore::replace(const std::string& name, const std::string& bytes) {
    std::string temporary = temporaryNameFor(name);
    std::error_code ignored;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(bytes.data(), std::streamsize(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, name, error);
    if (error) {
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
}

}  // namespace portwand
