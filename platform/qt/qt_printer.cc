#include "platform/qt/qt_printer.h"

#include <QBuffer>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "platform/dialogs.h"
#include "platform/qt/picture_image.h"
#include "platform/qt/qt_text.h"
#include "store/atomic_file.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

constexpr std::string_view kCaption = "Hinweis";
constexpr std::string_view kFallbackNotice =
    "Kein Drucker eingerichtet. Der Ausdruck steht in der Datei\r\n";
constexpr std::string_view kImageFailure = "Die Seite konnte nicht gedruckt werden.";
// The PDF of a printout without printer: A4 with the margins a printer usually cannot print
// on, at a printer's resolution.
constexpr int kFallbackResolution = 600;
constexpr double kFallbackMarginMillimetres = 5.0;
// The job's name in a printer's queue, and the name of a printout's PDF file.
constexpr std::string_view kPrintoutName = "Ausdruck";
// Defensive: a folder full of earlier printouts ends the search for a free name.
constexpr int kMostFallbackNames = 100000;

Status NoJob() {
    return Error{"Druckauftrag ist nicht begonnen"};
}

// „NAME“ in UTF-8, as the messages quote a printer or a file.
std::string Quoted(const QString& name) {
    return "\xE2\x80\x9E" + QStringToUtf8(name) + "\xE2\x80\x9C";
}

}  // namespace

// One print job: the pages as they are written, and the device they go to at the end.
struct QtPrinter::Job {
    struct Item {
        int row = -1;  // a text line's row on the page; -1 for a picture
        QString text;
        QRect rect;
        QImage image;
    };
    struct Page {
        int rows = 0;  // lines written on it, the empty ones too
        std::vector<Item> items;
    };

    QFont font;
    QPagedPaintDevice* device = nullptr;
    // Without a printer the job is written as a PDF into memory and saved when it ends.
    std::unique_ptr<QBuffer> pdfBytes;
    std::unique_ptr<QPdfWriter> pdf;
    double lineSpacing = 0.0;
    double ascent = 0.0;
    int linesPerPage = 0;
    std::vector<Page> pages;
    // A picture drawn more than once is decoded once.
    std::map<std::filesystem::path, QImage> pictures;

    bool fallback() const { return pdf != nullptr; }
};

QtPrinter::QtPrinter(Dialogs& dialogs, QtPrinterOptions options)
    : dialogs_(dialogs),
      options_(std::move(options)),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

QtPrinter::~QtPrinter() = default;

// Chooses the device of a job: the printer chosen in the set-up dialog, else the system's
// current default printer, else a PDF in memory.
Status QtPrinter::OpenDevice(Job& job) {
    bool toPrinter = false;
    if (!chosen_) {
        const QString name = options_.defaultPrinterName ? options_.defaultPrinterName()
                                                         : QPrinterInfo::defaultPrinterName();
        if (!name.isEmpty()) {
            if (!QPrinterInfo::availablePrinterNames().contains(name)) {
                return Error{"Der Drucker " + Quoted(name) + " ist nicht verf\xC3\xBCgbar."};
            }
            printer_->setOutputFormat(QPrinter::NativeFormat);
            printer_->setPrinterName(name);
            toPrinter = true;
        }
    } else if (printer_->outputFormat() == QPrinter::PdfFormat) {
        toPrinter = !printer_->outputFileName().isEmpty();
    } else {
        if (!printer_->printerName().isEmpty() && !printer_->isValid()) {
            return Error{"Der Drucker " + Quoted(printer_->printerName()) +
                         " ist nicht verf\xC3\xBCgbar."};
        }
        toPrinter = !printer_->printerName().isEmpty();
    }
    if (toPrinter) {
        // The job's name in the printer's queue.
        printer_->setDocName(Utf8ToQString(kPrintoutName));
        job.device = printer_.get();
        return {};
    }
    job.pdfBytes = std::make_unique<QBuffer>();
    job.pdfBytes->open(QIODevice::WriteOnly);
    job.pdf = std::make_unique<QPdfWriter>(job.pdfBytes.get());
    job.pdf->setResolution(kFallbackResolution);
    const QMarginsF margins(kFallbackMarginMillimetres, kFallbackMarginMillimetres,
                            kFallbackMarginMillimetres, kFallbackMarginMillimetres);
    job.pdf->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, margins,
                                       QPageLayout::Millimeter));
    job.pdf->setCreator(QStringLiteral("KELVO"));
    job.pdf->setTitle(Utf8ToQString(kPrintoutName));
    job.device = job.pdf.get();
    return {};
}

