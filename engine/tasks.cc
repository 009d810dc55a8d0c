// The tasks of a new fact: matching the task copies, running each kind in its order, the
// task block with its repeats, the text display, and the jump back.
#include <algorithm>
#include <array>

#include "engine/consultation.h"
#include "engine/error_codes.h"
#include "engine/evidence.h"
#include "engine/whole_number.h"
#include "store/fact_record.h"
#include "store/field_substitution.h"
#include "store/fixed_field.h"
#include "store/stored_number.h"
#include "store/text_field.h"

namespace kelvo {
namespace {

const std::string kLsName = PadRight("[+LS             ]", FactBase::kFieldWidth);

// The action lines of a task block, in the order they are tested, with their slot and the
// kind of their body.
struct BlockAction {
    std::string_view marker;
    TaskSlot slot;
    char bodyKind;
};
constexpr std::array<BlockAction, 8> kBlockActions = {{
    {"= (\xAB)", TaskSlot::ReadOther, 'W'},
    {"= (<)", TaskSlot::OldDatabaseRead, 'D'},
    {"= (V)", TaskSlot::VariableCommands, 'J'},
    {"= (H)", TaskSlot::Computation, 'M'},
    {"= (C)", TaskSlot::Print, 'T'},
    {"= (N)", TaskSlot::Display, 'T'},
    {"= (>)", TaskSlot::OldDatabaseWrite, 'D'},
    {"= (\xBB)", TaskSlot::WriteOther, 'W'},
}};

std::string_view TaskName(TaskSlot slot) {
    switch (slot) {
        case TaskSlot::VariableCommands:
            return "Variablenbefehle";
        case TaskSlot::ReadOther:
            return "Wissensbasis lesen";
        case TaskSlot::WriteOther:
            return "Wissensbasis schreiben";
        case TaskSlot::Print:
            return "Druckausgabe";
        case TaskSlot::Computation:
            return "Berechnungen";
        default:
            return "Aufgabe";
    }
}
// The origin of what a task's body stores.
EvidenceSource SourceOfSlot(TaskSlot slot) {
    switch (slot) {
        case TaskSlot::Computation:
            return EvidenceSource::Computation;
        case TaskSlot::VariableCommands:
            return EvidenceSource::VariableCommand;
        case TaskSlot::ReadOther:
            return EvidenceSource::DataExchange;
        case TaskSlot::Display:
            return EvidenceSource::PageAnswer;
        default:
            return EvidenceSource::Unknown;
    }
}
}  // namespace

void Consultation::Aufgaben(int factPosition) {
    aufgabenfeld_.fill(-1);
    const FactRecord fact(image_.Text(factPosition));
    const std::string name = fact.Name();
    const std::string value = fact.Value();
    auto match = [&](int p) {
        const std::string copy = Line(p);
        if (copy.substr(2, 30) != name) {
            return;
        }
        const std::string field = copy.substr(40, 30);
        bool matches = false;
        switch (copy[38]) {
            case '.':
                matches = field == value;
                break;
            case '|':
                matches = field != value;
                break;
            case '=':
                matches = facts_.LookupFact(field) && facts_.FoundValue() == value;
                break;
            case '#':
                matches = facts_.LookupFact(field) && facts_.FoundValue() != value;
                break;
            default:
                break;
        }
        const int slot = SlotOfHeaderKind(copy[0]);
        if (matches && slot >= 0) {
            aufgabenfeld_[static_cast<std::size_t>(slot)] = ReadWholeNumber(copy.substr(32, 6));
        }
    };
    if (config_.searchMode == SearchMode::Indexed) {
        for (const int p : taskCopiesByObject_.Find(name)) {
            match(p);
        }
    } else {
        for (int p = image_.ProgramEnd() + 1; p <= image_.FactBoundary(); ++p) {
            match(p);
        }
    }
}

void Consultation::RunTask(TaskSlot slot, int position) {
    const TaskRunner& runner = runners_[static_cast<std::size_t>(slot)];
    if (!runner) {
        // Every task kind has a runner once the executable set the consultation up; a missing
        // one is a fault of the program, not of the knowledge base.
        ReportInternalError(std::string(TaskName(slot)) + " (Zeile " +
                            std::to_string(position + 1) +
                            ") k\xF6nnen nicht ausgef\xFChrt werden: das Programm hat sie "
                            "nicht eingerichtet.\r\nDie Sitzung wird beendet.");
        return;
    }
    const OriginScope origin(evidence_.get(), SourceOfSlot(slot), position);
    runner(*this, position);
    StopIfImageFull();
}

void Consultation::RunFactTasks() {
    auto due = [this](TaskSlot slot) { return Slot(slot) != -1; };

    if (due(TaskSlot::Block)) {
        int repeats = 1;
        if (facts_.LookupFact(kLsName) && facts_.FoundNumber() >= 1.0) {
            repeats = static_cast<int>(
                std::min<double>(RoundHalfEven(facts_.FoundNumber()), 2147483647.0));
        }
        for (int i = 1; i <= repeats; ++i) {
            if (evidence_ != nullptr) {
                evidence_->SetOrigin(EvidenceSource::BlockRepeat, Slot(TaskSlot::Block));
            }
            if (repeats > 1 && facts_.StoreFact(kLsName, FormatStoredNumber(i), "99", "02") < 0) {
                StopIfImageFull();
                return;
            }
            RunTask(TaskSlot::Block, Slot(TaskSlot::Block));
            if (Ended()) {
                return;
            }
            Ausst();
            if (Ended()) {
                return;
            }
        }
        if (evidence_ != nullptr) {
            evidence_->SetOrigin(EvidenceSource::BlockRepeat, Slot(TaskSlot::Block));
        }
        if (repeats > 1 && facts_.StoreFact(kLsName, FormatStoredNumber(1), "99", "02") < 0) {
            StopIfImageFull();
            return;
        }
        if (evidence_ != nullptr) {
            evidence_->SetOrigin(EvidenceSource::Unknown, -1);
        }
    }
    // The remaining kinds in their fixed order; each is followed by its breakpoint test.
    constexpr std::array<TaskSlot, 8> kOrder = {
        TaskSlot::ReadOther,        TaskSlot::OldDatabaseRead, TaskSlot::VariableCommands,
        TaskSlot::Computation,      TaskSlot::Print,           TaskSlot::Display,
        TaskSlot::OldDatabaseWrite, TaskSlot::WriteOther};
    for (TaskSlot slot : kOrder) {
        if (!due(slot)) {
            continue;
        }
        const int position = Slot(slot);
        RunTask(slot, position);
        if (Ended()) {
            return;
        }
        if (slot != TaskSlot::OldDatabaseRead && slot != TaskSlot::OldDatabaseWrite) {
            Haltepunkt(position);
        }
        if (Ended()) {
            return;
        }
    }
    if (due(TaskSlot::JumpBack)) {
        Haltepunkt(Slot(TaskSlot::JumpBack));
        RunTask(TaskSlot::JumpBack, Slot(TaskSlot::JumpBack));
    }
}

// Alle_Funktionen: the action lines of a block, each followed by the body it runs.
void Consultation::Alle_Funktionen() {
    int p = Slot(TaskSlot::Block) + 1;
    char letter = '\0';
    for (;;) {
        const auto marker = FixedField<5>(image_.Text(p));
        for (const BlockAction& action : kBlockActions) {
            if (marker.view() != action.marker) {
                continue;
            }
            letter = action.bodyKind;
            const int kept = Slot(action.slot);
            SetSlot(action.slot, p);
            if (Kind(p + 1) == letter) {
                RunTask(action.slot, p);
            }
            Haltepunkt(p);
            SetSlot(action.slot, kept);
            if (Ended()) {
                return;
            }
            break;
        }
        do {
            ++p;
        } while (p <= image_.LastRecord() && (Kind(p) == letter || Kind(p) == 'G'));
        if (Kind(p) != '=') {
            return;
        }
    }
}

// Anzeige_Texte_v_n: the text lines below `position` as pages of a caption and 25 lines.
void Consultation::Anzeige_Texte_v_n(int position) {
    if (position == -1) {
        return;
    }
    const OriginScope origin(evidence_.get(), EvidenceSource::PageAnswer, position);
    int p = position;
    for (;;) {
        for (std::string& line : page_.formPage) {
            line.assign(kPageWidth, ' ');
        }
        int i = -1;
        page_.firstMediaLine = 0;
        for (;;) {
            ++p;
            const char kind = Kind(p);
            if (kind == 'G') {
                if (page_.firstMediaLine == 0) {
                    page_.firstMediaLine = p;
                }
            } else if (kind == 'T') {
                ++i;
                std::string text = Columns(image_.Text(p), 3, 82);
                if (i == 0) {
                    text = PadRight(SubstituteFields(text, facts_), kPageWidth);
                }
                page_.formPage[static_cast<std::size_t>(i)] = text;
            } else {
                --p;
                break;
            }
            if (i == kPageLines - 1) {
                break;
            }
        }
        page_.formMode = 1;
        ShowPage(page_);
        if (Ended()) {
            return;
        }
        const char next = Kind(p + 1);
        if (next == 'T') {
            continue;
        }
        if (next == 'G') {
            FHR_Fehler(static_cast<int>(ErrorCode::PageStartsWithMedia), p + 1, true);
        }
        return;
    }
}

void Consultation::Fehlermeldung_alte_Datenbank() {
    ShowMessage("Fehler beim ausf\xFChren von alten Datenbankanweissungen", "", MessageIcon::None,
                MessageButtons::Ok);
}

void Consultation::Prog_Rueck() {
    const int y = Slot(TaskSlot::JumpBack) + 1;
    std::string name = Columns(image_.Text(y), 3, 32);
    if (name.starts_with("+") && facts_.LookupFact(name)) {
        name = PadRight(facts_.FoundValue(), FactBase::kFieldWidth);
    }
    if (!facts_.LookupFact(name)) {
        FHR_Fehler(static_cast<int>(ErrorCode::JumpVariableMissing), y, true);
    } else if (facts_.FoundOrigin() != 1) {
        FHR_Fehler(static_cast<int>(ErrorCode::JumpBackNotAllowed), y, true);
    } else {
        if (evidence_ != nullptr) {
            evidence_->NoteJumpBack(y);
        }
        image_.SetLastRecord(facts_.FoundPosition());
    }
}

}  // namespace kelvo
