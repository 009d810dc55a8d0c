#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

/// One entry of a dialog's filter: a description shown to the user and the file pattern
/// (several patterns separated by ";").
struct FileFilter {
    std::string description;
    std::string pattern;
};

/// Splits a filter text of "description|pattern" pairs, all separated by "|"
/// ("Texte|*.TXT|Alle Dateien|*.*"). A description without its pattern gets "*.*"; empty
/// pieces are kept as written, so the result has exactly one entry per pair.
inline std::vector<FileFilter> SplitFileFilter(std::string_view filter) {
    std::vector<std::string> pieces;
    while (true) {
        const std::size_t bar = filter.find('|');
        pieces.emplace_back(filter.substr(0, bar));
        if (bar == std::string_view::npos) {
            break;
        }
        filter.remove_prefix(bar + 1);
    }
    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i < pieces.size(); i += 2) {
        if (i + 1 == pieces.size() && pieces[i].empty() && !filters.empty()) {
            break;  // a trailing "|"
        }
        filters.push_back({pieces[i], i + 1 < pieces.size() ? pieces[i + 1] : "*.*"});
    }
    return filters;
}

/// What a file dialog shows. Texts and paths are Windows-1252 bytes.
struct FileDialogRequest {
    /// The dialog's title; empty for the platform's own title.
    std::string title;
    std::vector<FileFilter> filters;
    /// The folder the dialog opens in; empty for the folder it showed last (at first the
    /// current folder).
    std::string folder;
};

/// The standard dialogs of the session window: choosing a file to open or a file name to save
/// under, and the printer set-up. Texts and paths are Windows-1252 bytes; the implementation
/// converts at the desktop boundary. Each dialog keeps its state (last folder, last name) for
/// as long as the object lives.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;

    /// Shows the file-open dialog. Returns the full path of the file chosen, or nothing when the
    /// user cancelled.
    virtual std::optional<std::string> OpenFileName(const FileDialogRequest& request) = 0;

    /// Shows the file-save dialog. It neither asks about overwriting nor creates the file.
    /// Returns the full path chosen, or nothing when the user cancelled.
    virtual std::optional<std::string> SaveFileName(const FileDialogRequest& request) = 0;

    /// Shows the printer set-up dialog; the choice becomes the printer setting of later
    /// print jobs.
    virtual void PrinterSetup() = 0;
};

}  // namespace kelvo
