#include "editor/ui/win32/win32_window_ops.h"

#include "editor/ui/win32/file_dialogs.h"
#include "editor/ui/win32/wide_text.h"

namespace facetor::win32 {
namespace {

std::wstring windowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    const int length = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return text;
}

}  // namespace

Win32WindowOps::~Win32WindowOps() {
    for (auto& [colour, brush] : brushes_) {
        DeleteObject(brush);
    }
}

void Win32WindowOps::addControl(int id, HWND control, ControlKind kind, std::wstring initialText) {
    controls_[id] = Control{control, kind, std::move(initialText)};
    idOfWindow_[control] = id;
}

HWND Win32WindowOps::handle(int id) const {
    const Control* c = find(id);
    return c ? c->hwnd : nullptr;
}

Win32WindowOps::Control* Win32WindowOps::find(int id) {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : &it->second;
}

const Win32WindowOps::Control* Win32WindowOps::find(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : &it->second;
}

void Win32WindowOps::setText(int controlId, std::string_view utf8) {
    Control* c = find(controlId);
    if (!c) {
        setMenuItemText(controlId, toWide(utf8));
        return;
    }
    std::wstring wide = toWide(utf8);
    if (c->kind != ControlKind::CaptureEdit && wide == c->shownText) {
        return;
    }
    SetWindowTextW(c->hwnd, wide.c_str());
    c->shownText = std::move(wide);
}

std::string Win32WindowOps::text(int controlId) const {
    const Control* c = find(controlId);
    if (!c) {
        const auto item = menuItemTexts_.find(controlId);
        return item == menuItemTexts_.end() ? std::string() : fromWide(item->second);
    }
    return fromWide(c->kind == ControlKind::CaptureEdit ? windowText(c->hwnd) : c->shownText);
}

// A menu item of the menu bar or of its menus; the menu bar is drawn again, as it may have
// changed.
void Win32WindowOps::setMenuItemText(int itemId, std::wstring text) {
    HMENU menu = main_ ? GetMenu(main_) : nullptr;
    auto [shown, added] = menuItemTexts_.try_emplace(itemId);
    if (!menu || (!added && shown->second == text)) {
        return;
    }
    std::wstring caption;  // a file name's "&" is no access key
    for (wchar_t c : text) {
        caption += c == L'&' ? L"&&" : std::wstring(1, c);
    }
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = caption.data();
    SetMenuItemInfoW(menu, static_cast<UINT>(itemId), FALSE, &info);
    DrawMenuBar(main_);
    shown->second = std::move(text);
}

void Win32WindowOps::setEnabled(int controlId, bool enabled) {
    const Control* c = find(controlId);
    if (!c) {  // a menu item
        if (HMENU menu = main_ ? GetMenu(main_) : nullptr) {
            EnableMenuItem(menu, static_cast<UINT>(controlId),
                           MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
        }
        return;
    }
    if ((IsWindowEnabled(c->hwnd) != FALSE) != enabled) {
        EnableWindow(c->hwnd, enabled);
    }
}

void Win32WindowOps::setChecked(int controlId, bool checked) {
    if (const Control* c = find(controlId)) {
        SendMessageW(c->hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

bool Win32WindowOps::isChecked(int controlId) const {
    const Control* c = find(controlId);
    return c && SendMessageW(c->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32WindowOps::setBackground(int controlId, Rgb colour) {
    Control* c = find(controlId);
    const COLORREF value = RGB(colour.red, colour.green, colour.blue);
    if (!c || (c->coloured && c->colour == value)) {
        return;
    }
    c->coloured = true;
    c->colour = value;
    InvalidateRect(c->hwnd, nullptr, TRUE);
}

void Win32WindowOps::setFocus(int controlId) {
    const Control* c = find(controlId);
    if (!c) {
        return;
    }
    if (clickInProgress()) {
        deferredFocus_ = c->hwnd;
        return;
    }
    deferredFocus_ = nullptr;
    SetFocus(c->hwnd);
}

bool Win32WindowOps::clickInProgress() const {
    HWND captured = GetCapture();
    if (!captured) {
        return false;
    }
    auto id = idOfWindow_.find(captured);
    if (id == idOfWindow_.end()) {
        return false;
    }
    const ControlKind kind = controls_.at(id->second).kind;
    return kind == ControlKind::PushButton || kind == ControlKind::CheckBox ||
           kind == ControlKind::Radio;
}

void Win32WindowOps::applyDeferredFocus() {
    if (deferredFocus_ && !clickInProgress()) {
        HWND target = deferredFocus_;
        deferredFocus_ = nullptr;
        SetFocus(target);
    }
}

void Win32WindowOps::showMessage(std::string_view title, std::string_view text) {
    UINT icon = 0;
    if (title == "Information") {
        icon = MB_ICONINFORMATION;
    } else if (title == "Ошибка") {
        icon = MB_ICONERROR;
    }
    MessageBoxW(main_, toWide(text).c_str(), toWide(title).c_str(), MB_OK | icon);
}

Answer Win32WindowOps::askYesNoCancel(std::string_view title, std::string_view text) {
    switch (MessageBoxW(main_, toWide(text).c_str(), toWide(title).c_str(),
                        MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES:
            return Answer::Yes;
        case IDNO:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

bool Win32WindowOps::askYesNo(std::string_view title, std::string_view text) {
    return MessageBoxW(main_, toWide(text).c_str(), toWide(title).c_str(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

std::optional<std::filesystem::path> Win32WindowOps::chooseFileToOpen() {
    return askFileToOpen(main_);
}

std::optional<std::filesystem::path> Win32WindowOps::chooseFileToSave(
    const std::filesystem::path& suggested) {
    return askFileToSave(main_, suggested);
}

std::string Win32WindowOps::clipboardText() const {
    std::wstring text;
    if (IsClipboardFormatAvailable(CF_UNICODETEXT) && OpenClipboard(main_)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
                text = chars;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    return fromWide(text);
}

void Win32WindowOps::blockEndOfSession(std::string_view reason) {
    ShutdownBlockReasonCreate(main_, toWide(reason).c_str());
}

void Win32WindowOps::allowEndOfSession() {
    ShutdownBlockReasonDestroy(main_);
}

void Win32WindowOps::quit() {
    if (main_ && IsWindow(main_)) {
        DestroyWindow(main_);
    }
}

HBRUSH Win32WindowOps::brush(COLORREF colour) {
    auto [it, added] = brushes_.try_emplace(colour, nullptr);
    if (added) {
        it->second = CreateSolidBrush(colour);
    }
    return it->second;
}

HBRUSH Win32WindowOps::backgroundFor(HWND control, HDC dc) {
    auto id = idOfWindow_.find(control);
    if (id == idOfWindow_.end()) {
        return nullptr;
    }
    const Control& c = controls_.at(id->second);
    if (!c.coloured) {
        return nullptr;
    }
    SetBkColor(dc, c.colour);
    return brush(c.colour);
}

}  // namespace facetor::win32
