#include "platform/terminal/terminal_platform.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>
#include <system_error>
#include <thread>
#include <vector>

#include "forms/consultation_form.h"
#include "forms/page_session.h"
#include "inspector/runtime_inspector.h"
#include "store/fact_base.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

std::string Utf8(std::string_view bytes) {
    return Windows1252ToUtf8(bytes);
}

// A message text for the terminal: "\r\n" becomes a line end.
std::string MessageLines(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        out += text[i];
    }
    return Utf8(out);
}

// The visible fields of a page, numbered in reading order (by line, then column).
std::vector<FormControl> NumberedFields(const TForm6& form) {
    std::vector<FormControl> fields;
    for (const Pool pool : {Pool::Edit, Pool::Memo, Pool::CheckBox, Pool::ListBox, Pool::Button}) {
        for (int k = 1; k <= kPoolSlots[static_cast<std::size_t>(pool)]; ++k) {
            const FormSlot& slot = form.Slot(pool, k);
            if (slot.belegt && slot.component.visible) {
                fields.push_back({pool, k});
            }
        }
    }
    std::stable_sort(fields.begin(), fields.end(), [&form](FormControl a, FormControl b) {
        const FormComponent& x = form.Slot(a.pool, a.slot).component;
        const FormComponent& y = form.Slot(b.pool, b.slot).component;
        return x.line != y.line ? x.line < y.line : x.column < y.column;
    });
    return fields;
}

const char* KindText(FieldKind kind) {
    switch (kind) {
        case FieldKind::Input:
            return "Eingabefeld";
        case FieldKind::Display:
            return "Anzeigefeld";
        case FieldKind::MemoInput:
            return "Textfeld";
        case FieldKind::MemoDisplay:
            return "Textanzeige";
        case FieldKind::Button:
            return "Schalter";
        case FieldKind::CheckBox:
            return "K\xE4stchen";
        case FieldKind::ListBox:
            return "Liste";
    }
    return "";
}

// The lines of a multi-line text.
std::vector<std::string> TextLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            lines.push_back(line);
            line.clear();
        } else {
            line += text[i];
        }
    }
    lines.push_back(line);
    return lines;
}

// `text` fitted into `width` columns, filled with `fill`.
std::string Fit(std::string_view text, int width, char fill) {
    std::string out(text.substr(0, static_cast<std::size_t>(std::max(width, 0))));
    out.resize(static_cast<std::size_t>(std::max(width, 0)), fill);
    return out;
}

// The line that explains field `number` below the page.
std::string LegendLine(const TForm6& form, FormControl control, int number) {
    const FormSlot& slot = form.Slot(control.pool, control.slot);
    const FormComponent& field = slot.component;
    std::string line = "  " + std::to_string(number) + ") " + Utf8(KindText(field.kind)) + " " +
                       Utf8(TrimRight(slot.belegtMit));
    switch (field.kind) {
        case FieldKind::CheckBox:
            line += " (" + Utf8(field.text) +
                    "): " + (field.checked ? "angekreuzt" : "nicht angekreuzt");
            break;
        case FieldKind::ListBox:
            line += ":";
            for (std::size_t k = 0; k < field.items.size(); ++k) {
                line += " " + std::to_string(k + 1) + "=" + Utf8(field.items[k]) +
                        (field.selected == static_cast<int>(k) + 1 ? "(*)" : "");
            }
            break;
        case FieldKind::Button:
            line += ": " + Utf8(field.text);
            break;
        default:
            line += " = \"" + MessageLines(field.text) + "\"";
            break;
    }
    return line;
}

// A whole line read as a decimal number; empty when it is none.
std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

TerminalPlatform::TerminalPlatform(std::istream& in, std::ostream& out, TerminalOptions options)
    : in_(in), out_(out), options_(std::move(options)) {}

