#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/printer.h"

namespace kelvo {

struct TerminalPrinterOptions {
    /// The page the knowledge base places pictures on: A4 at 600 pixels per inch.
    PageGeometry page{210.0, 297.0, 4961, 7016};
    /// How many lines of the job's font fit on a page.
    int linesPerPage = 67;
};

/// The printer of a terminal: a finished job is written to the terminal page by page, each
/// line as printed (UTF-8, trailing blanks removed) and each picture named with its place.
/// Pictures are decoded, so a file that does not decode fails as on a desktop; an aborted job
/// prints nothing but a note.
class TerminalPrinter final : public Printer {
  public:
    TerminalPrinter(std::ostream& out, TerminalPrinterOptions options = {});

    Status BeginJob(std::string_view fontName, int pointSize) override;
    Expected<PageGeometry> Geometry() override;
    Status WriteLine(std::string_view text) override;
    int PageNumber() const override { return static_cast<int>(pages_.size()); }
    Status DrawPicture(const std::filesystem::path& file, const PixelRect& rect) override;
    Status EndJob() override;
    void AbortJob() override;

  private:
    struct Page {
        std::vector<std::string> lines;     ///< Windows-1252
        std::vector<std::string> pictures;  ///< the notes of the pictures on it (UTF-8)
    };

    std::ostream& out_;
    TerminalPrinterOptions options_;
    bool open_ = false;
    std::string font_;
    int points_ = 0;
    std::vector<Page> pages_;
};

}  // namespace kelvo
