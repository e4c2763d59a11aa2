#include "editor/image/bin_file.h"

#include "editor/image/atomic_file.h"

namespace facetor {

bool writeBinFile(const EepromImage& image, const std::filesystem::path& folder) {
    return writeBinFileTo(image, pathInFolder(folder, kBinFileName));
}

bool writeBinFileTo(const EepromImage& image, const std::filesystem::path& file) {
    // The image already holds the reserved gap as zeros.
    const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
    return replaceFileAtomically(file, bytes);
}

}  // namespace facetor
