#include "engine/print_output.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "engine/consultation.h"
#include "platform/clock.h"
#include "platform/path_lookup.h"
#include "platform/printer.h"
#include "store/delay.h"
#include "store/field_substitution.h"
#include "store/stored_number.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {

const std::string_view kPrintInterruptedMessage = "Der Druckauftrag wurde unterbrochen";
const std::string_view kPrintPictureMissingMessage =
    "Grafikdatei f\xFCr die Druckausgabe nicht gefunden";
const std::string_view kNoPrinterMessage =
    "Es ist kein Drucker verf\xFCgbar.\r\nDie Druckausgabe entf\xE4llt.";
const std::string_view kPrintingStatusText = "   Druckausgabe";
const std::string_view kPrinterFailedMessage = "Der Druckauftrag konnte nicht gedruckt werden.";

namespace {

constexpr std::string_view kWorkingStatusText = "Bearbeitung l\xE4uft !";
constexpr std::string_view kInformationCaption = "Hinweis";
constexpr std::string_view kFontName = "Courier New";
constexpr int kFontPoints = 10;
constexpr int kTopMarginLines = 4;
constexpr int kTextLinesPerPage = 63;
constexpr std::size_t kLongTextWidth = 80;
// A page break writes empty lines until the channel begins a new page; a channel that never
// does within this many lines is broken.
constexpr int kMaxFillLines = 100000;

// The parts of a text between its line breaks ("\r\n", "\n" or "\r").
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            parts.emplace_back();
        } else {
            parts.back() += text[i];
        }
    }
    return parts;
}

// One print job of the buffer.
class PrintJob {
  public:
    PrintJob(Consultation& consultation, Printer& printer) : c_(consultation), printer_(printer) {}

    void Run();

  private:
    enum class Outcome { Done, Interrupted, Failed };

    Outcome PrintLines();
    void ReportFailure(const Error& error);
    // Writes a line and notes whether the channel began a new page after it.
    Status Write(std::string_view text) {
        const int page = printer_.PageNumber();
        Status written = printer_.WriteLine(text);
        atPageTop_ = printer_.PageNumber() != page;
        return written;
    }
    Status TopMargin();
    Status PageBreak();
    Status Picture(std::string_view line);
    double Placement(std::string_view line, std::size_t column);

    Consultation& c_;
    Printer& printer_;
    PageGeometry page_;
    double pixelsPerCmX_ = 0.0;
    double pixelsPerCmY_ = 0.0;
    bool atPageTop_ = false;
};

Status PrintJob::TopMargin() {
    for (int i = 0; i < kTopMarginLines; ++i) {
        if (Status written = Write(""); !written) {
            return written;
        }
    }
    return {};
}

// Fills the page with empty lines until the channel begins the next one, then writes the
// top margin there. Right after the channel began a new page by itself, that page is used.
Status PrintJob::PageBreak() {
    if (!atPageTop_) {
        const int page = printer_.PageNumber();
        for (int i = 0; printer_.PageNumber() == page; ++i) {
            if (i == kMaxFillLines) {
                return Error{"Der Drucker beginnt keine neue Seite"};
            }
            if (Status written = Write(""); !written) {
                return written;
            }
        }
    }
    return TopMargin();
}

// A position or size of a picture line: the number in parentheses from `column` + 1, or the
// numeric variable in brackets from `column`. A missing variable or a text counts as 0.
double Placement(FactBase& facts, std::string_view line, std::size_t column) {
    const std::string field = Columns(line, column, column + 17);
    if (field[0] == '[') {
        return facts.LookupFact(PadRight(field, FactBase::kFieldWidth))
                   ? ReadStoredNumber(facts.FoundValue()).value_or(0.0)
                   : 0.0;
    }
    return ReadStoredNumber(field).value_or(0.0);
}

double PrintJob::Placement(std::string_view line, std::size_t column) {
    return kelvo::Placement(c_.facts(), line, column);
}

// A picture line: the position's whole part is the left edge and its thousandths the top
// edge, the size's whole part the width and its thousandths the height, all in millimetres.
Status PrintJob::Picture(std::string_view line) {
    const double position = Placement(line, 32);
    const double size = Placement(line, 51);
    const double leftMm = std::trunc(position);
    const double topMm = (position - leftMm) * 1000.0;
    const double widthMm = std::trunc(size);
    const double heightMm = (size - widthMm) * 1000.0;
    auto pixels = [](double millimetres, double perCm) {
        const double value = RoundHalfEven(millimetres / 10.0 * perCm);
        return static_cast<int>(std::clamp(value, -1.0e9, 1.0e9));
    };
    PixelRect rect;
    rect.left = pixels(leftMm, pixelsPerCmX_);
    rect.top = pixels(topMm, pixelsPerCmY_);
    rect.right = rect.left + pixels(widthMm, pixelsPerCmX_);
    rect.bottom = rect.top + pixels(heightMm, pixelsPerCmY_);

    // A line whose file-name variable does not exist names no file: it is a missing picture.
    FactBase& facts = c_.facts();
    std::error_code error;
    const std::string name =
        facts.LookupFact(Columns(line, 1, 30)) ? TrimRight(facts.FoundValue()) : std::string();
    const std::filesystem::path file = ResolvePath(name);
    if (name.empty() || !std::filesystem::is_regular_file(file, error)) {
        c_.ShowMessage(kPrintPictureMissingMessage, kInformationCaption, MessageIcon::Information,
                       MessageButtons::Ok);
        return {};
    }
    const std::string ending = ToUpper(name.size() >= 3 ? name.substr(name.size() - 3) : name);
    if (ending != "JPG" && ending != "BMP") {
        return {};  // other pictures are not printed
    }
    return printer_.DrawPicture(file, rect);
}

