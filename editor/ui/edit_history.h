// Undo and redo: the work as it was before each editing step, and as it was before each undo.
// A whole document is well under a kilobyte, so each step keeps a full copy.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>

#include "editor/model/skin_document.h"
#include "editor/ui/save_target.h"

namespace facetor {

// What a file holds, as far as the editor is concerned: the cells, Fields and styles, and the
// Localization whose weekday names and number the image carries.
struct WorkContent {
    SkinDocument document;
    int localization = 0;
    bool operator==(const WorkContent& other) const {
        return localization == other.localization && document.sameContent(other.document);
    }
};

// The work at one moment: what an undo step restores.
struct WorkState {
    SkinDocument document;  // cells, Fields, styles and the cursor
    int localization = 0;   // the radio button that is on; part of the saved image
    WorkFiles files;        // where the work belongs; none: the fixed names of `localization`
    // Every opening starts a session; "Сохранить как" moves the whole session (all its undo
    // steps) to the chosen files, so undoing a later step does not take the work back.
    int session = 0;
    // What counts as stored where this state belongs: with the same content nothing is left to
    // save. Null when nothing does (a design read from somewhere else). Shared: most steps of
    // a session point to the same.
    std::shared_ptr<const WorkContent> saved;

    WorkContent content() const { return {document, localization}; }
    bool isSaved() const { return saved && *saved == content(); }
};

class EditHistory {
  public:
    static constexpr std::size_t kStepLimit = 1000;

    // A step was made from `before`; whatever could be redone is dropped. The oldest step goes
    // once more than kStepLimit are kept.
    void record(const WorkState& before);
    // Takes back the last step: `current` becomes redoable, the result is what to restore.
    std::optional<WorkState> undo(WorkState current);
    // Puts the last undone step back: `current` becomes undoable again.
    std::optional<WorkState> redo(WorkState current);

    bool canUndo() const { return !undoable_.empty(); }
    bool canRedo() const { return !redoable_.empty(); }
    std::size_t undoSteps() const { return undoable_.size(); }

    // Every kept state, undoable and redoable: a save changes what counts as saved for all that
    // belong where it wrote.
    template <typename Change>
    void forEachState(Change&& change) {
        for (WorkState& state : undoable_) {
            change(state);
        }
        for (WorkState& state : redoable_) {
            change(state);
        }
    }

  private:
    static std::optional<WorkState> moveStep(std::deque<WorkState>& from, std::deque<WorkState>& to,
                                             WorkState current);

    std::deque<WorkState> undoable_;
    std::deque<WorkState> redoable_;
};

}  // namespace facetor
