#include "editor/ui/edit_history.h"

#include <utility>

namespace facetor {

namespace {

// The state on the other side of a step switches the radio buttons and the work's files only if
// the step did.
void keepOpeningStateOnlyFor(const DocumentSnapshot& restored, DocumentSnapshot& current) {
    if (!restored.opening) {
        current.opening.reset();
    }
}

}  // namespace

void EditHistory::record(const DocumentSnapshot& before) {
    undoable_.push_back(before);
    if (undoable_.size() > kStepLimit) {
        undoable_.pop_front();
    }
    redoable_.clear();
}

std::optional<DocumentSnapshot> EditHistory::undo(DocumentSnapshot current) {
    return moveStep(undoable_, redoable_, std::move(current));
}

std::optional<DocumentSnapshot> EditHistory::redo(DocumentSnapshot current) {
    return moveStep(redoable_, undoable_, std::move(current));
}

// The last state of `from` is restored; `current` goes onto `to`, whence it can be restored back.
std::optional<DocumentSnapshot> EditHistory::moveStep(std::deque<DocumentSnapshot>& from,
                                                      std::deque<DocumentSnapshot>& to,
                                                      DocumentSnapshot current) {
    if (from.empty()) {
        return std::nullopt;
    }
    DocumentSnapshot restored = from.back();
    from.pop_back();
    keepOpeningStateOnlyFor(restored, current);
    to.push_back(std::move(current));
    return restored;
}

}  // namespace facetor
