#include "authoring/program_editor.h"

#include <algorithm>
#include <array>
#include <string>

#include "authoring/fill_characters.h"
#include "authoring/program_line_check.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

constexpr int kFirstLineJump = -1000000;
constexpr int kLastLineJump = 1000000;
constexpr std::size_t kRowWidth = 82;
// Fehlermeldung's information boxes, and the warning boxes of the editor.
constexpr std::string_view kInformationCaption = "Hinweis";
constexpr std::string_view kWarningCaption = "Fehlermeldung";
// The new line of an insertion: an empty comment line.
const std::string kEmptyCommentLine = "K" + std::string(82, ' ');

struct MessageText {
    int code;
    std::string_view text;
};
constexpr std::array<MessageText, 7> kMessages = {{
    {2, "Innerhalb des markierten Blockes kann\r\nnicht kopiert oder verschoben werden!"},
    {3, kFaultyLineMessage},
    {100, "Dateiname schon vergeben !"},
    {101, "Wissensbasis konnte nicht angelegt werden !"},
    {102, "Name der Wissensbasis unkorrekt !"},
    {200, "Suchwort nicht gefunden !"},
    {201, "Keine weiteren Eintr\xE4ge vorhanden !"},
}};

struct HelpTopic {
    std::string_view firstCharacters;
    std::string_view topic;
};
constexpr std::array<HelpTopic, 14> kHelpTopics = {{
    {"RUO", "Regeln"},
    {"B=", "Aufgaben"},
    {"\xABW", "WB_lesen"},
    {"VJ", "Variablen"},
    {"HM", "Rechnen"},
    {"C", "Texte_d"},
    {"NT", "Texte_n"},
    {"\xBB", "WB_schreiben"},
    {"XY", "Rueck"},
    {"Z", "Ziel"},
    {"F", "Fakten"},
    {"K", "Kommentare"},
    {"G", "Media"},
    {"P", "Projekt"},
}};

// Where a consultation can stop: task headers and the action lines that run a task.
constexpr std::string_view kBreakpointKinds = "R\xABVHCN\xBBX";
constexpr std::array<std::string_view, 6> kBreakpointActions = {"= (\xAB)", "= (V)", "= (H)",
                                                                "= (C)",    "= (N)", "= (\xBB)"};

}  // namespace

std::string_view EditorMessageText(int code) {
    for (const MessageText& message : kMessages) {
        if (message.code == code) {
            return message.text;
        }
    }
    return {};
}

std::string_view HelpTopicFor(std::string_view line) {
    if (line.empty()) {
        return kGeneralHelpTopic;
    }
    char first = line[0];
    if (first >= 'a' && first <= 'z') {
        first = static_cast<char>(first - 'a' + 'A');
    }
    for (const HelpTopic& entry : kHelpTopics) {
        if (entry.firstCharacters.find(first) != std::string_view::npos) {
            return entry.topic;
        }
    }
    return kGeneralHelpTopic;
}

bool IsBreakpointAllowed(std::string_view line) {
    if (line.empty()) {
        return false;
    }
    if (kBreakpointKinds.find(line[0]) != std::string_view::npos) {
        return true;
    }
    const std::string_view start = line.substr(0, 5);
    return std::find(kBreakpointActions.begin(), kBreakpointActions.end(), start) !=
           kBreakpointActions.end();
}

// ---- Creating ------------------------------------------------------------------------------

TForm2::TForm2(KnowledgeBaseFile& file, EditorState& state, EditorServices& services)
    : file_(file), state_(state), services_(services) {
    // FormCreate: place and scale the window.
    scale_ = EditorScaleFor(services_.screenWidth, services_.screenHeight);
    // Loaded: back to ErrorLine, no block, no search text.
    currentLine_ = std::max(0, std::min(state_.errorLine, RecordCount() - 1));
    blockStart_ = kNoBlock;
    blockEnd_ = kNoBlock;
    suchString_.clear();
    weitersuchenEnabled_ = false;
    SetButtons(BlockButtons::NoBlock);
    Programmzeilen_aktualisieren();
}

// ---- The file ------------------------------------------------------------------------------

