#include "editor/ui/win32/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "editor/model/cell_address.h"
#include "editor/ui/control_ids.h"
#include "editor/ui/win32/control_factory.h"
#include "editor/ui/win32/program_folder.h"
#include "editor/ui/win32/user_data_folder.h"
#include "editor/ui/win32/wide_text.h"
#include "editor/ui/win32/window_placement.h"

namespace facetor::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"FacetorMainWindow";
constexpr int kProgramIcon = 1;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// A cell's focus change, posted so that it reaches the controller after the current command.
constexpr UINT kCellFocusMessage = WM_APP + 1;

bool isMenuEvent(int id) {
    return (id >= ids::kMenuOpen && id <= ids::kMenuExit) ||
           (id >= ids::kShortcutUp && id <= ids::kShortcutCapsLock) ||
           (id >= ids::kMenuUndo && id <= ids::kShortcutPaste) || ClockFrontEnd::handles(id);
}

bool isClickable(int id) {
    return (id >= ids::kFirstFieldButton && id <= ids::kLastFieldButton) ||
           (id >= ids::kFirstKey && id <= ids::kLastKey) ||
           (id >= ids::kBackspaceButton && id <= ids::kClearScreenButton) ||
           (id >= ids::kFirstLocalizationRadio && id <= ids::kFirstLocalizationRadio + 2);
}

// The capture box is for typing only: its own edit menu (the context-menu key, Shift+F10) would
// undo, cut or paste there behind the editor's back.
LRESULT CALLBACK withoutContextMenu(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR) {
    if (message == WM_CONTEXTMENU) {
        return 0;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

std::unique_ptr<BackgroundRecoveryKeeper> recoveryKeeper() {
    const std::filesystem::path folder = facetorUserDataFolder();
    if (folder.empty()) {
        return nullptr;
    }
    return std::make_unique<BackgroundRecoveryKeeper>(folder / L"Recovery");
}

bool registerWindowClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON, 48, 48, LR_DEFAULTCOLOR));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance),
      recovery_(recoveryKeeper()),
      controller_(ops_, clock_, {}, programFolder(), recovery_.get()),
      clockFrontEnd_(controller_, clock_) {}

MainWindow::~MainWindow() {
    if (hwnd_ && IsWindow(hwnd_)) {
        DestroyWindow(hwnd_);
    }
}

bool MainWindow::create(int showCommand) {
    if (!registerWindowClass(instance_, &MainWindow::windowProc)) {
        return false;
    }
    // Sized for the client area without the menu; the menu attached afterwards takes its
    // height out of that area.
    scale_ = placeWindow(kClientWidth, kClientHeight, kWindowStyle, true);
    const std::wstring title = toWide(kWindowTitle);
    hwnd_ =
        CreateWindowExW(WS_EX_ACCEPTFILES, kWindowClass, title.c_str(), kWindowStyle, scale_.x,
                        scale_.y, scale_.width, scale_.height, nullptr, nullptr, instance_, this);
    if (!hwnd_) {
        return false;
    }
    ops_.attach(hwnd_);
    clockFrontEnd_.attach(hwnd_);
    SetMenu(hwnd_, menuBar_.menu());
    createControls();
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    return true;
}

void MainWindow::createControls() {
    fonts_.create(scale_.dpi);
    ToolTips toolTips(hwnd_, instance_, scale_);
    for (const ControlSpec& desc : windowLayout(controller_.localizations())) {
        HWND control = createControl(hwnd_, instance_, desc, fonts_.font(desc.font), scale_);
        if (!control) {
            continue;
        }
        ops_.addControl(desc.id, control, desc.kind, toWide(desc.caption));
        if (desc.kind == ControlKind::CaptureEdit) {
            SetWindowSubclass(control, withoutContextMenu, 0, 0);
        }
        if (!desc.toolTip.empty()) {
            toolTips.add(control, toWide(desc.toolTip));
        }
    }
}

