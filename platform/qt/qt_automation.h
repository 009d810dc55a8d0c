#pragma once

#include <memory>

#include "platform/automation.h"

namespace kelvo {

/// Keys, mouse and screen for the automation command: XTest when the program runs on an X11
/// display, otherwise (Wayland, offscreen) a service that is not available.
std::unique_ptr<Automation> MakeDesktopAutomation();

/// The automation of a desktop without input synthesis: not available, does nothing; the
/// screen is the primary screen and the pointer where Qt last saw it.
class UnavailableAutomation final : public Automation {
  public:
    bool Available() override { return false; }
    bool EscapePressed() override { return false; }
    void KeyDown(int /*virtualKey*/) override {}
    void KeyUp(int /*virtualKey*/) override {}
    void MoveCursor(int /*x*/, int /*y*/) override {}
    /// The pointer as Qt knows it (on Wayland only over the program's own windows).
    std::optional<ScreenPoint> CursorPosition() override;
    void MouseButtonEvent(MouseButton /*button*/, bool /*down*/) override {}
    ScreenSize Screen() override;
    PixelColour Pixel(int /*x*/, int /*y*/) override { return {}; }
};

}  // namespace kelvo
