#include "console/win32/console_window.h"

#include <commctrl.h>
#include <dbt.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "console/win32/wide_text.h"
#include "console/win32/window_placement.h"

namespace portwand::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"PortwandWindow";
// A task of WindowOps::post, owned by the message until it runs.
constexpr UINT kRunPostedTask = WM_APP + 1;
constexpr wchar_t kPageClass[] = L"PortwandPage";
constexpr int kIconResource = 1;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The system's default GUI font, 8 points at 96 DPI: for controls the table gives no font.
constexpr int kGuiFontPoints = 8;

HFONT stockGuiFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// At 96 DPI the stock font itself; otherwise its face at the window's scale.
HFONT createGuiFont(int dpi) {
    if (dpi == 96 && displayDpi() == 96)
        return stockGuiFont();
    LOGFONTW font{};
    GetObjectW(stockGuiFont(), sizeof font, &font);
    font.lfHeight = -MulDiv(kGuiFontPoints, dpi, 72);
    font.lfWidth = 0;
    return CreateFontIndirectW(&font);
}

}  // namespace

ConsoleWindow::~ConsoleWindow() {
    for (auto& [role, font] : fonts_)
        DeleteObject(font);
    if (guiFont_ && guiFont_ != stockGuiFont())
        DeleteObject(guiFont_);
    if (accelerators_)
        DestroyAcceleratorTable(accelerators_);
}

bool ConsoleWindow::createWindow(const WindowSpec& desc) {
    WNDCLASSEXW window{};
    window.cbSize = sizeof window;
    window.hInstance = instance_;
    window.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(kIconResource));
    window.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kIconResource),
                                                   IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), 0));
    window.lpfnWndProc = windowProc;
    window.lpszClassName = kWindowClass;
    WNDCLASSEXW page = window;
    page.hIcon = page.hIconSm = nullptr;
    page.lpfnWndProc = pageProc;
    page.lpszClassName = kPageClass;
    if (!RegisterClassExW(&window) || !RegisterClassExW(&page))
        return false;

    scale_ = placeWindow(desc.clientWidth, desc.clientHeight, kWindowStyle);
    guiFont_ = createGuiFont(scale_.dpi);
    std::wstring title = wide(desc.title);
    window_ = CreateWindowExW(0, kWindowClass, title.c_str(), kWindowStyle, scale_.x, scale_.y,
                              scale_.width, scale_.height, nullptr, nullptr, instance_, this);
    return window_ != nullptr;
}

void ConsoleWindow::createFont(const FontSpec& desc) {
    int height = -MulDiv(desc.points, scale_.dpi, 72);
    std::wstring face = wide(desc.face);
    fonts_[desc.role] = CreateFontW(height, 0, 0, 0, desc.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                    FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

HWND ConsoleWindow::createChild(const wchar_t* className, const ControlSpec& desc, DWORD style,
                                HWND parent) {
    std::wstring caption = wide(desc.caption);
    HWND child = CreateWindowExW(0, className, caption.c_str(), WS_CHILD | WS_VISIBLE | style,
                                 scale_.scaled(desc.x), scale_.scaled(desc.y),
                                 scale_.scaled(desc.width), scale_.scaled(desc.height), parent,
                                 reinterpret_cast<HMENU>(INT_PTR(desc.id)), instance_, nullptr);
    auto font = fonts_.find(desc.font);
    HFONT chosen = font != fonts_.end() ? font->second : guiFont_;
    SendMessageW(child, WM_SETFONT, WPARAM(chosen), FALSE);
    controls_[desc.id] = child;
    return child;
}

void ConsoleWindow::createControl(const ControlSpec& desc) {
    switch (desc.kind) {
        case ControlKind::Tab:
            // Clips the pages that lie over it, so that repainting the tab never hides them.
            tab_ = createChild(WC_TABCONTROLW, desc, WS_TABSTOP | WS_CLIPSIBLINGS, window_);
            break;
        case ControlKind::Page:
            createPage(desc);
            break;
        case ControlKind::Button:
            createChild(WC_BUTTONW, desc, WS_TABSTOP | BS_PUSHBUTTON, pages_[desc.page]);
            break;
        case ControlKind::DropList: {
            HWND list = createChild(WC_COMBOBOXW, desc, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                                    window_);
            // The closed list is as high as the table says; opened, it shows every entry. The
            // frame around its field is the system's: 6 pixels at 96 DPI, as measured at others.
            constexpr int kFrame = 6;
            int height = scale_.scaled(desc.height);
            SendMessageW(list, CB_SETITEMHEIGHT, WPARAM(-1), height - kFrame);
            RECT closed;
            GetWindowRect(list, &closed);
            listFrame_ = int(closed.bottom - closed.top) - (height - kFrame);
            if (listFrame_ != kFrame)
                SendMessageW(list, CB_SETITEMHEIGHT, WPARAM(-1), height - listFrame_);
            break;
        }
        case ControlKind::Label:
            createChild(WC_STATICW, desc, SS_LEFT, window_);
            break;
    }
}

void ConsoleWindow::createPage(const ControlSpec& desc) {
    std::wstring caption = wide(desc.caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageW(tab_, TCM_INSERTITEMW, WPARAM(desc.page), LPARAM(&item));

    // The page covers the tab's display area; its buttons are placed relative to it.
    RECT area;
    GetWindowRect(tab_, &area);
    MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&area), 2);
    SendMessageW(tab_, TCM_ADJUSTRECT, FALSE, LPARAM(&area));
    HWND page =
        CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, caption.c_str(),
                        WS_CHILD | WS_CLIPSIBLINGS | (desc.page == 0 ? WS_VISIBLE : 0), area.left,
                        area.top, area.right - area.left, area.bottom - area.top, window_,
                        reinterpret_cast<HMENU>(INT_PTR(desc.id)), instance_, nullptr);
    // Above the tab control, so the pages are drawn over it.
    SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    pages_[desc.page] = page;
    controls_[desc.id] = page;
}

