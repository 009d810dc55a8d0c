#include "ui/qt/about_box_view.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/qt/qt_text.h"
#include "shell/version_text.h"
#include "ui/qt/start_window_view.h"

namespace kelvo {

AboutBoxView::AboutBoxView(const AboutBox& about, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(ToQString(about.caption));
    setModal(true);
    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap::fromImage(StartPicture())
                           .scaled(80, 100, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    product_ = new QLabel(ToQString(about.productName), this);
    QFont bold = product_->font();
    bold.setBold(true);
    bold.setPixelSize(16);
    product_->setFont(bold);
    version_ = new QLabel(ToQString(about.version), this);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(product_);
    texts->addWidget(version_);
    texts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(texts);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    adjustSize();
    setFixedSize(sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

}  // namespace kelvo