int TForm2::RecordCount() const {
    auto count = file_.RecordCount();
    return count ? *count : 0;
}

std::string TForm2::RecordText(int position) const {
    auto record = file_.ReadRecord(position);
    return record ? std::string(record->text()) : std::string();
}

bool TForm2::ReadProgram(std::vector<LineRecord>& records) {
    auto all = file_.ReadAll();
    if (!all) {
        ShowFileFailure("Die Wissensbasis konnte nicht gelesen werden.", all.error());
        return false;
    }
    records = std::move(*all);
    return true;
}

bool TForm2::WriteProgram(const std::vector<LineRecord>& records) {
    const ReplaceOutcome outcome = file_.ReplaceAll(records, services_.fileFaults);
    if (!outcome.status.ok()) {
        ShowWriteFailure(outcome);
    }
    return outcome.replaced;
}

void TForm2::ShowWriteFailure(const ReplaceOutcome& outcome) {
    ShowFileFailure(outcome.replaced
                        ? "Die Änderung ist in der Wissensbasis ausgeführt, aber nicht sicher "
                          "auf dem Datenträger gespeichert."
                        : "Die Wissensbasis konnte nicht geändert werden.\r\nSie ist unverändert "
                          "geblieben.",
                    outcome.status.error());
}

void TForm2::ShowFileFailure(std::string_view what, const Error& error) {
    // `what` is written here in UTF-8 like every Error message; the box takes Windows-1252.
    services_.beeper.Beep();
    services_.dialogs.MessageBox(Utf8ToWindows1252(std::string(what) + "\r\n\r\n" + error.message),
                                 kWarningCaption, MessageIcon::Warning, MessageButtons::Ok);
}

// ---- Display -------------------------------------------------------------------------------

void TForm2::Programmzeilen_aktualisieren() {
    const int count = RecordCount();
    scrollBar_ = {currentLine_, 0, std::max(0, count - 1)};
    auto inBlock = [&](int position) { return blockStart_ <= position && position <= blockEnd_; };
    rows_.clear();
    for (int d = -kRowsAround; d <= kRowsAround; ++d) {
        if (d == 0) {
            continue;
        }
        const int position = currentLine_ + d;
        const bool exists = position >= 0 && position < count;
        std::string text =
            exists ? RecordText(position).substr(0, kRowWidth) : std::string(kRowWidth, ' ');
        rows_.push_back({text + ' ', inBlock(position)});
    }
    edit8_ = currentLine_ < count ? TrimRight(RecordText(currentLine_))
                                  : std::string(kEdit8MaxLength, ' ');
    edit8Changed_ = false;
    selection_ = {};
    edit8Red_ = inBlock(currentLine_);
    counter_ = "Zeile = " + PadLeft(std::to_string(currentLine_ + 1), 6);
    if (markierungszeichen_) {
        Fuellzeichen_einfuegen();
    }
}

TForm2::LineRow TForm2::Row(int offset) const {
    if (offset == 0 || offset < -kRowsAround || offset > kRowsAround) {
        return {std::string(kRowWidth + 1, ' '), false};
    }
    const int index = offset < 0 ? offset + kRowsAround : offset + kRowsAround - 1;
    return rows_[static_cast<std::size_t>(index)];
}

void TForm2::Fuellzeichen_einfuegen() {
    edit8_ = ::kelvo::Fuellzeichen_einfuegen(edit8_);
    selection_ = {};
    edit8Changed_ = true;
}

TForm2::StatusLabel TForm2::Label7() const {
    const bool f5 = state_.markF5 != -1;
    const bool f6 = state_.markF6 != -1;
    if (f5 && f6) {
        return {"F5 + F6 = Markiert", true};
    }
    if (f5) {
        return {"F5 = Markiert", true};
    }
    if (f6) {
        return {"F6 = Markiert", true};
    }
    return {"", false};
}

