#include "ui/qt/explanation_view.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/qt_text.h"

namespace kelvo {

ExplanationView::ExplanationView(const std::vector<std::string>& lines, const DesignScale& scale,
                                 QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Begründung"));
    setModal(true);
    setSizeGripEnabled(true);

    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(scale.Courier(12, 7.0));
    // Read-only text keeps its own caret keys for scrolling, but not the Tab and Escape keys.
    text_->setTabChangesFocus(true);
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) {
        shown.append(ToQString(line));
    }
    text_->setPlainText(shown.join(QLatin1Char('\n')));

    close_ = new QPushButton(QStringLiteral("Schließen"), this);
    close_->setFont(scale.Sans(12));
    close_->setDefault(true);
    // As large as the inspector's buttons, so that the caption has room at every scale.
    close_->setMinimumSize(scale(120), scale(31));
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(buttons);
    resize(OpeningSize(shown, scale));
    text_->setFocus();
}

QSize ExplanationView::OpeningSize(const QStringList& shown, const DesignScale& scale) const {
    // Wide and tall enough for the whole tree where the screen has room, never smaller than the
    // design size, and at most nine tenths of the screen; the rest scrolls.
    const QFontMetrics metrics(text_->font());
    int widest = 0;
    for (const QString& line : shown) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    const int frame =
        2 * text_->frameWidth() + 2 * static_cast<int>(text_->document()->documentMargin());
    const int scrollBar = text_->verticalScrollBar()->sizeHint().width();
    const QMargins margins = layout()->contentsMargins();
    const int wantedWidth = widest + frame + scrollBar + margins.left() + margins.right();
    const int wantedHeight = static_cast<int>(shown.size()) * metrics.lineSpacing() + frame +
                             scrollBar + margins.top() + margins.bottom() + layout()->spacing() +
                             close_->minimumHeight();
    const QScreen* screen =
        parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen != nullptr ? screen->availableGeometry().size() * 9 / 10
                                         : QSize(scale(kWidth), scale(kHeight));
    return {std::max(scale(kWidth), std::min(wantedWidth, room.width())),
            std::max(scale(kHeight), std::min(wantedHeight, room.height()))};
}

}  // namespace kelvo
