#pragma once

#include "platform/session_windows.h"

namespace kelvo {

/// The hourglass over every window of the program, set and taken back through Qt's override
/// cursor. Setting the shape it already shows does nothing, so the override stack never grows.
class WaitCursor {
  public:
    void Set(CursorShape shape);

  private:
    bool hourglass_ = false;
};

}  // namespace kelvo
