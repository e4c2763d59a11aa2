#include "editor/ui/win32/dialog_template.h"

namespace facetor::win32 {
namespace {

class Writer {
  public:
    template <typename T>
    void put(T value) {
        const auto* bytes = reinterpret_cast<const BYTE*>(&value);
        data_.insert(data_.end(), bytes, bytes + sizeof value);
    }
    void text(const std::wstring& value) {
        for (wchar_t c : value) {
            put<WORD>(static_cast<WORD>(c));
        }
        put<WORD>(0);
    }
    void alignToDword() {
        while (data_.size() % 4 != 0) {
            data_.push_back(0);
        }
    }
    const BYTE* data() const { return data_.data(); }

  private:
    std::vector<BYTE> data_;
};

constexpr DWORD kDialogStyle =
    DS_MODALFRAME | DS_SETFONT | DS_SHELLFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;

}  // namespace

DialogTemplate::DialogTemplate(std::wstring title, short width, short height)
    : title_(std::move(title)), width_(width), height_(height) {}

INT_PTR DialogTemplate::run(HWND owner, DLGPROC proc, LPARAM param) const {
    Writer out;
    out.put<WORD>(1);       // dlgVer
    out.put<WORD>(0xFFFF);  // signature: DLGTEMPLATEEX
    out.put<DWORD>(0);      // helpID
    out.put<DWORD>(0);      // exStyle
    out.put<DWORD>(kDialogStyle);
    out.put<WORD>(static_cast<WORD>(items_.size()));
    out.put<short>(0);
    out.put<short>(0);
    out.put<short>(width_);
    out.put<short>(height_);
    out.put<WORD>(0);  // no menu
    out.put<WORD>(0);  // the standard dialog class
    out.text(title_);
    out.put<WORD>(8);    // points
    out.put<WORD>(400);  // weight
    out.put<BYTE>(0);    // italic
    out.put<BYTE>(DEFAULT_CHARSET);
    out.text(L"MS Shell Dlg");
    for (const DialogItem& item : items_) {
        out.alignToDword();
        out.put<DWORD>(0);  // helpID
        out.put<DWORD>(0);  // exStyle
        out.put<DWORD>(WS_CHILD | WS_VISIBLE | item.style);
        out.put<short>(item.x);
        out.put<short>(item.y);
        out.put<short>(item.width);
        out.put<short>(item.height);
        out.put<DWORD>(static_cast<DWORD>(item.id));
        out.text(item.windowClass);
        out.text(item.text);
        out.put<WORD>(0);  // no creation data
    }
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                   reinterpret_cast<LPCDLGTEMPLATEW>(out.data()), owner, proc,
                                   param);
}

}  // namespace facetor::win32
