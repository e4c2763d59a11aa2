// WindowOps on the real controls of the main window. Kept cheap for the ten refreshes a second:
// a text or colour that did not change costs no window message and no repaint.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <unordered_map>

#include "editor/ui/window_layout.h"
#include "editor/ui/window_ops.h"

namespace facetor::win32 {

class Win32WindowOps : public WindowOps {
  public:
    Win32WindowOps() = default;
    ~Win32WindowOps() override;
    Win32WindowOps(const Win32WindowOps&) = delete;
    Win32WindowOps& operator=(const Win32WindowOps&) = delete;

    void attach(HWND mainWindow) { main_ = mainWindow; }
    void addControl(int id, HWND control, ControlKind kind, std::wstring initialText);
    HWND handle(int id) const;

    void setText(int controlId, std::string_view utf8) override;
    std::string text(int controlId) const override;
    void setEnabled(int controlId, bool enabled) override;
    void setChecked(int controlId, bool checked) override;
    bool isChecked(int controlId) const override;
    void setBackground(int controlId, Rgb colour) override;
    void setFocus(int controlId) override;
    void showMessage(std::string_view title, std::string_view text) override;
    Answer askYesNoCancel(std::string_view title, std::string_view text) override;
    bool askYesNo(std::string_view title, std::string_view text) override;
    std::optional<std::filesystem::path> chooseFileToOpen() override;
    std::optional<std::filesystem::path> chooseFileToSave(
        const std::filesystem::path& suggested) override;
    std::string clipboardText() const override;
    void blockEndOfSession(std::string_view reason) override;
    void allowEndOfSession() override;
    void quit() override;

    // A focus change asked for while a button holds the mouse (between the press and the
    // release of a click) waits until the click is over: taking the focus away from the button
    // would cancel the click. Call before handling each event.
    void applyDeferredFocus();

    // For WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC: the brush of a control whose background was set,
    // with the device context prepared; nullptr leaves the default colours.
    HBRUSH backgroundFor(HWND control, HDC dc);

  private:
    struct Control {
        HWND hwnd = nullptr;
        ControlKind kind = ControlKind::Label;
        std::wstring shownText;  // as last set; the capture box is always read back instead
        bool coloured = false;
        COLORREF colour = 0;
    };
    Control* find(int id);
    const Control* find(int id) const;
    void setMenuItemText(int itemId, std::wstring text);
    HBRUSH brush(COLORREF colour);

    bool clickInProgress() const;

    HWND main_ = nullptr;
    HWND deferredFocus_ = nullptr;
    std::unordered_map<int, Control> controls_;
    std::unordered_map<HWND, int> idOfWindow_;
    std::map<COLORREF, HBRUSH> brushes_;
    std::unordered_map<int, std::wstring> menuItemTexts_;  // as last set
};

}  // namespace facetor::win32
