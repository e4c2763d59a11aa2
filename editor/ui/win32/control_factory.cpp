#include "editor/ui/win32/control_factory.h"

#include <commctrl.h>

#include "editor/ui/win32/wide_text.h"
#include "editor/ui/win32/window_placement.h"

namespace facetor::win32 {
namespace {

struct WindowKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

WindowKind windowKindOf(const ControlSpec& desc) {
    switch (desc.kind) {
        case ControlKind::Frame:
            return {L"STATIC", SS_GRAYFRAME, 0};
        case ControlKind::Label:
            return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
        case ControlKind::CellEdit:
            return {L"EDIT", ES_READONLY | ES_CENTER, WS_EX_CLIENTEDGE};
        case ControlKind::CaptureEdit:
            // Auto-scrolling, or the 1-pixel box would refuse every character.
            return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::PushButton:
            return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::Radio:
            return {L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 0};
        case ControlKind::CheckBox:
            return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    }
    return {L"STATIC", 0, 0};
}

}  // namespace

HWND createControl(HWND parent, HINSTANCE instance, const ControlSpec& desc, HFONT font,
                   const WindowScale& scale) {
    const WindowKind kind = windowKindOf(desc);
    DWORD style = WS_CHILD | WS_VISIBLE | kind.style;
    // Auto radio buttons toggle within a run of controls that starts at a WS_GROUP control; every
    // other control ends such a run.
    if (desc.kind != ControlKind::Radio || desc.startsRadioGroup) {
        style |= WS_GROUP;
    }
    const bool marked = desc.kind == ControlKind::Radio || desc.kind == ControlKind::CheckBox;
    const int width =
        scale.scaled(desc.rect.width) + (marked ? scale.markSurplus(displayDpi()) : 0);
    const std::wstring caption = toWide(desc.caption);
    HWND control = CreateWindowExW(
        kind.exStyle, kind.className, caption.c_str(), style, scale.scaled(desc.rect.x),
        scale.scaled(desc.rect.y), width, scale.scaled(desc.rect.height), parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(desc.id)), instance, nullptr);
    if (control) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (desc.initiallyChecked) {
            SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
        }
    }
    return control;
}

ToolTips::ToolTips(HWND parent, HINSTANCE instance, const WindowScale& scale)
    : parent_(parent),
      tips_(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, instance, nullptr)) {
    if (tips_) {
        SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, scale.scaled(400));
    }
}

void ToolTips::add(HWND control, const std::wstring& text) {
    if (!tips_ || !control) {
        return;
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = parent_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace facetor::win32
