// "Программатор...": the programmer, its COM port and speed where it has them, "Медленный
// режим" for the ISP programmers, and avrdude itself (the path found, its version, "Обзор...").
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string_view>

#include "editor/clock/avrdude_locator.h"
#include "editor/clock/child_process.h"
#include "editor/clock/programmer.h"

namespace facetor::win32 {

struct ProgrammerDialogServices {
    clock::ProcessLauncher& launcher;  // asks avrdude its version
    const clock::Stopwatch& stopwatch;
    std::function<std::optional<clock::FoundAvrdude>(const std::filesystem::path& chosen)>
        findAvrdude;
};

// The settings confirmed with OK, or std::nullopt; `note` (may be empty) says on top why the
// dialog opened by itself.
std::optional<clock::ProgrammerSettings> editProgrammerSettings(
    HWND owner, const clock::ProgrammerSettings& current, std::string_view note,
    const ProgrammerDialogServices& services);

}  // namespace facetor::win32
