#include "editor/ui/editor_controller.h"

#include <utility>

#include "editor/model/lcd_charset.h"
#include "editor/model/settings_file.h"
#include "editor/model/text_encoding.h"
#include "editor/ui/control_ids.h"
#include "editor/ui/field_buttons.h"
#include "editor/ui/file_commands.h"
#include "editor/ui/onscreen_keyboard.h"

namespace facetor {

EditorController::EditorController(WindowOps& window, const Clock& clock,
                                   std::filesystem::path workFolder)
    : window_(window),
      clock_(clock),
      workFolder_(std::move(workFolder)),
      localizations_(Localizations::initial()),
      controls_(window),
      grid_(controls_) {}

void EditorController::start() {
    loadSettings(localizations_, workFolder_,
                 [this](std::string_view title, std::string_view text) {
                     window_.showMessage(title, text);
                 });
    document_.clearAll();
    focusCursorCell();
    relabelKeys();
}

void EditorController::onTimer(int timerId) {
    if (timerId == ids::kTimer) {
        timerTick();
    }
}

void EditorController::onMenu(int id) {
    switch (id) {
        case ids::kMenuOpen:
            openFile();
            break;
        case ids::kMenuSave:
            saveFile();
            break;
        case ids::kMenuExit:
            window_.quit();
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
            document_.eraseAtCursor();
            refreshAndFocus();
            break;
        case ids::kShortcutBackspace:
            document_.stepBack();
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
                document_.stepBack();
                refreshAndFocus();
                break;
            case ids::kDeleteButton:
                document_.eraseAtCursor();
                refreshAndFocus();
                break;
            case ids::kOpenButton:
                openFile();
                break;
            case ids::kSaveButton:
                saveFile();
                break;
            case ids::kClearAllButton:
                document_.clearAll();
                refreshAndFocus();
                break;
            case ids::kClearScreenButton:
                document_.clearScreen();
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
        document_.putCharacter(typedCharCode(std::string_view(&character, 1)));
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
    document_.putCharacter(*code);
    refreshAndFocus();
}

void EditorController::placeFieldOfButton(int buttonId) {
    const auto button = fieldButton(buttonId);
    if (!button) {
        return;
    }
    document_.placeField(button->kind, button->style);
    refreshAndFocus();
}

void EditorController::toggleCapsLock() {
    window_.setChecked(ids::kCapsLockCheck, !capsLockOn());
    relabelKeys();
    focusCursorCell();
}

void EditorController::openFile() {
    openImageFile(document_, localizations_, window_, workFolder_);
    document_.setCursor(kFirstCell);
    refreshAndFocus();
}

void EditorController::saveFile() {
    const LocalDateTime now = clock_.now();
    saveImageFiles(document_, localizations_, CalendarDate{now.day, now.month, now.year}, window_,
                   workFolder_);
    focusCursorCell();  // a click on the save button took the focus away from typing
}

}  // namespace facetor
