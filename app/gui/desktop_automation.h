#pragma once

#include <memory>

#include "platform/automation.h"

namespace kelvo {

/// Keys, mouse and screen for the automation command: XTest when the program's windows are on
/// an X11 display that has it, otherwise (Wayland, offscreen) a service that is not available.
std::unique_ptr<Automation> MakeDesktopAutomation();

}  // namespace kelvo
