#include <algorithm>
#include <array>
#include <fstream>
#include <system_error>

#include "editor/image/atomic_file.h"
#include "editor/image/bounded_line_reader.h"
#include "editor/image/eep_file.h"
#include "editor/image/eep_records.h"
#include "editor/image/hex_digits.h"
#include "editor/image/image_to_document.h"
#include "editor/image/intel_hex_reader.h"
#include "editor/image/save_messages.h"

namespace facetor {

namespace {

// Far above the 43 characters of a record: blanks after a record are allowed, a file without
// line ends is not read on and on.
constexpr std::size_t kMaxLineLength = 1024;

// ":" byte count, address, record type, 16 data bytes, checksum.
constexpr std::size_t kRecordLength = 43;
constexpr std::size_t kDataStart = 9;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The data bytes of a 16-byte data record. Address and checksum must be hexadecimal but are not
// checked further: a hand-edited file with other addresses or checksums still opens.
std::optional<std::array<std::uint8_t, kRecordDataSize>> recordData(std::string_view line) {
    if (line.size() < kRecordLength || line[0] != ':') {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < kRecordLength; ++i) {
        if (hexDigitValue(line[i]) < 0) {
            return std::nullopt;
        }
    }
    if (line.substr(1, 2) != "10" || line.substr(7, 2) != "00") {
        return std::nullopt;
    }
    for (std::size_t i = kRecordLength; i < line.size(); ++i) {
        if (!isBlank(line[i])) {
            return std::nullopt;
        }
    }
    std::array<std::uint8_t, kRecordDataSize> data{};
    for (std::size_t i = 0; i < kRecordDataSize; ++i) {
        const std::size_t at = kDataStart + 2 * i;
        data[i] =
            static_cast<std::uint8_t>(hexDigitValue(line[at]) * 16 + hexDigitValue(line[at + 1]));
    }
    return data;
}

// Line n stands for the n-th record the writer writes; only the lines needed are read. A file
// no larger than an older image without the weekday-name records has its trailer right after
// the styles.
std::optional<EepromImage> parseEepLines(std::uintmax_t fileSize, BoundedLineReader& lines) {
    const bool hasNameRecords = fileSize > kLegacyMaxFileSize;
    const std::size_t neededLines = hasNameRecords ? kRecordCount : kRecordCount - kNameRecordCount;
    EepromImage image{};
    for (std::size_t line = 0; line < neededLines; ++line) {
        const std::optional<std::string> text = lines.next();
        if (!text) {
            return std::nullopt;
        }
        const auto data = recordData(*text);
        if (!data) {
            return std::nullopt;
        }
        const bool isTrailer = line + 1 == neededLines;
        const std::size_t address = isTrailer ? kTrailerOffset : kRecordAddresses[line];
        std::copy(data->begin(), data->end(), image.begin() + address);
    }
    return image;
}

// An Intel HEX image read by its addresses: the reserved gap is ignored, as in the binary
// file, and the cells, placements, styles and localization number must all be there.
std::optional<EepromImage> imageAtAddresses(const AddressedBytes& hex) {
    for (std::size_t address = 0; address < kShortNamesOffset; ++address) {
        if (!hex.given[address]) {
            return std::nullopt;
        }
    }
    if (!hex.given[kLocalizationNumberOffset]) {
        return std::nullopt;
    }
    EepromImage image = hex.bytes;
    std::fill_n(image.begin() + kReservedGapOffset, kReservedGapSize, 0);
    return image;
}

// Where the text starts: after a UTF-8 byte order mark, if one leads it.
std::streampos textStart(std::streambuf& input) {
    static constexpr std::string_view kMark = "\xEF\xBB\xBF";
    char head[kMark.size()] = {};
    const bool marked =
        input.sgetn(head, kMark.size()) == static_cast<std::streamsize>(kMark.size()) &&
        std::string_view(head, kMark.size()) == kMark;
    return marked ? std::streampos(kMark.size()) : std::streampos(0);
}

// Intel HEX, whatever wrote it, is read by its addresses and must be the clock's EEPROM; only
// text that is no Intel HEX is read line by line as Facetor lays its files out. Both agree on a
// file in that layout with right addresses.
ParsedEep parseEepInput(std::uintmax_t fileSize, std::streambuf& input) {
    const std::streampos start = textStart(input);
    if (input.pubseekpos(start, std::ios::in) != start) {
        return {};
    }
    const IntelHexText hex = readIntelHex(input);
    switch (hex.kind) {
        case IntelHexKind::Eeprom:
            return {imageAtAddresses(hex.eeprom), false};
        case IntelHexKind::NotEeprom:
            return {std::nullopt, true};
        case IntelHexKind::Inconsistent:
            return {};
        case IntelHexKind::NotIntelHex:
            break;
    }
    if (input.pubseekpos(start, std::ios::in) != start) {
        return {};
    }
    BoundedLineReader lines(input, kMaxLineLength);
    return {parseEepLines(fileSize - static_cast<std::uintmax_t>(start), lines), false};
}

}  // namespace

ParsedEep parseEep(std::string_view fileText) {
    TextViewBuffer buffer(fileText);
    return parseEepInput(fileText.size(), buffer);
}

std::optional<EepromImage> parseEepText(std::string_view fileText) {
    return parseEep(fileText).image;
}

bool readEepFile(SkinDocument& document, const Localizations& localizations, int localizationNumber,
                 const EepReaderOps& ops, const std::filesystem::path& folder) {
    return readEepFileAt(document,
                         pathInFolder(folder, eepFileName(localizations, localizationNumber)), ops);
}

std::optional<EepromImage> readEepImage(const std::filesystem::path& file,
                                        const MessageBoxFn& showMessage) {
    const std::string name = fileNameForMessages(file);
    const auto show = [&showMessage](std::string_view title, const std::string& text) {
        if (showMessage) {
            showMessage(title, text);
        }
    };

    std::error_code sizeError;
    const std::uintmax_t fileSize = std::filesystem::file_size(file, sizeError);
    std::ifstream in;
    if (!sizeError) {
        in.open(file, std::ios::binary);
    }
    if (sizeError || !in.is_open()) {
        show(kInformationTitle, notFoundMessage(name));
        return std::nullopt;
    }

    // The whole file is checked before anything is taken from it.
    const ParsedEep parsed = parseEepInput(fileSize, *in.rdbuf());
    if (parsed.notClockImage) {
        show(kErrorTitle, notClockImageMessage(name));
    } else if (!parsed.image) {
        show(kErrorTitle, damagedFileMessage(name));
    }
    return parsed.image;
}

bool readEepFileAt(SkinDocument& document, const std::filesystem::path& file,
                   const EepReaderOps& ops) {
    const std::optional<EepromImage> image = readEepImage(file, ops.showMessage);
    if (!image) {
        return false;
    }
    loadImageIntoDocument(*image, document);
    const int storedLocalization = (*image)[kLocalizationNumberOffset];
    if (storedLocalization < kLocalizationCount && ops.selectLocalization) {
        ops.selectLocalization(storedLocalization);
    }
    return true;
}

}  // namespace facetor