Status QtPrinter::BeginJob(std::string_view fontName, int pointSize) {
    if (job_ != nullptr) {
        return Error{"Druckauftrag l\xC3\xA4uft bereits"};
    }
    auto job = std::make_unique<Job>();
    if (Status opened = OpenDevice(*job); !opened) {
        return opened;
    }
    job->font = QFont(ToQString(fontName));
    job->font.setStyleHint(QFont::TypeWriter);
    job->font.setPointSize(pointSize > 0 ? pointSize : 10);
    const QFontMetricsF metrics(job->font, job->device);
    job->lineSpacing = metrics.lineSpacing();
    job->ascent = metrics.ascent();
    const double height = job->device->height();
    job->linesPerPage =
        job->lineSpacing > 0.0 ? static_cast<int>(std::floor(height / job->lineSpacing)) : 0;
    if (job->linesPerPage < 1) {
        return Error{"Die Schrift passt nicht auf die Seite des Druckers."};
    }
    job->pages.emplace_back();
    job_ = std::move(job);
    return {};
}

Expected<PageGeometry> QtPrinter::Geometry() {
    if (job_ == nullptr) {
        return NoJob().error();
    }
    const QRectF area = job_->device->pageLayout().paintRect(QPageLayout::Millimeter);
    return PageGeometry{area.width(), area.height(), job_->device->width(), job_->device->height()};
}

Status QtPrinter::WriteLine(std::string_view text) {
    if (job_ == nullptr) {
        return NoJob();
    }
    Job::Page& page = job_->pages.back();
    if (!text.empty()) {
        page.items.push_back({page.rows, ToQString(text), {}, {}});
    }
    if (++page.rows >= job_->linesPerPage) {
        job_->pages.emplace_back();
    }
    return {};
}

int QtPrinter::PageNumber() const {
    return job_ != nullptr ? static_cast<int>(job_->pages.size()) : 0;
}

Status QtPrinter::DrawPicture(const std::filesystem::path& file, const PixelRect& rect) {
    if (job_ == nullptr) {
        return NoJob();
    }
    auto known = job_->pictures.find(file);
    if (known == job_->pictures.end()) {
        Expected<Picture> picture = LoadPictureFile(file);
        if (!picture) {
            return picture.error();
        }
        known = job_->pictures.emplace(file, ToQImage(*picture)).first;
    }
    job_->pages.back().items.push_back(
        {-1,
         {},
         QRect(QPoint(rect.left, rect.top), QSize(rect.right - rect.left, rect.bottom - rect.top)),
         known->second});
    return {};
}

namespace {

// Draws the pages of a job onto its device, which prints them when the painter ends.
template <class Pages>
Status Render(QPagedPaintDevice& device, const QFont& font, double lineSpacing, double ascent,
              const Pages& pages, const std::string& refusal) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return Error{refusal};
    }
    painter.setFont(font);
    painter.setPen(Qt::black);
    bool first = true;
    for (const auto& page : pages) {
        if (!first && !device.newPage()) {
            painter.end();
            return Error{refusal};
        }
        first = false;
        for (const auto& item : page.items) {
            if (item.row >= 0) {
                painter.drawText(QPointF(0.0, item.row * lineSpacing + ascent), item.text);
            } else {
                painter.drawImage(item.rect, item.image);
            }
        }
    }
    if (!painter.end()) {
        return Error{refusal};
    }
    return {};
}

}  // namespace

