#pragma once

// Answering modal windows in tests: a modal window runs its own event loop, so the test acts
// on it from a timer of that loop.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace kelvo {

/// Runs `act` once the topmost modal window is a T (checked every 10 ms). After `limitMs`
/// without one it gives up and rejects every modal window, so a test fails instead of hanging.
template <class T>
void OnModal(std::function<void(T*)> act, int limitMs = 5000) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, act, waited, limitMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (T* window = qobject_cast<T*>(modal)) {
            timer->stop();
            timer->deleteLater();
            act(window);
            return;
        }
        *waited += 10;
        if (*waited > limitMs) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal window of the expected kind appeared";
            while (QWidget* open = QApplication::activeModalWidget()) {
                open->close();
                open->hide();
            }
        }
    });
    timer->start();
}

/// The push button of `window` whose text, without "&", is `text`; null when there is none.
inline QPushButton* ButtonWithText(QWidget* window, const QString& text) {
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        QString shown = button->text();
        shown.remove(QLatin1Char('&'));
        if (shown == text) {
            return button;
        }
    }
    return nullptr;
}

}  // namespace kelvo
