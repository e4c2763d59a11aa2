#include "editor/clock/programmer.h"

namespace facetor::clock {

const ProgrammerInfo& programmerInfo(ProgrammerKind kind) {
    for (const ProgrammerInfo& info : kProgrammers) {
        if (info.kind == kind) {
            return info;
        }
    }
    return kProgrammers.front();
}

std::optional<ProgrammerKind> programmerFromSettingsId(std::string_view id) {
    for (const ProgrammerInfo& info : kProgrammers) {
        if (info.settingsId == id) {
            return info.kind;
        }
    }
    return std::nullopt;
}

std::vector<std::string> connectionArguments(const ProgrammerSettings& settings,
                                             std::string_view part,
                                             const std::filesystem::path& config) {
    const ProgrammerInfo& info = programmerInfo(settings.programmer);
    std::vector<std::string> args;
    if (!config.empty()) {
        const std::u8string name = config.u8string();
        args.insert(args.end(), {"-C", std::string(name.begin(), name.end())});
    }
    args.insert(args.end(), {"-c", std::string(info.avrdudeId), "-p", std::string(part)});
    if (info.serial) {
        const int baud = settings.programmer == ProgrammerKind::ArduinoAsIsp
                             ? kArduinoIspBaud
                             : settings.bootloaderBaud;
        args.insert(args.end(), {"-P", settings.port, "-b", std::to_string(baud)});
    } else if (settings.programmer == ProgrammerKind::AvrispMk2) {
        args.insert(args.end(), {"-P", "usb"});
    }
    if (info.isp && settings.slowMode) {
        args.insert(args.end(), {"-B", "32"});
    }
    return args;
}

}  // namespace facetor::clock
