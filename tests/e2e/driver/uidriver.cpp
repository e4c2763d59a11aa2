// uidriver: a test-only Win32 console program that drives another program's window by control id,
// as a user's actions would arrive. It reads one command per line from standard input (UTF-8,
// fields separated by tabs) and answers each with one line: "ok" [TAB payload] or "err" TAB reason.
// Payload newlines are escaped as \n and backslashes as \\.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::wstring widen(const std::string& utf8) {
    if (utf8.empty())
        return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
    return out;
}

std::string narrow(const std::wstring& wide) {
    if (wide.empty())
        return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : line) {
        if (c == '\t') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.push_back(cur);
    return parts;
}

struct Failure {
    std::string reason;
};

HWND g_window = nullptr;  // the attached top-level window
// Whether key presses and clicks first make the attached window the foreground window, or leave
// the activation as it is (to see what a user who switched windows meets).
bool g_bringToFront = true;

HWND window() {
    if (!g_window || !IsWindow(g_window))
        throw Failure{"no window attached"};
    return g_window;
}

struct FindById {
    int id;
    HWND found;
};

BOOL CALLBACK findChildById(HWND hwnd, LPARAM param) {
    auto* f = reinterpret_cast<FindById*>(param);
    if (GetDlgCtrlID(hwnd) == f->id) {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Controls are found anywhere below the top-level window (tab pages included).
HWND control(const std::string& idText) {
    int id = std::atoi(idText.c_str());
    HWND direct = GetDlgItem(window(), id);
    if (direct)
        return direct;
    FindById f{id, nullptr};
    EnumChildWindows(window(), findChildById, reinterpret_cast<LPARAM>(&f));
    if (!f.found)
        throw Failure{"no control " + idText};
    return f.found;
}

LRESULT sendTimeout(HWND hwnd, UINT msg, WPARAM w, LPARAM l, UINT timeoutMs = 5000) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, w, l, SMTO_NORMAL, timeoutMs, &result))
        throw Failure{"message timed out"};
    return LRESULT(result);
}

