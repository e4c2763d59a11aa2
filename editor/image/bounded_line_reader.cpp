#include "editor/image/bounded_line_reader.h"

namespace facetor {

std::optional<std::string> BoundedLineReader::next() {
    using Traits = std::streambuf::traits_type;
    std::string line;
    for (;;) {
        const Traits::int_type c = input_.sbumpc();
        if (Traits::eq_int_type(c, Traits::eof()) || c == '\n') {
            return line;
        }
        if (c == '\r') {
            if (input_.sgetc() == '\n') {
                input_.sbumpc();
            }
            return line;
        }
        if (line.size() == maxLineLength_) {
            return std::nullopt;
        }
        line += Traits::to_char_type(c);
    }
}

}  // namespace facetor
