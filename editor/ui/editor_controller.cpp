#include "editor/ui/editor_controller.h"

#include <memory>
#include <system_error>
#include <utility>

#include "editor/image/eep_file.h"
#include "editor/image/image_to_document.h"
#include "editor/model/lcd_charset.h"
#include "editor/model/settings_file.h"
#include "editor/ui/control_ids.h"
#include "editor/ui/field_buttons.h"
#include "editor/ui/onscreen_keyboard.h"
#include "editor/ui/text_for_cells.h"
#include "editor/ui/window_layout.h"

namespace facetor {
namespace {

constexpr std::string_view kSaveQuestion = "Сохранить изменения перед выходом?";
constexpr std::string_view kEndOfSessionReason =
    "Есть несохранённые изменения скинов: Facetor спрашивает, сохранить ли их.";
constexpr std::string_view kRecoveryQuestion = "Восстановить несохранённую работу?";

std::filesystem::path currentFolder() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::filesystem::path() : folder;
}

// A name as it is kept: absolute from the moment it is given, whatever the current directory
// later becomes, and in one spelling, so that two names of one file compare equal.
std::filesystem::path keptName(const std::filesystem::path& name) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(name, error);
    return (error ? name : absolute).lexically_normal();
}

std::string utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::string fileName(const std::filesystem::path& path) {
    return utf8(path.filename());
}

std::string recoveryQuestion(const std::filesystem::path& belonged) {
    return std::string(kRecoveryQuestion) + "\n\nFacetor был закрыт, не сохранив её в файл\n" +
           utf8(belonged);
}

// The question before "Сохранить как" writes over files that exist, naming each of them.
std::string replaceQuestion(const std::vector<std::filesystem::path>& existing) {
    if (existing.size() == 1) {
        return "Файл «" + fileName(existing[0]) + "» уже существует.\nЗаменить его?";
    }
    return "Файлы «" + fileName(existing[0]) + "» и «" + fileName(existing[1]) +
           "» уже существуют.\nЗаменить их?";
}

}  // namespace

template <typename Change>
void EditorController::editStep(Change&& change) {
    const WorkState before = work_;
    change();
    if (!before.document.sameContent(work_.document)) {
        history_.record(before);
        updateUndoMenu();
    }
}

EditorController::EditorController(WindowOps& window, const Clock& clock,
                                   const std::filesystem::path& workFolder,
                                   std::filesystem::path programFolder, RecoveryKeeper* recovery)
    : window_(window),
      clock_(clock),
      workFolder_(keptName(workFolder.empty() ? currentFolder() : workFolder)),
      programFolder_(std::move(programFolder)),
      recovery_(recovery),
      localizations_(Localizations::initial()),
      controls_(window),
      grid_(controls_) {}

void EditorController::start() {
    loadSettings(
        localizations_, workFolder_,
        [this](std::string_view title, std::string_view text) { window_.showMessage(title, text); },
        programFolder_);
    work_.document.clearAll();
    work_.localization = selectedLocalization(window_);
    work_.saved = std::make_shared<const WorkContent>(work_.content());  // nothing to lose yet
    focusCursorCell();
    relabelKeys();
    updateUndoMenu();
    showSaveTarget();
}

// The copy is this program's own once adopted: declined, it goes; taken back, the work becomes
// one undoable opening that belongs where it did and waits to be saved there.
bool EditorController::offerRecoveredWork() {
    const std::optional<std::string> copy = recovery_ ? recovery_->adoptOrphan() : std::nullopt;
    if (!copy) {
        return false;
    }
    keptCopy_ = copy;  // this program's own copy now
    copiedWork_.reset();
    const std::optional<RecoveredWork> work = parseRecoveryCopy(*copy);
    if (!work || !window_.askYesNo(kWindowTitle, recoveryQuestion(work->files.eep))) {
        discardRecoveryCopy();
        focusCursorCell();
        return false;
    }
    const int stored = work->image[kLocalizationNumberOffset];
    const int localization = stored < kLocalizationCount ? stored : work_.localization;
    const bool fixedNamesHere =
        work->fixedNames && fixedFiles(localization).eep == keptName(work->files.eep);
    openImage(work->image,
              fixedNamesHere ? WorkFiles{}
                             : WorkFiles{{keptName(work->files.eep), keptName(work->files.bin)}},
              std::nullopt);
    updateRecoveryCopy();
    return true;
}

void EditorController::onTimer(int timerId) {
    if (timerId == ids::kTimer) {
        timerTick();
        updateRecoveryCopy();
    }
}