std::string windowText(HWND hwnd) {
    LRESULT len = sendTimeout(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring buf(size_t(len) + 1, L'\0');
    LRESULT got = sendTimeout(hwnd, WM_GETTEXT, WPARAM(buf.size()), LPARAM(buf.data()));
    buf.resize(size_t(got));
    return narrow(buf);
}

std::string className(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return narrow(name);
}

void activate(HWND w) {
    DWORD target = GetWindowThreadProcessId(w, nullptr);
    DWORD self = GetCurrentThreadId();
    AttachThreadInput(self, target, TRUE);
    SetForegroundWindow(w);
    SetActiveWindow(w);
    AttachThreadInput(self, target, FALSE);
    // Under Wine the activation goes through the X server; input sent before it arrives would go
    // to the window that had it.
    DWORD start = GetTickCount();
    while (GetForegroundWindow() != w && GetTickCount() - start < 2000)
        Sleep(10);
}

void bringToFront() {
    if (g_bringToFront)
        activate(window());
}

WORD virtualKey(const std::string& name) {
    static const struct {
        const char* name;
        WORD vk;
    } names[] = {
        {"UP", VK_UP},         {"DOWN", VK_DOWN},     {"LEFT", VK_LEFT},
        {"RIGHT", VK_RIGHT},   {"HOME", VK_HOME},     {"END", VK_END},
        {"DELETE", VK_DELETE}, {"BACK", VK_BACK},     {"CAPITAL", VK_CAPITAL},
        {"TAB", VK_TAB},       {"SHIFT", VK_SHIFT},   {"CONTROL", VK_CONTROL},
        {"ALT", VK_MENU},      {"RETURN", VK_RETURN}, {"ESCAPE", VK_ESCAPE},
        {"SPACE", VK_SPACE},   {"F4", VK_F4},         {"F5", VK_F5},
        {"F10", VK_F10},       {"APPS", VK_APPS},     {"INSERT", VK_INSERT},
    };
    for (const auto& n : names)
        if (name == n.name)
            return n.vk;
    if (name.size() == 1)
        return WORD(VkKeyScanW(wchar_t(name[0])) & 0xFF);
    if (name.rfind("0x", 0) == 0)
        return WORD(std::strtol(name.c_str(), nullptr, 16));
    throw Failure{"unknown key " + name};
}

bool isExtendedKey(WORD vk) {
    switch (vk) {
        case VK_UP:
        case VK_DOWN:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_HOME:
        case VK_END:
        case VK_DELETE:
        case VK_INSERT:
        case VK_PRIOR:
        case VK_NEXT:
            return true;
        default:
            return false;
    }
}

INPUT keyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = WORD(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (isExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

// The presses and releases of one chord: "CONTROL+S" presses Ctrl, then S, releases both.
// The presses and releases of one chord: "CONTROL+S" presses Ctrl, then S, releases both.
std::vector<INPUT> chordInputs(const std::string& chord) {
    std::vector<WORD> keys;
    size_t start = 0;
    while (true) {
        size_t plus = chord.find('+', start);
        keys.push_back(virtualKey(chord.substr(start, plus - start)));
        if (plus == std::string::npos)
            break;
        start = plus + 1;
    }
    std::vector<INPUT> inputs;
    for (WORD vk : keys)
        inputs.push_back(keyInput(vk, false));
    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
        inputs.push_back(keyInput(*it, true));
    return inputs;
}

// One character typed as a Unicode key press and release, whatever the keyboard layout.
void appendCharacter(std::vector<INPUT>& inputs, wchar_t ch) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wScan = in[1].ki.wScan = WORD(ch);
    in[0].ki.dwFlags = KEYEVENTF_UNICODE;
    in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    inputs.insert(inputs.end(), in, in + 2);
}

// "SHIFT+TAB UP" presses Shift+Tab, then Up.
void pressKeys(const std::string& chordList) {
    bringToFront();
    std::istringstream chords(chordList);
    std::string chord;
    while (chords >> chord) {
        std::vector<INPUT> inputs = chordInputs(chord);
        SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
        Sleep(20);  // a person's chords come some time apart; "burst" sends them with none
    }
}

void typeText(const std::string& utf8, int delayMs) {
    bringToFront();
    for (wchar_t ch : widen(utf8)) {
        std::vector<INPUT> inputs;
        appendCharacter(inputs, ch);
        SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
        if (delayMs > 0)
            Sleep(DWORD(delayMs));
    }
}

// Text and chords in turn (text, chords, text, chords, ...), all in one SendInput call: the
// program gets them back to back, with no pause in which a timer could tick.
void burst(const std::vector<std::string>& parts) {
    bringToFront();
    std::vector<INPUT> inputs;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i % 2 == 0) {
            for (wchar_t ch : widen(parts[i]))
                appendCharacter(inputs, ch);
            continue;
        }
        std::istringstream chords(parts[i]);
        std::string chord;
        while (chords >> chord) {
            std::vector<INPUT> more = chordInputs(chord);
            inputs.insert(inputs.end(), more.begin(), more.end());
        }
    }
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

void setClipboardText(const std::string& utf8) {
    const std::wstring text = widen(utf8);
    if (!OpenClipboard(nullptr))
        throw Failure{"clipboard busy"};
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (memory) {
        auto* target = static_cast<wchar_t*>(GlobalLock(memory));
        std::wmemcpy(target, text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory))
            GlobalFree(memory);
    }
    CloseClipboard();
}

// The end of a session as Windows runs it: WM_QUERYENDSESSION, then WM_ENDSESSION with the
// answer. Sent from a thread of its own, since the program may ask the user first.
struct EndOfSession {
    HWND window = nullptr;
    HANDLE thread = nullptr;
    LRESULT mayEnd = 0;
};
EndOfSession g_endOfSession;