bool TForm2::Enabled(EditorButton button) const {
    switch (button) {
        case EditorButton::Einfuegen:
            return buttons_ != BlockButtons::BlockMarked;
        case EditorButton::Von_1:
            return buttons_ == BlockButtons::NoBlock;
        case EditorButton::Bis_1:
            return buttons_ == BlockButtons::StartChosen;
        case EditorButton::Aus_1:
        case EditorButton::Verschieben_1:
        case EditorButton::Loeschen_1:
        case EditorButton::Kopieren_1:
        case EditorButton::Drucken_1:
            return buttons_ == BlockButtons::BlockMarked;
        case EditorButton::Weitersuchen:
            return weitersuchenEnabled_;
        default:
            return true;
    }
}

void TForm2::SetButtons(BlockButtons state) {
    buttons_ = state;
}

// ---- Checking and storing ------------------------------------------------------------------

bool TForm2::Pruefen() {
    const LineCheck check = CheckProgramLine(edit8_);
    if (!check.ok) {
        Fehlermeldung(static_cast<int>(EditorMessage::FaultyLine));
        return false;
    }
    if (Status stored =
            file_.WriteRecord(currentLine_, LineRecord(check.line), services_.fileFaults);
        !stored) {
        ShowFileFailure("Ihre Programmzeile konnte nicht gespeichert werden.", stored.error());
        return false;
    }
    return true;
}

bool TForm2::CheckCurrentLine() {
    return !edit8Changed_ || Pruefen();
}

void TForm2::Fehlermeldung(int fehler) {
    services_.beeper.Beep();
    services_.dialogs.MessageBox(EditorMessageText(fehler), kInformationCaption,
                                 MessageIcon::Information, MessageButtons::Ok);
}

void TForm2::Abbruchfenster(int status) {
    if (services_.setCursor) {
        services_.setCursor(status == 2 ? CursorShape::Hourglass : CursorShape::Arrow);
    }
}

// ---- Moving --------------------------------------------------------------------------------

bool TForm2::Editorposition_aktualisieren(int sprungbefehl) {
    if (!CheckCurrentLine()) {
        return false;
    }
    const int count = RecordCount();
    long long target = currentLine_;
    if (sprungbefehl == kFirstLineJump) {
        target = 0;
    } else if (sprungbefehl == kLastLineJump) {
        target = count - 1;
    } else {
        target += sprungbefehl;
    }
    target = std::max(0LL, std::min<long long>(target, count - 1));
    currentLine_ = static_cast<int>(target);
    Programmzeilen_aktualisieren();
    return true;
}

void TForm2::AnfangClick() {
    Editorposition_aktualisieren(kFirstLineJump);
}

void TForm2::EndeClick() {
    Editorposition_aktualisieren(kLastLineJump);
}

void TForm2::Minus_1Click() {
    MoveToProjectLine(-1);
}

void TForm2::Plus_1Click() {
    MoveToProjectLine(+1);
}

void TForm2::MoveToProjectLine(int direction) {
    const int count = RecordCount();
    for (int position = currentLine_ + direction; position >= 0 && position < count;
         position += direction) {
        const std::string text = RecordText(position);
        if (!text.empty() && text[0] == 'P') {
            Editorposition_aktualisieren(position - currentLine_);
            return;
        }
    }
    Editorposition_aktualisieren(direction < 0 ? kFirstLineJump : kLastLineJump);
}

void TForm2::Text1Click(int offset) {
    if (!CheckCurrentLine()) {
        return;
    }
    const int target = currentLine_ + offset;
    if (offset != 0 && offset >= -kRowsAround && offset <= kRowsAround && target >= 0 &&
        target < RecordCount()) {
        currentLine_ = target;
    }
    Programmzeilen_aktualisieren();
}

void TForm2::ScrollBar1Scroll(int position) {
    // Neither checked nor stored: typing not yet stored is lost.
    currentLine_ = std::max(0, std::min(position, RecordCount() - 1));
    Programmzeilen_aktualisieren();
}

void TForm2::MouseWheelHandler(int delta) {
    if (delta == 0) {
        return;
    }
    // Every wheel notch arrives twice; only every second message counts.
    if (++wheelMessages_ % 2 != 0) {
        return;
    }
    if (delta < 0) {
        state_.wheelPageMode ? Plus_1Click() : static_cast<void>(Editorposition_aktualisieren(1));
    } else {
        state_.wheelPageMode ? Minus_1Click() : static_cast<void>(Editorposition_aktualisieren(-1));
    }
}

