#pragma once

#include <QString>

#include "platform/dialogs.h"

class QWidget;

namespace kelvo {

/// The window a dialog belongs to: the topmost modal window, else the active window; null
/// when the program shows none.
QWidget* DialogParent();

/// The German caption of a message box button.
QString MessageButtonText(MessageAnswer answer);

/// Message boxes as QMessageBox: the icon, caption and text given, "OK" or "Ja"/"Nein".
/// Linux has no system-modal windows; every box is modal for the whole application.
class QtDialogs final : public Dialogs {
  public:
    MessageAnswer MessageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                             MessageButtons buttons) override;
};

}  // namespace kelvo