DWORD WINAPI endSession(void*) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(g_endOfSession.window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                             SMTO_NORMAL, 120000, &result))
        result = 0;
    g_endOfSession.mayEnd = LRESULT(result);
    SendMessageTimeoutW(g_endOfSession.window, WM_ENDSESSION, result ? TRUE : FALSE,
                        ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, nullptr);
    return 0;
}

// A shown top-level window of the attached window's process with that class, or nullptr:
// a menu ("#32768"), a message box or dialog ("#32770"), a tool tip, an opened list.
HWND shownWindowOfProcess(const char* windowClass) {
    struct Search {
        DWORD process;
        const char* windowClass;
        HWND found;
    } search{0, windowClass, nullptr};
    GetWindowThreadProcessId(window(), &search.process);
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid != s->process || !IsWindowVisible(hwnd) || className(hwnd) != s->windowClass)
                return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool popupMenuOpen() {
    return shownWindowOfProcess("#32768") != nullptr;
}

HWND findMessageBox(int timeoutMs) {
    DWORD start = GetTickCount();
    while (true) {
        if (HWND box = shownWindowOfProcess("#32770"))
            return box;
        if (int(GetTickCount() - start) >= timeoutMs)
            return nullptr;
        Sleep(20);
    }
}

// The text a window keeps for itself (a title, a label's caption), read without a message: a
// dialog busy closing under a loaded machine must not make the question "is a box open?" fail.
std::string storedText(HWND hwnd) {
    wchar_t text[1024] = {};
    GetWindowTextW(hwnd, text, 1024);
    return narrow(text);
}

BOOL CALLBACK collectStaticText(HWND hwnd, LPARAM param) {
    auto* text = reinterpret_cast<std::string*>(param);
    if (className(hwnd) == "Static") {
        std::string t = storedText(hwnd);
        if (!t.empty()) {
            if (!text->empty())
                *text += "\n";
            *text += t;
        }
    }
    return TRUE;
}

BOOL CALLBACK collectEditText(HWND hwnd, LPARAM param) {
    auto* texts = reinterpret_cast<std::string*>(param);
    if (_wcsicmp(widen(className(hwnd)).c_str(), L"Edit") == 0) {
        if (!texts->empty())
            *texts += "\t";
        *texts += windowText(hwnd);
    }
    return TRUE;
}

BOOL CALLBACK findLitButton(HWND hwnd, LPARAM param) {
    if (className(hwnd) == "Button" && IsWindowVisible(hwnd) &&
        (sendTimeout(hwnd, BM_GETSTATE, 0, 0) & 0x0200 /* BST_HOT */)) {
        *reinterpret_cast<bool*>(param) = true;
        return FALSE;
    }
    return TRUE;
}

// What a picture of the window must not hold: a button lit by the mouse or a tool tip.
bool anyToolTipOrLitButton() {
    bool lit = false;
    EnumChildWindows(window(), findLitButton, reinterpret_cast<LPARAM>(&lit));
    return lit || shownWindowOfProcess("tooltips_class32");
}

POINT clientToScreen(int x, int y) {
    POINT p{x, y};
    ClientToScreen(window(), &p);
    return p;
}

// A click at the spot of the previous one within the double-click time would make the two one
// double click, which a command for one click must not send: it waits that time out first.
struct LastClick {
    bool made = false;
    POINT at{};
    DWORD tick = 0;
} g_lastClick;

