// What the console's behaviour needs of its window. The Win32 front end does these on real
// controls; tests use a fake window.
#pragma once

#include <functional>
#include <string>

#include "console/console_layout.h"

namespace portwand {

class WindowOps {
  public:
    virtual ~WindowOps() = default;

    // The top-level window, centred on the screen; false when it cannot be created.
    virtual bool createWindow(const WindowSpec& desc) = 0;
    // Shows the window with all its controls drawn, before anything slow happens.
    virtual void show() = 0;
    virtual void createFont(const FontSpec& desc) = 0;
    virtual void createControl(const ControlSpec& desc) = 0;
    // An item of the window's system menu, and its shortcut.
    virtual void addCommand(const CommandSpec& desc) = 0;
    virtual void clearList(int listId) = 0;
    virtual void addListEntry(int listId, const std::u16string& text) = 0;
    // -1 selects nothing (the list shows an empty field).
    virtual void selectListEntry(int listId, int index) = 0;
    // The text the list shows: its selected entry, or empty.
    virtual std::u16string listText(int listId) = 0;
    virtual void setLabel(int labelId, const std::u16string& text, Rgb colour) = 0;
    // Modal, with an error icon and an OK button; returns when it is closed.
    virtual void showError(const std::u16string& title, const std::u16string& text) = 0;
    virtual void startTimer(int timerId, int periodMs) = 0;
    // Runs the task on the window's thread soon after; callable from any thread. A task posted
    // after the window has gone is dropped.
    virtual void post(std::function<void()> task) = 0;
};

}  // namespace portwand
