#pragma once

#include "platform/automation.h"

namespace kelvo {

/// True when the program's windows are on an X11 display (not Wayland, not offscreen): only
/// there can keys and mouse clicks be synthesised for other programs.
bool RunsOnX11();

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
