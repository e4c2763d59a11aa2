#include "console/frame_writer.h"

namespace portwand {

bool FrameWriter::writeFrame(const RemoteFrame& frame) {
    for (std::uint8_t byte : frame) {
        if (!link_.writeByte(byte))
            return false;
    }
    return true;
}

bool FrameWriter::writePair(ClockField field, std::uint8_t value) {
    if (!writeFrame(checkFrame(value)))
        return false;
    clock_.beginFineResolution();
    clock_.sleepMs(kPairPauseMs);
    clock_.endFineResolution();
    return writeFrame(valueFrame(field, value));
}

}  // namespace portwand
