#pragma once

#include <QString>
#include <vector>

#include "platform/file_dialogs.h"

class QPrinter;

namespace kelvo {

/// The filters of a dialog in Qt's form, one "description (patterns)" per line of the result;
/// the patterns separated by ";" become blank-separated. Empty for no filters.
QString QtFilterText(const std::vector<FileFilter>& filters);

/// Open and save dialogs as QFileDialog, the printer set-up as QPrintDialog. Each kind of
/// dialog opens where it was left when the request names no folder.
class QtFileDialogs final : public FileDialogs {
  public:
    QtFileDialogs();
    ~QtFileDialogs() override;
    QtFileDialogs(const QtFileDialogs&) = delete;
    QtFileDialogs& operator=(const QtFileDialogs&) = delete;

    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;
    void PrinterSetup() override;

    /// The printer the set-up dialog configures.
    QPrinter& printer() { return *printer_; }

  private:
    std::optional<std::string> Choose(bool save, const FileDialogRequest& request);

    QString lastOpenFolder_;
    QString lastSaveFolder_;
    QPrinter* printer_;
};

}  // namespace kelvo
