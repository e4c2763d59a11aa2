#include "editor/image/image_to_document.h"

namespace facetor {

namespace {

std::uint8_t highNibble(std::uint8_t byte) {
    return static_cast<std::uint8_t>(byte >> 4);
}
std::uint8_t lowNibble(std::uint8_t byte) {
    return static_cast<std::uint8_t>(byte & 0x0F);
}

}  // namespace

void loadImageIntoDocument(const EepromImage& image, SkinDocument& document) {
    for (int i = 0; i < kCellCount; ++i) {
        document.setCell(static_cast<CellId>(kFirstCell + i), image[kCellAreaOffset + i]);
    }
    for (int kind = 0; kind < kFieldKindCount; ++kind) {
        for (int screen = 0; screen < kScreenCount; ++screen) {
            const std::uint8_t byte = image[kPlacementOffset + kPlacementTableSize * kind + screen];
            document.setPlacement(static_cast<FieldKind>(kind), screen,
                                  FieldPlacement{highNibble(byte), lowNibble(byte)});
        }
    }
    for (int screen = 0; screen < kScreenCount; ++screen) {
        const std::uint8_t temperatures = image[kTemperatureStyleOffset + screen];
        document.setStyle(FieldKind::Temperature1, screen, highNibble(temperatures));
        document.setStyle(FieldKind::Temperature2, screen, lowNibble(temperatures));
        document.setStyle(FieldKind::Weekday, screen, image[kWeekdayStyleOffset + screen]);
    }
}

}  // namespace facetor
