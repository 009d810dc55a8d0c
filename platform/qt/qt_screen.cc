#include "platform/qt/qt_screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace kelvo {

ScreenSize PrimaryScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {1024, 768};
    }
    const QSize size = screen->size();
    return {size.width(), size.height()};
}

}  // namespace kelvo
