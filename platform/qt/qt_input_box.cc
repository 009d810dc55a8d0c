#include "platform/qt/qt_input_box.h"

#include <QInputDialog>

#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_text.h"

namespace kelvo {

std::optional<std::string> QtInputBox::InputQuery(std::string_view title, std::string_view prompt,
                                                  std::string_view preset) {
    QInputDialog dialog(DialogParent());
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(ToQString(title));
    dialog.setLabelText(MessageToQString(prompt));
    dialog.setTextValue(ToQString(preset));
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return ToWindows1252(dialog.textValue());
}

}  // namespace kelvo
