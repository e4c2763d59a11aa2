#include "editor/image/save_messages.h"

namespace facetor {

namespace {

// The name stands between three blanks on each side.
std::string fileMessage(std::string_view fileName, std::string_view ending) {
    std::string text = "Файл   ";
    text += fileName;
    text += "   ";
    text += ending;
    return text;
}

}  // namespace

std::string fileNameForMessages(const std::filesystem::path& file) {
    const std::u8string name = file.filename().u8string();
    return std::string(name.begin(), name.end());
}

std::string notSavedMessage(std::string_view fileName) {
    return fileMessage(fileName, "не сохранён !");
}

std::string damagedFileMessage(std::string_view fileName) {
    return fileMessage(fileName, "повреждён !");
}

std::string notClockImageMessage(std::string_view fileName) {
    return fileMessage(fileName, "не образ EEPROM часов !");
}

std::string notFoundMessage(std::string_view fileName) {
    return fileMessage(fileName, "не найден !");
}

}  // namespace facetor
