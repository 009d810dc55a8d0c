// The desktop's printer without a printer set up: every printout becomes a PDF beside the
// knowledge base, read back here with poppler's tools.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "engine/print_output.h"
#include "platform/qt/qt_printer.h"
#include "platform/qt/qt_text.h"
#include "store/windows1252.h"
#include "tests/case_name.h"
#include "tests/platform/pdf_tools.h"
#include "tests/platform/qt_printouts.h"
#include "tests/store/temp_dir.h"
#include "tests/ui/modal_watch.h"

namespace kelvo::testing {
namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;
// The fallback PDF's margin, the top left of its printable area.
constexpr double kMarginMm = 5.0;

std::string FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The texts "PREFIX first" to "PREFIX last".
std::vector<std::string> Numbered(const std::string& prefix, int first, int last) {
    std::vector<std::string> texts;
    for (int i = first; i <= last; ++i) {
        texts.push_back(prefix + " " + std::to_string(i));
    }
    return texts;
}

// The colour of a rendered page at a place given in millimetres from the page's top left.
QColor ColourAt(const QImage& page, int dpi, double xMm, double yMm) {
    const double perMm = dpi / 25.4;
    return page.pixelColor(static_cast<int>(std::lround(xMm * perMm)),
                           static_cast<int>(std::lround(yMm * perMm)));
}

bool Near(const QColor& colour, const QColor& wanted) {
    return std::abs(colour.red() - wanted.red()) < 40 &&
           std::abs(colour.green() - wanted.green()) < 40 &&
           std::abs(colour.blue() - wanted.blue()) < 40;
}

// The page's lines start after `marginLines` empty lines, one line height apart, five
// character widths from the left edge of the printable area.
void ExpectLinesPlaced(const std::filesystem::path& pdf, int page, int marginLines) {
    const std::vector<PdfWord> words = PdfWords(pdf, page);
    std::vector<PdfWord> starts;
    for (const PdfWord& word : words) {
        if (starts.empty() || word.y > starts.back().y + 1.0) {
            starts.push_back(word);
        }
    }
    ASSERT_GE(starts.size(), 2u) << "page " << page;
    const double spacing = starts[1].y - starts[0].y;
    // "Courier New" 10 points: a line is about 11.3 points high, a character 6 points wide.
    EXPECT_NEAR(spacing, 11.3, 0.3) << "page " << page;
    for (std::size_t i = 1; i < starts.size(); ++i) {
        EXPECT_NEAR(starts[i].y - starts[i - 1].y, spacing, 0.2) << "page " << page;
    }
    const double margin = kMarginMm * kPointsPerMm;
    EXPECT_NEAR((starts[0].y - margin) / spacing, marginLines, 0.3) << "page " << page;
    for (const PdfWord& start : starts) {
        EXPECT_NEAR(start.x, margin + 5 * 6.0, 1.0) << "page " << page << " " << start.text;
    }
}

class QtPrinterFallback : public ::testing::Test {
  protected:
    QtPrinterOptions NoPrinter() {
        return {.fallbackFolder = [this] { return dir_.path(); },
                .defaultPrinterName = [] { return QString(); }};
    }

    // The one box of the printer: the notice where the printout went, naming `file`.
    void ExpectNotice(const std::filesystem::path& file) {
        ASSERT_EQ(dialogs_.boxes.size(), 1u);
        EXPECT_EQ(dialogs_.boxes[0].text,
                  "Kein Drucker eingerichtet. Der Ausdruck steht in der Datei\r\n" +
                      Utf8ToWindows1252(file.string()));
        EXPECT_EQ(dialogs_.boxes[0].caption, "Hinweis");
        EXPECT_EQ(dialogs_.boxes[0].icon, MessageIcon::Information);
    }