void TForm2::FormMouseDown(MouseButton button) {
    if (button == MouseButton::Middle) {
        state_.wheelPageMode = !state_.wheelPageMode;
        Delay(services_.ticks, 100);
    }
}

// ---- Keys and typing -----------------------------------------------------------------------

void TForm2::Edit8KeyDown(EditorKey key) {
    switch (key) {
        case EditorKey::Up:
            Editorposition_aktualisieren(-1);
            break;
        case EditorKey::Down:
            Editorposition_aktualisieren(1);
            break;
        case EditorKey::PageUp:
            Editorposition_aktualisieren(-10);
            break;
        case EditorKey::PageDown:
            Editorposition_aktualisieren(10);
            break;
        case EditorKey::F1:
            Button1Click();
            break;
        case EditorKey::F5:
            MarkKey(state_.markF5);
            break;
        case EditorKey::F6:
            MarkKey(state_.markF6);
            break;
        case EditorKey::Enter:
            // Held down, Enter inserts lines without typing into the field.
            edit8ReadOnly_ = true;
            EinfuegenClick();
            break;
    }
}

void TForm2::Edit8KeyUp(EditorKey key) {
    if (key == EditorKey::Enter) {
        edit8ReadOnly_ = false;
    }
}

void TForm2::PressKey(EditorKey key) {
    Edit8KeyDown(key);
    Edit8KeyUp(key);
}

void TForm2::MarkKey(int& mark) {
    if (mark == -1) {
        mark = currentLine_;
        return;
    }
    // The current line is stored at its own position before the move; the mark goes even
    // when a faulty line stops the move.
    const int target = mark;
    mark = -1;
    Editorposition_aktualisieren(target - currentLine_);
}

void TForm2::TypeText(std::string_view text) {
    if (edit8ReadOnly_) {
        return;
    }
    edit8_ = std::string(text.substr(0, kEdit8MaxLength));
    selection_ = {static_cast<int>(edit8_.size()), 0};
    edit8Changed_ = true;
}

void TForm2::SetSelection(int start, int length) {
    const int size = static_cast<int>(edit8_.size());
    start = std::clamp(start, 0, size);
    length = std::clamp(length, 0, size - start);
    selection_ = {start, length};
}

void TForm2::InsertIntoEdit8(std::string_view text) {
    // A single-line field takes a pasted text up to its first line break, and no more than
    // fits.
    text = text.substr(0, text.find_first_of("\r\n"));
    const auto start = static_cast<std::size_t>(selection_.start);
    const auto length = static_cast<std::size_t>(selection_.length);
    const std::size_t room = kEdit8MaxLength - std::min(kEdit8MaxLength, edit8_.size() - length);
    text = text.substr(0, room);
    edit8_.replace(start, length, text);
    selection_ = {static_cast<int>(start + text.size()), 0};
    edit8Changed_ = true;
}

// ---- Inserting -----------------------------------------------------------------------------

void TForm2::EinfuegenClick() {
    if (!CheckCurrentLine()) {
        return;
    }
    const int count = RecordCount();
    const LineRecord newLine(kEmptyCommentLine);
    if (currentLine_ >= count - 1) {
        // Behind the last line (or into an empty file): one record appended.
        if (Status appended = file_.WriteRecord(count, newLine, services_.fileFaults); !appended) {
            ShowFileFailure("Die Zeile konnte nicht eingefügt werden.", appended.error());
            return;
        }
    } else {
        std::vector<LineRecord> records;
        if (!ReadProgram(records)) {
            return;
        }
        records.insert(records.begin() + currentLine_ + 1, newLine);
        if (!WriteProgram(records)) {
            return;
        }
    }
    if (currentLine_ != count - 1) {
        for (int* mark : {&state_.markF5, &state_.markF6}) {
            if (*mark > currentLine_) {
                ++*mark;
            }
        }
    }
    currentLine_ = count == 0 ? 0 : currentLine_ + 1;
    Programmzeilen_aktualisieren();
}

}  // namespace kelvo
