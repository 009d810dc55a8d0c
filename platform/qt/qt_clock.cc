#include "platform/qt/qt_clock.h"

#include <QApplication>
#include <QDateTime>
#include <QThread>

namespace kelvo {

QtClock::QtClock() {
    started_.start();
}

LocalDateTime QtClock::Now() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

std::uint32_t QtClock::TickCount() {
    return static_cast<std::uint32_t>(static_cast<quint64>(started_.elapsed()) & 0xFFFFFFFFu);
}

void QtClock::Sleep(std::uint32_t milliseconds) {
    QThread::msleep(milliseconds);
}

void QtClock::Beep() {
    QApplication::beep();
}

}  // namespace kelvo
