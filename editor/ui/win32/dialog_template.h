// Dialogs built in memory: a DLGTEMPLATEEX with its controls, run modally with
// DialogBoxIndirectParamW. Sizes are dialog units, so the dialogs grow with the system font and
// the display's scale; the texts come from the one file of texts, not from resources.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace facetor::win32 {

struct DialogItem {
    const wchar_t* windowClass;  // "BUTTON", "STATIC", "EDIT", "COMBOBOX", "msctls_progress32"
    std::wstring text;
    int id;
    DWORD style;  // WS_CHILD | WS_VISIBLE come with every item
    short x, y, width, height;
};

class DialogTemplate {
  public:
    DialogTemplate(std::wstring title, short width, short height);
    void add(DialogItem item) { items_.push_back(std::move(item)); }
    // Runs the dialog over `owner`; `param` reaches `proc` as WM_INITDIALOG's lParam.
    INT_PTR run(HWND owner, DLGPROC proc, LPARAM param) const;

  private:
    std::wstring title_;
    short width_, height_;
    std::vector<DialogItem> items_;
};

// The object a dialog procedure serves: stored at WM_INITDIALOG, found again for every later
// message (nullptr before).
template <typename Dialog>
Dialog* dialogObject(HWND dialog, UINT message, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    }
    return reinterpret_cast<Dialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

}  // namespace facetor::win32