Status QtPrinter::EndJob() {
    if (job_ == nullptr) {
        return NoJob();
    }
    const std::unique_ptr<Job> job = std::move(job_);
    // A last page with neither lines nor pictures is not printed.
    if (job->pages.back().rows == 0 && job->pages.back().items.empty()) {
        job->pages.pop_back();
    }
    if (job->pages.empty()) {
        return {};
    }
    std::string refusal;
    if (job->fallback()) {
        refusal = "Der Ausdruck kann nicht als PDF-Datei erzeugt werden.";
    } else if (printer_->outputFormat() == QPrinter::PdfFormat) {
        refusal =
            "Die Datei " + Quoted(printer_->outputFileName()) + " kann nicht geschrieben werden.";
    } else {
        refusal =
            "Der Drucker " + Quoted(printer_->printerName()) + " nimmt den Druckauftrag nicht an.";
    }
    if (Status rendered =
            Render(*job->device, job->font, job->lineSpacing, job->ascent, job->pages, refusal);
        !rendered) {
        return rendered;
    }
    if (!job->fallback()) {
        return {};
    }
    if (Status saved = SaveFallback(job->pdfBytes->data()); !saved) {
        return saved;
    }
    dialogs_.MessageBox(
        std::string(kFallbackNotice) + Utf8ToWindows1252(lastFallbackFile_.string()), kCaption,
        MessageIcon::Information, MessageButtons::Ok);
    return {};
}

void QtPrinter::AbortJob() {
    job_.reset();
}

// Saves a printout without printer under the first name of the folder that no file has; a
// file of that name that appears meanwhile is never replaced.
Status QtPrinter::SaveFallback(const QByteArray& pdf) {
    std::error_code error;
    std::filesystem::path folder = options_.fallbackFolder ? options_.fallbackFolder() : "";
    if (folder.empty() || !std::filesystem::is_directory(folder, error)) {
        folder = QStringToUtf8(QDir::homePath());
    }
    const std::span<const std::uint8_t> bytes(
        reinterpret_cast<const std::uint8_t*>(pdf.constData()),
        static_cast<std::size_t>(pdf.size()));
    for (int n = 1; n <= kMostFallbackNames; ++n) {
        const std::filesystem::path target =
            folder /
            (std::string(kPrintoutName) + (n == 1 ? "" : "-" + std::to_string(n)) + ".pdf");
        if (std::filesystem::exists(std::filesystem::symlink_status(target, error))) {
            continue;
        }
        const ReplaceOutcome outcome = ReplaceFileContent(target, bytes, ReplaceMode::CreateNew);
        if (outcome.replaced) {
            lastFallbackFile_ = target;
            return {};
        }
        if (!std::filesystem::exists(std::filesystem::symlink_status(target, error))) {
            return Error{"Der Ausdruck kann nicht gespeichert werden: " +
                         outcome.status.error().message};
        }
    }
    return Error{"Im Ordner " + folder.string() + " ist kein Name f\xC3\xBCr den Ausdruck frei."};
}

Status QtPrinter::PrintImage(const QImage& image) {
    Status printed = [&]() -> Status {
        if (image.isNull()) {
            return Error{"Das Fenster hat kein Bild."};
        }
        if (Status begun = BeginJob("Courier New", 10); !begun) {
            return begun;
        }
        const QSize area(job_->device->width(), job_->device->height());
        const QSize fitted = image.size().scaled(area, Qt::KeepAspectRatio);
        job_->pages.back().items.push_back({-1, {}, QRect(QPoint(0, 0), fitted), image});
        return EndJob();
    }();
    if (!printed) {
        dialogs_.MessageBox(
            Utf8ToWindows1252(std::string(kImageFailure) + "\r\n\r\n" + printed.error().message),
            kCaption, MessageIcon::Warning, MessageButtons::Ok);
    }
    return printed;
}

void QtPrinter::Setup(QWidget* parent) {
    if (!chosen_) {
        // The dialog opens on the printer the next printout would use.
        const QString name = options_.defaultPrinterName ? options_.defaultPrinterName()
                                                         : QPrinterInfo::defaultPrinterName();
        if (!name.isEmpty() && QPrinterInfo::availablePrinterNames().contains(name)) {
            printer_->setOutputFormat(QPrinter::NativeFormat);
            printer_->setPrinterName(name);
        }
    }
    QPrintDialog dialog(printer_.get(), parent);
    dialog.setWindowTitle(QStringLiteral("Drucker einrichten"));
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() == QDialog::Accepted) {
        chosen_ = true;
    }
}

}  // namespace kelvo
