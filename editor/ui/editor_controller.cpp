#include "editor/ui/editor_controller.h"

#include <system_error>
#include <utility>

#include "editor/image/image_to_document.h"
#include "editor/model/lcd_charset.h"
#include "editor/model/settings_file.h"
#include "editor/model/text_encoding.h"
#include "editor/ui/control_ids.h"
#include "editor/ui/field_buttons.h"
#include "editor/ui/onscreen_keyboard.h"
#include "editor/ui/window_layout.h"

namespace facetor {
namespace {

constexpr std::string_view kSaveQuestion = "Сохранить изменения перед выходом?";
constexpr std::string_view kEndOfSessionReason =
    "Есть несохранённые изменения скинов: Facetor спрашивает, сохранить ли их.";

std::filesystem::path currentFolder() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::filesystem::path() : folder;
}

// Control characters (a pasted Tab or line end, Ctrl+Backspace's DEL) have no place in a cell:
// the device would show them as its user-defined glyphs.
std::string withoutControlCharacters(std::string_view cp1251) {
    std::string printable;
    for (const char c : cp1251) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            printable += c;
        }
    }
    return printable;
}

}  // namespace

template <typename Change>
void EditorController::editStep(Change&& change) {
    const DocumentSnapshot before{document_, std::nullopt};
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
      workFolder_(workFolder.empty() ? currentFolder() : std::move(workFolder)),
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
    showSaveTarget();
}

void EditorController::onTimer(int timerId) {
    if (timerId == ids::kTimer) {
        timerTick();
    }
}

void EditorController::onMenu(int id) {
    takeInTyped();
    runMenuCommand(id);
}

