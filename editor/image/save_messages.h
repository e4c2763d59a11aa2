// Texts of the message boxes about the image files (UTF-8; the file names are ASCII).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace facetor {

inline constexpr std::string_view kErrorTitle = "Ошибка";
inline constexpr std::string_view kInformationTitle = "Information";

// The file's name without its folder, in UTF-8, as the messages show it.
std::string fileNameForMessages(const std::filesystem::path& file);

// "Файл   <name>   не сохранён !", shown under kErrorTitle when a save failed.
std::string notSavedMessage(std::string_view fileName);
// "Файл   <name>   повреждён !", shown under kErrorTitle when an opened file is damaged.
std::string damagedFileMessage(std::string_view fileName);
// "Файл   <name>   не образ EEPROM часов !", shown under kErrorTitle when an opened file is
// Intel HEX of something else (a firmware, say).
std::string notClockImageMessage(std::string_view fileName);
// "Файл   <name>   не найден !", shown under kInformationTitle when the file to open is missing.
std::string notFoundMessage(std::string_view fileName);

}  // namespace facetor
