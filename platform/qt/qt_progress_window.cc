#include "platform/qt/qt_progress_window.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

#include "platform/qt/qt_dialogs.h"

namespace kelvo {

QtProgressWindow::QtProgressWindow(int pumpInterval) : pump_(pumpInterval) {}

QtProgressWindow::~QtProgressWindow() = default;

void QtProgressWindow::Show() {
    clicked_ = false;
    window_ = std::make_unique<QWidget>(DialogParent(),
                                        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    window_->setWindowTitle(QStringLiteral("Vorgangsfenster"));
    window_->setWindowModality(Qt::ApplicationModal);
    window_->setAutoFillBackground(true);
    QPalette palette = window_->palette();
    palette.setColor(QPalette::Window, Qt::white);
    window_->setPalette(palette);
    label_ = new QLabel(QStringLiteral("Bearbeitung läuft !"), window_.get());
    label_->move(8, 16);
    label_->adjustSize();
    bar_ = new QProgressBar(window_.get());
    bar_->setRange(0, 0);  // busy: the length of the work is not known
    bar_->setTextVisible(false);
    bar_->setGeometry(label_->x() + label_->width() + 12, 14, 120, label_->height() + 4);
    button_ = new QPushButton(QStringLiteral("Abbruch"), window_.get());
    button_->setGeometry(16, 48, 105, 33);
    QObject::connect(button_, &QPushButton::clicked, [this] { clicked_ = true; });
    window_->setFixedSize(bar_->x() + bar_->width() + 12, 90);
    window_->show();
    window_->raise();
}

void QtProgressWindow::Close() {
    label_ = nullptr;
    bar_ = nullptr;
    button_ = nullptr;
    window_.reset();
}

bool QtProgressWindow::PumpOneEvent() {
    pump_.Pump();
    const bool clicked = clicked_;
    clicked_ = false;
    return clicked;
}

}  // namespace kelvo
