#include "platform/terminal/terminal_printer.h"

#include <ostream>

#include "forms/picture_file.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

Status NoJob() {
    return Error{"Druckauftrag ist nicht begonnen"};
}

}  // namespace

TerminalPrinter::TerminalPrinter(std::ostream& out, TerminalPrinterOptions options)
    : out_(out), options_(options) {}

Status TerminalPrinter::BeginJob(std::string_view fontName, int pointSize) {
    if (open_) {
        return Error{"Druckauftrag l\xC3\xA4uft bereits"};
    }
    open_ = true;
    font_ = Windows1252ToUtf8(fontName);
    points_ = pointSize;
    pages_.assign(1, {});
    return {};
}

Expected<PageGeometry> TerminalPrinter::Geometry() {
    return options_.page;
}

Status TerminalPrinter::WriteLine(std::string_view text) {
    if (!open_) {
        return NoJob();
    }
    pages_.back().lines.emplace_back(text);
    if (static_cast<int>(pages_.back().lines.size()) >= options_.linesPerPage) {
        pages_.emplace_back();
    }
    return {};
}

Status TerminalPrinter::DrawPicture(const std::filesystem::path& file, const PixelRect& rect) {
    if (!open_) {
        return NoJob();
    }
    auto picture = LoadPictureFile(file);
    if (!picture) {
        return picture.error();
    }
    pages_.back().pictures.push_back(
        "(Bild: " + file.string() + ", " + std::to_string(picture->width) + "x" +
        std::to_string(picture->height) + " Bildpunkte, auf der Seite von " +
        std::to_string(rect.left) + "," + std::to_string(rect.top) + " bis " +
        std::to_string(rect.right) + "," + std::to_string(rect.bottom) + ")");
    return {};
}

Status TerminalPrinter::EndJob() {
    if (!open_) {
        return NoJob();
    }
    // A last page with neither lines nor pictures is not printed.
    if (pages_.size() > 1 && pages_.back().lines.empty() && pages_.back().pictures.empty()) {
        pages_.pop_back();
    }
    out_ << "\n== Druckausgabe (" << font_ << ", " << points_ << " Punkt) ==\n";
    for (std::size_t p = 0; p < pages_.size(); ++p) {
        out_ << "--- Seite " << p + 1 << " ---\n";
        for (const std::string& line : pages_[p].lines) {
            out_ << Windows1252ToUtf8(TrimRight(line)) << "\n";
        }
        for (const std::string& note : pages_[p].pictures) {
            out_ << note << "\n";
        }
    }
    out_ << "== Ende der Druckausgabe ==\n" << std::flush;
    open_ = false;
    pages_.clear();
    return {};
}

void TerminalPrinter::AbortJob() {
    if (!open_) {
        return;
    }
    out_ << "\n(Druckauftrag abgebrochen; es wurde nichts gedruckt.)\n" << std::flush;
    open_ = false;
    pages_.clear();
}

}  // namespace kelvo
