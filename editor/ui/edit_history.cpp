#include "editor/ui/edit_history.h"

#include <utility>

namespace facetor {

void EditHistory::record(const WorkState& before) {
    undoable_.push_back(before);
    if (undoable_.size() > kStepLimit) {
        undoable_.pop_front();
    }
    redoable_.clear();
}

std::optional<WorkState> EditHistory::undo(WorkState current) {
    return moveStep(undoable_, redoable_, std::move(current));
}

std::optional<WorkState> EditHistory::redo(WorkState current) {
    return moveStep(redoable_, undoable_, std::move(current));
}

// The last state of `from` is restored; `current` goes onto `to`, whence it can be restored back.
std::optional<WorkState> EditHistory::moveStep(std::deque<WorkState>& from,
                                               std::deque<WorkState>& to, WorkState current) {
    if (from.empty()) {
        return std::nullopt;
    }
    WorkState restored = std::move(from.back());
    from.pop_back();
    to.push_back(std::move(current));
    return restored;
}

}  // namespace facetor