void ConsoleWindow::addCommand(const CommandSpec& desc) {
    std::wstring item = wide(desc.caption) + L"\tF" + std::to_wstring(desc.functionKey);
    HMENU menu = GetSystemMenu(window_, FALSE);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, UINT_PTR(desc.id), item.c_str());
    commandIds_.push_back(desc.id);
    shortcuts_.push_back({FVIRTKEY, WORD(VK_F1 + desc.functionKey - 1), WORD(desc.id)});
    if (accelerators_)
        DestroyAcceleratorTable(accelerators_);
    accelerators_ = CreateAcceleratorTableW(shortcuts_.data(), int(shortcuts_.size()));
}

void ConsoleWindow::clearList(int listId) {
    SendMessageW(controls_.at(listId), CB_RESETCONTENT, 0, 0);
}

void ConsoleWindow::addListEntry(int listId, const std::u16string& text) {
    HWND list = controls_.at(listId);
    std::wstring entry = wide(text);
    SendMessageW(list, CB_ADDSTRING, 0, LPARAM(entry.c_str()));
    // Opened, the list is tall enough for all its entries.
    int count = int(SendMessageW(list, CB_GETCOUNT, 0, 0));
    int itemHeight = int(SendMessageW(list, CB_GETITEMHEIGHT, 0, 0));
    int fieldHeight = int(SendMessageW(list, CB_GETITEMHEIGHT, WPARAM(-1), 0));
    RECT closed;
    GetWindowRect(list, &closed);
    // The opened list's own border, one pixel above and below, below the closed field's frame.
    constexpr int kListBorders = 2;
    SetWindowPos(list, nullptr, 0, 0, closed.right - closed.left,
                 fieldHeight + listFrame_ + kListBorders + count * itemHeight,
                 SWP_NOMOVE | SWP_NOZORDER);
    SendMessageW(list, CB_SETMINVISIBLE, WPARAM(count), 0);
}

void ConsoleWindow::selectListEntry(int listId, int index) {
    SendMessageW(controls_.at(listId), CB_SETCURSEL, WPARAM(index), 0);
}

std::u16string ConsoleWindow::listText(int listId) {
    // The selection, not the window text: during a change of selection the text is still the old.
    HWND list = controls_.at(listId);
    LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return {};
    LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, WPARAM(index), 0);
    if (length == CB_ERR)
        return {};
    std::wstring text(std::size_t(length) + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, WPARAM(index), LPARAM(text.data()));
    text.resize(std::size_t(length));
    return fromWide(text);
}

void ConsoleWindow::setLabel(int labelId, const std::u16string& text, Rgb colour) {
    HWND label = controls_.at(labelId);
    statusColour_ = RGB(colour.red, colour.green, colour.blue);
    SetWindowTextW(label, wide(text).c_str());
    // Shown at once: the command that opened the port may keep the thread busy for a while.
    InvalidateRect(label, nullptr, TRUE);
    UpdateWindow(label);
}

void ConsoleWindow::showError(const std::u16string& title, const std::u16string& text) {
    MessageBoxW(window_, wide(text).c_str(), wide(title).c_str(), MB_OK | MB_ICONERROR);
}

void ConsoleWindow::startTimer(int timerId, int periodMs) {
    SetTimer(window_, UINT_PTR(timerId), UINT(periodMs), nullptr);
}

void ConsoleWindow::post(std::function<void()> task) {
    auto* owned = new std::function<void()>(std::move(task));
    if (!window_ || !PostMessageW(window_, kRunPostedTask, 0, LPARAM(owned)))
        delete owned;
}