PrintJob::Outcome PrintJob::PrintLines() {
    auto geometry = printer_.Geometry();
    if (!geometry || geometry->widthMillimetres <= 0.0 || geometry->heightMillimetres <= 0.0) {
        return Outcome::Failed;
    }
    page_ = *geometry;
    pixelsPerCmX_ = page_.widthPixels / (page_.widthMillimetres / 10.0);
    pixelsPerCmY_ = page_.heightPixels / (page_.heightMillimetres / 10.0);

    if (!TopMargin()) {
        return Outcome::Failed;
    }
    int lineCount = 1;
    for (const std::string& line : c_.printBuffer().Lines()) {
        if (c_.services().windows.PumpOneEvent()) {
            c_.Button1Click();
        }
        if (c_.VorgangAbbrechen()) {
            return Outcome::Interrupted;
        }
        const bool picture = PrintBuffer::IsPictureLine(line);
        bool broken = false;
        if (lineCount == kTextLinesPerPage + 1 && !picture) {
            if (!PageBreak()) {
                return Outcome::Failed;
            }
            lineCount = 1;
            broken = true;
        }
        if (picture) {
            if (!Picture(line)) {
                return Outcome::Failed;
            }
        } else if (ToUpper(Columns(line, 1, 12)) == "<NEUE_SEITE>") {
            // A marker that meets a full page begins the one page the full page needed.
            if (!broken && !PageBreak()) {
                return Outcome::Failed;
            }
            lineCount = 1;
        } else {
            if (!Write("     " + TrimRight(line))) {
                return Outcome::Failed;
            }
            ++lineCount;
        }
    }
    return Outcome::Done;
}

// The printer refused the job or could not finish it: the user learns that the printout is
// missing and why.
void PrintJob::ReportFailure(const Error& error) {
    c_.ShowMessage(
        std::string(kPrinterFailedMessage) + "\r\n\r\n" + Utf8ToWindows1252(error.message),
        kInformationCaption, MessageIcon::Warning, MessageButtons::Ok);
}

void PrintJob::Run() {
    SessionWindows& windows = c_.services().windows;
    windows.SetStatusText(kPrintingStatusText);
    Delay(c_.services().clock, 300);
    c_.SetVorgangAbbrechen(false);

    if (Status begun = printer_.BeginJob(kFontName, kFontPoints); !begun) {
        ReportFailure(begun.error());
    } else {
        switch (PrintLines()) {
            case Outcome::Done:
                c_.SetVorgangAbbrechen(false);
                if (Status ended = printer_.EndJob(); !ended) {
                    printer_.AbortJob();
                    ReportFailure(ended.error());
                }
                break;
            case Outcome::Interrupted:
                c_.ShowMessage(kPrintInterruptedMessage, kInformationCaption,
                               MessageIcon::Information, MessageButtons::Ok);
                printer_.AbortJob();
                // The break-off asked to stop the print job, and it has stopped.
                c_.SetVorgangAbbrechen(false);
                break;
            case Outcome::Failed:
                printer_.AbortJob();
                break;
        }
    }
    windows.SetStatusText(kWorkingStatusText);
}

// Collects a line; a full buffer is printed and emptied first, so nothing is lost.
void Collect(Consultation& consultation, std::string_view line) {
    PrintBuffer& buffer = consultation.printBuffer();
    if (buffer.Full()) {
        PrintBufferContents(consultation);
        buffer.ClearPrintBuffer();
    }
    buffer.Append(line);
}

}  // namespace

void PrintBufferContents(Consultation& consultation) {
    Printer* printer = consultation.services().printer;
    if (printer == nullptr) {
        consultation.ShowMessage(kNoPrinterMessage, kInformationCaption, MessageIcon::Information,
                                 MessageButtons::Ok);
        return;
    }
    PrintJob(consultation, *printer).Run();
}

void Druckausgabe(Consultation& consultation) {
    const int slot = consultation.Slot(TaskSlot::Print);
    if (slot < 0) {
        return;
    }
    const KnowledgeBaseImage& image = consultation.image();
    FactBase& facts = consultation.facts();
    PrintBuffer& buffer = consultation.printBuffer();
    for (int p = slot + 1; p <= image.ProgramEnd(); ++p) {
        const char kind = image.Record(p).column(1);
        if (kind != 'T' && kind != 'G') {
            break;
        }
        const std::string line = PadRight(image.Text(p), 82);
        const std::string text = line.substr(2, 80);
        if (kind == 'G') {
            Collect(consultation, PadRight(SubstituteFields(text, facts), 80) + "G ");
            continue;
        }
        if (ToUpper(text.substr(0, 9)) == "<DRUCKEN>") {
            if (buffer.PrintBufferHasLines()) {
                PrintBufferContents(consultation);
            }
            buffer.ClearPrintBuffer();
            continue;
        }
        if (text.starts_with("<<") && facts.LookupFact(Columns(line, 5, 34))) {
            // Long-text lines are cut at 80 so that none is taken for a picture line.
            for (const std::string& part : SplitLines(TrimRight(facts.FoundValue()))) {
                Collect(consultation, PadRight(part, kLongTextWidth));
            }
            continue;
        }
        Collect(consultation, PadRight(SubstituteFields(text, facts), 80) + "  ");
    }
}

}  // namespace kelvo