    std::vector<std::filesystem::path> Printouts() const {
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
            if (entry.path().extension() == ".pdf") {
                found.push_back(entry.path());
            }
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    TempDir dir_;
    RecordingDialogs dialogs_;
};

TEST_F(QtPrinterFallback, PrintTaskOf130LinesWithAPictureGivesPagesOf63And63And4) {
    WriteTestPicture(dir_ / "bild.bmp");
    QtPrinter printer(dialogs_, NoPrinter());
    EXPECT_TRUE(PrintTask(printer, 130, dir_ / "bild.bmp").empty());

    const std::filesystem::path pdf = dir_ / "Ausdruck.pdf";
    ExpectNotice(pdf);
    EXPECT_EQ(printer.lastFallbackFile(), pdf);
    ASSERT_EQ(PdfPageCount(pdf), 3);
    EXPECT_EQ(PdfLines(pdf, 1), Numbered("Zeile", 1, 63));
    EXPECT_EQ(PdfLines(pdf, 2), Numbered("Zeile", 64, 126));
    EXPECT_EQ(PdfLines(pdf, 3), Numbered("Zeile", 127, 130));
    for (int page = 1; page <= 3; ++page) {
        ExpectLinesPlaced(pdf, page, 4);
    }

    const std::vector<PdfPicture> pictures = PdfPictures(pdf);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].page, 1);
    EXPECT_EQ(pictures[0].width, 64);
    EXPECT_EQ(pictures[0].height, 48);
    // The picture fills its rectangle: red on the left, blue on the right, white around it.
    const QImage page = RenderPdfPage(pdf, 1, 72, dir_.path());
    ASSERT_FALSE(page.isNull());
    const double left = kMarginMm + kPictureLeftMm;
    const double middle = kMarginMm + kPictureTopMm + kPictureHeightMm / 2;
    EXPECT_TRUE(Near(ColourAt(page, 72, left + 2, middle), Qt::red));
    EXPECT_TRUE(Near(ColourAt(page, 72, left + kPictureWidthMm / 4, middle), Qt::red));
    EXPECT_TRUE(Near(ColourAt(page, 72, left + kPictureWidthMm * 3 / 4, middle), Qt::blue));
    EXPECT_TRUE(Near(ColourAt(page, 72, left + kPictureWidthMm - 2, middle), Qt::blue));
    EXPECT_TRUE(Near(ColourAt(page, 72, left + kPictureWidthMm + 3, middle), Qt::white));
    EXPECT_TRUE(Near(ColourAt(page, 72, left + 10, kMarginMm + kPictureTopMm - 3), Qt::white));
    EXPECT_TRUE(Near(ColourAt(page, 72, left + 10, kMarginMm + kPictureTopMm + 3), Qt::red));
}

TEST_F(QtPrinterFallback, EditorBlockOf70LinesGivesPagesOf63And7) {
    QtPrinter printer(dialogs_, NoPrinter());
    EXPECT_TRUE(PrintEditorBlock(printer, dir_.path(), 70).empty());

    const std::filesystem::path pdf = dir_ / "Ausdruck.pdf";
    ExpectNotice(pdf);
    ASSERT_EQ(PdfPageCount(pdf), 2);
    EXPECT_EQ(PdfLines(pdf, 1), Numbered("K", 1, 63));
    EXPECT_EQ(PdfLines(pdf, 2), Numbered("K", 64, 70));
    ExpectLinesPlaced(pdf, 1, 3);
    ExpectLinesPlaced(pdf, 2, 3);
    EXPECT_TRUE(PdfPictures(pdf).empty());
}

TEST_F(QtPrinterFallback, PageImageFillsOnePage) {
    QtPrinter printer(dialogs_, NoPrinter());
    EXPECT_TRUE(printer.PrintImage(PageImage()).ok());

    const std::filesystem::path pdf = dir_ / "Ausdruck.pdf";
    ExpectNotice(pdf);
    ASSERT_EQ(PdfPageCount(pdf), 1);
    const std::vector<PdfPicture> pictures = PdfPictures(pdf);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].page, 1);
    EXPECT_EQ(pictures[0].width, 800);
    EXPECT_EQ(pictures[0].height, 600);
    // Scaled to the width of the printable area (200 mm): the green field is 100 x 75 mm at
    // its centre, 50 mm from the left and 37.5 mm from the top of the image.
    const QImage page = RenderPdfPage(pdf, 1, 72, dir_.path());
    ASSERT_FALSE(page.isNull());
    const QColor green(0, 160, 0);
    EXPECT_TRUE(Near(ColourAt(page, 72, kMarginMm + 100, kMarginMm + 75), green));
    EXPECT_TRUE(Near(ColourAt(page, 72, kMarginMm + 53, kMarginMm + 40.5), green));
    EXPECT_TRUE(Near(ColourAt(page, 72, kMarginMm + 147, kMarginMm + 109.5), green));
    EXPECT_TRUE(Near(ColourAt(page, 72, kMarginMm + 47, kMarginMm + 75), Qt::white));
    EXPECT_TRUE(Near(ColourAt(page, 72, kMarginMm + 100, kMarginMm + 116), Qt::white));
}