int MainWindow::run(const std::filesystem::path& fileToOpen) {
    busy_ = true;  // start-up is one command: its focus events come after it
    controller_.start();
    const bool recovered = controller_.offerRecoveredWork();
    busy_ = false;
    if (!fileToOpen.empty() && !recovered) {
        fileToOpen_ = fileToOpen;
        pending_.push_back({EventKind::OpenFile, 0});
    }
    while (!pending_.empty() && !closed_) {
        Event next = pending_.front();
        pending_.pop_front();
        deliver(next);
    }
    if (!closed_) {
        SetTimer(hwnd_, ids::kTimer, ids::kTimerPeriodMs, nullptr);
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // The shortcuts come first, so the arrows and the editing keys never reach the focused
        // control (the capture box).
        if (hwnd_ && TranslateAcceleratorW(hwnd_, menuBar_.shortcuts(), &msg)) {
            continue;
        }
        if (hwnd_ && !routeKeyboardInput(msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK MainWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || !self->hwnd_) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(wParam, lParam);
            return 0;
        case kCellFocusMessage:
            deliver({EventKind::Control, static_cast<int>(wParam)});
            return 0;
        case WM_ACTIVATE:
            // The default would give the focus to the main window, where typing is lost.
            if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
                onActivated();
            }
            return 0;
        case WM_SETFOCUS:
            onActivated();
            return 0;
        case WM_CLOSE:  // the close box, Alt+F4: the controller asks before work is lost
            deliver({EventKind::Close, 0});
            return 0;
        case WM_QUERYENDSESSION:  // log-off, shutdown, restart
            return onQueryEndSession((lParam & ENDSESSION_CRITICAL) != 0) ? TRUE : FALSE;
        case WM_ENDSESSION:
            if (wParam) {  // the session ends: so does the program, at once
                controller_.onEndSession();
            }
            return 0;
        case WM_MENUCHAR:  // an access key typed in another keyboard layout
            if (const auto item =
                    MenuBar::itemOfAccessKey(reinterpret_cast<HMENU>(lParam), LOWORD(wParam))) {
                return MAKELRESULT(*item, MNC_EXECUTE);
            }
            break;
        case WM_DROPFILES:
            onDroppedFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_TIMER:
            if (wParam == ids::kTimer) {
                deliver({EventKind::Timer, ids::kTimer});
            }
            return 0;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            if (HBRUSH brush = ops_.backgroundFor(reinterpret_cast<HWND>(lParam),
                                                  reinterpret_cast<HDC>(wParam))) {
                return reinterpret_cast<LRESULT>(brush);
            }
            break;
        case WM_DESTROY:
            closed_ = true;
            KillTimer(hwnd_, ids::kTimer);
            hwnd_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void MainWindow::onCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (lParam == 0) {  // a menu item (code 0) or a shortcut (code 1)
        if (isMenuEvent(id)) {
            deliver({EventKind::Menu, id});
        }
        return;
    }
    if (isCellId(id)) {
        if (code == EN_SETFOCUS || code == EN_KILLFOCUS) {
            PostMessageW(hwnd_, kCellFocusMessage, static_cast<WPARAM>(id), 0);
        }
        return;
    }
    if (code == BN_CLICKED && isClickable(id)) {
        // Focus changes that the press of this click caused come first, as they happened
        // first; a click sent as one message would otherwise overtake them.
        MSG focus;
        while (PeekMessageW(&focus, hwnd_, kCellFocusMessage, kCellFocusMessage, PM_REMOVE)) {
            deliver({EventKind::Control, static_cast<int>(focus.wParam)});
        }
        deliver({EventKind::Control, id});
    }
}

// The first file dropped onto the window opens as a chosen one does.
void MainWindow::onDroppedFiles(HDROP drop) {
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    DragQueryFileW(drop, 0, name.data(), length + 1);
    DragFinish(drop);
    name.resize(length);
    if (!name.empty() && !busy_) {
        fileToOpen_ = name;
        deliver({EventKind::OpenFile, 0});
    }
}

void MainWindow::onActivated() {
    ops_.setFocus(ids::kCaptureBox);  // at once, so no key pressed meanwhile goes astray
    // Inside a command (a message box closing) the command itself ends by handing the focus
    // back to the cursor cell; an event queued behind it would act on a cursor that focus
    // events still pending from before the command may have moved meanwhile.
    if (!busy_) {
        deliver({EventKind::Activated, 0});
    }
}

// This window's keyboard is for typing into cells: Tab and Enter neither move the focus nor
// click a button, control characters type nothing, and a key that reaches any other control of
// the window (a button that a click left focused, or none at all) goes to the capture box, where
// it is typed like any other.
bool MainWindow::routeKeyboardInput(MSG& msg) {
    const bool key = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP;
    const bool anyKey = key || msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSKEYUP;
    const bool ours = msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd);
    // Shift+F10 stands for the context-menu key, and the capture box shows no menu; left to
    // itself, the F10 in it would still put the menu bar in charge of the next key.
    if (ours && anyKey && msg.wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0) {
        return false;
    }
    const bool character = msg.message == WM_CHAR;
    // With no focus at all, keys arrive as system keys without the Alt flag.
    constexpr LPARAM kAltDown = 1 << 29;
    const bool unfocusedKey =
        (msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSKEYUP || msg.message == WM_SYSCHAR) &&
        (msg.lParam & kAltDown) == 0 && GetFocus() == nullptr;
    if (!key && !character && !unfocusedKey) {
        return true;
    }
    if (!ours) {
        return true;  // another window of this thread, such as a tool tip
    }
    if (anyKey && (msg.wParam == VK_TAB || msg.wParam == VK_RETURN)) {
        return false;
    }
    // Control characters (Tab, Enter, Ctrl with a letter, Ctrl+Backspace's DEL) are no text for
    // a cell; pasting is a shortcut of its own.
    if ((character || msg.message == WM_SYSCHAR) && (msg.wParam < L' ' || msg.wParam == 0x7F)) {
        return false;
    }
    HWND capture = ops_.handle(ids::kCaptureBox);
    if (!capture || msg.hwnd == capture) {
        return true;
    }
    if (unfocusedKey) {
        msg.message = msg.message == WM_SYSKEYDOWN ? WM_KEYDOWN
                      : msg.message == WM_SYSKEYUP ? WM_KEYUP
                                                   : WM_CHAR;
    }
    msg.hwnd = capture;
    ops_.setFocus(ids::kCaptureBox);  // waits for the end of a click in progress
    return true;
}