void EditorController::onMenu(int id) {
    takeInPending();
    runMenuCommand(id);
    updateRecoveryCopy();
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
            work_.document.moveUp();
            refreshAndFocus();
            break;
        case ids::kShortcutDown:
            work_.document.moveDown();
            refreshAndFocus();
            break;
        case ids::kShortcutLeft:
            work_.document.moveLeft();
            refreshAndFocus();
            break;
        case ids::kShortcutRight:
            work_.document.moveRight();
            refreshAndFocus();
            break;
        case ids::kShortcutHome:
            work_.document.cursorHome();
            refreshAndFocus();
            break;
        case ids::kShortcutEnd:
            work_.document.cursorEnd();
            refreshAndFocus();
            break;
        case ids::kShortcutDelete:
            editStep([this] { work_.document.eraseAtCursor(); });
            refreshAndFocus();
            break;
        case ids::kShortcutBackspace:
            editStep([this] { work_.document.stepBack(); });
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
    takeInPending();  // a click on a cell too: the letters go where the cursor was
    runControlCommand(id);
    updateRecoveryCopy();
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
                editStep([this] { work_.document.stepBack(); });
                refreshAndFocus();
                break;
            case ids::kDeleteButton:
                editStep([this] { work_.document.eraseAtCursor(); });
                refreshAndFocus();
                break;
            case ids::kOpenButton:
                openFixedFile();
                break;
            case ids::kSaveButton:
                saveFixedFiles();
                break;
            case ids::kClearAllButton:
                editStep([this] { work_.document.clearAll(); });
                refreshAndFocus();
                break;
            case ids::kClearScreenButton:
                editStep([this] { work_.document.clearScreen(); });
                refreshAndFocus();
                break;
            case ids::kFirstLocalizationRadio:
            case ids::kFirstLocalizationRadio + 1:
            case ids::kFirstLocalizationRadio + 2:
                focusCursorCell();  // taken in as a step already; typing goes on
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
    work_.document.setCursor(id);
    updateFieldButtons();
    window_.setFocus(ids::kCaptureBox);
    recolourCells();
}

void EditorController::focusCursorCell() {
    window_.setFocus(work_.document.cursor());
}

void EditorController::refreshGrid() {
    grid_.refresh(work_.document, localizations_.items[work_.localization].names, clock_.now());
    showSaveTarget();
}

void EditorController::recolourCells() {
    grid_.recolour(work_.document);
}

void EditorController::updateFieldButtons() {
    facetor::updateFieldButtons(controls_, grid_, work_.document.cursor());
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
    const bool typed = takeInTyped();
    takeInLocalizationSwitch();
    if (typed) {
        focusCursorCell();
    }
    refreshGrid();  // keeps the clock in the palette and in the time Fields running
}

// The command may open a question or a dialog, or run avrdude, and no tick comes meanwhile: the
// copy of unsaved work holds what was just taken in before that, or a forced end would lose it.
void EditorController::takeInPending() {
    takeInTyped();
    takeInLocalizationSwitch();
    updateRecoveryCopy();
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
    for (char character : textForCells(typed)) {
        editStep([this, character] {
            work_.document.putCharacter(typedCharCode(std::string_view(&character, 1)));
        });
    }
    refreshGrid();
    return true;
}

// A radio button switches itself when clicked. The Localization is part of the image, so the
// switch is a change of the work and one step.
void EditorController::takeInLocalizationSwitch() {
    const int selected = selectedLocalization(window_);
    if (selected == work_.localization) {
        return;
    }
    history_.record(work_);
    work_.localization = selected;
    updateUndoMenu();
    refreshGrid();
}

// The clipboard's text, however long, is one step.
void EditorController::paste() {
    const std::string text = textForCells(window_.clipboardText());
    editStep([this, &text] {
        for (char character : text) {
            work_.document.putCharacter(typedCharCode(std::string_view(&character, 1)));
        }
    });
    refreshAndFocus();
}

void EditorController::pressKey(int keyId) {
    const auto code = keyCode(keyId, capsLockOn());
    if (!code) {
        return;
    }
    editStep([this, code] { work_.document.putCharacter(*code); });
    refreshAndFocus();
}

// The button was enabled for the cursor of its time; letters typed just before the click may
// have moved the cursor or filled the cells since. A Field that no longer fits is not placed,
// as if the button had been disabled.
void EditorController::placeFieldOfButton(int buttonId) {
    const auto button = fieldButton(buttonId);
    if (!button) {
        return;
    }
    if (fieldFits(grid_, work_.document.cursor(), button->width)) {
        editStep([this, button] { work_.document.placeField(button->kind, button->style); });
    }
    refreshAndFocus();
}

void EditorController::toggleCapsLock() {
    window_.setChecked(ids::kCapsLockCheck, !capsLockOn());
    relabelKeys();
    focusCursorCell();
}

