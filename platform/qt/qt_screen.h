#pragma once

#include "platform/automation.h"

namespace kelvo {

/// The primary screen's size in device-independent pixels; 1024 x 768 when there is no
/// screen.
ScreenSize PrimaryScreenSize();

}  // namespace kelvo
