#pragma once

#include <string>
#include <vector>

#include "platform/printer.h"

namespace kelvo {

class ScriptedPlatform;

struct ScriptedPrinterOptions {
    /// The device's page: A4 at 600 pixels per inch unless told otherwise.
    PageGeometry page{210.0, 297.0, 4961, 7016};
    /// How many lines of the job's font fit on a page; the channel begins a new page after
    /// the line that fills one.
    int linesPerPage = 67;
};

/// The printer of the scripted platform: a finished or aborted print job becomes one "print"
/// event of the platform, with the font, each page's lines as written (UTF-8, empty lines
/// included) and the pictures drawn (file, page, rectangle in device pixels, decoded size).
/// Pictures are decoded for real, so a file that does not decode fails as on a desktop.
class ScriptedPrinter final : public Printer {
  public:
    ScriptedPrinter(ScriptedPlatform& platform, ScriptedPrinterOptions options);

    Status BeginJob(std::string_view fontName, int pointSize) override;
    Expected<PageGeometry> Geometry() override;
    Status WriteLine(std::string_view text) override;
    int PageNumber() const override { return static_cast<int>(pages_.size()); }
    Status DrawPicture(const std::filesystem::path& file, const PixelRect& rect) override;
    Status EndJob() override;
    void AbortJob() override;

  private:
    struct PlacedPicture {
        int page = 0;
        std::string file;
        PixelRect rect;
        int width = 0;
        int height = 0;
    };

    Status NoJob() const;
    void Finish(bool aborted);

    ScriptedPlatform& platform_;
    ScriptedPrinterOptions options_;
    bool open_ = false;
    std::string font_;
    int points_ = 0;
    std::vector<std::vector<std::string>> pages_;
    std::vector<PlacedPicture> pictures_;
};

}  // namespace kelvo
