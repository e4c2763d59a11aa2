// The console window on Win32 controls: builds what the behaviour asks for and hands the window's
// events back to it.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include "console/console_app.h"
#include "console/window_ops.h"
#include "console/window_scale.h"

namespace portwand::win32 {

class ConsoleWindow : public WindowOps {
  public:
    explicit ConsoleWindow(HINSTANCE instance) : instance_(instance) {}
    ConsoleWindow(const ConsoleWindow&) = delete;
    ConsoleWindow& operator=(const ConsoleWindow&) = delete;
    ~ConsoleWindow() override;

    // Where the window's events go; set before start-up.
    void attach(ConsoleApp& app) { app_ = &app; }
    // Runs the message loop until the window has been closed.
    void runEventLoop();

    bool createWindow(const WindowSpec& desc) override;
    void show() override;
    void createFont(const FontSpec& desc) override;
    void createControl(const ControlSpec& desc) override;
    void addCommand(const CommandSpec& desc) override;
    void clearList(int listId) override;
    void addListEntry(int listId, const std::u16string& text) override;
    void selectListEntry(int listId, int index) override;
    std::u16string listText(int listId) override;
    void setLabel(int labelId, const std::u16string& text, Rgb colour) override;
    void showError(const std::u16string& title, const std::u16string& text) override;
    void startTimer(int timerId, int periodMs) override;
    void post(std::function<void()> task) override;

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK pageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(int id, int code, HWND from);
    void showPage(int index);
    void createPage(const ControlSpec& desc);
    // A control where the table puts it, at the window's scale.
    HWND createChild(const wchar_t* className, const ControlSpec& desc, DWORD style, HWND parent);
    // Runs one event handler; timer ticks that arrive while it runs (inside a message box) wait.
    // Handlers nest when a message box runs the queue.
    template <typename Handler>
    void dispatch(Handler handler);
    // How long ago the input being handled was made: a press that waited in the queue while an
    // earlier command ran still belongs to the moment it was made. 0 for events sent directly.
    int eventAgeMs() const;

    HINSTANCE instance_;
    ConsoleApp* app_ = nullptr;
    HWND window_ = nullptr;
    HWND tab_ = nullptr;
    HWND pages_[2] = {nullptr, nullptr};
    HWND lastFocus_ = nullptr;
    // The commands of the system menu and their shortcuts.
    std::vector<int> commandIds_;
    HACCEL accelerators_ = nullptr;
    std::vector<ACCEL> shortcuts_;
    // The queued message being handled, if any, and when it was posted.
    bool inQueuedMessage_ = false;
    DWORD queuedMessageTime_ = 0;
    std::map<int, HWND> controls_;
    // The layout's pixels at the display's DPI, or less where the window would not fit.
    WindowScale scale_{96, 0, 0, 0, 0};
    std::map<FontRole, HFONT> fonts_;
    HFONT guiFont_ = nullptr;  // the system's default GUI font at the window's scale
    // What the port list's closed field adds to its entry's height: the system's frame.
    int listFrame_ = 0;
    COLORREF statusColour_ = RGB(0, 0, 0);
    bool handling_ = false;
};

}  // namespace portwand::win32