TEST_F(QtPrinterFallback, ALaterPrintoutNeverOverwritesAnEarlierFile) {
    WriteTestPicture(dir_ / "bild.bmp");
    {
        std::ofstream other(dir_ / "Ausdruck.pdf", std::ios::binary);
        other << "eine fremde Datei";
    }
    QtPrinter printer(dialogs_, NoPrinter());
    EXPECT_TRUE(PrintTask(printer, 2, dir_ / "bild.bmp").empty());
    const std::string first = FileBytes(dir_ / "Ausdruck-2.pdf");
    EXPECT_TRUE(PrintTask(printer, 70, dir_ / "bild.bmp").empty());

    EXPECT_EQ(Printouts(),
              (std::vector<std::filesystem::path>{dir_ / "Ausdruck-2.pdf", dir_ / "Ausdruck-3.pdf",
                                                  dir_ / "Ausdruck.pdf"}));
    EXPECT_EQ(FileBytes(dir_ / "Ausdruck.pdf"), "eine fremde Datei");
    EXPECT_EQ(FileBytes(dir_ / "Ausdruck-2.pdf"), first);
    EXPECT_EQ(PdfLines(dir_ / "Ausdruck-2.pdf", 1), Numbered("Zeile", 1, 2));
    EXPECT_EQ(PdfPageCount(dir_ / "Ausdruck-3.pdf"), 2);
    ASSERT_EQ(dialogs_.boxes.size(), 2u);
    EXPECT_EQ(dialogs_.boxes[1].text,
              "Kein Drucker eingerichtet. Der Ausdruck steht in der Datei\r\n" +
                  Utf8ToWindows1252((dir_ / "Ausdruck-3.pdf").string()));
}

TEST_F(QtPrinterFallback, AnAbortedJobPrintsNothing) {
    QtPrinter printer(dialogs_, NoPrinter());
    ASSERT_TRUE(printer.BeginJob("Courier New", 10).ok());
    ASSERT_TRUE(printer.WriteLine("     verworfen").ok());
    printer.AbortJob();
    EXPECT_TRUE(Printouts().empty());
    EXPECT_TRUE(dialogs_.boxes.empty());
    // The printer takes the next job.
    ASSERT_TRUE(printer.BeginJob("Courier New", 10).ok());
    ASSERT_TRUE(printer.WriteLine("     gedruckt").ok());
    ASSERT_TRUE(printer.EndJob().ok());
    EXPECT_EQ(PdfLines(dir_ / "Ausdruck.pdf", 1), std::vector<std::string>{"gedruckt"});
}

TEST_F(QtPrinterFallback, TheChannelBeginsANewPageAfterTheLineThatFillsOne) {
    QtPrinter printer(dialogs_, NoPrinter());
    ASSERT_TRUE(printer.BeginJob("Courier New", 10).ok());
    // A4 less 10 mm of margins is 287 mm; a line of 10 points is about 4 mm high.
    int lines = 0;
    while (printer.PageNumber() == 1 && lines < 1000) {
        ASSERT_TRUE(printer.WriteLine("     Zeile " + std::to_string(++lines)).ok());
    }
    EXPECT_GE(lines, 67);
    EXPECT_LE(lines, 72);
    EXPECT_EQ(printer.PageNumber(), 2);
    // The page begun by the channel and never written on is not printed.
    ASSERT_TRUE(printer.EndJob().ok());
    const std::filesystem::path pdf = dir_ / "Ausdruck.pdf";
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_EQ(PdfLines(pdf, 1), Numbered("Zeile", 1, lines));
}

TEST_F(QtPrinterFallback, GeometryIsThePrintableAreaAtTheDevicesResolution) {
    QtPrinter printer(dialogs_, NoPrinter());
    EXPECT_FALSE(printer.Geometry().ok());
    ASSERT_TRUE(printer.BeginJob("Courier New", 10).ok());
    const Expected<PageGeometry> page = printer.Geometry();
    ASSERT_TRUE(page.ok());
    EXPECT_NEAR(page->widthMillimetres, 200.0, 0.01);
    EXPECT_NEAR(page->heightMillimetres, 287.0, 0.01);
    // 600 pixels an inch, as near as whole pixels of the page's size in points allow.
    EXPECT_NEAR(page->widthPixels / page->widthMillimetres * 25.4, 600.0, 0.6);
    EXPECT_NEAR(page->heightPixels / page->heightMillimetres * 25.4, 600.0, 0.6);
    printer.AbortJob();
}

// --- a printer that fails ------------------------------------------------------------------

enum class Printout { Task, EditorBlock, PageImage };

struct FailureCase {
    std::string name;
    Printout printout;
    // The default printer's name (one the system does not know), or empty with a folder the
    // PDF cannot be written in.
    std::string printerName;
    std::string message;  // the start of the one message, Windows-1252
    std::string reason;   // a part of it, UTF-8
};

class QtPrinterFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(QtPrinterFailure, IsReportedAndNothingIsLost) {
    const FailureCase& c = GetParam();
    TempDir dir;
    RecordingDialogs dialogs;
    QtPrinterOptions options;
    options.defaultPrinterName = [&c] { return Utf8ToQString(c.printerName); };
    // procfs takes no new files, not even from root.
    options.fallbackFolder = [] { return std::filesystem::path("/proc"); };
    QtPrinter printer(dialogs, options);
    WriteTestPicture(dir / "bild.bmp");