bool TerminalPlatform::ReadLine(std::string& line) {
    if (ended_ || !std::getline(in_, line)) {
        ended_ = true;
        line.clear();
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

std::string TerminalPlatform::Ask(const std::string& prompt) {
    out_ << prompt << std::flush;
    std::string line;
    if (!ReadLine(line)) {
        out_ << "\n";
    }
    return line;
}

MessageAnswer TerminalPlatform::MessageBox(std::string_view text, std::string_view caption,
                                           MessageIcon /*icon*/, MessageButtons buttons) {
    out_ << "\n== " << Utf8(caption) << " ==\n" << MessageLines(text) << "\n";
    if (buttons == MessageButtons::Ok) {
        out_ << std::flush;
        return MessageAnswer::Ok;
    }
    for (;;) {
        if (ended_) {
            return MessageAnswer::No;
        }
        const std::string answer = Ask("(j = Ja, n = Nein) ");
        if (answer == "j" || answer == "J" || answer == "ja" || answer == "Ja") {
            return MessageAnswer::Yes;
        }
        if (answer == "n" || answer == "N" || answer == "nein" || answer == "Nein" || ended_) {
            return MessageAnswer::No;
        }
    }
}

std::vector<std::string> TerminalPlatform::PageText(const TForm6& form) {
    std::vector<std::string> grid(static_cast<std::size_t>(TForm6::kBodyLines));
    for (std::size_t r = 0; r < grid.size(); ++r) {
        grid[r] = PadRight(form.Labels()[r], TForm6::kColumns);
    }
    const std::vector<FormControl> fields = NumberedFields(form);
    auto put = [&grid](int line, int column, const std::string& text) {
        if (line >= 1 && line <= TForm6::kBodyLines) {
            std::string& row = grid[static_cast<std::size_t>(line - 1)];
            row.replace(static_cast<std::size_t>(column - 1),
                        std::min(text.size(), row.size() - static_cast<std::size_t>(column - 1)),
                        text);
            row.resize(static_cast<std::size_t>(TForm6::kColumns), ' ');
        }
    };
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FormComponent& field = form.Slot(fields[i].pool, fields[i].slot).component;
        const std::string number = std::to_string(i + 1);
        const int width = field.columns;
        switch (field.kind) {
            case FieldKind::Input:
            case FieldKind::Display:
                put(field.line, field.column,
                    Fit("[" + number + "]" + TextLines(field.text).front(), width,
                        field.kind == FieldKind::Input ? '_' : ' '));
                break;
            case FieldKind::MemoInput:
            case FieldKind::MemoDisplay: {
                const std::vector<std::string> lines = TextLines(field.text);
                const char fill = field.kind == FieldKind::MemoInput ? '_' : ' ';
                for (int h = 0; h < field.lines; ++h) {
                    std::string text = h < static_cast<int>(lines.size())
                                           ? lines[static_cast<std::size_t>(h)]
                                           : std::string();
                    put(field.line + h, field.column,
                        Fit((h == 0 ? "[" + number + "]" : std::string()) + text, width, fill));
                }
                break;
            }
            case FieldKind::Button:
                put(field.line, field.column,
                    Fit("<" + number + " " + (field.text.empty() ? "Bild" : field.text) + ">",
                        width, ' '));
                break;
            case FieldKind::CheckBox:
                put(field.line, field.column,
                    Fit("[" + number + "]" + (field.checked ? "(x) " : "( ) ") + field.text, width,
                        ' '));
                break;
            case FieldKind::ListBox:
                for (int h = 0; h < field.lines; ++h) {
                    std::string text;
                    if (h < static_cast<int>(field.items.size())) {
                        text = (field.selected == h + 1 ? "*" : " ") +
                               field.items[static_cast<std::size_t>(h)];
                    }
                    put(field.line + h, field.column,
                        Fit((h == 0 ? "[" + number + "]" : std::string()) + text, width, ' '));
                }
                break;
        }
    }
    std::size_t last = grid.size();
    while (last > 0 && TrimRight(grid[last - 1]).empty()) {
        --last;
    }
    std::vector<std::string> lines;
    lines.push_back("=== " + TrimRight(form.Caption()) + " ===");
    for (std::size_t r = 0; r < last; ++r) {
        lines.push_back(TrimRight(grid[r]));
    }
    return lines;
}

void TerminalPlatform::ShowPageText(const TForm6& form) {
    std::vector<std::string> lines = PageText(form);
    out_ << "\n";
    for (const std::string& line : lines) {
        out_ << Utf8(line) << "\n";
    }
    for (const FormPicture& picture : form.Pictures()) {
        if (picture.visible) {
            out_ << "(Bild: " << picture.file << ")\n";
        }
    }
    const std::vector<FormControl> fields = NumberedFields(form);
    if (!fields.empty()) {
        out_ << "---\n";
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        out_ << LegendLine(form, fields[i], static_cast<int>(i) + 1) << "\n";
    }
    out_ << std::flush;
}

int TerminalPlatform::EditField(TForm6& form, int number) {
    const std::vector<FormControl> fields = NumberedFields(form);
    if (number < 1 || number > static_cast<int>(fields.size())) {
        return -1;
    }
    const FormControl control = fields[static_cast<std::size_t>(number - 1)];
    const FormSlot& slot = form.Slot(control.pool, control.slot);
    const FormComponent& field = slot.component;
    const std::string name = Utf8(TrimRight(slot.belegtMit));
    switch (field.kind) {
        case FieldKind::Input: {
            const std::string line = Ask(name + " (bisher \"" + Utf8(field.text) +
                                         "\"; Enter beh\xC3\xA4lt, - leert): ");
            if (line == "-") {
                form.SetFieldText(control, "");
            } else if (!line.empty()) {
                form.SetFieldText(control, Utf8ToWindows1252(line));
            }
            break;
        }
        case FieldKind::MemoInput: {
            out_ << name << " (bisher \"" << MessageLines(field.text)
                 << "\"): neue Zeilen eingeben, Ende mit einer Zeile \".\"\n";
            std::string text;
            bool first = true;
            std::string line;
            while (ReadLine(line) && line != ".") {
                text += (first ? "" : "\r\n") + Utf8ToWindows1252(line);
                first = false;
            }
            form.SetFieldText(control, text);
            break;
        }
        case FieldKind::CheckBox:
            form.SetChecked(control.slot, !field.checked);
            break;
        case FieldKind::ListBox: {
            const std::string line =
                Ask(name + ": Eintrag 1 bis " + std::to_string(field.items.size()) +
                    ", 0 = keiner (bisher " + std::to_string(field.selected) + "): ");
            const int item = line.empty() ? field.selected : Number(line).value_or(-1);
            if (!form.Select(control.slot, item)) {
                out_ << "Kein solcher Eintrag.\n";
            }
            break;
        }
        case FieldKind::Button:
            return control.slot;
        case FieldKind::Display:
        case FieldKind::MemoDisplay:
            out_ << "Ein Anzeigefeld kann nicht ge\xC3\xA4ndert werden.\n";
            break;
    }
    return 0;
}

// The page commands of a person at the terminal: the page is printed once and again on
// request, fields are edited by their numbers, and the commands have their letters.
class TerminalPageDesktop final : public PageDesktop {
  public:
    explicit TerminalPageDesktop(TerminalPlatform& platform) : platform_(platform) {}

    PageAction NextAction(TForm6& form) override;
    void PlayMedia(TForm6& /*form*/, const MediaRequest& request) override {
        platform_.Play(request);
    }
    void PrintPage(const TForm6& form) override { platform_.PrintPageImage(form); }
    void OpenInspector(InspectorContext& context) override {
        platform_.ShowInspector(InspectorReason::Page, 0, context);
        shown_ = false;  // back on the page: show it again
    }

  private:
    TerminalPlatform& platform_;
    bool shown_ = false;
};

PageAction TerminalPageDesktop::NextAction(TForm6& form) {
    TerminalPlatform& p = platform_;
    for (;;) {
        if (p.ended_) {
            return {PageAction::Kind::Stop};  // no one is left to answer
        }
        if (!shown_) {
            p.ShowPageText(form);
            shown_ = true;
        }
        std::string choices = "Nummer = Feld bearbeiten";
        if (form.Tool(ToolButton::Weiter).visible) {
            choices += ", w = Weiter";
        }
        choices += ", a = Abbruch";
        if (form.Tool(ToolButton::Drucken).visible) {
            choices += ", p = Drucken";
        }
        if (form.Tool(ToolButton::Datenbasis).visible) {
            choices += ", d = Datenbasis";
        }
        if (form.Tool(ToolButton::VideoSound).visible) {
            choices += ", v = Video/Sound";
        }
        const std::string line = p.Ask(choices + ", s = Seite zeigen: ");
        if (p.ended_) {
            continue;
        }
        if ((line == "w" || line == "W") && form.Tool(ToolButton::Weiter).visible) {
            return {PageAction::Kind::Weiter};
        }
        if (line == "a" || line == "A") {
            return {PageAction::Kind::Abbruch};
        }
        if ((line == "p" || line == "P") && form.Tool(ToolButton::Drucken).visible) {
            return {PageAction::Kind::Drucken};
        }
        if ((line == "d" || line == "D") && form.Tool(ToolButton::Datenbasis).visible) {
            return {PageAction::Kind::Datenbasis};
        }
        if ((line == "v" || line == "V") && form.Tool(ToolButton::VideoSound).visible) {
            return {PageAction::Kind::VideoSound};
        }
        if (line == "s" || line == "S") {
            shown_ = false;
            continue;
        }
        const int number = Number(line).value_or(0);
        const int edited = p.EditField(form, number);
        if (edited < 0) {
            p.out_ << "Bitte eine der genannten Eingaben.\n";
        } else if (edited > 0) {
            return {PageAction::Kind::PageButton, edited};
        } else {
            const std::vector<FormControl> fields = NumberedFields(form);
            p.out_ << LegendLine(form, fields[static_cast<std::size_t>(number - 1)], number)
                   << "\n";
        }
    }
}

PageOutcome TerminalPlatform::ShowPage(const PageRequest& page, InspectorContext& context) {
    TerminalPageDesktop desktop(*this);
    PageSession session(page, context, desktop, *this,
                        {options_.screenWidth, options_.screenHeight, options_.fileFolder});
    return session.Run();
}

void TerminalPlatform::PrintPageImage(const TForm6& form) {
    const std::vector<std::string> lines = PageText(form);
    if (printer_ == nullptr) {
        out_ << "\n(Kein Drucker: die Seite \"" << Utf8(TrimRight(form.Caption()))
             << "\" wurde nicht gedruckt.)\n"
             << std::flush;
        return;
    }
    // The page's image scaled to the printed page: its text as lines, its pictures in place.
    if (!printer_->BeginJob("Courier New", 10).ok()) {
        out_ << "\n(Die Seite konnte nicht gedruckt werden.)\n" << std::flush;
        return;
    }
    const auto geometry = printer_->Geometry();
    bool printed = geometry.ok();
    for (std::size_t i = 0; printed && i < lines.size(); ++i) {
        printed = printer_->WriteLine(lines[i]).ok();
    }
    if (printed) {
        const double scale =
            std::min(static_cast<double>(geometry->widthPixels) / TForm6::kClientWidth,
                     static_cast<double>(geometry->heightPixels) / TForm6::kClientHeight);
        auto scaled = [scale](int value) {
            return static_cast<int>(std::lround(static_cast<double>(value) * scale));
        };
        for (const FormPicture& picture : form.Pictures()) {
            if (printed && picture.visible) {
                const FormRect& r = picture.rect;
                printed = printer_
                              ->DrawPicture(picture.file,
                                            {scaled(r.left), scaled(r.top),
                                             scaled(r.left + r.width), scaled(r.top + r.height)})
                              .ok();
            }
        }
    }
    if (printed && printer_->EndJob().ok()) {
        return;
    }
    printer_->AbortJob();
    out_ << "\n(Die Seite konnte nicht gedruckt werden.)\n" << std::flush;
}

void TerminalPlatform::ShowInspector(InspectorReason /*why*/, int line, InspectorContext& context) {
    TForm7 inspector(context.facts, context.breakpointLine,
                     {clipboard_, context.ablage2Text, context.ablage3Text}, options_.screenWidth,
                     options_.screenHeight);
    for (;;) {
        out_ << "\n=== Datenbasis: " << Utf8(inspector.Title()) << " ===\n";
        if (line > 0) {
            out_ << "(Zeile " << line << ")\n";
        }
        for (int k = 0; k < TForm7::kRows; ++k) {
            out_ << (k + 1 == TForm7::kMiddleRow ? "> " : "  ")
                 << Utf8(TrimRight(inspector.Rows()[static_cast<std::size_t>(k)])) << "\n";
        }
        for (const TForm7::Watched& watched : inspector.WatchedVariables()) {
            out_ << "  " << Utf8(watched.name) << " " << Utf8(TrimRight(watched.value)) << "\n";
        }
        std::string choices =
            "u = Umschalten, + = vor, - = zur\xC3\xBC"
            "ck";
        if (inspector.BreakpointButtonEnabled()) {
            choices += ", h = Haltepunkt l\xC3\xB6schen";
        }
        const std::string answer = Ask(choices +
                                       ", Enter = Zur\xC3\xBC"
                                       "ck zum Programm: ");
        if (answer.empty() || ended_) {
            return;
        }
        if (answer == "u") {
            inspector.UmschaltenClick();
        } else if (answer == "+") {
            inspector.Edit_HilfKeyDown(InspectorKey::Down);
        } else if (answer == "-") {
            inspector.Edit_HilfKeyDown(InspectorKey::Up);
        } else if (answer == "h" && inspector.BreakpointButtonEnabled()) {
            inspector.Haltepunkt_loeschenClick();
            out_ << "Haltepunkt gel\xC3\xB6scht.\n";
        }
    }
}

LocalDateTime TerminalPlatform::Now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::uint32_t TerminalPlatform::TickCount() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void TerminalPlatform::Sleep(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void TerminalPlatform::Beep() {
    out_ << '\a' << std::flush;
}

void TerminalPlatform::Play(const MediaRequest& request) {
    for (const std::string& command : request.commands) {
        out_ << "(Medien, im Terminal nicht abspielbar: " << command << ")\n";
    }
    out_ << std::flush;
}

std::optional<std::string> TerminalPlatform::AskFileName(std::string_view dialog,
                                                         const FileDialogRequest& request) {
    out_ << "\n== " << (request.title.empty() ? std::string(dialog) : Utf8(request.title))
         << " ==\n";
    for (const FileFilter& filter : request.filters) {
        out_ << "  " << Utf8(filter.description) << " (" << Utf8(filter.pattern) << ")\n";
    }
    if (!request.folder.empty()) {
        out_ << "Ordner: " << Utf8(request.folder) << "\n";
    }
    const std::string line = Ask("Dateiname (Enter = Abbrechen): ");
    if (line.empty() || ended_) {
        return std::nullopt;
    }
    std::filesystem::path path = line;
    if (path.is_relative() && !request.folder.empty()) {
        path = std::filesystem::path(Utf8(request.folder)) / path;
    }
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return Utf8ToWindows1252((error ? path : full).lexically_normal().string());
}

std::optional<std::string> TerminalPlatform::OpenFileName(const FileDialogRequest& request) {
    return AskFileName(
        "\xC3\x96"
        "ffnen",
        request);
}

std::optional<std::string> TerminalPlatform::SaveFileName(const FileDialogRequest& request) {
    return AskFileName("Speichern unter", request);
}

void TerminalPlatform::PrinterSetup() {
    out_ << "\n== Druckereinrichtung ==\nDer Drucker dieses Terminals schreibt die Seiten als "
            "Text hierher; es gibt nichts einzurichten.\n"
         << std::flush;
}

}  // namespace kelvo
