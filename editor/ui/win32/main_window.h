// Facetor's main window: built from the layout table, it turns Win32 messages into the
// controller's timer, menu and control events, one at a time and in arrival order.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <deque>
#include <filesystem>
#include <memory>

#include "editor/ui/editor_controller.h"
#include "editor/ui/win32/background_recovery_keeper.h"
#include "editor/ui/win32/clock_front_end.h"
#include "editor/ui/win32/menu_bar.h"
#include "editor/ui/win32/system_clock.h"
#include "editor/ui/win32/win32_window_ops.h"
#include "editor/ui/win32/window_fonts.h"
#include "editor/ui/window_scale.h"

namespace facetor::win32 {

class MainWindow {
  public:
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Builds the window and its controls and shows it; false if the window cannot be made.
    bool create(int showCommand);
    // Start-up of the editor, the offer of work left unsaved by a forced end, then (unless that
    // work was taken back) the file named on the command line if any, the timer, then the
    // message loop until the window is gone.
    int run(const std::filesystem::path& fileToOpen = {});

  private:
    enum class EventKind { Timer, Menu, Control, Activated, Close, OpenFile };
    struct Event {
        EventKind kind;
        int id;
    };

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(WPARAM wParam, LPARAM lParam);
    void onActivated();
    void onDroppedFiles(HDROP drop);
    // Keeps every keystroke for typing: false when the message is to be dropped.
    bool routeKeyboardInput(MSG& msg);
    void createControls();
    bool onQueryEndSession(bool critical);
    void deliver(Event event);
    void dispatchPending();
    void dispatch(Event event);

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    WindowScale scale_{};
    WindowFonts fonts_;
    MenuBar menuBar_;
    Win32WindowOps ops_;
    SystemClock clock_;
    std::unique_ptr<BackgroundRecoveryKeeper> recovery_;  // none without a user data folder
    EditorController controller_;
    ClockFrontEnd clockFrontEnd_;  // the menu "Часы"
    // A message box runs its own message loop inside a command; events that arrive meanwhile
    // wait here so that the controller sees them after the command, as a queue would deliver.
    bool busy_ = false;
    bool closed_ = false;
    std::deque<Event> pending_;
    std::filesystem::path fileToOpen_;  // for the next OpenFile event
};

}  // namespace facetor::win32