    std::vector<std::string> messages;
    switch (c.printout) {
        case Printout::Task:
            for (const std::string& text : PrintTask(printer, 3, dir / "bild.bmp")) {
                messages.push_back(Utf8ToWindows1252(text));
            }
            break;
        case Printout::EditorBlock: {
            messages = PrintEditorBlock(printer, dir.path(), 5);
            // The knowledge base is as it was.
            const std::string program = FileBytes(dir / "PROG.WBP");
            EXPECT_EQ(program.size(), 5u * 84u);
            EXPECT_NE(program.find("K 5"), std::string::npos);
            break;
        }
        case Printout::PageImage:
            EXPECT_FALSE(printer.PrintImage(PageImage()).ok());
            break;
    }
    for (const RecordingDialogs::Box& box : dialogs.boxes) {
        messages.push_back(box.text);
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind(c.message, 0), 0u) << Windows1252ToUtf8(messages[0]);
    EXPECT_NE(Windows1252ToUtf8(messages[0]).find(c.reason), std::string::npos)
        << Windows1252ToUtf8(messages[0]);
    EXPECT_TRUE(printer.lastFallbackFile().empty());
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_NE(entry.path().extension(), ".pdf") << entry.path();
    }
    // The printer is free for the next job.
    EXPECT_EQ(printer.PageNumber(), 0);
}

const std::string kUnknown = "KELVO-Testdrucker-gibt-es-nicht";
const std::string kUnavailable = "Der Drucker \xE2\x80\x9E" + kUnknown + "\xE2\x80\x9C ist nicht";
const std::string kNotSaved = "Der Ausdruck kann nicht gespeichert werden";

INSTANTIATE_TEST_SUITE_P(
    QtPrinter, QtPrinterFailure,
    ::testing::Values(FailureCase{"UnknownPrinterForAPrintTask", Printout::Task, kUnknown,
                                  std::string(kPrinterFailedMessage), kUnavailable},
                      FailureCase{"UnknownPrinterForAnEditorBlock", Printout::EditorBlock, kUnknown,
                                  "Der Block kann nicht gedruckt werden.", kUnavailable},
                      FailureCase{"UnknownPrinterForAPageImage", Printout::PageImage, kUnknown,
                                  "Die Seite konnte nicht gedruckt werden.", kUnavailable},
                      FailureCase{"UnwritableFolderForAPrintTask", Printout::Task, "",
                                  std::string(kPrinterFailedMessage), kNotSaved},
                      FailureCase{"UnwritableFolderForAnEditorBlock", Printout::EditorBlock, "",
                                  "Der Block konnte nicht gedruckt werden.", kNotSaved},
                      FailureCase{"UnwritableFolderForAPageImage", Printout::PageImage, "",
                                  "Die Seite konnte nicht gedruckt werden.", kNotSaved}),
    CaseName());

// --- the set-up dialog ---------------------------------------------------------------------

TEST_F(QtPrinterFallback, TheSetUpDialogsChoiceIsUsedByLaterPrintouts) {
    QtPrinter printer(dialogs_, NoPrinter());
    const std::filesystem::path chosen = dir_ / "gewaehlt.pdf";
    bool shown = false;
    OnModal<QPrintDialog>([&](QPrintDialog* dialog) {
        shown = true;
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Drucker einrichten"));
        // The last printer the dialog offers is printing into a PDF file, whose name is
        // chosen here.
        if (auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"))) {
            printers->setCurrentIndex(printers->count() - 1);
        }
        QLineEdit* name = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
        if (name != nullptr) {
            name->setText(Utf8ToQString(chosen.string()));
        }
        EXPECT_NE(name, nullptr);
        dialog->accept();
    });
    printer.Setup(nullptr);
    ASSERT_TRUE(shown);
    EXPECT_EQ(printer.device().outputFormat(), QPrinter::PdfFormat);

    EXPECT_TRUE(printer.PrintImage(PageImage()).ok());
    EXPECT_TRUE(PrintTask(printer, 70, dir_ / "fehlt.bmp").size() == 1u);  // the missing picture
    // Both went where the dialog said, without a notice; the second replaced the first as a
    // printer would have printed both.
    EXPECT_TRUE(dialogs_.boxes.empty());
    EXPECT_TRUE(printer.lastFallbackFile().empty());
    EXPECT_EQ(Printouts(), std::vector<std::filesystem::path>{chosen});
    EXPECT_EQ(PdfPageCount(chosen), 2);
    EXPECT_EQ(PdfLines(chosen, 2), Numbered("Zeile", 64, 70));
}

}  // namespace
}  // namespace kelvo::testing
