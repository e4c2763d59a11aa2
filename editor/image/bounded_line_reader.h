// Reading text lines one by one with a length bound, so an input without line ends is never
// held in memory whole.
#pragma once

#include <cstddef>
#include <optional>
#include <streambuf>
#include <string>
#include <string_view>

namespace facetor {

class BoundedLineReader {
  public:
    BoundedLineReader(std::streambuf& input, std::size_t maxLineLength)
        : input_(input), maxLineLength_(maxLineLength) {}

    // The next line without its end (CR, LF or CR LF); "" once the input is used up;
    // std::nullopt when the line is longer than the bound.
    std::optional<std::string> next();

  private:
    std::streambuf& input_;
    std::size_t maxLineLength_;
};

// A read-only stream buffer over text already in memory, which can go back to any position.
class TextViewBuffer : public std::streambuf {
  public:
    explicit TextViewBuffer(std::string_view text) {
        // The buffer is never written through: the get area only reads.
        char* begin = const_cast<char*>(text.data());
        setg(begin, begin, begin + text.size());
    }

  protected:
    pos_type seekpos(pos_type position, std::ios_base::openmode) override {
        const off_type offset = position;
        if (offset < 0 || offset > egptr() - eback()) {
            return pos_type(off_type(-1));
        }
        setg(eback(), eback() + offset, egptr());
        return position;
    }
};

}  // namespace facetor
