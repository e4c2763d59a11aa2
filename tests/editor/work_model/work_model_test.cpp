// Random sequences of the commands that decide what is saved where, run against a small model of
// the files on disk. After every command: a file has changed only where a save or the closing
// question's Yes aimed, and then holds exactly the work shown; nothing else is written; the
// question comes exactly when the work differs from what counts as saved; the copy of unsaved
// work is there exactly while there is some, and a forced end has the next start offer it.
#include <gtest/gtest.h>
#include <rapidcheck.h>
#include <rapidcheck/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>

#include "editor/image/bin_file.h"
#include "editor/image/eep_file.h"
#include "editor/model/lcd_charset.h"
#include "editor/ui/field_buttons.h"
#include "editor/ui/recovery_copy.h"
#include "tests/editor/ui/editor_harness.h"

namespace facetor::testing {
namespace {

namespace fs = std::filesystem;

enum class Act {
    Type,
    TypeBefore,
    Field,
    GoTo,
    OpenFixed,
    OpenChosen,
    OpenNamed,
    ChangeFolder,
    SaveFixed,
    SaveHere,
    SaveAs,
    Undo,
    Redo,
    Switch,
    Close,
    Kill,
    CriticalEnd
};
constexpr const char* kActNames[] = {
    "Type",      "TypeBefore",   "Field",     "GoTo",     "OpenFixed",  "OpenChosen",
    "OpenNamed", "ChangeFolder", "SaveFixed", "SaveHere", "SaveAs",     "Undo",
    "Redo",      "Switch",       "Close",     "Kill",     "CriticalEnd"};

struct Action {
    Action(Act act, int a, int b) : act(act), a(a), b(b) {}
    Act act;
    int a, b;  // which text, Field, cell, file or answer
};

std::ostream& operator<<(std::ostream& out, const Action& action) {
    return out << kActNames[static_cast<int>(action.act)] << '(' << action.a << ',' << action.b
               << ')';
}

rc::Gen<Action> anAction() {
    return rc::gen::construct<Action>(rc::gen::weightedElement<Act>({{6, Act::Type},
                                                                     {3, Act::TypeBefore},
                                                                     {4, Act::Field},
                                                                     {4, Act::GoTo},
                                                                     {2, Act::OpenFixed},
                                                                     {2, Act::OpenChosen},
                                                                     {1, Act::OpenNamed},
                                                                     {1, Act::ChangeFolder},
                                                                     {2, Act::SaveFixed},
                                                                     {2, Act::SaveHere},
                                                                     {2, Act::SaveAs},
                                                                     {4, Act::Undo},
                                                                     {2, Act::Redo},
                                                                     {2, Act::Switch},
                                                                     {2, Act::Close},
                                                                     {1, Act::Kill},
                                                                     {1, Act::CriticalEnd}}),
                                      rc::gen::inRange(0, 48), rc::gen::inRange(0, 48));
}

constexpr const char* kTexts[] = {"a", "b", " ", "ba"};
constexpr int kColumns[] = {0, 7, 12, 13, 14, 15};  // where Fields begin not to fit
constexpr const char* kNames[] = {"a.eep", "a.bin", "b.v1", "chronotherm_lcd_m168_ru.eep"};
constexpr CalendarDate kToday{3, 5, 2026};  // FakeClock's

struct Content {
    SkinDocument document;
    int localization;
    bool operator==(const Content& other) const {
        return localization == other.localization && document.sameContent(other.document);
    }
};

struct ModelState {  // one undo step
    Content work;
    std::optional<fs::path> own;  // the .eep of the work's own files; none: the fixed names
    int session = 0;
    std::optional<Content> saved;
};

struct StoredFile {
    std::string bytes;
    std::optional<Content> design;  // what an .eep written by the editor holds
};

std::string bytesOf(const fs::path& file) {
    std::string bytes(fs::file_size(file), '\0');
    std::ifstream(file, std::ios::binary)
        .read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

class World {
  public:
    World() {
        fs::create_directories(work_);
        fs::create_directories(chosen_);
        fs::create_directories(recoveryFolder_);
        cwd_ = work_;
        fs::current_path(cwd_);
        SkinDocument other;
        other.clearAll();
        other.putCharacter('B');
        for (const auto& [files, localization] :  // designs left by earlier runs
             {std::pair{fixedFiles(1), 2}, {{chosen_ / "b.v1", chosen_ / "b.v1.bin"}, 0}}) {
            write(files, {other, localization});
            writeEepFileTo(imageOf({other, localization}), files.eep);
            writeBinFileTo(imageOf({other, localization}), files.bin);
        }
        restart(false);
    }
    ~World() { fs::current_path(startFolder_); }

    void run(const Action& action) {
        window_->messages.clear();
        window_->questions.clear();
        expectedMessages_ = expectedQuestions_ = 0;
        const std::string text = kTexts[action.a % 4];
        const fs::path chosenFile = (action.a % 4 == 3 ? work_ : chosen_) / kNames[action.a % 4];
        if (action.act != Act::TypeBefore && action.act != Act::ChangeFolder &&
            action.act != Act::Kill) {
            takeIn();  // every command first takes in the letters typed before it
        }
        switch (action.act) {
            case Act::Type:
                window_->texts[ids::kCaptureBox] += text;
                pending_ = text;
                takeIn();
                editor_->onTimer(ids::kTimer);
                break;
            case Act::TypeBefore:
                window_->texts[ids::kCaptureBox] += text;
                pending_ += text;
                break;
            case Act::Field: {
                const FieldButton button = kFieldButtons[action.a % kFieldButtons.size()];
                if (current().work.document.canPlace(button.width)) {
                    edit([&button](SkinDocument& d) { d.placeField(button.kind, button.style); });
                }
                editor_->onControl(button.id);
                break;
            }
            case Act::GoTo: {
                const int cell = kFirstCell + 16 * (action.b % 16) + kColumns[action.a % 6];
                current().work.document.setCursor(static_cast<CellId>(cell));
                window_->setFocus(cell);
                break;
            }
            case Act::OpenFixed:
                open(fixedFiles(current().work.localization).eep, false);
                editor_->onMenu(ids::kMenuOpen);
                break;
            case Act::OpenChosen:
                open(chosenFile, true);
                window_->fileToOpen = chosenFile;
                editor_->onMenu(ids::kMenuOpenAs);
                break;
            case Act::OpenNamed:  // named on the command line or dropped: relative to now
                open(cwd_ / kNames[action.a % 4], true);
                editor_->openFile(kNames[action.a % 4]);
                break;
            case Act::ChangeFolder:  // as a file dialog may leave it
                cwd_ = action.a % 2 ? work_ : chosen_;
                fs::current_path(cwd_);
                break;
            case Act::SaveFixed:
                write(fixedFiles(current().work.localization), current().work);
                editor_->onMenu(ids::kMenuSave);
                break;
            case Act::SaveHere:
                write(filesOf(current()), current().work);
                editor_->onMenu(ids::kMenuSaveHere);
                break;
            case Act::SaveAs:
                saveAs(chosenFile, action.b % 2 == 0);
                window_->savesChosen = {chosenFile, std::nullopt};
                window_->yes = action.b % 2 == 0;
                editor_->onMenu(ids::kMenuSaveAs);
                break;
            case Act::Undo:
                now_ -= now_ > 0 ? 1 : 0;
                editor_->onMenu(ids::kMenuUndo);
                break;
            case Act::Redo:
                now_ += now_ + 1 < timeline_.size() ? 1 : 0;
                editor_->onMenu(ids::kMenuRedo);
                break;
            case Act::Switch:
                if (action.a % 3 != current().work.localization) {
                    ModelState next = current();
                    next.work.localization = action.a % 3;
                    step(next);
                }
                window_->selectLocalization(action.a % 3);
                editor_->onControl(ids::kFirstLocalizationRadio + action.a % 3);
                break;
            case Act::Close: {
                const Answer answer =
                    std::array{Answer::Yes, Answer::No, Answer::Cancel}[action.b % 3];
                const bool asked = unsaved();
                expectedQuestions_ = asked ? 1 : 0;
                if (asked && answer == Answer::Yes) {
                    write(filesOf(current()), current().work);
                }
                window_->answer = answer;
                editor_->onClose();
                window_->pump(*editor_);
                RC_ASSERT(window_->questions.size() == expectedQuestions_);
                if (!asked || answer != Answer::Cancel) {
                    RC_ASSERT(window_->quitCalled);
                    restart(false);
                }
                break;
            }
            case Act::Kill:
                pending_.clear();
                restart(true, action.b % 2 == 0);
                break;
            case Act::CriticalEnd:  // Windows ends the session and the program without waiting
                RC_ASSERT(editor_->onQueryEndSession(true));
                check();  // asked nothing; the copy is on disk
                editor_->onEndSession();
                RC_ASSERT(window_->quitCalled);
                restart(true, action.b % 2 == 0);
                break;
        }
        window_->pump(*editor_);
    }

    void check() const {
        std::set<fs::path> different;  // written where no save aimed, or not as the model says
        for (const fs::path& folder : {work_, chosen_}) {
            for (const auto& entry : fs::directory_iterator(folder)) {
                const auto stored = disk_.find(entry.path());
                if (stored == disk_.end() || stored->second.bytes != bytesOf(entry.path())) {
                    different.insert(entry.path().filename());
                }
            }
        }
        for (const auto& [path, file] : disk_) {
            if (!fs::exists(path)) {
                different.insert(path.filename());
            }
        }
        RC_ASSERT(different == std::set<fs::path>{});

        const ModelState& state = current();
        RC_ASSERT(editor_->document().sameContent(state.work.document));
        RC_ASSERT(editor_->document().cursor() == state.work.document.cursor());
        RC_ASSERT(editor_->localization() == state.work.localization);
        RC_ASSERT(window_->isChecked(ids::kFirstLocalizationRadio + state.work.localization));
        RC_ASSERT(window_->text(ids::kSaveTargetLabel) == filesOf(state).eep.filename().string());
        RC_ASSERT(editor_->hasUnsavedChanges() == unsaved());
        RC_ASSERT(window_->questions.size() == expectedQuestions_);
        RC_ASSERT(window_->messages.size() == expectedMessages_);

        std::vector<fs::path> copies;
        for (const auto& entry : fs::directory_iterator(recoveryFolder_)) {
            copies.push_back(entry.path());
        }
        RC_ASSERT(copies.size() == (unsaved() ? 1u : 0u));
        if (unsaved()) {
            RC_ASSERT(copies[0].filename() == copyName(run_) + ".recovery");
            RC_ASSERT(bytesOf(copies[0]) ==
                      recoveryCopyText(imageOf(state.work), filesOf(state), !state.own));
        }
    }

  private:
    ModelState& current() { return timeline_[now_]; }
    const ModelState& current() const { return timeline_[now_]; }
    bool unsaved() const { return current().saved != current().work; }

    ImageFilePaths fixedFiles(int localization) const {
        return {work_ / eepFileName(localizations_, localization), work_ / kBinFileName};
    }
    ImageFilePaths filesOf(const ModelState& state) const {
        return state.own ? imageFilesBeside(*state.own) : fixedFiles(state.work.localization);
    }
    EepromImage imageOf(const Content& content) const {
        return buildEepromImage(content.document, localizations_, content.localization, kToday);
    }
    static std::string copyName(int run) { return "run" + std::to_string(run); }

    // A step is made only by a change of the cells, Fields, styles, Localization or files.
    void step(const ModelState& next) {
        timeline_.resize(now_ + 1);
        timeline_.push_back(next);
        ++now_;
    }
    template <typename Change>
    void edit(Change change) {
        ModelState next = current();
        change(next.work.document);
        if (next.work.document.sameContent(current().work.document)) {
            current().work.document = next.work.document;  // the cursor moved, nothing else
        } else {
            step(next);
        }
    }
    void takeIn() {
        for (const char c : pending_) {
            edit([c](SkinDocument& d) { d.putCharacter(typedCharCode(std::string_view(&c, 1))); });
        }
        pending_.clear();
    }

    // A write changes what counts as saved for every step that belongs where it wrote.
    void write(const ImageFilePaths& files, const Content& content) {
        const EepromImage image = imageOf(content);
        disk_[files.eep] = {eepFileText(image), content};
        disk_[files.bin] = {std::string(image.begin(), image.end()), std::nullopt};
        for (ModelState& state : timeline_) {
            if (filesOf(state).eep == files.eep) {
                state.saved = content;
            }
        }
    }
    void open(const fs::path& file, bool ownFiles) {
        const auto found = disk_.find(file);
        expectedMessages_ = found == disk_.end() || !found->second.design ? 1 : 0;
        if (expectedMessages_ == 0) {
            ModelState next{*found->second.design, std::nullopt, 0, std::nullopt};
            next.work.document.setCursor(kFirstCell);
            if (ownFiles) {
                next.own = file;
            }
            if (filesOf(next).eep == file) {
                next.saved = next.work;
            }
            if (next.work == current().work && next.own == current().own) {
                current().saved = next.saved ? next.saved : current().saved;
            } else {
                next.session = ++sessions_;
                step(next);
            }
        }
        current().work.document.setCursor(kFirstCell);
    }
    void saveAs(const fs::path& chosen, bool replace) {
        const ImageFilePaths files = imageFilesBeside(chosen);
        expectedQuestions_ = disk_.count(files.eep) || disk_.count(files.bin) ? 1 : 0;
        if (expectedQuestions_ == 0 || replace) {
            for (ModelState& state : timeline_) {
                state.own = state.session == current().session ? files.eep : state.own;
            }
            write(files, current().work);
        }
    }

    // A new start after the end or a forced end: the copy of unsaved work left by the latter is
    // offered, and `takeBack` answers.
    void restart(bool killed, bool takeBack = false) {
        const bool offered = killed && run_ > 0 && unsaved();
        const ModelState left = run_ > 0 ? current() : ModelState{};
        editor_.reset();
        ++run_;
        window_ = std::make_unique<FakeWindow>();
        keeper_ = std::make_unique<ImmediateRecoveryKeeper>(
            RecoveryFolder(recoveryFolder_, copyName(run_),
                           [this](const std::string& name) { return name == copyName(run_); }));
        editor_ =
            std::make_unique<EditorController>(*window_, clock_, work_, fs::path(), keeper_.get());
        editor_->start();
        window_->pump(*editor_);
        window_->messages.clear();  // no Facetor.ini
        window_->yes = takeBack;
        editor_->offerRecoveredWork();
        SkinDocument empty;
        empty.clearAll();
        timeline_ = {ModelState{{empty, 1}, std::nullopt, 0, Content{empty, 1}}};
        now_ = 0;
        expectedQuestions_ = offered ? 1 : 0;
        if (offered) {
            RC_ASSERT(window_->questions.size() == 1u);
            RC_ASSERT(window_->questions[0].text.rfind("Восстановить несохранённую работу?", 0) ==
                      0);
        }
        if (offered && takeBack) {
            ModelState back{left.work, left.own, ++sessions_, std::nullopt};
            back.work.document.setCursor(kFirstCell);
            if (back.work == current().work && back.own == current().own) {
                current().work.document.setCursor(kFirstCell);
            } else {
                step(back);
            }
        }
    }

    // Thousands of files are written: in memory, where the system has a file system there.
    TempFolder root_{fs::is_directory("/dev/shm") ? fs::path("/dev/shm")
                                                  : fs::temp_directory_path()};
    const fs::path startFolder_ = fs::current_path();
    const fs::path work_ = fs::canonical(root_.path()) / "work";
    const fs::path chosen_ = fs::canonical(root_.path()) / "chosen";
    const fs::path recoveryFolder_ = fs::canonical(root_.path()) / "recovery";
    const Localizations localizations_ = [] {
        Localizations l = Localizations::initial();
        applyDefaultSettings(l);
        return l;
    }();
    FakeClock clock_;
    std::unique_ptr<FakeWindow> window_;
    std::unique_ptr<ImmediateRecoveryKeeper> keeper_;
    std::unique_ptr<EditorController> editor_;
    int run_ = 0;
    fs::path cwd_;
    std::string pending_;
    std::map<fs::path, StoredFile> disk_;
    std::vector<ModelState> timeline_{ModelState{}};
    std::size_t now_ = 0;
    int sessions_ = 0;
    std::size_t expectedMessages_ = 0;
    std::size_t expectedQuestions_ = 0;
};

// Seeded, so that a failure replays. RC_PARAMS chooses other runs ("seed=1 max_success=5000"),
// or replays a shrunk failure with the "reproduce=..." it printed.
TEST(WorkModel, FilesChangeOnlyWhereASaveAimsAndTheQuestionComesExactlyForUnsavedWork) {
    const auto property = [] {
        const auto actions = *rc::gen::container<std::vector<Action>>(anAction());
        World world;
        world.check();
        for (const Action& action : actions) {
            world.run(action);
            world.check();
        }
    };
    const rc::detail::TestMetadata metadata{"WorkModel", "sequences of commands"};
    rc::detail::TestParams seeded = rc::detail::configuration().testParams;
    seeded.seed = 20260503;
#ifdef __SANITIZE_ADDRESS__
    seeded.maxSuccess = 300;  // three times slower: the native run covers the thousand
#else
    seeded.maxSuccess = 1000;
#endif
    seeded.maxSize = 50;  // sequences of up to 50 commands
    const auto result = std::getenv("RC_PARAMS")
                            ? rc::detail::checkTestable(property, metadata)
                            : rc::detail::checkTestable(property, metadata, seeded);
    std::ostringstream report;
    rc::detail::printResultMessage(result, report);
    EXPECT_TRUE(result.is<rc::detail::SuccessResult>()) << report.str();
}

}  // namespace
}  // namespace facetor::testing
