#include "platform/x11/x11_automation.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "platform/x11/x11_key_symbols.h"

namespace kelvo {

struct X11Automation::Connection {
    Display* display = nullptr;
};

X11Automation::X11Automation(const std::string& displayName)
    : connection_(std::make_unique<Connection>()) {
    Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (display == nullptr) {
        return;
    }
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(display);
        return;
    }
    connection_->display = display;
}

X11Automation::~X11Automation() {
    if (connection_->display != nullptr) {
        XCloseDisplay(connection_->display);
    }
}

bool X11Automation::Available() {
    return connection_->display != nullptr;
}

bool X11Automation::EscapePressed() {
    Display* display = connection_->display;
    if (display == nullptr) {
        return false;
    }
    // X11 keeps no "pressed since the last query" state: the key is looked at as it is now.
    const KeyCode escape = XKeysymToKeycode(display, XK_Escape);
    if (escape == 0) {
        return false;
    }
    char keys[32] = {};
    XQueryKeymap(display, keys);
    return (static_cast<unsigned char>(keys[escape / 8]) & (1u << (escape % 8))) != 0;
}

void X11Automation::Key(int virtualKey, bool down) {
    Display* display = connection_->display;
    const unsigned long symbol = KeySymbolFor(virtualKey);
    if (display == nullptr || symbol == 0) {
        return;
    }
    const KeyCode code = XKeysymToKeycode(display, symbol);
    if (code == 0) {
        return;  // a key the keyboard layout does not have
    }
    XTestFakeKeyEvent(display, code, down ? True : False, CurrentTime);
    XFlush(display);
}

void X11Automation::MoveCursor(int x, int y) {
    Display* display = connection_->display;
    if (display == nullptr) {
        return;
    }
    XTestFakeMotionEvent(display, DefaultScreen(display), x, y, CurrentTime);
    XFlush(display);
}

std::optional<ScreenPoint> X11Automation::CursorPosition() {
    Display* display = connection_->display;
    if (display == nullptr) {
        return std::nullopt;
    }
    Window root = 0;
    Window child = 0;
    ScreenPoint point;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child, &point.x, &point.y,
                       &windowX, &windowY, &buttons)) {
        return std::nullopt;  // the pointer is on another screen
    }
    return point;
}

void X11Automation::MouseButtonEvent(MouseButton button, bool down) {
    Display* display = connection_->display;
    if (display == nullptr) {
        return;
    }
    const unsigned int number = button == MouseButton::Left     ? 1u
                                : button == MouseButton::Middle ? 2u
                                                                : 3u;
    XTestFakeButtonEvent(display, number, down ? True : False, CurrentTime);
    XFlush(display);
}

ScreenSize X11Automation::Screen() {
    Display* display = connection_->display;
    if (display == nullptr) {
        return {};
    }
    const int screen = DefaultScreen(display);
    return {DisplayWidth(display, screen), DisplayHeight(display, screen)};
}

PixelColour X11Automation::Pixel(int x, int y) {
    Display* display = connection_->display;
    const ScreenSize size = Screen();
    if (display == nullptr || x < 0 || y < 0 || x >= size.width || y >= size.height) {
        return {};
    }
    const int screen = DefaultScreen(display);
    XImage* image = XGetImage(display, RootWindow(display, screen), x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return {};
    }
    XColor colour{};
    colour.pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    XQueryColor(display, DefaultColormap(display, screen), &colour);
    return {colour.red >> 8, colour.green >> 8, colour.blue >> 8};
}

}  // namespace kelvo
