// Portwand.ini: the port chosen last time, as the key "port" among the key lines before the first
// group. Rewriting it keeps every other line in its order.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/file_store.h"
#include "console/text_codec.h"

namespace portwand {

inline constexpr char kSettingsFileName[] = "Portwand.ini";
inline constexpr char16_t kDefaultPort[] = u"COM1";

// A settings file taken apart into lines (without their line ends), and the encoding it came in.
struct SettingsText {
    TextEncoding encoding = TextEncoding::Ansi;
    std::vector<std::u16string> lines;
};

// Nothing for a file that cannot be decoded (see decodeText): it is never rewritten.
std::optional<SettingsText> decodeSettings(std::string_view bytes, const AnsiCodec& ansi);
std::string encodeSettings(const SettingsText& text, const AnsiCodec& ansi);

// The index of the line that holds the port, if there is one.
std::optional<std::size_t> findPortLine(const std::vector<std::u16string>& lines);
std::optional<std::u16string> portValue(const std::vector<std::u16string>& lines);
// Puts the port into its line, or adds the line after the last line before the first group.
void setPortValue(std::vector<std::u16string>& lines, const std::u16string& port);

class PortSettings {
  public:
    PortSettings(FileStore& files, const AnsiCodec& ansi) : files_(files), ansi_(ansi) {}

    // The stored port, or "COM1" when the file is missing, unreadable or undecodable or has no
    // such key, or an empty one.
    std::u16string readPort();
    // The stored port, if the file names one.
    std::optional<std::u16string> storedPort();
    // Rewrites the file with that port, in the encoding it came in; false when it could not be
    // written (the old file stays). A file that exists but cannot be read or decoded is left
    // exactly as it is.
    bool writePort(const std::u16string& port);

  private:
    FileStore& files_;
    const AnsiCodec& ansi_;
};

}  // namespace portwand
