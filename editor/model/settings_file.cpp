#include "editor/model/settings_file.h"

#include <fstream>
#include <optional>
#include <string>
#include <system_error>

#include "editor/model/default_weekday_names.h"
#include "editor/model/ini_keys.h"
#include "editor/model/lcd_charset.h"
#include "editor/model/settings_encoding.h"
#include "editor/model/text_encoding.h"

namespace facetor {

namespace {

constexpr std::string_view kMissingFileTitle = "Information";
constexpr std::string_view kMissingFileText =
    "Файл Facetor.ini не найден !  Загружены установки по умолчанию.";

// Weekday numbers as the keys count them (1 Monday .. 7 Sunday), in the order they are read.
constexpr int kReadingOrder[] = {7, 1, 2, 3, 4, 5, 6};

// The key prefixes of the Localizations en, ru, ua.
constexpr const char* kKeyPrefixes[kLocalizationCount] = {"en", "ru", "ua"};

std::string settingsKey(int localization, int weekdayNumber, const char* kind) {
    return std::string(kKeyPrefixes[localization]) + "_" + std::to_string(weekdayNumber) + "_" +
           kind;
}

// A key's value in Windows-1251: the file's value if the key stands there (even when empty),
// the built-in default otherwise. The file's Ukrainian і and ї become the Latin i, as typing does.
std::string valueOf(const IniKeys& keys, const std::string& key, std::string_view defaultUtf8) {
    if (const std::string* value = keys.find(key)) {
        std::string folded = *value;
        for (char& character : folded) {
            character = static_cast<char>(foldUkrainianI(static_cast<std::uint8_t>(character)));
        }
        return folded;
    }
    return utf8ToCp1251(defaultUtf8);
}

void setShortName(std::array<std::string, 3>& positions, std::string_view value) {
    for (std::size_t i = 0; i < 2; ++i) {
        positions[i] = i < value.size() ? std::string(1, value[i]) : std::string();
    }
}

// The first character is dropped; the rest fills the positions from 0 on, as far as the table
// reaches. Positions the value does not reach keep what they held.
void setFullName(std::array<std::string, 21>& positions, std::string_view value) {
    for (std::size_t i = 0; i < positions.size() && i + 1 < value.size(); ++i) {
        positions[i] = std::string(1, value[i + 1]);
    }
}

// The 42 names with comments take a few kilobytes; a bigger file is no settings file, and is
// not read into memory whole.
constexpr std::size_t kMaxSettingsFileSize = std::size_t{1024} * 1024;

// The file's bytes; std::nullopt when it cannot be read or is over kMaxSettingsFileSize.
std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::string bytes(kMaxSettingsFileSize + 1, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const auto length = static_cast<std::size_t>(file.gcount());
    if (file.bad() || length > kMaxSettingsFileSize) {
        return std::nullopt;
    }
    bytes.resize(length);
    return bytes;
}

}  // namespace

void loadSettings(Localizations& localizations, const std::filesystem::path& folder,
                  const MessageBoxFn& showMessage, const std::filesystem::path& fallbackFolder) {
    const auto settingsIn = [](const std::filesystem::path& where) {
        return readWholeFile(where.empty() ? std::filesystem::path(kSettingsFileName)
                                           : where / kSettingsFileName);
    };
    std::optional<std::string> bytes = settingsIn(folder);
    if (!bytes && !fallbackFolder.empty()) {
        bytes = settingsIn(fallbackFolder);
    }
    if (!bytes) {
        if (showMessage) {
            showMessage(kMissingFileTitle, kMissingFileText);
        }
        applyDefaultSettings(localizations);
        return;
    }
    applySettingsText(localizations, *bytes);
}

void applySettingsText(Localizations& localizations, std::string_view fileBytes) {
    const IniKeys keys = IniKeys::parse(settingsTextAsCp1251(fileBytes));
    for (int index = 0; index < kLocalizationCount; ++index) {
        Localization& localization = localizations.items[index];
        for (const int number : kReadingOrder) {
            const std::string value = valueOf(keys, settingsKey(index, number, "short"),
                                              defaultWeekdayName(index, number).shortName);
            setShortName(localization.names.shortNames[number % 7], value);
        }
    }
    for (int index = 0; index < kLocalizationCount; ++index) {
        Localization& localization = localizations.items[index];
        for (const int number : kReadingOrder) {
            const std::string value = valueOf(keys, settingsKey(index, number, "full"),
                                              defaultWeekdayName(index, number).fullName);
            setFullName(localization.names.fullNames[number % 7], value);
        }
    }
}

void applyDefaultSettings(Localizations& localizations) {
    applySettingsText(localizations, {});
}

}  // namespace facetor
