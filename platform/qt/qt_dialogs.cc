#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

#include "platform/qt/qt_text.h"

namespace kelvo {
namespace {

/// A caption longer than the text would be cut in the title bar: the box is made at least as
/// wide as its caption with the title bar's icon and buttons. Called once the box is set up
/// (setting its icon or buttons lays it out anew).
void WidenForCaption(QMessageBox& box) {
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        QFont titleFont = box.font();
        titleFont.setBold(true);
        const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + 120;
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

}  // namespace

QWidget* DialogParent() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    return QApplication::activeWindow();
}

QString MessageButtonText(MessageAnswer answer) {
    switch (answer) {
        case MessageAnswer::Yes:
            return QStringLiteral("&Ja");
        case MessageAnswer::No:
            return QStringLiteral("&Nein");
        case MessageAnswer::Ok:
            break;
    }
    return QStringLiteral("OK");
}

MessageAnswer QtDialogs::MessageBox(std::string_view text, std::string_view caption,
                                    MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(DialogParent());
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowTitle(ToQString(caption));
    box.setText(MessageToQString(text));
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
        case MessageIcon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MessageIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    if (buttons == MessageButtons::Ok) {
        QPushButton* ok =
            box.addButton(MessageButtonText(MessageAnswer::Ok), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
        WidenForCaption(box);
        box.exec();
        return MessageAnswer::Ok;
    }
    QPushButton* yes = box.addButton(MessageButtonText(MessageAnswer::Yes), QMessageBox::YesRole);
    QPushButton* no = box.addButton(MessageButtonText(MessageAnswer::No), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    WidenForCaption(box);
    box.exec();
    return box.clickedButton() == yes ? MessageAnswer::Yes : MessageAnswer::No;
}

}  // namespace kelvo