void EditorController::runMenuCommand(int id) {
    switch (id) {
        case ids::kMenuOpen:
            openFixedFile();
            break;
        case ids::kMenuSave:
            saveFixedFiles();
            break;
        case ids::kMenuSaveHere:
            saveWhereItBelongs();
            focusCursorCell();
            break;
        case ids::kShortcutPaste:
            paste();
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
    takeInTyped();  // a click on a cell too: the letters go where the cursor was
    runControlCommand(id);
}

void EditorController::runControlCommand(int id) {
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
                showSaveTarget();   // the fixed names may be another Localization's now
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
    showSaveTarget();
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
    if (takeInTyped()) {
        focusCursorCell();
    }
    refreshGrid();  // keeps the clock in the palette and in the time Fields running
}

// Everything typed since the last tick or command goes into successive cells, in the order
// typed, each character its own step; each is converted on its own so that the Ukrainian і and
// ї still fold to Latin i. The command that follows hands the focus over: a focus change here
// would come back after that command and move the cursor again.
bool EditorController::takeInTyped() {
    const std::string typed = window_.text(ids::kCaptureBox);
    if (typed.empty()) {
        return false;
    }
    window_.setText(ids::kCaptureBox, "");
    for (char character : withoutControlCharacters(utf8ToCp1251(typed))) {
        editStep([this, character] {
            document_.putCharacter(typedCharCode(std::string_view(&character, 1)));
        });
    }
    refreshGrid();
    return true;
}

// The clipboard's text, however long, is one step.
void EditorController::paste() {
    const std::string text = withoutControlCharacters(utf8ToCp1251(window_.clipboardText()));
    editStep([this, &text] {
        for (char character : text) {
            document_.putCharacter(typedCharCode(std::string_view(&character, 1)));
        }
    });
    refreshAndFocus();
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
    takeInTyped();
    if (!hasUnsavedChanges() || askToSaveBeforeEnding()) {
        window_.quit();
        return;
    }
    refreshAndFocus();
}

bool EditorController::onQueryEndSession() {
    takeInTyped();
    if (!hasUnsavedChanges()) {
        return true;
    }
    window_.blockEndOfSession(kEndOfSessionReason);
    const bool mayEnd = askToSaveBeforeEnding();
    window_.allowEndOfSession();
    if (!mayEnd) {
        refreshAndFocus();
    }
    return mayEnd;
}

void EditorController::onEndSession() {
    window_.quit();
}

// The question before unsaved work is lost: true once the work is saved where it belongs, or
// the user lets it go. A failed save has shown which file it could not write.
bool EditorController::askToSaveBeforeEnding() {
    switch (window_.askYesNoCancel(kWindowTitle, kSaveQuestion)) {
        case Answer::Yes:
            return saveWhereItBelongs();
        case Answer::No:
            return true;
        case Answer::Cancel:
            break;
    }
    return false;
}

void EditorController::openFixedFile() {
    openDocument(fixedFiles().eep, std::nullopt);
}

void EditorController::openChosenFile() {
    if (const auto chosen = window_.chooseFileToOpen()) {
        openFile(*chosen);
    } else {
        focusCursorCell();
    }
}

void EditorController::openFile(const std::filesystem::path& eepFile) {
    takeInTyped();  // a file dropped onto the window comes after the letters typed before it
    openDocument(eepFile, imageFilesBeside(eepFile));
}

// Whatever the reader finds, the cursor goes to the first cell afterwards. An opening that
// changes anything is one step, and the work then belongs to `belongsTo`.
bool EditorController::openDocument(const std::filesystem::path& eepFile,
                                    const WorkFiles& belongsTo) {
    const DocumentSnapshot before{document_, openingState()};
    const bool opened = openImageFile(document_, eepFile, window_);
    if (opened) {
        savedContent_ = document_;
        documentFiles_ = belongsTo;
        const OpeningState after = openingState();
        if (!before.document.sameContent(document_) ||
            before.opening->localization != after.localization ||
            before.opening->files != after.files) {
            history_.record(before);
            updateUndoMenu();
        }
    }
    document_.setCursor(kFirstCell);
    refreshAndFocus();
    return opened;
}

// Always the fixed names; the work stays where it belongs, and counts as saved only if that is
// the fixed names.
void EditorController::saveFixedFiles() {
    if (writeImage(fixedFiles()) && !documentFiles_) {
        savedContent_ = document_;
    }
    focusCursorCell();  // a click on the save button took the focus away from typing
}

void EditorController::saveAs() {
    if (const auto chosen = window_.chooseFileToSave(saveTarget().eep)) {
        const ImageFilePaths files = imageFilesBeside(*chosen);
        if (writeImage(files)) {
            documentFiles_ = files;
            savedContent_ = document_;
            showSaveTarget();
        }
    }
    focusCursorCell();
}

bool EditorController::saveWhereItBelongs() {
    if (!writeImage(saveTarget())) {
        return false;
    }
    savedContent_ = document_;
    return true;
}

bool EditorController::writeImage(const ImageFilePaths& files) {
    const LocalDateTime now = clock_.now();
    return saveImageFiles(document_, localizations_, CalendarDate{now.day, now.month, now.year},
                          files, window_);
}

ImageFilePaths EditorController::fixedFiles() const {
    return fixedImageFiles(localizations_, selectedLocalization(window_), workFolder_);
}

ImageFilePaths EditorController::saveTarget() const {
    return facetor::saveTarget(documentFiles_, localizations_, selectedLocalization(window_),
                               workFolder_);
}

OpeningState EditorController::openingState() const {
    return {selectedLocalization(window_), documentFiles_};
}

// The menu bar names where the work belongs at all times; it is rewritten only on a change.
void EditorController::showSaveTarget() {
    std::string label = saveTargetLabel(saveTarget());
    if (label != shownSaveTarget_) {
        window_.setText(ids::kSaveTargetLabel, label);
        shownSaveTarget_ = std::move(label);
    }
}

void EditorController::undo() {
    if (const auto restored = history_.undo({document_, openingState()})) {
        restore(*restored);
    } else {
        focusCursorCell();
    }
}

void EditorController::redo() {
    if (const auto restored = history_.redo({document_, openingState()})) {
        restore(*restored);
    } else {
        focusCursorCell();
    }
}

void EditorController::restore(const DocumentSnapshot& snapshot) {
    document_ = snapshot.document;
    if (snapshot.opening) {
        selectLocalization(window_, snapshot.opening->localization);
        documentFiles_ = snapshot.opening->files;
    }
    updateUndoMenu();
    refreshAndFocus();
}

void EditorController::updateUndoMenu() {
    window_.setEnabled(ids::kMenuUndo, history_.canUndo());
    window_.setEnabled(ids::kMenuRedo, history_.canRedo());
}

EepromImage EditorController::imageForClock() {
    takeInTyped();
    const LocalDateTime now = clock_.now();
    return buildEepromImage(document_, localizations_, selectedLocalization(window_),
                            CalendarDate{now.day, now.month, now.year});
}

void EditorController::openImageAsDesign(const EepromImage& image) {
    takeInTyped();
    const DocumentSnapshot before{document_, openingState()};
    loadImageIntoDocument(image, document_);
    if (image[kLocalizationNumberOffset] < kLocalizationCount) {
        selectLocalization(window_, image[kLocalizationNumberOffset]);
    }
    documentFiles_.reset();
    if (!before.document.sameContent(document_) ||
        before.opening->localization != selectedLocalization(window_) || before.opening->files) {
        history_.record(before);
        updateUndoMenu();
    }
    document_.setCursor(kFirstCell);
    refreshAndFocus();
}

}  // namespace facetor
