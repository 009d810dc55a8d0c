#pragma once

#include <QString>
#include <vector>

#include "platform/file_dialogs.h"

namespace kelvo {

class QtPrinter;

/// The filters of a dialog in Qt's form, one "description (patterns)" per line of the result;
/// the patterns separated by ";" become blank-separated. Empty for no filters.
QString QtFilterText(const std::vector<FileFilter>& filters);

/// Open and save dialogs as QFileDialog, the printer set-up as the set-up dialog of the
/// desktop's printer. Each kind of dialog opens where it was left when the request names no
/// folder.
class QtFileDialogs final : public FileDialogs {
  public:
    /// `printer` is the printer the set-up configures; without one the set-up does nothing.
    explicit QtFileDialogs(QtPrinter* printer = nullptr);

    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;
    void PrinterSetup() override;

  private:
    std::optional<std::string> Choose(bool save, const FileDialogRequest& request);

    QString lastOpenFolder_;
    QString lastSaveFolder_;
    QtPrinter* printer_;
};

}  // namespace kelvo
