// Arbitrary bytes as the text of an .eep file: the reader must never crash, and whatever it
// accepts must survive writing and reading again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "editor/image/eep_file.h"
#include "editor/image/image_to_document.h"

namespace {

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace facetor;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<EepromImage> image = parseEepText(text);
    if (!image) {
        return 0;
    }

    // Accepted text starts with a record (after a byte order mark, if any), or with blank lines
    // when the text is Intel HEX read by its addresses.
    const std::string_view start = text.substr(0, 3) == "\xEF\xBB\xBF" ? text.substr(3) : text;
    check(start.find(':') != std::string_view::npos &&
          start.find_first_not_of(" \t\r\n\x1A") == start.find(':'));
    // No record covers the reserved gap.
    for (std::size_t i = 0; i < kReservedGapSize; ++i) {
        check((*image)[kReservedGapOffset + i] == 0);
    }
    // Writing the image and reading it again gives the same image.
    const std::string written = eepFileText(*image);
    check(written.size() == kEepFileSize);
    const std::optional<EepromImage> again = parseEepText(written);
    check(again && *again == *image);
    // Through the document and back, the cells, placements and styles come out unchanged.
    SkinDocument document;
    loadImageIntoDocument(*image, document);
    static const Localizations localizations = Localizations::initial();
    const EepromImage rebuilt =
        buildEepromImage(document, localizations, 0, CalendarDate{1, 1, 2000});
    for (std::size_t i = 0; i < kShortNamesOffset; ++i) {
        check(rebuilt[i] == (*image)[i]);
    }
    return 0;
}
