#include "commands/missing_service.h"

#include <string>

#include "commands/variable_command.h"

namespace kelvo {

void ReportMissingService(VariableLine& line, std::string_view service) {
    const auto index = static_cast<unsigned char>(line.Command());
    if (line.block().unavailableShown.test(index)) {
        return;
    }
    line.block().unavailableShown.set(index);
    line.consultation().ShowMessage(
        "F\xFCr den Variablenbefehl \"" + std::string(1, line.Command()) + "\" (Zeile " +
            std::to_string(line.position() + 1) + ") steht " + std::string(service) +
            " nicht zur Verf\xFC"
            "gung.\r\nDie Sitzung wird fortgesetzt.",
        "Hinweis", MessageIcon::Information, MessageButtons::Ok);
}

HiddenSessionWindow::HiddenSessionWindow(VariableLine& line) : line_(line) {
    line_.consultation().services().windows.SetSessionWindowVisible(false);
}

HiddenSessionWindow::~HiddenSessionWindow() {
    line_.consultation().services().windows.SetSessionWindowVisible(true);
}

}  // namespace kelvo
