#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/qt/qt_text.h"

namespace kelvo {

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
        box.exec();
        return MessageAnswer::Ok;
    }
    QPushButton* yes = box.addButton(MessageButtonText(MessageAnswer::Yes), QMessageBox::YesRole);
    QPushButton* no = box.addButton(MessageButtonText(MessageAnswer::No), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? MessageAnswer::Yes : MessageAnswer::No;
}

}  // namespace kelvo
