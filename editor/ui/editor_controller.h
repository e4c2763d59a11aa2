// The editor's behaviour: start-up, the timer tick and every menu, shortcut and control event,
// written against WindowOps so that it runs the same on Win32 and in tests.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "editor/image/eeprom_image.h"
#include "editor/model/localization.h"
#include "editor/model/skin_document.h"
#include "editor/ui/control_cache.h"
#include "editor/ui/edit_history.h"
#include "editor/ui/file_commands.h"
#include "editor/ui/grid_display.h"
#include "editor/ui/recovery_copy.h"
#include "editor/ui/window_ops.h"

namespace facetor {

class EditorController {
  public:
    // `workFolder` is where Facetor.ini and the fixed-name image files live; empty: the current
    // directory now, kept whatever a file dialog later does to the current directory.
    // Facetor.ini missing there is looked for in `programFolder`. `recovery` keeps a copy of
    // unsaved work; none: no copy is kept.
    EditorController(WindowOps& window, const Clock& clock,
                     const std::filesystem::path& workFolder = {},
                     std::filesystem::path programFolder = {}, RecoveryKeeper* recovery = nullptr);

    // After the window and its controls exist: load the settings, clear the document, give the
    // focus to cell 100, label the keyboard. The caller then starts the 100 ms timer.
    void start();
    // Right after start(): work that a Facetor ended by force left unsaved is offered back.
    // True when the user took it back.
    bool offerRecoveredWork();

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
    // it end; the program ends with onEndSession(). A critical end is not asked about: the
    // copy of the unsaved work is written before this returns, and kept.
    bool onQueryEndSession(bool critical = false);
    void onEndSession();
    // The program may end at any moment (a critical end of the session while a question is
    // open): the copy of the unsaved work is on disk when this returns.
    void keepUnsavedWorkNow();
    // A file named on the command line or dropped onto the window, opened as "Открыть файл"
    // opens a chosen one. A relative name counts from the current directory of this moment.
    void openFile(const std::filesystem::path& eepFile);
    // Makes `image` the work, as one undoable step: its cells, Fields, styles and Localization,
    // the cursor on cell 100. The work then belongs to `belongsTo` (none: the fixed names of
    // that Localization). `storedIn` is the file the image was read from, if any: the work
    // counts as saved when that is where it now belongs, and as unsaved otherwise.
    void openImage(const EepromImage& image, const WorkFiles& belongsTo,
                   const std::optional<std::filesystem::path>& storedIn);

    // For writing into the clock: the letters typed before are taken in first, then the image
    // of the selected Localization is built as a save would build it.
    EepromImage imageForClock();
    // The EEPROM read from the clock, opened as a design by the image's byte map: one undoable
    // opening; the work then belongs to the fixed names, and nothing is written until a save.
    void openImageAsDesign(const EepromImage& image);

    // Whether closing now would ask: the work differs from what counts as stored where it
    // belongs (at start: the empty document).
    bool hasUnsavedChanges() const { return !work_.isSaved(); }
    const EditHistory& history() const { return history_; }

    const SkinDocument& document() const { return work_.document; }
    int localization() const { return work_.localization; }
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
    // What the user did before the command at hand: letters typed, a radio button clicked.
    void takeInPending();
    bool takeInTyped();
    void takeInLocalizationSwitch();
    void paste();
    void pressKey(int keyId);
    void placeFieldOfButton(int buttonId);
    void toggleCapsLock();
    void openFixedFile();
    void openChosenFile();
    void openDocument(const std::filesystem::path& eepFile, const WorkFiles& belongsTo);
    void saveFixedFiles();
    void saveAs();
    bool mayReplace(const ImageFilePaths& files);
    bool saveWhereItBelongs();
    bool askToSaveBeforeEnding();
    bool writeImage(const ImageFilePaths& files);
    void markSaved(const ImageFilePaths& files, bool complete);
    std::filesystem::path locationOf(const WorkState& state) const;
    ImageFilePaths fixedFiles(int localization) const;
    ImageFilePaths saveTarget() const;
    void showSaveTarget();
    // The copy of unsaved work follows the work; it goes once the work is saved or let go.
    void updateRecoveryCopy();
    void discardRecoveryCopy();
    void finishRecoveryCopy();

    // Runs one editing command; it becomes one undoable step if it changed the document.
    template <typename Change>
    void editStep(Change&& change);
    void undo();
    void redo();
    void restore(WorkState state);
    void updateUndoMenu();
    // Most commands end alike: redraw the grid, then let the focus hand-over update the rest.
    void refreshAndFocus();

    WindowOps& window_;
    const Clock& clock_;
    std::filesystem::path workFolder_;
    std::filesystem::path programFolder_;
    RecoveryKeeper* recovery_;
    Localizations localizations_;
    ControlCache controls_;
    GridDisplay grid_;
    EditHistory history_;
    WorkState work_;
    int lastSession_ = 0;
    std::optional<std::string> keptCopy_;  // what the recovery keeper was last given
    std::optional<WorkState> copiedWork_;  // the work it was made of
    std::string shownSaveTarget_;
};

}  // namespace facetor
