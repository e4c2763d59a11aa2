// Undo and redo: the document as it was before each editing step, and as it was before each
// undo. A whole document is well under a kilobyte, so each step keeps a full copy.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>

#include "editor/model/skin_document.h"
#include "editor/ui/save_target.h"

namespace facetor {

// What an opening changes beside the content: the radio buttons and where the work belongs.
struct OpeningState {
    int localization;
    WorkFiles files;
};

struct DocumentSnapshot {
    SkinDocument document;  // cells, Fields, styles and the cursor
    // Kept only for the opening of a file, the one step that switches the radio buttons and
    // moves the work to another file: undoing it takes the work back where it belonged.
    std::optional<OpeningState> opening;
};

class EditHistory {
  public:
    static constexpr std::size_t kStepLimit = 1000;

    // A step was made from `before`; whatever could be redone is dropped. The oldest step goes
    // once more than kStepLimit are kept.
    void record(const DocumentSnapshot& before);
    // Takes back the last step: `current` becomes redoable, the result is what to restore. Give
    // `current` the Localization and files of now; they are kept only where the step was an
    // opening.
    std::optional<DocumentSnapshot> undo(DocumentSnapshot current);
    // Puts the last undone step back: `current` becomes undoable again.
    std::optional<DocumentSnapshot> redo(DocumentSnapshot current);

    bool canUndo() const { return !undoable_.empty(); }
    bool canRedo() const { return !redoable_.empty(); }
    std::size_t undoSteps() const { return undoable_.size(); }

  private:
    static std::optional<DocumentSnapshot> moveStep(std::deque<DocumentSnapshot>& from,
                                                    std::deque<DocumentSnapshot>& to,
                                                    DocumentSnapshot current);

    std::deque<DocumentSnapshot> undoable_;
    std::deque<DocumentSnapshot> redoable_;
};

}  // namespace facetor
