// The block print of the program editor.

#include <string>

#include "authoring/program_editor.h"

namespace kelvo {
namespace {

constexpr std::string_view kPrintFont = "Courier New";
constexpr int kPrintPointSize = 10;
constexpr int kEmptyLinesAtPageTop = 3;
constexpr int kLinesPerPage = 63;
constexpr std::string_view kIndent = "     ";
constexpr std::uint32_t kDelayPerLine = 100;
// Defensive: a printer whose page number never moves on would fill for ever.
constexpr int kMostFillLines = 10000;

}  // namespace

void TForm2::Drucken_1Click() {
    if (!CheckCurrentLine()) {
        return;
    }
    PrintBlock();
    EndBlockCommand();
}

void TForm2::PrintBlock() {
    compileAbort_ = false;
    if (services_.printer == nullptr) {
        services_.dialogs.MessageBox(
            "Es ist kein Drucker verf\xFC"
            "gbar. Der Block wird nicht gedruckt.",
            "Hinweis", MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    Printer& printer = *services_.printer;
    if (Status begun = printer.BeginJob(kPrintFont, kPrintPointSize); !begun) {
        ShowFileFailure("Der Block kann nicht gedruckt werden.", begun.error());
        return;
    }
    services_.progress.Show();

    // A failing printer call breaks the job: it is aborted and the author told why.
    auto failed = [&](const Error& error) {
        printer.AbortJob();
        ShowFileFailure("Der Block konnte nicht gedruckt werden.", error);
    };
    auto writeLine = [&](std::string_view text) {
        Status written = printer.WriteLine(text);
        if (!written) {
            failed(written.error());
        }
        return written.ok();
    };

    bool ended = false;
    int linesOnPage = 0;
    for (int position = blockStart_; position <= blockEnd_ && !ended; ++position) {
        if (services_.progress.PumpOneEvent()) {
            compileAbort_ = true;
        }
        Delay(services_.ticks, kDelayPerLine);
        if (compileAbort_) {
            printer.AbortJob();
            services_.beeper.Beep();
            services_.dialogs.MessageBox("Druckvorgang wurde abgebrochen", "Hinweis",
                                         MessageIcon::Information, MessageButtons::Ok);
            ended = true;
            break;
        }
        auto record = file_.ReadRecord(position);
        if (!record) {
            failed(record.error());
            ended = true;
            break;
        }
        if (linesOnPage == 0) {
            for (int i = 0; i < kEmptyLinesAtPageTop && !ended; ++i) {
                ended = !writeLine("");
            }
        }
        if (ended || !writeLine(std::string(kIndent) + std::string(record->text()))) {
            ended = true;
            break;
        }
        if (++linesOnPage == kLinesPerPage && position < blockEnd_) {
            // Fill the page until the printer is on the next one.
            const int page = printer.PageNumber();
            for (int fill = 0; printer.PageNumber() == page && !ended; ++fill) {
                if (fill == kMostFillLines) {
                    failed(Error{"Der Drucker beginnt keine neue Seite."});
                    ended = true;
                } else {
                    ended = !writeLine("");
                }
            }
            linesOnPage = 0;
        }
    }
    if (!ended) {
        if (Status finished = printer.EndJob(); !finished) {
            ShowFileFailure("Der Block konnte nicht gedruckt werden.", finished.error());
        }
    }
    services_.progress.Close();
}

}  // namespace kelvo
