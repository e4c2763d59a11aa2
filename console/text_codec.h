// Text conversions of the console: UTF-8 and the system's ANSI code page to UTF-16 and back.
#pragma once

#include <string>
#include <string_view>

namespace portwand {

// Invalid or truncated UTF-8 sequences become U+FFFD.
std::u16string utf8ToUtf16(std::string_view bytes);
std::string utf16ToUtf8(std::u16string_view text);

// The system's ANSI code page. Windows asks the system; elsewhere bytes are taken as they are
// (each byte one character, U+0000 to U+00FF).
class AnsiCodec {
  public:
    virtual ~AnsiCodec() = default;
    virtual std::u16string decode(std::string_view bytes) const = 0;
    virtual std::string encode(std::u16string_view text) const = 0;
};

// Bytes as they are; characters beyond U+00FF are written as '?'.
class ByteAnsiCodec : public AnsiCodec {
  public:
    std::u16string decode(std::string_view bytes) const override;
    std::string encode(std::u16string_view text) const override;
};

}  // namespace portwand
