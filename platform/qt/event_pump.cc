#include "platform/qt/event_pump.h"

#include <QCoreApplication>

namespace kelvo {

void EventPump::Pump() {
    if (last_.isValid() && last_.elapsed() < interval_) {
        return;
    }
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    last_.restart();
}

}  // namespace kelvo
