#include "platform/scripted/scripted_automation.h"

#include <algorithm>
#include <utility>

#include "platform/scripted/scripted_platform.h"

namespace kelvo {

ScriptedAutomation::ScriptedAutomation(ScriptedPlatform& platform, TickSource& ticks,
                                       ScriptedScreenOptions options)
    : platform_(platform), ticks_(ticks), options_(std::move(options)) {}

bool ScriptedAutomation::EscapePressed() {
    ++escapeQueries_;
    const bool pressed = std::find(options_.escapeAtQuery.begin(), options_.escapeAtQuery.end(),
                                   escapeQueries_) != options_.escapeAtQuery.end();
    if (pressed) {
        platform_.Record({{"event", "escape"}, {"tick", ticks_.TickCount()}});
    }
    return pressed;
}

void ScriptedAutomation::Key(const char* action, int virtualKey) {
    platform_.Record(
        {{"event", "key"}, {"action", action}, {"code", virtualKey}, {"tick", ticks_.TickCount()}});
}

void ScriptedAutomation::MoveCursor(int x, int y) {
    pointer_ = {x, y};
    platform_.Record(
        {{"event", "mouse"}, {"action", "move"}, {"x", x}, {"y", y}, {"tick", ticks_.TickCount()}});
}

void ScriptedAutomation::MouseButtonEvent(MouseButton button, bool down) {
    const char* name = button == MouseButton::Left    ? "left"
                       : button == MouseButton::Right ? "right"
                                                      : "middle";
    platform_.Record({{"event", "mouse"},
                      {"action", down ? "down" : "up"},
                      {"button", name},
                      {"tick", ticks_.TickCount()}});
}

ScreenSize ScriptedAutomation::Screen() {
    platform_.Record({{"event", "screen"},
                      {"width", options_.width},
                      {"height", options_.height},
                      {"tick", ticks_.TickCount()}});
    return {options_.width, options_.height};
}

PixelColour ScriptedAutomation::Pixel(int x, int y) {
    PixelColour colour;  // black outside the screen
    if (x >= 0 && y >= 0 && x < options_.width && y < options_.height) {
        colour = options_.background;
        for (const ScriptedPixel& pixel : options_.pixels) {
            if (pixel.x == x && pixel.y == y) {
                colour = pixel.colour;
            }
        }
    }
    platform_.Record({{"event", "pixel"},
                      {"x", x},
                      {"y", y},
                      {"red", colour.red},
                      {"green", colour.green},
                      {"blue", colour.blue},
                      {"tick", ticks_.TickCount()}});
    return colour;
}

}  // namespace kelvo
