#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <memory>

#include "platform/printer.h"

class QByteArray;
class QImage;
class QPrinter;
class QWidget;

namespace kelvo {

class Dialogs;

/// Where the Qt printer finds the system's printer and where a printout goes without one.
struct QtPrinterOptions {
    /// The folder (UTF-8 path) a printout is saved in as a PDF file when no printer is set up:
    /// the open knowledge base's folder. Unset, empty or not a folder: the user's home folder.
    std::function<std::filesystem::path()> fallbackFolder;
    /// The name of the system's default printer; empty when none is set up. Unset: the
    /// default printer of CUPS.
    std::function<QString()> defaultPrinterName;
};

/// The printer of the desktop over QPrinter: the system's default printer through CUPS, or
/// the one chosen in the set-up dialog. A job is collected page by page and sent to the
/// device when it ends, so an aborted job prints nothing. The text channel writes each line
/// in the job's font one line height below the last, from the top left of the printable
/// area, and begins a new page after the line that fills one; pictures are drawn into their
/// rectangle at the device's resolution.
///
/// Without a printer the job becomes a PDF file (A4) in the knowledge base's folder, under a
/// name that no earlier file has ("Ausdruck.pdf", "Ausdruck-2.pdf", ...), and the user is told
/// where through `dialogs`.
class QtPrinter final : public Printer {
  public:
    QtPrinter(Dialogs& dialogs, QtPrinterOptions options = {});
    ~QtPrinter() override;
    QtPrinter(const QtPrinter&) = delete;
    QtPrinter& operator=(const QtPrinter&) = delete;

    /// Fails when a job runs already, when the printer named is not known to the system, or
    /// when the font's lines do not fit on the page.
    Status BeginJob(std::string_view fontName, int pointSize) override;
    /// The printable area of the job's device; fails without a job.
    Expected<PageGeometry> Geometry() override;
    /// Fails without a job.
    Status WriteLine(std::string_view text) override;
    int PageNumber() const override;
    /// Fails without a job or when the file does not decode.
    Status DrawPicture(const std::filesystem::path& file, const PixelRect& rect) override;
    /// Sends the pages to the device; fails, printing nothing, when the device or the PDF file
    /// refuses them. A job without a line or picture prints nothing.
    Status EndJob() override;
    void AbortJob() override;

    /// Prints `image` scaled to fit the printable area (keeping its proportions) as a job of
    /// one page. A failure is told to the user and returned.
    Status PrintImage(const QImage& image);

    /// Shows the printer set-up dialog (QPrintDialog); an accepted choice is the printer of
    /// every later printout.
    void Setup(QWidget* parent);

    /// The device of the printer set-up (tests look at the choice).
    QPrinter& device() { return *printer_; }

    /// The PDF file of the last printout without printer; empty when there was none.
    const std::filesystem::path& lastFallbackFile() const { return lastFallbackFile_; }

  private:
    struct Job;

    Status OpenDevice(Job& job);
    Status SaveFallback(const QByteArray& pdf);

    Dialogs& dialogs_;
    QtPrinterOptions options_;
    std::unique_ptr<QPrinter> printer_;
    /// The set-up dialog chose the printer; otherwise each job takes the current default one.
    bool chosen_ = false;
    std::unique_ptr<Job> job_;
    std::filesystem::path lastFallbackFile_;
};

}  // namespace kelvo
