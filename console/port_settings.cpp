#include "console/port_settings.h"

#include <utility>

#include "console/serial_link.h"

namespace portwand {

namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";
constexpr std::u16string_view kPortKey = u"port";

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view trimmed(std::u16string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::u16string_view withoutLeadingBlanks(std::u16string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

bool equalsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

bool isGroupLine(std::u16string_view line) {
    return withoutLeadingBlanks(line).starts_with(u'[');
}

// Splits at carriage return, line feed or both; a last line without an end counts too.
std::vector<std::u16string> splitLines(std::u16string_view text) {
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::u16string_view skipOneLineEnd(std::u16string_view text) {
    if (text.starts_with(u"\r\n"))
        return text.substr(2);
    if (text.starts_with(u'\r') || text.starts_with(u'\n'))
        return text.substr(1);
    return text;
}

}  // namespace

std::optional<SettingsText> decodeSettings(std::string_view bytes, const AnsiCodec& ansi) {
    std::optional<DecodedText> decoded = decodeText(bytes, ansi);
    if (!decoded)
        return std::nullopt;
    std::u16string_view text = decoded->text;
    // The UTF-8 mark stands on a line of its own; that line end is part of it, not an empty line.
    if (decoded->encoding == TextEncoding::Utf8WithMark)
        text = skipOneLineEnd(text);
    return SettingsText{decoded->encoding, splitLines(text)};
}

std::string encodeSettings(const SettingsText& text, const AnsiCodec& ansi) {
    std::u16string whole;
    if (text.encoding == TextEncoding::Utf8WithMark)
        whole += kLineEnd;
    for (const std::u16string& line : text.lines) {
        whole += line;
        whole += kLineEnd;
    }
    return encodeText(whole, text.encoding, ansi);
}

std::optional<std::size_t> findPortLine(const std::vector<std::u16string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::u16string_view line = withoutLeadingBlanks(lines[i]);
        if (line.starts_with(u'['))
            break;
        if (line.empty() || line.starts_with(u';'))
            continue;
        std::size_t equals = line.find(u'=');
        if (equals == std::u16string_view::npos)
            continue;
        if (equalsIgnoringAsciiCase(trimmed(line.substr(0, equals)), kPortKey))
            return i;
    }
    return std::nullopt;
}

std::optional<std::u16string> portValue(const std::vector<std::u16string>& lines) {
    auto index = findPortLine(lines);
    if (!index)
        return std::nullopt;
    std::u16string_view line = lines[*index];
    return std::u16string(trimmed(line.substr(line.find(u'=') + 1)));
}

void setPortValue(std::vector<std::u16string>& lines, const std::u16string& port) {
    std::u16string portLine = std::u16string(kPortKey) + u" = " + port;
    if (auto index = findPortLine(lines)) {
        lines[*index] = portLine;
        return;
    }
    // Empty lines are no lines to the reader, so the new line follows the last real one.
    std::size_t insertAt = 0;
    for (std::size_t i = 0; i < lines.size() && !isGroupLine(lines[i]); ++i) {
        if (!withoutLeadingBlanks(lines[i]).empty())
            insertAt = i + 1;
    }
    lines.insert(lines.begin() + std::ptrdiff_t(insertAt), portLine);
}

std::u16string PortSettings::readPort() {
    return storedPort().value_or(kDefaultPort);
}

std::optional<std::u16string> PortSettings::storedPort() {
    FileContents file = files_.read(kSettingsFileName);
    if (file.state != FileContents::State::Read)
        return std::nullopt;
    std::optional<SettingsText> text = decodeSettings(file.bytes, ansi_);
    if (!text)
        return std::nullopt;
    std::optional<std::u16string> port = portValue(text->lines);
    if (!port || (port = plainPortName(*port))->empty())
        return std::nullopt;
    return port;
}

bool PortSettings::writePort(const std::u16string& port) {
    FileContents file = files_.read(kSettingsFileName);
    // Its other lines are unknown, and writing it anew would lose them.
    if (file.state == FileContents::State::Unreadable)
        return false;
    SettingsText text;
    if (file.state == FileContents::State::Read) {
        std::optional<SettingsText> decoded = decodeSettings(file.bytes, ansi_);
        if (!decoded)
            return false;
        text = std::move(*decoded);
    }
    setPortValue(text.lines, port);
    return files_.replace(kSettingsFileName, encodeSettings(text, ansi_));
}

}  // namespace portwand
