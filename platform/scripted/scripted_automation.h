#pragma once

#include <vector>

#include "platform/automation.h"

namespace kelvo {

class ScriptedPlatform;
class TickSource;

/// A point of the scripted screen with a colour of its own.
struct ScriptedPixel {
    int x = 0;
    int y = 0;
    PixelColour colour;
};

/// The scripted screen: its size, its colours, when Escape is pressed, and whether input
/// synthesis is there at all.
struct ScriptedScreenOptions {
    bool available = true;
    int width = 1024;
    int height = 768;
    /// The colour of every point not listed in `pixels`.
    PixelColour background{255, 255, 255};
    std::vector<ScriptedPixel> pixels;
    /// The Escape key is found pressed at these queries (counted from 1), each once.
    std::vector<int> escapeAtQuery;
};

/// The automation of the scripted platform: every key and mouse event, screen-size and pixel
/// query becomes one event of the platform, stamped with the clock's tick count, so that the
/// pauses between them show:
///   {"event":"key","action":"down"|"up","code":65,"tick":500}
///   {"event":"mouse","action":"move","x":10,"y":20,"tick":...}
///   {"event":"mouse","action":"down"|"up","button":"left"|"right"|"middle","tick":...}
///   {"event":"screen","width":1024,"height":768,"tick":...}
///   {"event":"pixel","x":10,"y":20,"red":0,"green":0,"blue":255,"tick":...}
///   {"event":"escape","tick":...} when a query finds Escape pressed.
class ScriptedAutomation final : public Automation {
  public:
    ScriptedAutomation(ScriptedPlatform& platform, TickSource& ticks,
                       ScriptedScreenOptions options);

    bool Available() override { return options_.available; }
    bool EscapePressed() override;
    void KeyDown(int virtualKey) override { Key("down", virtualKey); }
    void KeyUp(int virtualKey) override { Key("up", virtualKey); }
    void MoveCursor(int x, int y) override;
    /// The scripted pointer: where MoveCursor or SetPointer put it last, (0, 0) at first.
    std::optional<ScreenPoint> CursorPosition() override { return pointer_; }
    void MouseButtonEvent(MouseButton button, bool down) override;
    ScreenSize Screen() override;
    PixelColour Pixel(int x, int y) override;

    /// The user moves the mouse to (x, y); no event is recorded.
    void SetPointer(int x, int y) { pointer_ = {x, y}; }

  private:
    void Key(const char* action, int virtualKey);

    ScriptedPlatform& platform_;
    TickSource& ticks_;
    ScriptedScreenOptions options_;
    int escapeQueries_ = 0;
    ScreenPoint pointer_;
};

}  // namespace kelvo
