#include "platform/qt/qt_automation.h"

#include <QCursor>
#include <QGuiApplication>

#include "platform/qt/qt_screen.h"
#include "platform/x11/x11_automation.h"

namespace kelvo {

std::unique_ptr<Automation> MakeDesktopAutomation() {
    if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
        auto x11 = std::make_unique<X11Automation>();
        if (x11->Available()) {
            return x11;
        }
    }
    return std::make_unique<UnavailableAutomation>();
}

std::optional<ScreenPoint> UnavailableAutomation::CursorPosition() {
    const QPoint position = QCursor::pos();
    return ScreenPoint{position.x(), position.y()};
}

ScreenSize UnavailableAutomation::Screen() {
    return PrimaryScreenSize();
}

}  // namespace kelvo
