#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/qt/qt_text.h"

namespace kelvo {

std::string QtClipboard::Text() {
    return ToWindows1252(QGuiApplication::clipboard()->text());
}

void QtClipboard::SetText(std::string_view text) {
    QGuiApplication::clipboard()->setText(ToQString(text));
}

}  // namespace kelvo
