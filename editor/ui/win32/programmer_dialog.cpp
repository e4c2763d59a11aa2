#include "editor/ui/win32/programmer_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "editor/clock/avrdude_run.h"
#include "editor/clock/clock_messages.h"
#include "editor/clock/port_names.h"
#include "editor/ui/win32/com_port_catalog.h"
#include "editor/ui/win32/dialog_template.h"
#include "editor/ui/win32/wide_text.h"

namespace facetor::win32 {
namespace {

constexpr int kNote = 200;
constexpr int kProgrammerList = 201;
constexpr int kPortList = 202;
constexpr int kSpeedList = 203;
constexpr int kSlowModeBox = 204;
constexpr int kSlowModeHintLabel = 205;
constexpr int kAvrdudePath = 206;
constexpr int kBrowseButton = 207;
constexpr int kVersionLabel = 208;
constexpr int kPortLabelId = 209;
constexpr int kSpeedLabelId = 210;
constexpr UINT_PTR kVersionTimer = 1;
constexpr clock::RunLimits kVersionLimits{5'000, 1, 5'000, 2'000};

struct Editing {
    clock::ProgrammerSettings settings;
    std::wstring note;
    const ProgrammerDialogServices& services;
    std::vector<std::string> ports;
    std::unique_ptr<clock::AvrdudeRun> versionRun;
};

void setText(HWND dialog, int id, std::string_view utf8) {
    SetDlgItemTextW(dialog, id, toWide(utf8).c_str());
}

int selectedIndex(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

void fill(HWND dialog, int id, const std::vector<std::string>& entries, int selected) {
    for (const std::string& entry : entries) {
        SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(toWide(entry).c_str()));
    }
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(std::max(selected, 0)), 0);
}

clock::ProgrammerKind chosenProgrammer(HWND dialog) {
    const int index = std::clamp(selectedIndex(dialog, kProgrammerList), 0,
                                 static_cast<int>(clock::kProgrammers.size()) - 1);
    return clock::kProgrammers[static_cast<std::size_t>(index)].kind;
}

// The port and speed only where the programmer has a COM port, the slow mode only for ISP.
void enableForProgrammer(HWND dialog) {
    const clock::ProgrammerInfo& info = clock::programmerInfo(chosenProgrammer(dialog));
    for (int id : {kPortList, kPortLabelId}) {
        EnableWindow(GetDlgItem(dialog, id), info.serial);
    }
    const bool bootloader = info.kind == clock::ProgrammerKind::Bootloader;
    for (int id : {kSpeedList, kSpeedLabelId}) {
        EnableWindow(GetDlgItem(dialog, id), bootloader);
    }
    for (int id : {kSlowModeBox, kSlowModeHintLabel}) {
        EnableWindow(GetDlgItem(dialog, id), info.isp);
    }
}

// Shows the avrdude that would run and asks it its version.
void showAvrdude(HWND dialog, Editing& editing) {
    editing.versionRun.reset();
    const auto found = editing.services.findAvrdude(editing.settings.avrdude);
    SetDlgItemTextW(dialog, kAvrdudePath, found ? found->program.c_str() : L"");
    if (!found) {
        setText(dialog, kVersionLabel, clock::kAvrdudeNotFoundShort);
        return;
    }
    setText(dialog, kVersionLabel, clock::kVersionAsking);
    editing.versionRun = std::make_unique<clock::AvrdudeRun>(
        editing.services.launcher, editing.services.stopwatch, kVersionLimits);
    editing.versionRun->start(found->program, clock::kVersionArguments,
                              found->program.parent_path());
    SetTimer(dialog, kVersionTimer, 100, nullptr);
}

void pollVersion(HWND dialog, Editing& editing) {
    if (!editing.versionRun || editing.versionRun->poll()) {
        return;
    }
    KillTimer(dialog, kVersionTimer);
    const auto version = clock::avrdudeVersion(editing.versionRun->output());
    setText(dialog, kVersionLabel, version ? clock::versionText(*version) : clock::kVersionUnknown);
    editing.versionRun.reset();
}

void browse(HWND dialog, Editing& editing) {
    const std::wstring filter = toWide(clock::kAvrdudeFilter) + L'\0' + L"avrdude.exe" + L'\0' +
                                toWide(clock::kProgramsFilter) + L'\0' + L"*.exe" + L'\0';
    std::wstring file(32768, L'\0');
    OPENFILENAMEW info{};
    info.lStructSize = sizeof info;
    info.hwndOwner = dialog;
    info.lpstrFilter = filter.c_str();
    info.lpstrFile = file.data();
    info.nMaxFile = static_cast<DWORD>(file.size());
    info.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (GetOpenFileNameW(&info)) {
        editing.settings.avrdude = std::filesystem::path(file.c_str());
        showAvrdude(dialog, editing);
    }
}

void initialize(HWND dialog, Editing& editing) {
    setText(dialog, kNote,
            editing.note.empty() ? std::string(clock::kProgrammerHint) : fromWide(editing.note));
    std::vector<std::string> names;
    int programmer = 0;
    for (const clock::ProgrammerInfo& info : clock::kProgrammers) {
        if (info.kind == editing.settings.programmer) {
            programmer = static_cast<int>(names.size());
        }
        names.emplace_back(info.name);
    }
    fill(dialog, kProgrammerList, names, programmer);

    std::vector<std::string> existing = existingComPorts();
    // The port chosen before stays in the list while its adapter is unplugged.
    if (!editing.settings.port.empty()) {
        existing.push_back(editing.settings.port);
    }
    editing.ports = clock::comPortEntries(existing);
    // Without a choice: the newest port the computer has (an Arduino or a USB adapter).
    std::string port = editing.settings.port;
    for (auto entry = editing.ports.rbegin(); port.empty() && entry != editing.ports.rend();
         ++entry) {
        if (std::find(existing.begin(), existing.end(), *entry) != existing.end()) {
            port = *entry;
        }
    }
    fill(dialog, kPortList, editing.ports,
         static_cast<int>(std::find(editing.ports.begin(), editing.ports.end(), port) -
                          editing.ports.begin()));

    std::vector<std::string> speeds;
    int speed = 0;
    for (int baud : clock::kBootloaderBauds) {
        if (baud == editing.settings.bootloaderBaud) {
            speed = static_cast<int>(speeds.size());
        }
        speeds.push_back(std::to_string(baud));
    }
    fill(dialog, kSpeedList, speeds, speed);
    CheckDlgButton(dialog, kSlowModeBox, editing.settings.slowMode ? BST_CHECKED : BST_UNCHECKED);
    enableForProgrammer(dialog);
    showAvrdude(dialog, editing);
}

void confirm(HWND dialog, Editing& editing) {
    clock::ProgrammerSettings& s = editing.settings;
    s.programmer = chosenProgrammer(dialog);
    const int port = selectedIndex(dialog, kPortList);
    if (port >= 0 && port < static_cast<int>(editing.ports.size())) {
        s.port = editing.ports[static_cast<std::size_t>(port)];
    }
    const int speed = selectedIndex(dialog, kSpeedList);
    if (speed >= 0 && speed < static_cast<int>(clock::kBootloaderBauds.size())) {
        s.bootloaderBaud = clock::kBootloaderBauds[static_cast<std::size_t>(speed)];
    }
    s.slowMode = IsDlgButtonChecked(dialog, kSlowModeBox) == BST_CHECKED;
}

INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* editing = dialogObject<Editing>(dialog, message, lParam);
    switch (message) {
        case WM_INITDIALOG:
            initialize(dialog, *editing);
            return TRUE;
        case WM_TIMER:
            pollVersion(dialog, *editing);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kProgrammerList:
                    if (HIWORD(wParam) == CBN_SELCHANGE) {
                        enableForProgrammer(dialog);
                    }
                    return TRUE;
                case kBrowseButton:
                    browse(dialog, *editing);
                    return TRUE;
                case IDOK:
                    confirm(dialog, *editing);
                    EndDialog(dialog, IDOK);
                    return TRUE;
                case IDCANCEL:
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace

std::optional<clock::ProgrammerSettings> editProgrammerSettings(
    HWND owner, const clock::ProgrammerSettings& current, std::string_view note,
    const ProgrammerDialogServices& services) {
    DialogTemplate dialog(toWide(clock::kProgrammerTitle), 280, 168);
    const DWORD list = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    dialog.add({L"STATIC", L"", kNote, SS_LEFT, 7, 7, 266, 26});
    dialog.add({L"STATIC", toWide(clock::kProgrammerLabel), 0, SS_LEFT, 7, 42, 60, 8});
    dialog.add({L"COMBOBOX", L"", kProgrammerList, list, 70, 40, 203, 120});
    dialog.add({L"STATIC", toWide(clock::kPortLabel), kPortLabelId, SS_LEFT, 7, 60, 60, 8});
    dialog.add({L"COMBOBOX", L"", kPortList, list, 70, 58, 75, 160});
    dialog.add({L"STATIC", toWide(clock::kSpeedLabel), kSpeedLabelId, SS_RIGHT, 150, 60, 48, 8});
    dialog.add({L"COMBOBOX", L"", kSpeedList, list, 203, 58, 70, 100});
    dialog.add({L"BUTTON", toWide(clock::kSlowMode), kSlowModeBox, BS_AUTOCHECKBOX | WS_TABSTOP, 70,
                77, 203, 10});
    dialog.add(
        {L"STATIC", toWide(clock::kSlowModeHint), kSlowModeHintLabel, SS_LEFT, 82, 89, 191, 16});
    dialog.add({L"STATIC", toWide(clock::kAvrdudeLabel), 0, SS_LEFT, 7, 112, 60, 8});
    dialog.add({L"EDIT", L"", kAvrdudePath, WS_BORDER | ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP,
                70, 110, 150, 13});
    dialog.add({L"BUTTON", toWide(clock::kBrowse), kBrowseButton, BS_PUSHBUTTON | WS_TABSTOP, 223,
                109, 50, 14});
    dialog.add({L"STATIC", L"", kVersionLabel, SS_LEFT, 70, 126, 203, 8});
    dialog.add(
        {L"BUTTON", toWide(clock::kOk), IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 169, 147, 50, 14});
    dialog.add({L"BUTTON", toWide(clock::kCancel), IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 223, 147,
                50, 14});
    Editing editing{current, toWide(note), services, {}, nullptr};
    if (dialog.run(owner, procedure, reinterpret_cast<LPARAM>(&editing)) != IDOK) {
        return std::nullopt;
    }
    return editing.settings;
}

}  // namespace facetor::win32
