// The computer's local date and time.
#pragma once

#include "editor/ui/window_ops.h"

namespace facetor::win32 {

class SystemClock : public Clock {
  public:
    LocalDateTime now() const override;
};

}  // namespace facetor::win32
