#include "editor/image/intel_hex_reader.h"

#include <cstdint>
#include <numeric>
#include <string_view>
#include <vector>

#include "editor/image/bounded_line_reader.h"
#include "editor/image/hex_digits.h"

namespace facetor {

namespace {

// ":", then byte count, two address bytes, record type, up to 255 data bytes and the checksum.
constexpr std::size_t kRecordHeaderBytes = 4;
constexpr std::size_t kMaxRecordLength = 1 + 2 * (kRecordHeaderBytes + 255 + 1);

enum RecordType : std::uint8_t {
    kData = 0,
    kEndOfFile = 1,
    kExtendedSegmentAddress = 2,
    kStartSegmentAddress = 3,
    kExtendedLinearAddress = 4,
    kStartLinearAddress = 5,
};

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

bool onlyEmptyLinesLeft(std::streambuf& input, BoundedLineReader& lines) {
    while (!atEnd(input)) {
        const std::optional<std::string> line = lines.next();
        if (!line || !line->empty()) {
            return false;
        }
    }
    return true;
}

// Stores a data record's bytes; false when they lie outside the EEPROM or contradict an
// earlier record.
bool storeData(std::size_t address, const std::uint8_t* data, std::size_t count,
               AddressedBytes& image) {
    if (address + count > kImageSize) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i, ++address) {
        if (image.given[address] && image.bytes[address] != data[i]) {
            return false;
        }
        image.bytes[address] = data[i];
        image.given.set(address);
    }
    return true;
}

}  // namespace

std::optional<AddressedBytes> readIntelHex(std::streambuf& input) {
    BoundedLineReader lines(input, kMaxRecordLength);
    AddressedBytes image;
    while (!atEnd(input)) {
        const std::optional<std::string> line = lines.next();
        const auto record = line ? recordBytes(*line) : std::nullopt;
        if (!record) {
            return std::nullopt;
        }
        const std::size_t count = (*record)[0];
        const std::size_t address = (*record)[1] * 256u + (*record)[2];
        const std::uint8_t* data = record->data() + kRecordHeaderBytes;
        switch ((*record)[3]) {
            case kData:
                if (!storeData(address, data, count, image)) {
                    return std::nullopt;
                }
                break;
            case kEndOfFile:
                if (count != 0 || !onlyEmptyLinesLeft(input, lines)) {
                    return std::nullopt;
                }
                return image;
            case kExtendedSegmentAddress:
            case kExtendedLinearAddress:
                if (count != 2 || data[0] != 0 || data[1] != 0) {
                    return std::nullopt;
                }
                break;
            case kStartSegmentAddress:
            case kStartLinearAddress:
                if (count != 4) {
                    return std::nullopt;
                }
                break;
            default:
                return std::nullopt;
        }
    }
    return std::nullopt;  // no end-of-file record
}

}  // namespace facetor
