// The key lines of an INI-style text, as the settings reader sees them.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace facetor {

// Keys of the lines before the first group line, without regard to letter case; a key that
// stands more than once keeps its first value. Lines end in CR, LF or CR LF; comment lines start
// with ";", group lines with "[" (after any spaces or tabs). Key and value are trimmed of spaces
// and tabs; quotes and a ";" inside a value are plain characters.
class IniKeys {
  public:
    static IniKeys parse(std::string_view text);

    // The value of `key`, or nullptr when no key line names it.
    const std::string* find(std::string_view key) const;

  private:
    std::map<std::string, std::string, std::less<>> values_;
};

}  // namespace facetor
