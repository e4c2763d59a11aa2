// The image as an Intel HEX ".eep" file: writer and reader.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "editor/image/eeprom_image.h"
#include "editor/image/save_messages.h"
#include "editor/model/settings_file.h"
#include "editor/model/skin_document.h"

namespace facetor {

inline constexpr std::size_t kEepFileSize = 1273;

// "chronotherm_lcd_m168_en.eep" etc. for localization number 0..2.
std::string eepFileName(const Localizations& localizations, int localizationNumber);

// The exact text of the file: 28 data records and the end record, CR LF line ends.
std::string eepFileText(const EepromImage& image);

// All 512 bytes, the reserved gap too, as 32 records of 16 bytes: a backup of the clock's
// EEPROM that "Открыть файл..." opens and avrdude writes back whole.
std::string wholeEepromHexText(const EepromImage& image);

// Writes the file of that Localization into `folder` (empty: current directory), replacing an
// older file only once the new one is complete. Returns whether the file was written.
bool writeEepFile(const EepromImage& image, const Localizations& localizations,
                  int localizationNumber, const std::filesystem::path& folder = {});
// The same under any name the user chose.
bool writeEepFileTo(const EepromImage& image, const std::filesystem::path& file);

// What a readable .eep file yields: the image (cells, placements, styles, trailer filled in).
// Intel HEX, whatever wrote it, is read by its addresses: with data outside the EEPROM it is not
// the clock's image at all; it is damaged when it lacks a byte of the cells, placements, styles
// or the localization number, or gives an address two values. Text that is no Intel HEX is read
// line by line as Facetor writes its records, and is damaged when a needed line is not a 16-byte
// data record. A UTF-8 byte order mark may lead the text.
struct ParsedEep {
    std::optional<EepromImage> image;  // std::nullopt: damaged or not the clock's image
    bool notClockImage = false;
};
ParsedEep parseEep(std::string_view fileText);
std::optional<EepromImage> parseEepText(std::string_view fileText);  // parseEep's image

struct EepReaderOps {
    std::function<void(int localizationNumber)> selectLocalization;  // one radio on, two off
    MessageBoxFn showMessage;
};

// Opens the file of `localizationNumber` and, if it is sound, loads it into the document and
// switches the Localization. Returns whether the document was loaded.
bool readEepFile(SkinDocument& document, const Localizations& localizations, int localizationNumber,
                 const EepReaderOps& ops, const std::filesystem::path& folder = {});
// Reads any .eep file into an image; a missing, damaged or foreign file is reported through
// `showMessage` (naming the file without its folder) and gives std::nullopt.
std::optional<EepromImage> readEepImage(const std::filesystem::path& file,
                                        const MessageBoxFn& showMessage);
// The same for any .eep file; the messages name the file by its name without the folder.
bool readEepFileAt(SkinDocument& document, const std::filesystem::path& file,
                   const EepReaderOps& ops);

}  // namespace facetor