void MainWindow::deliver(Event event) {
    if (closed_) {
        return;
    }
    if (busy_) {
        if (event.kind != EventKind::Timer) {  // a tick is dropped; the next one comes soon
            pending_.push_back(event);
        }
        return;
    }
    busy_ = true;
    dispatch(event);
    dispatchPending();
    busy_ = false;
}

void MainWindow::dispatchPending() {
    while (!pending_.empty() && !closed_) {
        Event next = pending_.front();
        pending_.pop_front();
        dispatch(next);
    }
}

// Answered at once, as Windows waits for the answer. Inside a command (a question or a message
// is open) the user is not done yet: unsaved work then blocks the end of the session, as does
// a write into the clock, unless the end is critical, which nothing blocks: the copy of the
// unsaved work is kept instead.
bool MainWindow::onQueryEndSession(bool critical) {
    if (closed_) {
        return true;
    }
    if (busy_) {
        if (critical) {
            controller_.keepUnsavedWorkNow();
        }
        return critical || (!controller_.hasUnsavedChanges() && !clockFrontEnd_.writing());
    }
    busy_ = true;
    ops_.applyDeferredFocus();
    const bool mayEnd = controller_.onQueryEndSession(critical);
    dispatchPending();
    busy_ = false;
    return mayEnd;
}

void MainWindow::dispatch(Event event) {
    ops_.applyDeferredFocus();
    switch (event.kind) {
        case EventKind::Timer:
            controller_.onTimer(event.id);
            break;
        case EventKind::Menu:
            if (ClockFrontEnd::handles(event.id)) {
                clockFrontEnd_.onMenu(event.id);
            } else {
                controller_.onMenu(event.id);
            }
            break;
        case EventKind::Control:
            controller_.onControl(event.id);
            break;
        case EventKind::Activated:
            controller_.onActivated();
            break;
        case EventKind::Close:
            controller_.onClose();
            break;
        case EventKind::OpenFile:
            controller_.openFile(fileToOpen_);
            break;
    }
}

}  // namespace facetor::win32
