#include "editor/ui/editor_controller.h"

#include <utility>

#include "editor/model/lcd_charset.h"
#include "editor/model/settings_file.h"
#include "editor/model/text_encoding.h"
#include "editor/ui/control_ids.h"
#include "editor/ui/field_buttons.h"
#include "editor/ui/onscreen_keyboard.h"
#include "editor/ui/window_layout.h"

namespace facetor {

template <typename Change>
void EditorController::editStep(Change&& change) {
    DocumentSnapshot before{document_, std::nullopt};
    change();
    if (!before.document.sameContent(document_)) {
        history_.record(before);
        updateUndoMenu();
    }
}

EditorController::EditorController(WindowOps& window, const Clock& clock,
                                   std::filesystem::path workFolder,
                                   std::filesystem::path programFolder)
    : window_(window),
      clock_(clock),
      workFolder_(std::move(workFolder)),
      programFolder_(std::move(programFolder)),
      localizations_(Localizations::initial()),
      controls_(window),
      grid_(controls_) {}

void EditorController::start() {
    loadSettings(
        localizations_, workFolder_,
        [this](std::string_view title, std::string_view text) { window_.showMessage(title, text); },
        programFolder_);
    document_.clearAll();
    savedContent_ = document_;
    focusCursorCell();
    relabelKeys();
    updateUndoMenu();
}

void EditorController::onTimer(int timerId) {
    if (timerId == ids::kTimer) {
        timerTick();
    }
}

void EditorController::onMenu(int id) {
    switch (id) {
        case ids::kMenuOpen:
            openFixedFile();
            break;
        case ids::kMenuSave:
            saveFixedFiles();
            break;
        case ids::kMenuExit:
            onClose();
            break;
        case ids::kMenuUndo:
            undo();
            break;
        case ids::kMenuRedo:
            redo();
            break;
        case ids::kMenuOpenAs:
            openChosenFile();
            break;
        case ids::kMenuSaveAs:
            saveAs();
            break;
        case ids::kShortcutUp:
            document_.moveUp();
            refreshAndFocus();
            break;
        case ids::kShortcutDown:
            document_.moveDown();
            refreshAndFocus();
            break;
        case ids::kShortcutLeft:
            document_.moveLeft();
            refreshAndFocus();
            break;
        case ids::kShortcutRight:
            document_.moveRight();
            refreshAndFocus();
            break;
        case ids::kShortcutHome:
            document_.cursorHome();
            refreshAndFocus();
            break;
        case ids::kShortcutEnd:
            document_.cursorEnd();
            refreshAndFocus();
            break;
        case ids::kShortcutDelete:
            editStep([this] { document_.eraseAtCursor(); });
            refreshAndFocus();
            break;
        case ids::kShortcutBackspace:
            editStep([this] { document_.stepBack(); });
            refreshAndFocus();
            break;
        case ids::kShortcutCapsLock:
            toggleCapsLock();
            break;
        default:
            break;
    }
}

void EditorController::onControl(int id) {
    if (isCellId(id)) {
        selectCell(static_cast<CellId>(id));
    } else if (id >= ids::kFirstFieldButton && id <= ids::kLastFieldButton) {
        placeFieldOfButton(id);
    } else if (id >= ids::kFirstKey && id <= ids::kLastKey) {
        pressKey(id);
    } else {
        switch (id) {
            case ids::kCapsLockCheck:  // the click has switched the box already
                relabelKeys();
                focusCursorCell();
                break;
            case ids::kBackspaceButton:
                editStep([this] { document_.stepBack(); });
                refreshAndFocus();
                break;
            case ids::kDeleteButton:
                editStep([this] { document_.eraseAtCursor(); });
                refreshAndFocus();
                break;
            case ids::kOpenButton:
                openFixedFile();
                break;
            case ids::kSaveButton:
                saveFixedFiles();
                break;
            case ids::kClearAllButton:
                editStep([this] { document_.clearAll(); });
                refreshAndFocus();
                break;
            case ids::kClearScreenButton:
                editStep([this] { document_.clearScreen(); });
                refreshAndFocus();
                break;
            case ids::kFirstLocalizationRadio:
            case ids::kFirstLocalizationRadio + 1:
            case ids::kFirstLocalizationRadio + 2:
                focusCursorCell();  // the button has switched itself; typing goes on
                break;
            default:  // capture box, frames, labels
                break;
        }
    }
}

void EditorController::onActivated() {
    focusCursorCell();
}

void EditorController::selectCell(CellId id) {
    document_.setCursor(id);
    updateFieldButtons();
    window_.setFocus(ids::kCaptureBox);
    recolourCells();
}

void EditorController::focusCursorCell() {
    window_.setFocus(document_.cursor());
}

void EditorController::refreshGrid() {
    const int localization = selectedLocalization(window_);
    grid_.refresh(document_, localizations_.items[localization].names, clock_.now());
}

void EditorController::recolourCells() {
    grid_.recolour(document_);
}

void EditorController::updateFieldButtons() {
    facetor::updateFieldButtons(controls_, grid_, document_.cursor());
}

void EditorController::relabelKeys() {
    facetor::relabelKeys(controls_, capsLockOn());
}

bool EditorController::capsLockOn() const {
    return window_.isChecked(ids::kCapsLockCheck);
}

void EditorController::refreshAndFocus() {
    refreshGrid();
    focusCursorCell();
}

void EditorController::timerTick() {
    enterTypedCharacters();
    refreshGrid();  // keeps the clock in the palette and in the time Fields running
}

// Everything typed since the last tick goes into successive cells, in the order typed; each
// character is converted on its own so that the Ukrainian і and ї still fold to Latin i.
void EditorController::enterTypedCharacters() {
    const std::string typed = utf8ToCp1251(window_.text(ids::kCaptureBox));
    if (typed.empty()) {
        return;
    }
    for (char character : typed) {
        editStep([this, character] {
            document_.putCharacter(typedCharCode(std::string_view(&character, 1)));
        });
    }
    refreshGrid();
    focusCursorCell();
    window_.setText(ids::kCaptureBox, "");
}

void EditorController::pressKey(int keyId) {
    const auto code = keyCode(keyId, capsLockOn());
    if (!code) {
        return;
    }
    editStep([this, code] { document_.putCharacter(*code); });
    refreshAndFocus();
}

void EditorController::placeFieldOfButton(int buttonId) {
    const auto button = fieldButton(buttonId);
    if (!button) {
        return;
    }
    editStep([this, button] { document_.placeField(button->kind, button->style); });
    refreshAndFocus();
}

void EditorController::toggleCapsLock() {
    window_.setChecked(ids::kCapsLockCheck, !capsLockOn());
    relabelKeys();
    focusCursorCell();
}

void EditorController::onClose() {
    if (!hasUnsavedChanges()) {
        window_.quit();
        return;
    }
    switch (window_.askYesNoCancel(kWindowTitle, "Сохранить изменения перед выходом?")) {
        case Answer::Yes:
            if (saveTo(documentFiles_.value_or(fixedFiles()))) {
                window_.quit();
                return;
            }
            break;  // the messages said which file failed; the work stays open
        case Answer::No:
            window_.quit();
            return;
        case Answer::Cancel:
            break;
    }
    focusCursorCell();
}

void EditorController::openFixedFile() {
    if (openDocument(fixedFiles().eep)) {
        documentFiles_.reset();
    }
}

void EditorController::openChosenFile() {
    if (const auto chosen = window_.chooseFileToOpen()) {
        openFile(*chosen);
    } else {
        focusCursorCell();
    }
}

void EditorController::openFile(const std::filesystem::path& eepFile) {
    if (openDocument(eepFile)) {
        documentFiles_ = imageFilesBeside(eepFile);
    }
}

// Whatever the reader finds, the cursor goes to the first cell afterwards.
bool EditorController::openDocument(const std::filesystem::path& eepFile) {
    const DocumentSnapshot before{document_, selectedLocalization(window_)};
    const bool opened = openImageFile(document_, eepFile, window_);
    if (opened) {
        savedContent_ = document_;
        if (!before.document.sameContent(document_) ||
            before.localization != selectedLocalization(window_)) {
            history_.record(before);
            updateUndoMenu();
        }
    }
    document_.setCursor(kFirstCell);
    refreshAndFocus();
    return opened;
}

void EditorController::saveFixedFiles() {
    saveTo(fixedFiles());
    focusCursorCell();  // a click on the save button took the focus away from typing
}

void EditorController::saveAs() {
    const std::filesystem::path suggested =
        documentFiles_ ? documentFiles_->eep : fixedFiles().eep.filename();
    if (const auto chosen = window_.chooseFileToSave(suggested)) {
        const ImageFilePaths files = imageFilesBeside(*chosen);
        if (saveTo(files)) {
            documentFiles_ = files;
        }
    }
    focusCursorCell();
}

bool EditorController::saveTo(const ImageFilePaths& files) {
    const LocalDateTime now = clock_.now();
    const bool saved = saveImageFiles(document_, localizations_,
                                      CalendarDate{now.day, now.month, now.year}, files, window_);
    if (saved) {
        savedContent_ = document_;
    }
    return saved;
}

ImageFilePaths EditorController::fixedFiles() const {
    return fixedImageFiles(localizations_, selectedLocalization(window_), workFolder_);
}

void EditorController::undo() {
    if (const auto restored = history_.undo({document_, selectedLocalization(window_)})) {
        restore(*restored);
    } else {
        focusCursorCell();
    }
}

void EditorController::redo() {
    if (const auto restored = history_.redo({document_, selectedLocalization(window_)})) {
        restore(*restored);
    } else {
        focusCursorCell();
    }
}

void EditorController::restore(const DocumentSnapshot& snapshot) {
    document_ = snapshot.document;
    if (snapshot.localization) {
        selectLocalization(window_, *snapshot.localization);
    }
    updateUndoMenu();
    refreshAndFocus();
}

void EditorController::updateUndoMenu() {
    window_.setEnabled(ids::kMenuUndo, history_.canUndo());
    window_.setEnabled(ids::kMenuRedo, history_.canRedo());
}

}  // namespace facetor
