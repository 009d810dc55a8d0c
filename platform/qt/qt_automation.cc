#include "platform/qt/qt_automation.h"

#include <QCursor>
#include <QGuiApplication>

#include "platform/qt/qt_screen.h"

namespace kelvo {

bool RunsOnX11() {
    return QGuiApplication::platformName() == QStringLiteral("xcb");
}

std::optional<ScreenPoint> UnavailableAutomation::CursorPosition() {
    const QPoint position = QCursor::pos();
    return ScreenPoint{position.x(), position.y()};
}

ScreenSize UnavailableAutomation::Screen() {
    return PrimaryScreenSize();
}

}  // namespace kelvo
