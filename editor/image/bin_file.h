// The image as the raw 512-byte ".bin" file.
#pragma once

#include <filesystem>
#include <string_view>

#include "editor/image/eeprom_image.h"

namespace facetor {

inline constexpr std::string_view kBinFileName = "chronotherm_lcd_m168.bin";

// Writes the image into `folder` (empty: current directory), replacing an older file only once
// the new one is complete. Returns whether the file was written.
bool writeBinFile(const EepromImage& image, const std::filesystem::path& folder = {});
// The same under any name the user chose.
bool writeBinFileTo(const EepromImage& image, const std::filesystem::path& file);

}  // namespace facetor
