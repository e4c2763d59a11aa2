// Text conversions of the console: UTF-8, UTF-16 and the system's ANSI code page to UTF-16 and
// back, and the encodings of a text file as Notepad saves them.
#pragma once

#include <optional>
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
    // Nothing for bytes that are no text in that code page (Windows-1251 bytes where the system's
    // code page is UTF-8), which could not be written back as they came.
    virtual std::optional<std::u16string> decode(std::string_view bytes) const = 0;
    virtual std::string encode(std::u16string_view text) const = 0;
};

// Bytes as they are; characters beyond U+00FF are written as '?'.
class ByteAnsiCodec : public AnsiCodec {
  public:
    std::optional<std::u16string> decode(std::string_view bytes) const override;
    std::string encode(std::u16string_view text) const override;
};

// The encodings Notepad saves text in: the ANSI code page, UTF-8 with or without its byte order
// mark, UTF-16 little or big endian with its mark.
enum class TextEncoding { Ansi, Utf8, Utf8WithMark, Utf16Le, Utf16Be };

struct DecodedText {
    TextEncoding encoding;
    std::u16string text;  // without the mark
};

// Tells the encoding by the mark, and without one UTF-8 (valid, with characters beyond ASCII)
// from the ANSI code page. Nothing for bytes that are none of them and so could not be written
// back as they came: broken UTF-8 after its mark, an odd number of UTF-16 bytes, or zero bytes
// without a mark (UTF-16 saved without one, or no text at all).
std::optional<DecodedText> decodeText(std::string_view bytes, const AnsiCodec& ansi);
// The text in that encoding, with its mark where it has one.
std::string encodeText(std::u16string_view text, TextEncoding encoding, const AnsiCodec& ansi);

}  // namespace portwand
