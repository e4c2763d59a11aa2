#include "console/file_store.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace portwand {

std::string temporaryNameFor(const std::string& name) {
    return name + ".new";
}

std::optional<std::string> StdFileStore::read(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
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
