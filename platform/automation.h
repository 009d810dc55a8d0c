#pragma once

#include <cstdint>
#include <optional>

namespace kelvo {

enum class MouseButton { Left, Right, Middle };

/// A screen size in pixels.
struct ScreenSize {
    int width = 0;
    int height = 0;
};

/// A point of the screen in pixels.
struct ScreenPoint {
    int x = 0;
    int y = 0;
};

/// A pixel colour, each component 0 to 255.
struct PixelColour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

/// Synthesised keyboard and mouse input, and the screen, for the automation command. Keys are
/// Windows virtual-key codes (65 "A", 112 "F1", 16 shift ...); each desktop maps them to its
/// own keys for a German keyboard. Events go to whatever window has the input focus.
class Automation {
  public:
    virtual ~Automation() = default;

    /// False when this desktop cannot synthesise input (no X display); then every other call
    /// does nothing and reports nothing.
    virtual bool Available() = 0;
    /// True when the Escape key was pressed since the last query (or is pressed now).
    virtual bool EscapePressed() = 0;
    virtual void KeyDown(int virtualKey) = 0;
    virtual void KeyUp(int virtualKey) = 0;
    /// Moves the mouse cursor to the screen point (x, y).
    virtual void MoveCursor(int x, int y) = 0;
    /// Where the mouse cursor is, in screen coordinates; nothing when this desktop cannot tell.
    virtual std::optional<ScreenPoint> CursorPosition() = 0;
    /// Presses or releases a mouse button at the cursor position.
    virtual void MouseButtonEvent(MouseButton button, bool down) = 0;
    virtual ScreenSize Screen() = 0;
    /// The colour of the screen pixel at (x, y); black outside the screen.
    virtual PixelColour Pixel(int x, int y) = 0;

    /// True the first time it is asked after construction or ResetUnavailableNotice: the
    /// automation command says once per consultation that input synthesis is unavailable.
    bool TakeUnavailableNotice() {
        const bool due = !unavailableNoticed_;
        unavailableNoticed_ = true;
        return due;
    }
    /// Called before each consultation.
    void ResetUnavailableNotice() { unavailableNoticed_ = false; }

  private:
    bool unavailableNoticed_ = false;
};

}  // namespace kelvo