void EditorController::onClose() {
    takeInPending();
    if (!hasUnsavedChanges() || askToSaveBeforeEnding()) {
        finishRecoveryCopy();
        window_.quit();
        return;
    }
    refreshAndFocus();
    updateRecoveryCopy();
}

bool EditorController::onQueryEndSession(bool critical) {
    takeInPending();
    if (critical) {  // Windows ends the program soon whatever it answers: no time to ask
        keepUnsavedWorkNow();
        return true;
    }
    if (!hasUnsavedChanges()) {
        return true;
    }
    window_.blockEndOfSession(kEndOfSessionReason);
    const bool mayEnd = askToSaveBeforeEnding();
    window_.allowEndOfSession();
    if (!mayEnd) {
        refreshAndFocus();
    }
    keepUnsavedWorkNow();
    return mayEnd;
}

void EditorController::keepUnsavedWorkNow() {
    updateRecoveryCopy();
    if (recovery_) {
        recovery_->flush();
    }
}

void EditorController::onEndSession() {
    if (recovery_) {
        recovery_->flush();
    }
    window_.quit();
}

// The question before unsaved work is lost: true once the work is saved where it belongs, or
// the user lets it go. A failed save has shown which file it could not write.
bool EditorController::askToSaveBeforeEnding() {
    switch (window_.askYesNoCancel(kWindowTitle, kSaveQuestion)) {
        case Answer::Yes:
            return saveWhereItBelongs();
        case Answer::No:
            discardRecoveryCopy();
            return true;
        case Answer::Cancel:
            break;
    }
    return false;
}

void EditorController::openFixedFile() {
    openDocument(fixedFiles(work_.localization).eep, std::nullopt);
}

void EditorController::openChosenFile() {
    if (const auto chosen = window_.chooseFileToOpen()) {
        openFile(*chosen);
    } else {
        focusCursorCell();
    }
}

void EditorController::openFile(const std::filesystem::path& eepFile) {
    takeInPending();  // a file dropped onto the window comes after the letters typed before it
    const std::filesystem::path file = keptName(eepFile);
    openDocument(file, imageFilesBeside(file));
    updateRecoveryCopy();
}

// Whatever the reader finds, the cursor goes to the first cell afterwards.
void EditorController::openDocument(const std::filesystem::path& eepFile,
                                    const WorkFiles& belongsTo) {
    const std::optional<EepromImage> image =
        readEepImage(eepFile, [this](std::string_view title, std::string_view text) {
            window_.showMessage(title, text);
        });
    if (image) {
        openImage(*image, belongsTo, eepFile);
        return;
    }
    work_.document.setCursor(kFirstCell);
    refreshAndFocus();
}

void EditorController::openImage(const EepromImage& image, const WorkFiles& belongsTo,
                                 const std::optional<std::filesystem::path>& storedIn) {
    WorkState opened;
    loadImageIntoDocument(image, opened.document);
    const int stored = image[kLocalizationNumberOffset];
    opened.localization = stored < kLocalizationCount ? stored : work_.localization;
    opened.files = belongsTo;
    if (storedIn && locationOf(opened) == keptName(*storedIn)) {
        opened.saved = std::make_shared<const WorkContent>(opened.content());
    }
    const bool changed = !opened.document.sameContent(work_.document) ||
                         opened.localization != work_.localization || opened.files != work_.files;
    if (changed) {
        opened.session = ++lastSession_;
        history_.record(work_);
        work_ = std::move(opened);
    } else if (opened.saved) {
        work_.saved = opened.saved;  // read back as it is: saved there after all
    }
    work_.document.setCursor(kFirstCell);
    selectLocalization(window_, work_.localization);
    updateUndoMenu();
    refreshAndFocus();
}

// Always the fixed names; the work stays where it belongs, and counts as saved only if that is
// the fixed names.
void EditorController::saveFixedFiles() {
    writeImage(fixedFiles(work_.localization));
    focusCursorCell();  // a click on the save button took the focus away from typing
}

// The dialog comes back while the user declines to replace what the chosen name would write
// over; the whole session (every step since the last opening) then belongs to the chosen files.
void EditorController::saveAs() {
    std::filesystem::path suggested = saveTarget().eep;
    while (const auto chosen = window_.chooseFileToSave(suggested)) {
        const ImageFilePaths files = imageFilesBeside(keptName(*chosen));
        if (!mayReplace(files)) {
            suggested = files.eep;
            continue;
        }
        if (writeImage(files)) {
            const int session = work_.session;
            const auto moveSession = [session, &files](WorkState& state) {
                if (state.session == session) {
                    state.files = files;
                }
            };
            moveSession(work_);
            history_.forEachState(moveSession);
            markSaved(files, true);
            showSaveTarget();
        }
        break;
    }
    focusCursorCell();
}

