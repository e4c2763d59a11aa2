#include "editor/image/intel_hex_reader.h"

#include <cstdint>
#include <numeric>
#include <optional>
#include <string_view>
#include <vector>

#include "editor/image/bounded_line_reader.h"
#include "editor/image/hex_digits.h"

namespace facetor {

namespace {

// ":", then byte count, two address bytes, record type, up to 255 data bytes and the checksum;
// blanks may follow.
constexpr std::size_t kRecordHeaderBytes = 4;
constexpr std::size_t kMaxRecordLength = 1 + 2 * (kRecordHeaderBytes + 255 + 1) + 64;
constexpr char kEndOfText = 0x1A;  // Ctrl+Z

enum RecordType : std::uint8_t {
    kData = 0,
    kEndOfFile = 1,
    kExtendedSegmentAddress = 2,
    kStartSegmentAddress = 3,
    kExtendedLinearAddress = 4,
    kStartLinearAddress = 5,
};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Blanks, and the Ctrl+Z that old tools put at the end of a text.
std::string_view withoutTrailingBlanks(std::string_view line) {
    while (!line.empty() && (isBlank(line.back()) || line.back() == kEndOfText)) {
        line.remove_suffix(1);
    }
    return line;
}

// The bytes of a record line from its byte count to its checksum, when the line is a
// well-formed record whose byte count fits its length and whose bytes sum to 0 modulo 256.
std::optional<std::vector<std::uint8_t>> recordBytes(std::string_view line) {
    if (line.empty() || line[0] != ':' || line.size() % 2 == 0) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 1; i < line.size(); i += 2) {
        const int high = hexDigitValue(line[i]);
        const int low = hexDigitValue(line[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    if (bytes.size() < kRecordHeaderBytes + 1 ||
        bytes[0] + kRecordHeaderBytes + 1 != bytes.size() ||
        std::accumulate(bytes.begin(), bytes.end(), 0u) % 256 != 0) {
        return std::nullopt;
    }
    return bytes;
}

bool atEnd(std::streambuf& input) {
    using Traits = std::streambuf::traits_type;
    return Traits::eq_int_type(input.sgetc(), Traits::eof());
}

bool onlyBlanksLeft(std::streambuf& input, BoundedLineReader& lines) {
    while (!atEnd(input)) {
        const std::optional<std::string> line = lines.next();
        if (!line) {
            return false;
        }
        if (!withoutTrailingBlanks(*line).empty()) {
            return false;
        }
    }
    return true;
}

// Collects the data records' bytes; what lies outside the EEPROM or contradicts an earlier record
// decides the kind at the end, once the whole text has proved to be Intel HEX.
class DataCollector {
  public:
    void store(std::uint32_t address, const std::uint8_t* data, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i, ++address) {
            if (address >= kImageSize) {
                outside_ = true;
                return;
            }
            if (image_.given[address] && image_.bytes[address] != data[i]) {
                contradicted_ = true;
            }
            image_.bytes[address] = data[i];
            image_.given.set(address);
        }
    }

    IntelHexText result() const {
        if (outside_) {
            return {IntelHexKind::NotEeprom, {}};
        }
        if (contradicted_) {
            return {IntelHexKind::Inconsistent, {}};
        }
        return {IntelHexKind::Eeprom, image_};
    }

  private:
    AddressedBytes image_;
    bool outside_ = false;
    bool contradicted_ = false;
};

}  // namespace

IntelHexText readIntelHex(std::streambuf& input) {
    BoundedLineReader lines(input, kMaxRecordLength);
    DataCollector data;
    std::uint32_t base = 0;  // from the extended address records
    bool anyRecord = false;
    while (!atEnd(input)) {
        const std::optional<std::string> line = lines.next();
        if (!line) {
            return {};
        }
        const std::string_view text = withoutTrailingBlanks(*line);
        if (text.empty()) {
            continue;
        }
        const auto record = recordBytes(text);
        if (!record) {
            return {};
        }
        anyRecord = true;
        const std::size_t count = (*record)[0];
        const std::uint32_t address = (*record)[1] * 256u + (*record)[2];
        const std::uint8_t* bytes = record->data() + kRecordHeaderBytes;
        switch ((*record)[3]) {
            case kData:
                data.store(base + address, bytes, count);
                break;
            case kEndOfFile:
                if (count != 0 || !onlyBlanksLeft(input, lines)) {
                    return {};
                }
                return data.result();
            case kExtendedSegmentAddress:
            case kExtendedLinearAddress:
                if (count != 2) {
                    return {};
                }
                base = (bytes[0] * 256u + bytes[1])
                       << ((*record)[3] == kExtendedLinearAddress ? 16 : 4);
                break;
            case kStartSegmentAddress:
            case kStartLinearAddress:
                if (count != 4) {
                    return {};
                }
                break;
            default:
                return {};
        }
    }
    // Records without the end-of-file record: still Intel HEX, as far as they go.
    return anyRecord ? data.result() : IntelHexText{};
}

}  // namespace facetor