void ConsoleWindow::show() {
    ShowWindow(window_, SW_SHOW);
    SetFocus(GetNextDlgTabItem(window_, nullptr, FALSE));
    // Drawn now, controls and all: the trial opening that follows may keep the thread busy.
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void ConsoleWindow::runEventLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        inQueuedMessage_ = true;
        queuedMessageTime_ = message.time;
        // A held key repeats its key-down: a shortcut runs once per press.
        bool repeated = (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) &&
                        (message.lParam & (LPARAM(1) << 30));
        // Shortcuts first; then the dialog manager moves the focus with Tab and Shift+Tab, and
        // turns Esc into IDCANCEL.
        if (!(accelerators_ && !repeated &&
              TranslateAcceleratorW(window_, accelerators_, &message)) &&
            !IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        inQueuedMessage_ = false;
    }
}

int ConsoleWindow::eventAgeMs() const {
    if (!inQueuedMessage_)
        return 0;
    // Tick counts wrap after 49 days; the difference does not.
    DWORD age = GetTickCount() - queuedMessageTime_;
    constexpr DWORD kLongestWait = 60'000;
    return age <= kLongestWait ? int(age) : 0;
}

template <typename Handler>
void ConsoleWindow::dispatch(Handler handler) {
    bool outer = handling_;
    handling_ = true;
    handler();
    handling_ = outer;
}

void ConsoleWindow::showPage(int index) {
    for (int i = 0; i < 2; ++i)
        ShowWindow(pages_[i], i == index ? SW_SHOW : SW_HIDE);
}

void ConsoleWindow::onCommand(int id, int code, HWND from) {
    if (!app_)
        return;
    // Esc, from the dialog manager: stops the whole clock.
    if (!from && id == IDCANCEL) {
        app_->onStop();
        return;
    }
    // A menu item or a shortcut.
    if (!from) {
        dispatch([&] { app_->onCommand(id); });
        return;
    }
    auto control = controls_.find(id);
    bool isButton = control != controls_.end() && control->second == from &&
                    from != controls_[kPortList] && id != kTabControl;
    // Buttons report presses only; every event of the port list goes to the port change.
    if (isButton && code != BN_CLICKED)
        return;
    int age = eventAgeMs();
    dispatch([&] {
        // The list about to open shows the ports that exist now.
        if (id == kPortList && code == CBN_DROPDOWN)
            app_->refreshPortList();
        app_->onControl(id, age);
    });
}

LRESULT CALLBACK ConsoleWindow::windowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(create->lpCreateParams));
        static_cast<ConsoleWindow*>(create->lpCreateParams)->window_ = window;
    }
    auto* self = reinterpret_cast<ConsoleWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT CALLBACK ConsoleWindow::pageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // The buttons' presses belong to the console window.
            return SendMessageW(GetParent(page), message, wParam, lParam);
        case WM_ERASEBKGND:
        case WM_PRINTCLIENT:
            // With visual styles on, the page looks like the tab's body it lies on.
            if (HTHEME theme = OpenThemeData(page, L"TAB")) {
                RECT area;
                GetClientRect(page, &area);
                DrawThemeBackground(theme, reinterpret_cast<HDC>(wParam), TABP_BODY, 0, &area,
                                    nullptr);
                CloseThemeData(theme);
                return 1;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(page, message, wParam, lParam);
}

LRESULT ConsoleWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case kRunPostedTask: {
            std::unique_ptr<std::function<void()>> task(
                reinterpret_cast<std::function<void()>*>(lParam));
            if (app_)
                dispatch([&] { (*task)(); });
            return 0;
        }
        case WM_TIMER:
            if (app_ && !handling_)
                dispatch([&] { app_->onTimer(int(wParam)); });
            return 0;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->hwndFrom == tab_ && header->code == TCN_SELCHANGE)
                showPage(int(SendMessageW(tab_, TCM_GETCURSEL, 0, 0)));
            return 0;
        }
        case WM_SYSCOMMAND: {
            // The system's own items (move, close, ...) stay the system's.
            int id = int(wParam & 0xFFF0);
            if (app_ &&
                std::find(commandIds_.begin(), commandIds_.end(), id) != commandIds_.end()) {
                dispatch([&] { app_->onCommand(id); });
                return 0;
            }
            break;
        }
        case WM_DEVICECHANGE:
            // A serial adapter plugged in or pulled out. Left to the next opening of the list
            // while a command runs.
            if (app_ && !handling_ &&
                (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE ||
                 wParam == DBT_DEVNODES_CHANGED))
                dispatch([&] { app_->refreshPortList(); });
            return TRUE;
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == controls_[kStatusLabel]) {
                HDC dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, statusColour_);
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                return LRESULT(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        case WM_ACTIVATE:
            // Like a dialog: the focus leaves with the window and comes back to the same control.
            if (LOWORD(wParam) == WA_INACTIVE) {
                lastFocus_ = GetFocus();
            } else if (lastFocus_ && IsWindow(lastFocus_)) {
                SetFocus(lastFocus_);
                return 0;
            }
            break;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // Logging off or shutting down: the system ends the program once this returns, so the
            // port is kept now, as closing the window keeps it.
            if (app_ && wParam)
                app_->exit();
            return 0;
        case WM_CLOSE:
            if (app_)
                app_->onClose();
            if (!app_ || app_->quitRequested())
                DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace portwand::win32
