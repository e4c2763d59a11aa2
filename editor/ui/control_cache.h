// Writes texts, colours and enabled states to the window only when they differ from what was
// last written, so that refreshing ten times a second costs little and does not flicker.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "editor/ui/window_ops.h"

namespace facetor {

class ControlCache {
  public:
    explicit ControlCache(WindowOps& window) : window_(window) {}

    // Only for controls whose state nothing but the controller changes (not the capture box, not
    // the check box or the radio buttons, which the user changes too).
    void setText(int controlId, std::string_view utf8);
    void setBackground(int controlId, Rgb colour);
    void setEnabled(int controlId, bool enabled);

  private:
    WindowOps& window_;
    std::unordered_map<int, std::string> texts_;
    std::unordered_map<int, Rgb> colours_;
    std::unordered_map<int, bool> enabled_;
};

}  // namespace facetor
