#pragma once

#include <memory>
#include <string>

#include "platform/automation.h"

namespace kelvo {

/// Keys and mouse through the XTest extension, the screen through the root window of an X11
/// display. Without a display (or without XTest) it is unavailable and does nothing.
class X11Automation final : public Automation {
  public:
    /// Connects to `displayName`, or to $DISPLAY when it is empty.
    explicit X11Automation(const std::string& displayName = "");
    ~X11Automation() override;
    X11Automation(const X11Automation&) = delete;
    X11Automation& operator=(const X11Automation&) = delete;

    bool Available() override;
    bool EscapePressed() override;
    void KeyDown(int virtualKey) override { Key(virtualKey, true); }
    void KeyUp(int virtualKey) override { Key(virtualKey, false); }
    void MoveCursor(int x, int y) override;
    std::optional<ScreenPoint> CursorPosition() override;
    void MouseButtonEvent(MouseButton button, bool down) override;
    ScreenSize Screen() override;
    PixelColour Pixel(int x, int y) override;

  private:
    struct Connection;
    void Key(int virtualKey, bool down);

    std::unique_ptr<Connection> connection_;
};

}  // namespace kelvo
