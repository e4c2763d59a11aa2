// The editor's behaviour: start-up, the timer tick and every menu, shortcut and control event,
// written against WindowOps so that it runs the same on Win32 and in tests.
#pragma once

#include <filesystem>
#include <string>

#include "editor/model/localization.h"
#include "editor/model/skin_document.h"
#include "editor/ui/control_cache.h"
#include "editor/ui/edit_history.h"
#include "editor/ui/file_commands.h"
#include "editor/ui/grid_display.h"
#include "editor/ui/window_ops.h"

namespace facetor {

class EditorController {
  public:
    // `workFolder` is where Facetor.ini and the fixed-name image files live; empty: the current
    // directory now, kept whatever a file dialog later does to the current directory.
    // Facetor.ini missing there is looked for in `programFolder`.
    EditorController(WindowOps& window, const Clock& clock, std::filesystem::path workFolder = {},
                     std::filesystem::path programFolder = {});

    // After the window and its controls exist: load the settings, clear the document, give the
    // focus to cell 100, label the keyboard. The caller then starts the 100 ms timer.
    void start();

    // Every command, and the end of the session, first takes in what was typed before it.
    void onTimer(int timerId);
    void onMenu(int id);     // menu items 21..23 and 34..38, shortcut events 25..33 and 39
    void onControl(int id);  // button clicks, check box clicks, cell focus gained or lost
    // The window became active again (after another window, a message box or a minimise): the
    // keyboard goes back to typing into the cursor cell.
    void onActivated();
    // The close box, Alt+F4 or "Выход": asks before unsaved work is lost, then ends the program.
    void onClose();
    // The system asks whether the session (log-off, shutdown, restart) may end: with unsaved
    // work the user is asked as on closing, the end of the session blocked meanwhile. True lets
    // it end; the program ends with onEndSession().
    bool onQueryEndSession();
    void onEndSession();
    // A file named on the command line or dropped onto the window, opened as "Открыть файл"
    // opens a chosen one.
    void openFile(const std::filesystem::path& eepFile);

    // For writing into the clock: the letters typed before are taken in first, then the image
    // of the selected Localization is built as a save would build it.
    EepromImage imageForClock();
    // The EEPROM read from the clock, opened as a design by the image's byte map: one undoable
    // opening; the work then belongs to the fixed names, and nothing is written until a save.
    void openImageAsDesign(const EepromImage& image);

    // Whether the document differs from what the place where it belongs holds, as far as this
    // run knows (at first: the empty document).
    bool hasUnsavedChanges() const { return !document_.sameContent(savedContent_); }
    const EditHistory& history() const { return history_; }

    const SkinDocument& document() const { return document_; }
    const Localizations& localizations() const { return localizations_; }
    // The text of a cell (Windows-1251) as the last grid refresh left it.
    const std::string& cellText(CellId id) const { return grid_.cellText(id); }

  private:
    void selectCell(CellId id);
    void focusCursorCell();
    void refreshGrid();
    void recolourCells();
    void updateFieldButtons();
    void relabelKeys();
    bool capsLockOn() const;

    void runMenuCommand(int id);
    void runControlCommand(int id);
    void timerTick();
    bool takeInTyped();
    void paste();
    void pressKey(int keyId);
    void placeFieldOfButton(int buttonId);
    void toggleCapsLock();
    void openFixedFile();
    void openChosenFile();
    bool openDocument(const std::filesystem::path& eepFile, const WorkFiles& belongsTo);
    void saveFixedFiles();
    void saveAs();
    bool saveWhereItBelongs();
    bool askToSaveBeforeEnding();
    bool writeImage(const ImageFilePaths& files);
    ImageFilePaths fixedFiles() const;
    ImageFilePaths saveTarget() const;
    OpeningState openingState() const;
    void showSaveTarget();

    // Runs one editing command; it becomes one undoable step if it changed the document.
    template <typename Change>
    void editStep(Change&& change);
    void undo();
    void redo();
    void restore(const DocumentSnapshot& snapshot);
    void updateUndoMenu();
    // Most commands end alike: redraw the grid, then let the focus hand-over update the rest.
    void refreshAndFocus();

    WindowOps& window_;
    const Clock& clock_;
    std::filesystem::path workFolder_;
    std::filesystem::path programFolder_;
    SkinDocument document_;
    Localizations localizations_;
    ControlCache controls_;
    GridDisplay grid_;
    EditHistory history_;
    SkinDocument savedContent_;  // what the place where the work belongs holds
    WorkFiles documentFiles_;    // none: the work belongs to the fixed names
    std::string shownSaveTarget_;
};

}  // namespace facetor