bool EditorController::mayReplace(const ImageFilePaths& files) {
    std::vector<std::filesystem::path> existing;
    for (const std::filesystem::path& file : {files.eep, files.bin}) {
        std::error_code error;
        if (std::filesystem::exists(file, error)) {
            existing.push_back(file);
        }
    }
    return existing.empty() || window_.askYesNo(kWindowTitle, replaceQuestion(existing));
}

bool EditorController::saveWhereItBelongs() {
    return writeImage(saveTarget());
}

// A save that wrote the .eep changes what counts as saved for every state that belongs there:
// the image written when the .bin was written too, nothing when it was not.
bool EditorController::writeImage(const ImageFilePaths& files) {
    const LocalDateTime now = clock_.now();
    const SaveResult result =
        saveImageFiles(work_.document, localizations_, work_.localization,
                       CalendarDate{now.day, now.month, now.year}, files, window_);
    if (result.eepWritten) {
        markSaved(files, result.complete());
    }
    return result.complete();
}

void EditorController::markSaved(const ImageFilePaths& files, bool complete) {
    const std::shared_ptr<const WorkContent> saved =
        complete ? std::make_shared<const WorkContent>(work_.content()) : nullptr;
    const std::filesystem::path written = keptName(files.eep);
    const auto update = [this, &saved, &written](WorkState& state) {
        if (locationOf(state) == written) {
            state.saved = saved;
        }
    };
    update(work_);
    history_.forEachState(update);
}

std::filesystem::path EditorController::locationOf(const WorkState& state) const {
    return state.files ? state.files->eep : fixedFiles(state.localization).eep;
}

ImageFilePaths EditorController::fixedFiles(int localization) const {
    return fixedImageFiles(localizations_, localization, workFolder_);
}

ImageFilePaths EditorController::saveTarget() const {
    return facetor::saveTarget(work_.files, localizations_, work_.localization, workFolder_);
}

// The menu bar names where the work belongs at all times; it is rewritten only on a change.
void EditorController::showSaveTarget() {
    std::string label = saveTargetLabel(saveTarget());
    if (label != shownSaveTarget_) {
        window_.setText(ids::kSaveTargetLabel, label);
        shownSaveTarget_ = std::move(label);
    }
}

void EditorController::updateRecoveryCopy() {
    if (!recovery_) {
        return;
    }
    // Called after every event: the copy is made afresh only when the work has changed.
    if (copiedWork_ && copiedWork_->isSaved() == work_.isSaved() &&
        copiedWork_->content() == work_.content() && copiedWork_->files == work_.files) {
        return;
    }
    copiedWork_ = work_;
    std::optional<std::string> copy;
    if (!work_.isSaved()) {
        const LocalDateTime now = clock_.now();
        const EepromImage image =
            buildEepromImage(work_.document, localizations_, work_.localization,
                             CalendarDate{now.day, now.month, now.year});
        copy = recoveryCopyText(image, saveTarget(), !work_.files);
    }
    if (copy != keptCopy_) {
        keptCopy_ = copy;
        recovery_->keep(std::move(copy));
    }
}

void EditorController::discardRecoveryCopy() {
    if (recovery_ && keptCopy_) {
        recovery_->keep(std::nullopt);
        keptCopy_.reset();
        copiedWork_.reset();
    }
}

// The program ends normally: whatever was unsaved is saved or let go by now.
void EditorController::finishRecoveryCopy() {
    discardRecoveryCopy();
    if (recovery_) {
        recovery_->flush();
    }
}

void EditorController::undo() {
    if (auto restored = history_.undo(work_)) {
        restore(std::move(*restored));
    } else {
        focusCursorCell();
    }
}

void EditorController::redo() {
    if (auto restored = history_.redo(work_)) {
        restore(std::move(*restored));
    } else {
        focusCursorCell();
    }
}

void EditorController::restore(WorkState state) {
    work_ = std::move(state);
    selectLocalization(window_, work_.localization);
    updateUndoMenu();
    refreshAndFocus();
}

void EditorController::updateUndoMenu() {
    window_.setEnabled(ids::kMenuUndo, history_.canUndo());
    window_.setEnabled(ids::kMenuRedo, history_.canRedo());
}

EepromImage EditorController::imageForClock() {
    takeInPending();
    const LocalDateTime now = clock_.now();
    return buildEepromImage(work_.document, localizations_, work_.localization,
                            CalendarDate{now.day, now.month, now.year});
}

void EditorController::openImageAsDesign(const EepromImage& image) {
    takeInTyped();
    openImage(image, std::nullopt, std::nullopt);
}

}  // namespace facetor
