#include "editor/ui/control_cache.h"

namespace facetor {

void ControlCache::setText(int controlId, std::string_view utf8) {
    auto [entry, inserted] = texts_.try_emplace(controlId, utf8);
    if (!inserted) {
        if (entry->second == utf8) {
            return;
        }
        entry->second = utf8;
    }
    window_.setText(controlId, utf8);
}

void ControlCache::setBackground(int controlId, Rgb colour) {
    auto [entry, inserted] = colours_.try_emplace(controlId, colour);
    if (!inserted) {
        if (entry->second == colour) {
            return;
        }
        entry->second = colour;
    }
    window_.setBackground(controlId, colour);
}

void ControlCache::setEnabled(int controlId, bool enabled) {
    auto [entry, inserted] = enabled_.try_emplace(controlId, enabled);
    if (!inserted) {
        if (entry->second == enabled) {
            return;
        }
        entry->second = enabled;
    }
    window_.setEnabled(controlId, enabled);
}

}  // namespace facetor
