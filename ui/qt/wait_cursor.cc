#include "ui/qt/wait_cursor.h"

#include <QApplication>

namespace kelvo {

void WaitCursor::Set(CursorShape shape) {
    const bool hourglass = shape == CursorShape::Hourglass;
    if (hourglass == hourglass_) {
        return;
    }
    hourglass_ = hourglass;
    if (hourglass) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace kelvo
