#include "editor/ui/win32/result_dialog.h"

#include <string>

#include "editor/clock/clock_messages.h"
#include "editor/ui/win32/dialog_template.h"
#include "editor/ui/win32/wide_text.h"

namespace facetor::win32 {
namespace {

constexpr int kIcon = 100;
constexpr int kText = 101;
constexpr int kShowLogButton = 102;
constexpr int kLogEdit = 101;

struct Result {
    std::wstring log;
    bool success;
};

// An edit box wants CR LF.
std::wstring withWindowsLineEnds(std::wstring_view text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) {
            out += L'\r';
        }
        out += text[i];
    }
    return out;
}

INT_PTR CALLBACK logProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    return FALSE;
}

void showLog(HWND owner, const std::wstring& log) {
    DialogTemplate dialog(toWide(clock::kLogTitle), 400, 250);
    dialog.add({L"EDIT", withWindowsLineEnds(log), kLogEdit,
                WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY |
                    ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                7, 7, 386, 212});
    dialog.add(
        {L"BUTTON", toWide(clock::kOk), IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 343, 228, 50, 14});
    dialog.run(owner, logProcedure, 0);
}

// The text's height decides the dialog's: the controls below it move down, the dialog grows.
void fitText(HWND dialog) {
    HWND text = GetDlgItem(dialog, kText);
    RECT box{};
    GetWindowRect(text, &box);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&box), 2);
    wchar_t buffer[8192];
    GetWindowTextW(text, buffer, 8192);
    HDC dc = GetDC(text);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, box.right - box.left, 0};
    DrawTextW(dc, buffer, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(text, dc);
    const int grow = (needed.bottom - needed.top) - (box.bottom - box.top);
    if (grow <= 0) {
        return;
    }
    SetWindowPos(text, nullptr, 0, 0, box.right - box.left, needed.bottom - needed.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    for (int id : {IDOK, kShowLogButton}) {
        HWND button = GetDlgItem(dialog, id);
        RECT r{};
        GetWindowRect(button, &r);
        MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(button, nullptr, r.left, r.top + grow, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    RECT frame{};
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, nullptr, frame.left, frame.top - grow / 2, frame.right - frame.left,
                 frame.bottom - frame.top + grow, SWP_NOZORDER);  // still centred
}

INT_PTR CALLBACK resultProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* result = dialogObject<Result>(dialog, message, lParam);
    switch (message) {
        case WM_INITDIALOG:
            SendDlgItemMessageW(dialog, kIcon, STM_SETICON,
                                reinterpret_cast<WPARAM>(LoadIconW(
                                    nullptr, result->success ? IDI_INFORMATION : IDI_WARNING)),
                                0);
            EnableWindow(GetDlgItem(dialog, kShowLogButton), !result->log.empty());
            fitText(dialog);
            SetFocus(GetDlgItem(dialog, IDOK));  // Enter and Space close it, as a message box
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == kShowLogButton) {
                showLog(dialog, result->log);
            } else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDOK);
            }
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void showClockResult(HWND owner, std::string_view title, std::string_view text,
                     std::string_view log, bool success) {
    DialogTemplate dialog(toWide(title), 280, 70);
    dialog.add({L"STATIC", L"", kIcon, SS_ICON, 10, 10, 20, 20});
    dialog.add({L"STATIC", withWindowsLineEnds(toWide(text)), kText, SS_LEFT | SS_NOPREFIX, 40, 10,
                230, 30});
    dialog.add({L"BUTTON", toWide(clock::kShowLog), kShowLogButton, BS_PUSHBUTTON | WS_TABSTOP, 110,
                50, 100, 14});
    dialog.add(
        {L"BUTTON", toWide(clock::kOk), IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 220, 50, 50, 14});
    Result result{toWide(log), success};
    dialog.run(owner, resultProcedure, reinterpret_cast<LPARAM>(&result));
}

}  // namespace facetor::win32
