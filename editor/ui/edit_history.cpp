#include "editor/ui/edit_history.h"

#include <utility>

namespace facetor {

namespace {

// The state on the other side of a step switches the radio buttons only if the step did.
void keepLocalizationOnlyFor(const DocumentSnapshot& restored, DocumentSnapshot& current) {
    if (!restored.localization) {
        current.localization.reset();
    }
}

}  // namespace

void EditHistory::record(DocumentSnapshot before) {
    undoable_.push_back(std::move(before));
    if (undoable_.size() > kStepLimit) {
        undoable_.pop_front();
    }
    redoable_.clear();
}

std::optional<DocumentSnapshot> EditHistory::undo(DocumentSnapshot current) {
    if (undoable_.empty()) {
        return std::nullopt;
    }
    DocumentSnapshot restored = std::move(undoable_.back());
    undoable_.pop_back();
    keepLocalizationOnlyFor(restored, current);
    redoable_.push_back(std::move(current));
    return restored;
}

std::optional<DocumentSnapshot> EditHistory::redo(DocumentSnapshot current) {
    if (redoable_.empty()) {
        return std::nullopt;
    }
    DocumentSnapshot restored = std::move(redoable_.back());
    redoable_.pop_back();
    keepLocalizationOnlyFor(restored, current);
    undoable_.push_back(std::move(current));
    return restored;
}

}  // namespace facetor
