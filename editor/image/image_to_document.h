// Loading the editable part of an image back into the document.
#pragma once

#include "editor/image/eeprom_image.h"
#include "editor/model/skin_document.h"

namespace facetor {

// Sets every Cell, every Field placement and every style of the document from the image, as
// raw values (placement: high nibble column, low nibble row; temperature styles: high nibble
// sensor 1, low nibble sensor 2). The cursor is left where it is.
void loadImageIntoDocument(const EepromImage& image, SkinDocument& document);

}  // namespace facetor
