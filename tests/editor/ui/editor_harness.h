// Test doubles for the editor's behaviour: a window that records what the controller does to it
// and hands focus changes back like the real message queue, a settable clock, a temp work folder.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "editor/model/cell_address.h"
#include "editor/ui/control_ids.h"
#include "editor/ui/editor_controller.h"
#include "editor/ui/window_ops.h"

namespace facetor::testing {

struct Message {
    std::string title;
    std::string text;
};

class FakeWindow : public WindowOps {
  public:
    FakeWindow() { checked[ids::kFirstLocalizationRadio + 1] = true; }  // "ru" on, as built

    void setText(int id, std::string_view utf8) override {
        texts[id] = utf8;
        ++writes;
    }
    std::string text(int id) const override {
        const auto it = texts.find(id);
        return it == texts.end() ? std::string() : it->second;
    }
    void setEnabled(int id, bool on) override {
        enabled[id] = on;
        ++writes;
    }
    void setChecked(int id, bool on) override { checked[id] = on; }
    bool isChecked(int id) const override {
        const auto it = checked.find(id);
        return it != checked.end() && it->second;
    }
    void setBackground(int id, Rgb colour) override {
        colours[id] = colour;
        ++writes;
    }
    // A cell reports both gaining and losing the focus, later, as a control event.
    void setFocus(int id) override {
        if (id == focused) {
            return;
        }
        if (isCellId(focused)) {
            pendingFocusEvents.push_back(focused);
        }
        focused = id;
        if (isCellId(id)) {
            pendingFocusEvents.push_back(id);
        }
    }
    void showMessage(std::string_view title, std::string_view text) override {
        messages.push_back({std::string(title), std::string(text)});
    }
    Answer askYesNoCancel(std::string_view title, std::string_view text) override {
        questions.push_back({std::string(title), std::string(text)});
        endOfSessionBlockWhileAsking.push_back(endOfSessionBlock);
        whileAsking();
        return answer;
    }
    bool askYesNo(std::string_view title, std::string_view text) override {
        questions.push_back({std::string(title), std::string(text)});
        endOfSessionBlockWhileAsking.push_back(endOfSessionBlock);
        whileAsking();
        return yes;
    }
    std::string clipboardText() const override { return clipboard; }
    void blockEndOfSession(std::string_view reason) override {
        endOfSessionBlock = std::string(reason);
    }
    void allowEndOfSession() override { endOfSessionBlock.reset(); }
    std::optional<std::filesystem::path> chooseFileToOpen() override { return fileToOpen; }
    std::optional<std::filesystem::path> chooseFileToSave(
        const std::filesystem::path& suggested) override {
        suggestedSaveName = suggested;
        if (!savesChosen.empty()) {
            const auto chosen = savesChosen.front();
            savesChosen.pop_front();
            return chosen;
        }
        return fileToSave;
    }
    void quit() override { quitCalled = true; }

    void pump(EditorController& editor) {
        while (!pendingFocusEvents.empty()) {
            const int id = pendingFocusEvents.front();
            pendingFocusEvents.pop_front();
            editor.onControl(id);
        }
    }
    void selectLocalization(int n) {
        for (int i = 0; i < 3; ++i) {
            checked[ids::kFirstLocalizationRadio + i] = (i == n);
        }
    }

    std::map<int, std::string> texts;
    std::map<int, bool> enabled;
    std::map<int, bool> checked;
    std::map<int, Rgb> colours;
    std::vector<Message> messages;
    std::deque<int> pendingFocusEvents;
    int focused = 0;
    int writes = 0;  // setText, setEnabled and setBackground calls
    bool quitCalled = false;
    std::vector<Message> questions;
    Answer answer = Answer::Cancel;                   // what the user answers to a question
    bool yes = true;                                  // ... to a question of Yes or No
    std::optional<std::filesystem::path> fileToOpen;  // what the user picks in the dialogs
    std::optional<std::filesystem::path> fileToSave;
    std::deque<std::optional<std::filesystem::path>> savesChosen;  // taken before fileToSave
    std::filesystem::path suggestedSaveName;
    std::string clipboard;                         // UTF-8
    std::optional<std::string> endOfSessionBlock;  // the reason given while it is blocked
    std::vector<std::optional<std::string>> endOfSessionBlockWhileAsking;  // one per question
    std::function<void()> whileAsking = [] {};  // looks at the world while a question is open
};

class FakeClock : public Clock {
  public:
    LocalDateTime now() const override { return time; }
    // Sunday 3 May 2026, 09:05:07.
    LocalDateTime time{2026, 5, 3, 9, 5, 7, 0};
};

class TempFolder {
  public:
    explicit TempFolder(
        const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
        std::random_device random;
        do {
            path_ = base / ("facetor-ui-" + std::to_string(random()) + std::to_string(random()));
        } while (!std::filesystem::create_directory(path_));
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// An editor in a fresh folder, with the commands a test gives it as the window would.
class EditorRig {
  public:
    // Start-up, the first focus event and the first tick.
    void startUp() {
        editor.start();
        window.pump(editor);
        tick();
        window.messages.clear();  // the missing Facetor.ini
    }

    void tick() {
        editor.onTimer(ids::kTimer);
        window.pump(editor);
    }
    void menu(int id) {
        editor.onMenu(id);
        window.pump(editor);
    }
    void click(int id) {
        editor.onControl(id);
        window.pump(editor);
    }
    // A click on a cell: the cell takes the focus and reports it.
    void goTo(int cellId) {
        window.setFocus(cellId);
        window.pump(editor);
    }
    // Characters that reach the capture box; the next command or tick takes them in.
    void typeOnly(std::string_view utf8) { window.texts[ids::kCaptureBox] += utf8; }
    void type(std::string_view utf8) {
        typeOnly(utf8);
        tick();
    }
    int cursor() const { return editor.document().cursor(); }
    std::string shown(int cellId) const { return window.text(cellId); }
    // The texts of `count` cells from `first` on, one after the other.
    std::string shownRow(int first, int count) const {
        std::string row;
        for (int id = first; id < first + count; ++id) {
            row += shown(id);
        }
        return row;
    }
    std::vector<int> enabledFieldButtons() const {
        std::vector<int> result;
        for (int id = ids::kFirstFieldButton; id <= ids::kLastFieldButton; ++id) {
            if (window.enabled.at(id)) {
                result.push_back(id);
            }
        }
        return result;
    }

    TempFolder folder;
    FakeWindow window;
    FakeClock clock;
    EditorController editor{window, clock, folder.path()};
};

// A started editor in a fresh folder.
class EditorTest : public ::testing::Test, public EditorRig {
  protected:
    void SetUp() override { startUp(); }
};

}  // namespace facetor::testing
