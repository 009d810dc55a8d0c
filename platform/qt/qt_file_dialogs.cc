#include "platform/qt/qt_file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_printer.h"
#include "platform/qt/qt_text.h"

namespace kelvo {

QString QtFilterText(const std::vector<FileFilter>& filters) {
    QStringList lines;
    for (const FileFilter& filter : filters) {
        QString patterns = ToQString(filter.pattern);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        lines << ToQString(filter.description) + QStringLiteral(" (") + patterns.trimmed() +
                     QLatin1Char(')');
    }
    return lines.join(QStringLiteral(";;"));
}

QtFileDialogs::QtFileDialogs(QtPrinter* printer) : printer_(printer) {}

std::optional<std::string> QtFileDialogs::OpenFileName(const FileDialogRequest& request) {
    return Choose(false, request);
}

std::optional<std::string> QtFileDialogs::SaveFileName(const FileDialogRequest& request) {
    return Choose(true, request);
}

std::optional<std::string> QtFileDialogs::Choose(bool save, const FileDialogRequest& request) {
    QString& last = save ? lastSaveFolder_ : lastOpenFolder_;
    QString folder = request.folder.empty() ? last : ToQString(request.folder);
    if (folder.isEmpty()) {
        folder = QDir::currentPath();
    }
    QFileDialog dialog(DialogParent(), ToQString(request.title), folder,
                       QtFilterText(request.filters));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The caller decides about existing files; the dialog neither asks nor creates.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString chosen = QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
    last = QFileInfo(chosen).absolutePath();
    return ToWindows1252(chosen);
}

void QtFileDialogs::PrinterSetup() {
    if (printer_ != nullptr) {
        printer_->Setup(DialogParent());
    }
}

}  // namespace kelvo
