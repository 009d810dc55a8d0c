#include "ui/qt/explanation_view.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

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
    resize(scale(kWidth), scale(kHeight));
    text_->setFocus();
}

}  // namespace kelvo
