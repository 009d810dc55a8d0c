#include "ui/qt/start_window_view.h"

#include <QLinearGradient>
#include <QPainter>
#include <QTimer>

#include "shell/start_window.h"

namespace kelvo {

QImage StartPicture() {
    constexpr int kWidth = 200;
    constexpr int kHeight = 250;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0.0, QColor(24, 54, 110));
    sky.setColorAt(1.0, QColor(70, 130, 190));
    p.fillRect(image.rect(), sky);

    // A small rule network: facts at the bottom lead through rules to the goal at the top.
    const QPointF goal(100, 92);
    const QPointF rules[] = {{55, 140}, {145, 140}};
    const QPointF facts[] = {{30, 190}, {80, 190}, {120, 190}, {170, 190}};
    p.setPen(QPen(QColor(230, 230, 240), 2));
    for (const QPointF& rule : rules) {
        p.drawLine(rule, goal);
    }
    for (int i = 0; i < 4; ++i) {
        p.drawLine(facts[i], rules[i / 2]);
    }
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(QColor(250, 200, 60));
    p.drawEllipse(goal, 13, 13);
    p.setBrush(QColor(120, 200, 140));
    for (const QPointF& rule : rules) {
        p.drawEllipse(rule, 10, 10);
    }
    p.setBrush(QColor(200, 220, 250));
    for (const QPointF& fact : facts) {
        p.drawEllipse(fact, 8, 8);
    }

    QFont title;
    title.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    title.setPixelSize(30);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 18, kWidth, 40), Qt::AlignHCenter | Qt::AlignVCenter,
               QStringLiteral("KELVO"));
    QFont subtitle = title;
    subtitle.setPixelSize(13);
    subtitle.setBold(false);
    p.setFont(subtitle);
    p.drawText(QRectF(0, 52, kWidth, 20), Qt::AlignHCenter | Qt::AlignVCenter,
               QStringLiteral("Expertensystem"));
    p.drawText(QRectF(0, 214, kWidth, 24), Qt::AlignHCenter | Qt::AlignVCenter,
               QStringLiteral("Wissen · Regeln · Lösungen"));
    p.setPen(QPen(QColor(255, 255, 255, 120), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1));
    return image;
}

StartWindowView::StartWindowView(TForm4& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), model_(model) {
    setModal(true);
    const WindowRect bounds = model_.Bounds();
    setFixedSize(bounds.width, bounds.height);
    move(bounds.left, bounds.top);
    if (model_.PictureMarked()) {
        picture_ = StartPicture();
    } else {
        setWindowOpacity(0.0);  // the user module's start window is not to be seen
    }
}

void StartWindowView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (!picture_.isNull()) {
        painter.drawImage(rect(), picture_);
    }
    if (!painted_) {
        painted_ = true;
        // What follows the first paint: the wait while the picture shows, then the choice of
        // the knowledge base, then the window closes.
        QTimer::singleShot(0, this, [this] {
            model_.WndProcPaint();
            accept();
        });
    }
}

}  // namespace kelvo
