#include "editor/model/ini_keys.h"

#include <algorithm>

namespace facetor {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

// Only ASCII letters fold: the keys are ASCII, and a Windows-1251 byte must not change meaning.
std::string foldedCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

// The next line of `text` from `at`, moving `at` past its line end (CR, LF or CR LF).
std::string_view nextLine(std::string_view text, std::size_t& at) {
    const std::size_t start = at;
    const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    at = end;
    if (at < text.size()) {
        at += (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
    }
    return text.substr(start, end - start);
}

}  // namespace

IniKeys IniKeys::parse(std::string_view text) {
    IniKeys keys;
    for (std::size_t at = 0; at < text.size();) {
        const std::string_view line = nextLine(text, at);
        const std::string_view content = trimmed(line);
        if (!content.empty() && content.front() == ';') {
            continue;
        }
        if (!content.empty() && content.front() == '[') {
            break;  // the keys of a group are not the editor's
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        keys.values_.try_emplace(foldedCase(trimmed(line.substr(0, equals))),
                                 trimmed(line.substr(equals + 1)));
    }
    return keys;
}

const std::string* IniKeys::find(std::string_view key) const {
    const auto found = values_.find(foldedCase(key));
    return found == values_.end() ? nullptr : &found->second;
}

}  // namespace facetor
