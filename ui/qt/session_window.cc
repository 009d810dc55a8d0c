#include "ui/qt/session_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "ui/qt/design_scale.h"

namespace kelvo {
namespace {

constexpr int kMinimumWidth = 142;
constexpr int kHeight = 90;

}  // namespace

SessionWindowView::SessionWindowView(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Vorgangsfenster"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    const DesignScale scale;
    setFont(scale.System(13));
    label_ = new QLabel(QStringLiteral("Bearbeitung läuft !"), this);
    label_->setTextFormat(Qt::PlainText);
    label_->move(8, 16);
    label_->adjustSize();
    abort_ = new QPushButton(QStringLiteral("Abbruch"), this);
    abort_->setGeometry(16, 48, 105, 33);
    abort_->setAutoDefault(false);
    setFixedSize(std::max(kMinimumWidth, label_->x() + label_->width() + 8), kHeight);
    move(50, 50);
}

void SessionWindowView::SetStatusText(const QString& text) {
    label_->setText(text);
    label_->adjustSize();
    setFixedSize(std::max(kMinimumWidth, label_->x() + label_->width() + 8), kHeight);
}

void SessionWindowView::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    painted_ = true;
}

void SessionWindowView::closeEvent(QCloseEvent* event) {
    event->ignore();
    abort_->click();
}

}  // namespace kelvo