void waitOutDoubleClick(POINT p) {
    if (!g_lastClick.made)
        return;
    bool samePlace = std::abs(p.x - g_lastClick.at.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                     std::abs(p.y - g_lastClick.at.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    DWORD since = GetTickCount() - g_lastClick.tick;
    DWORD limit = GetDoubleClickTime();
    if (samePlace && since <= limit)
        Sleep(limit - since + 1);
}

// `count` clicks `gapMs` apart (two quick ones are a double click).
void mouseClickAt(int x, int y, int count = 1, int gapMs = 0) {
    bringToFront();
    POINT p = clientToScreen(x, y);
    waitOutDoubleClick(p);
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    INPUT in[3] = {};
    for (auto& i : in) {
        i.type = INPUT_MOUSE;
        i.mi.dx = LONG((p.x * 65536 + sw / 2) / sw);
        i.mi.dy = LONG((p.y * 65536 + sh / 2) / sh);
    }
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            Sleep(DWORD(gapMs));
        SendInput(3, in, sizeof(INPUT));
    }
    g_lastClick = {true, p, GetTickCount()};
}

// The shown top-level windows, and hidden ones with the title asked for, each as "title"
// (class, process id), for the message of a window that did not show.
std::string topLevelWindows(const std::wstring& title) {
    struct Listing {
        std::wstring title;
        std::string text;
    } listing{title, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* l = reinterpret_cast<Listing*>(param);
            wchar_t title[256] = {};
            GetWindowTextW(hwnd, title, 256);
            const bool shown = IsWindowVisible(hwnd);
            if (!shown && l->title != title)
                return TRUE;
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            char process[48];
            std::snprintf(process, sizeof process, ", process %04lx%s)", (unsigned long)pid,
                          shown ? "" : ", hidden");
            l->text += (l->text.empty() ? "\"" : "; \"") + narrow(title) + "\" (" +
                       className(hwnd) + process;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&listing));
    return listing.text;
}

std::string rectOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, window(), reinterpret_cast<POINT*>(&r), 2);
    std::ostringstream out;
    out << r.left << ' ' << r.top << ' ' << (r.right - r.left) << ' ' << (r.bottom - r.top);
    return out.str();
}

