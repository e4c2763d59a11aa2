// facetor_image_oracle: writes the .eep and .bin files that the unit-tested image code makes for
// a document described on standard input, into the current folder, so that the end-to-end
// tests can compare them with what Facetor's save wrote. One command per line:
//   cell <CellId> <code, hex>
//   place <FieldKind 0..9> <screen> <column> <row>
//   style <FieldKind 0..9> <screen> <value>
//   settings            (read Facetor.ini from the current folder; defaults otherwise)
//   write <localization 0..2> <day> <month> <year>
#include <iostream>
#include <sstream>
#include <string>

#include "editor/image/bin_file.h"
#include "editor/image/eep_file.h"
#include "editor/image/eeprom_image.h"
#include "editor/model/settings_file.h"

int main() {
    using namespace facetor;
    SkinDocument document;
    document.clearAll();
    Localizations localizations = Localizations::initial();
    applyDefaultSettings(localizations);

    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::string command;
        in >> command;
        if (command == "cell") {
            int id = 0;
            unsigned code = 0;
            in >> id >> std::hex >> code;
            document.setCell(static_cast<CellId>(id), static_cast<std::uint8_t>(code));
        } else if (command == "place") {
            int kind = 0, screen = 0, column = 0, row = 0;
            in >> kind >> screen >> column >> row;
            document.setPlacement(
                static_cast<FieldKind>(kind), screen,
                {static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(row)});
        } else if (command == "style") {
            int kind = 0, screen = 0, value = 0;
            in >> kind >> screen >> value;
            document.setStyle(static_cast<FieldKind>(kind), screen,
                              static_cast<std::uint8_t>(value));
        } else if (command == "settings") {
            localizations = Localizations::initial();
            loadSettings(localizations, {}, [](std::string_view, std::string_view) {});
        } else if (command == "write") {
            int localization = 0;
            CalendarDate today{};
            in >> localization >> today.day >> today.month >> today.year;
            const EepromImage image =
                buildEepromImage(document, localizations, localization, today);
            if (!writeEepFile(image, localizations, localization) || !writeBinFile(image)) {
                std::cerr << "writing failed\n";
                return 1;
            }
        } else if (!command.empty()) {
            std::cerr << "unknown command: " << command << "\n";
            return 2;
        }
    }
    return 0;
}
