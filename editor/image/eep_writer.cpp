#include <string>

#include "editor/image/atomic_file.h"
#include "editor/image/eep_file.h"
#include "editor/image/eep_records.h"

namespace facetor {

namespace {

constexpr char kUpperHexDigits[] = "0123456789ABCDEF";

void appendHexByte(std::string& text, unsigned byte) {
    text += kUpperHexDigits[(byte >> 4) & 0x0F];
    text += kUpperHexDigits[byte & 0x0F];
}

void appendDataRecord(std::string& text, const EepromImage& image, std::size_t address) {
    const unsigned addressHigh = (address >> 8) & 0xFF;
    const unsigned addressLow = address & 0xFF;
    unsigned sum = kRecordDataSize + addressHigh + addressLow;  // the record type 00 adds nothing
    text += ':';
    appendHexByte(text, kRecordDataSize);
    appendHexByte(text, addressHigh);
    appendHexByte(text, addressLow);
    appendHexByte(text, 0x00);
    for (std::size_t i = 0; i < kRecordDataSize; ++i) {
        appendHexByte(text, image[address + i]);
        sum += image[address + i];
    }
    appendHexByte(text, (0x100 - (sum & 0xFF)) & 0xFF);
    text += "\r\n";
}

}  // namespace

std::string eepFileName(const Localizations& localizations, int localizationNumber) {
    return localizations.items.at(localizationNumber).imageFileName;
}

std::string eepFileText(const EepromImage& image) {
    std::string text;
    text.reserve(kEepFileSize);
    for (std::size_t address : kRecordAddresses) {
        appendDataRecord(text, image, address);
    }
    text += kEndRecord;
    text += "\r\n";
    return text;
}

std::string wholeEepromHexText(const EepromImage& image) {
    std::string text;
    for (std::size_t address = 0; address < kImageSize; address += kRecordDataSize) {
        appendDataRecord(text, image, address);
    }
    text += kEndRecord;
    text += "\r\n";
    return text;
}

bool writeEepFile(const EepromImage& image, const Localizations& localizations,
                  int localizationNumber, const std::filesystem::path& folder) {
    return writeEepFileTo(image,
                          pathInFolder(folder, eepFileName(localizations, localizationNumber)));
}

bool writeEepFileTo(const EepromImage& image, const std::filesystem::path& file) {
    return replaceFileAtomically(file, eepFileText(image));
}

}  // namespace facetor
