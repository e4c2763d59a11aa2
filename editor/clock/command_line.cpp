#include "editor/clock/child_process.h"

namespace facetor::clock {
namespace {

std::string quoted(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) {
        return argument;
    }
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote stand for themselves only when doubled.
        out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(2 * backslashes, '\\');  // before the closing quote
    out += '"';
    return out;
}

}  // namespace

std::string windowsCommandLine(const std::filesystem::path& program,
                               const std::vector<std::string>& arguments) {
    const std::u8string name = program.u8string();
    // The program's name is read up to the next quote, backslashes and all.
    std::string line(1, '"');
    line.append(name.begin(), name.end());
    line += '"';
    for (const std::string& argument : arguments) {
        line += ' ';
        line += quoted(argument);
    }
    return line;
}

}  // namespace facetor::clock
