#pragma once

#include <span>
#include <string_view>

namespace kelvo {

/// What kind of control a component of the editor window is.
enum class EditorComponentKind {
    Label,
    Edit,
    ScrollBar,
    Button,
    PictureButton,
    CheckBox,
    FileDialog,
};

/// One component of the editor window as designed, before scaling. Captions are
/// Windows-1252; a width or height of -1 means the control sizes itself (a label).
struct EditorComponent {
    std::string_view name;
    EditorComponentKind kind;
    std::string_view caption;
    int left = 0;
    int top = 0;
    int width = -1;
    int height = -1;
    /// The font when it is not the window's own; empty otherwise.
    std::string_view font;
    int fontPixels = 0;
    bool bold = false;
};

/// Every component of the editor window, in the order of its design table.
std::span<const EditorComponent> EditorComponents();

/// The component of that name; nullptr for any other name.
const EditorComponent* FindEditorComponent(std::string_view name);

/// The editor window's caption ("Editor") and design size of its client area.
inline constexpr std::string_view kEditorCaption = "Editor";
inline constexpr int kEditorClientWidth = 644;
inline constexpr int kEditorClientHeight = 382;

/// A window rectangle in screen pixels.
struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

/// The scale step of the editor window on a screen of that size.
struct EditorScale {
    /// The factor every component is scaled by once.
    double factor = 1.0;
    /// The window's place and size after scaling.
    WindowRect window;
};

/// FormCreate's placing: left 25, top 10, 650 x 420; on a screen of at least 800 x 600 the
/// window becomes 650 x 400; then the largest step the screen reaches scales it
/// (0.97 below 800 x 600, 1.144, 1.4286, 1.9, 1.9).
EditorScale EditorScaleFor(int screenWidth, int screenHeight);

}  // namespace kelvo