std::string run(const std::vector<std::string>& a) {
    const std::string& cmd = a[0];
    auto arg = [&](size_t i) -> const std::string& {
        if (i >= a.size())
            throw Failure{"missing argument"};
        return a[i];
    };
    if (cmd == "attach") {
        std::wstring title = widen(arg(1));
        int timeout = a.size() > 2 ? std::atoi(a[2].c_str()) : 10000;
        DWORD start = GetTickCount();
        while (true) {
            HWND w = FindWindowW(nullptr, title.c_str());
            if (w && IsWindowVisible(w)) {
                g_window = w;
                char buf[32];
                std::snprintf(buf, sizeof buf, "%p", static_cast<void*>(w));
                return buf;
            }
            if (int(GetTickCount() - start) >= timeout)
                throw Failure{"window not found"};
            Sleep(50);
        }
    }
    if (cmd == "windows")  // what is on the screen when the window of that title is not
        return topLevelWindows(widen(arg(1)));
    if (cmd == "activation") {  // "auto" (the default) or "manual"
        g_bringToFront = arg(1) != "manual";
        return {};
    }
    if (cmd == "foreground") {  // makes the visible top-level window whose title holds the text
        struct Search {
            std::wstring part;
            HWND found;
        } search{widen(arg(1)), nullptr};
        EnumWindows(
            [](HWND hwnd, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                wchar_t title[256] = {};
                GetWindowTextW(hwnd, title, 256);
                if (!IsWindowVisible(hwnd) || !std::wcsstr(title, s->part.c_str()))
                    return TRUE;
                s->found = hwnd;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            throw Failure{"window not found"};
        activate(search.found);
        return {};
    }
    if (cmd == "active") {  // the title of the foreground window
        HWND active = GetForegroundWindow();
        return active ? windowText(active) : std::string();
    }
    if (cmd == "text")
        return windowText(control(arg(1)));
    if (cmd == "title")
        return windowText(window());
    if (cmd == "settext") {
        sendTimeout(control(arg(1)), WM_SETTEXT, 0, LPARAM(widen(arg(2)).c_str()));
        return {};
    }
    if (cmd == "enabled")
        return IsWindowEnabled(control(arg(1))) ? "1" : "0";
    if (cmd == "visible")
        return IsWindowVisible(control(arg(1))) ? "1" : "0";
    if (cmd == "exists") {
        try {
            control(arg(1));
            return "1";
        } catch (const Failure&) {
            return "0";
        }
    }
    if (cmd == "class")
        return className(control(arg(1)));
    if (cmd == "checked")
        return sendTimeout(control(arg(1)), BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0";
    if (cmd == "click") {
        sendTimeout(control(arg(1)), BM_CLICK, 0, 0, 10000);
        return {};
    }
    if (cmd == "post_click") {
        PostMessageW(control(arg(1)), BM_CLICK, 0, 0);
        return {};
    }
    if (cmd == "sync") {  // waits until the window has handled what was sent before [timeout_ms]
        sendTimeout(window(), WM_NULL, 0, 0, a.size() > 1 ? UINT(std::atoi(a[1].c_str())) : 5000);
        return {};
    }
    if (cmd == "focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(window(), nullptr), &info) ||
            !info.hwndFocus)
            return "none";
        return std::to_string(GetDlgCtrlID(info.hwndFocus));
    }
    if (cmd == "rect")
        return rectOf(control(arg(1)));
    if (cmd == "client") {
        RECT r{};
        GetClientRect(window(), &r);
        return std::to_string(r.right) + " " + std::to_string(r.bottom);
    }
    if (cmd == "winrect") {
        RECT r{};
        GetWindowRect(window(), &r);
        return std::to_string(r.left) + " " + std::to_string(r.top) + " " +
               std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
    }
    if (cmd == "screen") {
        return std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " " +
               std::to_string(GetSystemMetrics(SM_CYSCREEN));
    }
    if (cmd == "workarea") {  // of the primary monitor: left top right bottom
        RECT r{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
        return std::to_string(r.left) + " " + std::to_string(r.top) + " " +
               std::to_string(r.right) + " " + std::to_string(r.bottom);
    }
    if (cmd == "style") {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%08lx %08lx",
                      (unsigned long)GetWindowLongW(window(), GWL_STYLE),
                      (unsigned long)GetWindowLongW(window(), GWL_EXSTYLE));
        return buf;
    }
    if (cmd == "control_style") {
        char buf[64];
        HWND c = control(arg(1));
        std::snprintf(buf, sizeof buf, "%08lx %08lx", (unsigned long)GetWindowLongW(c, GWL_STYLE),
                      (unsigned long)GetWindowLongW(c, GWL_EXSTYLE));
        return buf;
    }
    if (cmd == "menu") {  // the text of a menu item of the window's menu bar, by command id
        HMENU bar = GetMenu(window());
        if (!bar)
            throw Failure{"no menu"};
        int id = std::atoi(arg(1).c_str());
        if (id < 0) {  // a top-level menu by position: -1 is the first
            wchar_t buf[256] = {};
            GetMenuStringW(bar, UINT(-id - 1), buf, 256, MF_BYPOSITION);
            return narrow(buf);
        }
        for (int i = 0; i < GetMenuItemCount(bar); ++i) {
            HMENU sub = GetSubMenu(bar, i);
            wchar_t buf[256] = {};
            if (sub && GetMenuStringW(sub, UINT(id), buf, 256, MF_BYCOMMAND) > 0)
                return narrow(buf);
        }
        throw Failure{"no menu item"};
    }
    if (cmd == "menu_command") {  // as if the user chose the menu item
        PostMessageW(window(), WM_COMMAND, WPARAM(std::atoi(arg(1).c_str())), 0);
        return {};
    }
    if (cmd == "keys") {
        pressKeys(arg(1));
        return {};
    }
    if (cmd == "burst") {  // text, chords, text, chords, ... in one go
        burst(std::vector<std::string>(a.begin() + 1, a.end()));
        return {};
    }
    if (cmd == "clipboard") {
        setClipboardText(arg(1));
        return {};
    }
    if (cmd == "end_session") {  // starts it; end_session_result tells the program's answer
        if (g_endOfSession.thread)
            throw Failure{"an end of session is running"};
        g_endOfSession = EndOfSession{window(), nullptr, 0};
        g_endOfSession.thread = CreateThread(nullptr, 0, endSession, nullptr, 0, nullptr);
        return {};
    }
    if (cmd == "end_session_result") {  // "1" the session may end, "0" blocked
        if (!g_endOfSession.thread)
            throw Failure{"no end of session"};
        if (WaitForSingleObject(g_endOfSession.thread, DWORD(std::atoi(arg(1).c_str()))) !=
            WAIT_OBJECT_0)
            return "pending";
        CloseHandle(g_endOfSession.thread);
        g_endOfSession.thread = nullptr;
        return g_endOfSession.mayEnd ? "1" : "0";
    }
    if (cmd == "menu_open")
        return popupMenuOpen() ? "1" : "0";
    if (cmd == "type") {
        typeText(arg(1), a.size() > 2 ? std::atoi(a[2].c_str()) : 0);
        return {};
    }
    if (cmd == "msgbox") {
        HWND box = findMessageBox(a.size() > 1 ? std::atoi(a[1].c_str()) : 3000);
        if (!box)
            return "none";
        std::string text;
        EnumChildWindows(box, collectStaticText, reinterpret_cast<LPARAM>(&text));
        return storedText(box) + "\t" + text;
    }
    if (cmd == "dialog_edits") {  // the texts of the edit boxes of the open dialog, tab-separated
        HWND box = findMessageBox(a.size() > 1 ? std::atoi(a[1].c_str()) : 3000);
        if (!box)
            return "none";
        std::string texts;
        EnumChildWindows(box, collectEditText, reinterpret_cast<LPARAM>(&texts));
        return texts;
    }
    if (cmd == "lit") {  // 1 while a tool tip of the window's process shows or a button is lit
        return anyToolTipOrLitButton() ? "1" : "0";
    }
    if (cmd == "msgbox_ok" || cmd == "msgbox_press") {
        // msgbox_ok: OK (or the only button); msgbox_press ID: the button with that id (6 Yes,
        // 7 No, 2 Cancel, 1 OK or a file dialog's main button).
        const bool ok = cmd == "msgbox_ok";
        HWND box = findMessageBox(ok && a.size() > 1 ? std::atoi(a[1].c_str()) : 3000);
        if (!box)
            throw Failure{"no message box"};
        HWND button = ok ? GetDlgItem(box, IDOK) : GetDlgItem(box, std::atoi(arg(1).c_str()));
        if (!button && ok)
            button = GetDlgItem(box, IDCANCEL);
        if (!button && !ok)
            throw Failure{"no such button"};
        if (button)
            PostMessageW(button, BM_CLICK, 0, 0);
        else
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        DWORD start = GetTickCount();
        while (IsWindow(box) && GetTickCount() - start < 3000)
            Sleep(20);
        return IsWindow(box) ? "still open" : "";
    }
    if (cmd == "pixel") {
        HDC dc = GetDC(window());
        COLORREF c = GetPixel(dc, std::atoi(arg(1).c_str()), std::atoi(arg(2).c_str()));
        ReleaseDC(window(), dc);
        return std::to_string(GetRValue(c)) + " " + std::to_string(GetGValue(c)) + " " +
               std::to_string(GetBValue(c));
    }
    if (cmd == "move_mouse") {  // to screen coordinates, clicking nothing
        SetCursorPos(std::atoi(arg(1).c_str()), std::atoi(arg(2).c_str()));
        return {};
    }
    if (cmd == "click_at") {  // x y [count gap_ms]
        mouseClickAt(std::atoi(arg(1).c_str()), std::atoi(arg(2).c_str()),
                     a.size() > 3 ? std::atoi(a[3].c_str()) : 1,
                     a.size() > 4 ? std::atoi(a[4].c_str()) : 0);
        return {};
    }
    if (cmd == "combo_select") {
        HWND combo = control(arg(1));
        int index = std::atoi(arg(2).c_str());
        sendTimeout(combo, CB_SETCURSEL, WPARAM(index), 0);
        sendTimeout(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                    LPARAM(combo), 10000);
        return {};
    }
    if (cmd == "combo_count")
        return std::to_string(sendTimeout(control(arg(1)), CB_GETCOUNT, 0, 0));
    if (cmd == "combo_dropped")  // 1 while the list is open
        return std::to_string(sendTimeout(control(arg(1)), CB_GETDROPPEDSTATE, 0, 0));
    if (cmd == "combo_cursel")
        return std::to_string(sendTimeout(control(arg(1)), CB_GETCURSEL, 0, 0));
    if (cmd == "combo_item") {
        HWND combo = control(arg(1));
        WPARAM index = WPARAM(std::atoi(arg(2).c_str()));
        LRESULT len = sendTimeout(combo, CB_GETLBTEXTLEN, index, 0);
        if (len < 0)
            throw Failure{"no such item"};
        std::wstring buf(size_t(len) + 1, L'\0');
        sendTimeout(combo, CB_GETLBTEXT, index, LPARAM(buf.data()));
        buf.resize(size_t(len));
        return narrow(buf);
    }
    if (cmd == "combo_dropped_height") {  // height of the opened list, in pixels
        HWND combo = control(arg(1));
        sendTimeout(combo, CB_SHOWDROPDOWN, TRUE, 0);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        std::string result = "0";
        if (GetComboBoxInfo(combo, &info) && info.hwndList) {
            RECT r{};
            GetWindowRect(info.hwndList, &r);
            result = std::to_string(r.bottom - r.top);
        }
        sendTimeout(combo, CB_SHOWDROPDOWN, FALSE, 0);
        return result;
    }
    if (cmd == "close") {
        PostMessageW(window(), WM_CLOSE, 0, 0);
        return {};
    }
    if (cmd == "wait_closed") {
        int timeout = a.size() > 1 ? std::atoi(a[1].c_str()) : 5000;
        DWORD start = GetTickCount();
        while (IsWindow(g_window)) {
            if (int(GetTickCount() - start) >= timeout)
                throw Failure{"window still open"};
            Sleep(20);
        }
        return {};
    }
    // Added for the Portwand tests: the opened list of a drop-down list, found as the process's
    // visible "ComboLBox" window (GetComboBoxInfo does not reach across processes under Wine).
    // Answers "<client height> <item height> <entries>".
    if (cmd == "combo_open_list") {
        HWND combo = control(arg(1));
        sendTimeout(combo, CB_SHOWDROPDOWN, TRUE, 0);
        HWND list = shownWindowOfProcess("ComboLBox");
        std::string result;
        if (list) {
            RECT r{};
            GetClientRect(list, &r);
            result = std::to_string(r.bottom) + " " +
                     std::to_string(sendTimeout(list, LB_GETITEMHEIGHT, 0, 0)) + " " +
                     std::to_string(sendTimeout(list, LB_GETCOUNT, 0, 0));
        }
        sendTimeout(combo, CB_SHOWDROPDOWN, FALSE, 0);
        if (!list)
            throw Failure{"no opened list"};
        return result;
    }
    throw Failure{"unknown command " + cmd};
}

}  // namespace

int wmain() {
    // Rectangles and clicks in the display's own pixels, as the DPI-aware programs have them.
    SetProcessDPIAware();
    std::ios::sync_with_stdio(false);
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        std::vector<std::string> args = splitTabs(line);
        if (args[0] == "quit")
            break;
        try {
            std::string payload = run(args);
            std::cout << "ok\t" << escape(payload) << std::endl;
        } catch (const Failure& f) {
            std::cout << "err\t" << escape(f.reason) << std::endl;
        }
    }
    return 0;
}
