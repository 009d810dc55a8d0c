#include "ui/qt/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace kelvo {
namespace {

constexpr int kSize = 64;

QString ThemeName(ToolIcon icon) {
    switch (icon) {
        case ToolIcon::Stop:
            return QStringLiteral("process-stop");
        case ToolIcon::Print:
            return QStringLiteral("document-print");
        case ToolIcon::Database:
            return QStringLiteral("x-office-spreadsheet");
        case ToolIcon::Forward:
            return QStringLiteral("go-next");
        case ToolIcon::Copy:
            return QStringLiteral("edit-copy");
        case ToolIcon::Paste:
            return QStringLiteral("edit-paste");
        case ToolIcon::Play:
            return QStringLiteral("media-playback-start");
        case ToolIcon::NewFile:
            return QStringLiteral("document-new");
        case ToolIcon::OpenFile:
            return QStringLiteral("document-open");
        case ToolIcon::CloseFile:
            return QStringLiteral("window-close");
        case ToolIcon::Edit:
            return QStringLiteral("accessories-text-editor");
        case ToolIcon::Start:
            return QStringLiteral("system-run");
        case ToolIcon::Help:
            return QStringLiteral("help-browser");
        case ToolIcon::First:
            return QStringLiteral("go-top");
        case ToolIcon::Previous:
            return QStringLiteral("go-up");
        case ToolIcon::Next:
            return QStringLiteral("go-down");
        case ToolIcon::Last:
            return QStringLiteral("go-bottom");
    }
    return {};
}

void Page(QPainter& p, const QRectF& r) {
    p.setPen(QPen(QColor(60, 60, 60), 3));
    p.setBrush(Qt::white);
    p.drawRect(r);
}

void Arrow(QPainter& p, bool down, bool bar, QColor colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPolygonF triangle;
    if (down) {
        triangle << QPointF(12, 18) << QPointF(52, 18) << QPointF(32, 46);
    } else {
        triangle << QPointF(12, 46) << QPointF(52, 46) << QPointF(32, 18);
    }
    p.drawPolygon(triangle);
    if (bar) {
        p.drawRect(down ? QRectF(12, 48, 40, 6) : QRectF(12, 10, 40, 6));
    }
}

void Draw(QPainter& p, ToolIcon icon) {
    const QColor green(30, 140, 50);
    switch (icon) {
        case ToolIcon::Stop: {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(200, 30, 30));
            p.drawEllipse(QRectF(6, 6, 52, 52));
            p.setPen(QPen(Qt::white, 8, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(22, 22), QPointF(42, 42));
            p.drawLine(QPointF(42, 22), QPointF(22, 42));
            break;
        }
        case ToolIcon::Print:
            Page(p, QRectF(18, 6, 28, 22));
            p.setPen(QPen(QColor(60, 60, 60), 3));
            p.setBrush(QColor(150, 150, 160));
            p.drawRoundedRect(QRectF(6, 26, 52, 24), 4, 4);
            Page(p, QRectF(18, 42, 28, 16));
            break;
        case ToolIcon::Database: {
            p.setPen(QPen(QColor(40, 70, 140), 3));
            p.setBrush(QColor(210, 225, 250));
            p.drawRect(QRectF(8, 8, 48, 48));
            for (int y = 20; y < 56; y += 12) {
                p.drawLine(QPointF(8, y), QPointF(56, y));
            }
            p.drawLine(QPointF(26, 8), QPointF(26, 56));
            break;
        }
        case ToolIcon::Forward:
        case ToolIcon::Play:
        case ToolIcon::Start: {
            p.setPen(Qt::NoPen);
            p.setBrush(icon == ToolIcon::Play ? QColor(40, 90, 180) : green);
            QPolygonF triangle;
            triangle << QPointF(16, 8) << QPointF(56, 32) << QPointF(16, 56);
            p.drawPolygon(triangle);
            if (icon == ToolIcon::Forward) {
                p.drawRect(QRectF(4, 24, 14, 16));
            }
            break;
        }
        case ToolIcon::Copy:
            Page(p, QRectF(8, 6, 32, 40));
            Page(p, QRectF(24, 18, 32, 40));
            break;
        case ToolIcon::Paste:
            p.setPen(QPen(QColor(90, 60, 30), 3));
            p.setBrush(QColor(200, 160, 100));
            p.drawRoundedRect(QRectF(8, 8, 40, 50), 4, 4);
            Page(p, QRectF(22, 22, 34, 38));
            break;
        case ToolIcon::NewFile:
            Page(p, QRectF(14, 4, 36, 56));
            p.setPen(QPen(green, 5));
            p.drawLine(QPointF(32, 22), QPointF(32, 42));
            p.drawLine(QPointF(22, 32), QPointF(42, 32));
            break;
        case ToolIcon::OpenFile:
        case ToolIcon::CloseFile:
            p.setPen(QPen(QColor(120, 90, 20), 3));
            p.setBrush(QColor(240, 200, 90));
            p.drawRect(QRectF(6, 16, 52, 38));
            p.drawRect(QRectF(6, 10, 20, 8));
            if (icon == ToolIcon::CloseFile) {
                p.setPen(QPen(QColor(200, 30, 30), 6, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(22, 26), QPointF(42, 46));
                p.drawLine(QPointF(42, 26), QPointF(22, 46));
            }
            break;
        case ToolIcon::Edit:
            Page(p, QRectF(8, 4, 36, 56));
            p.setPen(QPen(QColor(60, 60, 60), 2));
            for (int y = 16; y < 50; y += 8) {
                p.drawLine(QPointF(14, y), QPointF(38, y));
            }
            p.setPen(QPen(QColor(220, 140, 20), 7, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(30, 52), QPointF(56, 20));
            break;
        case ToolIcon::Help: {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(40, 90, 180));
            p.drawEllipse(QRectF(6, 6, 52, 52));
            QFont font;
            font.setPixelSize(40);
            font.setBold(true);
            p.setFont(font);
            p.setPen(Qt::white);
            p.drawText(QRectF(6, 6, 52, 52), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
        case ToolIcon::First:
            Arrow(p, false, true, QColor(40, 90, 180));
            break;
        case ToolIcon::Previous:
            Arrow(p, false, false, QColor(40, 90, 180));
            break;
        case ToolIcon::Next:
            Arrow(p, true, false, QColor(40, 90, 180));
            break;
        case ToolIcon::Last:
            Arrow(p, true, true, QColor(40, 90, 180));
            break;
    }
}

}  // namespace

QIcon OwnToolIcon(ToolIcon icon) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    Draw(painter, icon);
    painter.end();
    return QIcon(pixmap);
}

QIcon ToolIconFor(ToolIcon icon) {
    return QIcon::fromTheme(ThemeName(icon), OwnToolIcon(icon));
}

}  // namespace kelvo
