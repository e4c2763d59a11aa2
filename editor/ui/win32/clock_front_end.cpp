#include "editor/ui/win32/clock_front_end.h"

#include <string>

#include "editor/ui/win32/avrdude_places.h"
#include "editor/ui/win32/programmer_dialog.h"
#include "editor/ui/win32/progress_dialog.h"
#include "editor/ui/win32/result_dialog.h"
#include "editor/ui/win32/user_data_folder.h"
#include "editor/ui/win32/wide_text.h"

namespace facetor::win32 {
namespace {

// avrdude writes in the ANSI code page, as does the system text it quotes.
std::string ansiToUtf8(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return fromWide(wide);
}

std::string systemErrorText(std::uint32_t code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) {
        message.pop_back();
    }
    return fromWide(message) + " (" + std::to_string(code) + ")";
}

}  // namespace

ClockFrontEnd::ClockFrontEnd(EditorController& editor, const Clock& wallClock)
    : commands_(editor,
                ClockServices{*this, settings_, launcher_, stopwatch_, wallClock,
                              findAvrdudeOnThisComputer, ansiToUtf8, systemErrorText,
                              facetorUserDataFolder(), std::to_string(GetCurrentProcessId())}) {}

// A write cut off by the end of the session would leave the clock's EEPROM half written;
// Windows shows the reason while Facetor holds the session.
void ClockFrontEnd::follow(clock::AvrdudeRun& run, clock::JobKind job) {
    writing_ = job == clock::JobKind::Write;
    if (writing_) {
        ShutdownBlockReasonCreate(owner_, toWide(clock::kWriteHoldsTheSession).c_str());
    }
    followRun(owner_, run, job);
    if (writing_) {
        ShutdownBlockReasonDestroy(owner_);
    }
    writing_ = false;
}

void ClockFrontEnd::showResult(std::string_view title, std::string_view text, std::string_view log,
                               bool success) {
    showClockResult(owner_, title, text, log, success);
}

std::optional<clock::ProgrammerSettings> ClockFrontEnd::editProgrammer(
    const clock::ProgrammerSettings& current, std::string_view note) {
    return editProgrammerSettings(owner_, current, note,
                                  {launcher_, stopwatch_, findAvrdudeOnThisComputer});
}

}  // namespace facetor::win32
