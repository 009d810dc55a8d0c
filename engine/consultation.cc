#include "engine/consultation.h"

#include <algorithm>
#include <utility>

#include "engine/error_codes.h"
#include "engine/program_check.h"
#include "engine/task_runners.h"
#include "platform/dialogs.h"
#include "store/beeper.h"
#include "store/fact_record.h"
#include "store/field_substitution.h"
#include "store/stored_number.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {

const std::string_view kGoalStackFullMessage =
    "Die Suche ben\xF6tigt mehr als 1000 verschachtelte Unterziele.\r\n"
    "Pr\xFC"
    "fen Sie Ihre Regeln auf Zirkelschl\xFCsse.";
const std::string_view kImageFullMessage = "Die Datenbasis ist voll.\r\nDie Sitzung wird beendet.";
const std::string_view kConsultationStoppedCaption = "Sitzung beendet";
const std::string_view kInternalErrorCaption = "Interner Fehler";

namespace {

constexpr std::size_t kLineWidth = 82;
constexpr std::string_view kChooseText = "Bitte w\xE4hlen Sie aus";
const std::string kLsName = PadRight("[+LS             ]", FactBase::kFieldWidth);

int ReadWholeNumber(std::string_view text) {
    int value = 0;
    bool any = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            value = value * 10 + (c - '0');
            any = true;
        } else if (c != ' ' || any) {
            break;
        }
    }
    return value;
}

std::string TwoDigits(int value) {
    return value < 10 ? "0" + std::to_string(value) : std::to_string(value);
}

bool IsTaskHeader(char kind) {
    return SlotOfHeaderKind(kind) >= 0;
}

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

}  // namespace

Consultation::Consultation(KnowledgeBaseImage& image, const ConsultationConfig& config,
                           ConsultationServices& services)
    : image_(image),
      facts_(image),
      config_(config),
      services_(services),
      errorLine_(config.errorLine),
      breakpointLine_(config.breakpointLine) {
    image_.SetSearchMode(config.searchMode);
    aufgabenfeld_.fill(-1);
    for (std::string& line : page_.formPage) {
        line.assign(kPageWidth, ' ');
    }
    InstallDefaultTaskRunners(*this);
}

void Consultation::SetTaskRunner(TaskSlot slot, TaskRunner runner) {
    runners_[static_cast<std::size_t>(slot)] = std::move(runner);
}

std::string Consultation::Line(int position) const {
    return PadRight(image_.Text(position), kLineWidth);
}

char Consultation::Kind(int position) const {
    if (position < 0 || position > image_.LastRecord()) {
        return ' ';
    }
    return image_.Record(position).column(1);
}

// --- the session window -------------------------------------------------------------------

void Consultation::Run() {
    if (sitzungImGange_) {
        return;
    }
    sitzungImGange_ = true;
    services_.windows.SetCursor(CursorShape::Hourglass);
    image_.SetProgramEnd(image_.LastRecord());
    checkFailed_ = 0;
    Propruef();
    if (checkFailed_ == 1) {
        services_.windows.SetCursor(CursorShape::Arrow);
    } else {
        Starte();
    }
}

MessageAnswer Consultation::ShowMessage(std::string_view text, std::string_view caption,
                                        MessageIcon icon, MessageButtons buttons) {
    return services_.dialogs.MessageBox(text, caption, icon, buttons);
}

// Propruef: the goal, the use of the goal object, and the order of the line kinds.
void Consultation::Propruef() {
    std::string goal;
    const std::vector<ProgramProblem> problems =
        CheckProgram(image_, image_.ProgramEnd(), false, &goal);
    facts_.SetTopGoal(goal);
    if (!problems.empty()) {
        FHR_Fehler(problems.front().code, problems.front().position, false);
        errorLine_ = problems.front().position;
        checkFailed_ = 1;
    }
}

void Consultation::FHR_Fehler(int code, int position, bool running) {
    lastErrorCode_ = code;
    services_.beeper.Beep();
    const std::string caption = "Fehlermeldung in Zeile: " + std::to_string(position + 1);
    if (position >= 0) {
        errorLine_ = position;
    }
    sessionKey_ = ErrorEndsConsultation(code) ? kSessionEnd : kSessionRunning;
    ShowMessage(ErrorMessage(code), caption, MessageIcon::Warning, MessageButtons::Ok);
    if (config_.programmingModule && running) {
        if (ShowMessage(kChooseText, "Dialogfenster anzeigen ?", MessageIcon::Question,
                        MessageButtons::YesNo) == MessageAnswer::Yes) {
            OpenInspector(InspectorReason::Error, position + 1);
        }
    }
}

// A stop of our own (goal stack or image exhausted): reported like an error of the running
// consultation, with its own text.
void Consultation::ReportStop(std::string_view message, int position) {
    lastErrorCode_ = -1;
    services_.beeper.Beep();
    if (position >= 0) {
        errorLine_ = position;
    }
    sessionKey_ = kSessionEnd;
    const std::string caption = "Fehlermeldung in Zeile: " + std::to_string(position + 1);
    ShowMessage(message, caption, MessageIcon::Warning, MessageButtons::Ok);
    if (config_.programmingModule &&
        ShowMessage(kChooseText, "Dialogfenster anzeigen ?", MessageIcon::Question,
                    MessageButtons::YesNo) == MessageAnswer::Yes) {
        OpenInspector(InspectorReason::Error, position + 1);
    }
}

void Consultation::ReportInternalError(std::string_view message) {
    lastErrorCode_ = kInternalErrorCode;
    services_.beeper.Beep();
    sessionKey_ = kSessionEnd;
    ShowMessage(message, kInternalErrorCaption, MessageIcon::Warning, MessageButtons::Ok);
}

bool Consultation::StopIfImageFull() {
    if (!image_.Full()) {
        return false;
    }
    if (!imageFullReported_) {
        imageFullReported_ = true;
        ReportStop(kImageFullMessage, posRegel_);
    }
    sessionKey_ = kSessionEnd;
    return true;
}

bool Consultation::Ausst() {
    if (services_.windows.PumpOneEvent()) {
        Button1Click();
    }
    StopIfImageFull();
    if (!vorgangAbbrechen_) {
        return false;
    }
    vorgangAbbrechen_ = false;
    if (ShowMessage(kChooseText, "Programm beenden ?", MessageIcon::Question,
                    MessageButtons::YesNo) == MessageAnswer::Yes) {
        sessionKey_ = kSessionEnd;
    }
    if (config_.programmingModule &&
        ShowMessage(kChooseText, "Dialogfenster anzeigen ?", MessageIcon::Question,
                    MessageButtons::YesNo) == MessageAnswer::Yes) {
        OpenInspector(InspectorReason::BreakOff, posRegel_ + 1);
    }
    return true;
}

void Consultation::Haltepunkt(int position) {
    if (position + 1 != breakpointLine_) {
        return;
    }
    services_.windows.SetSessionWindowVisible(false);
    OpenInspector(InspectorReason::Breakpoint, position + 1);
}

void Consultation::OpenInspector(InspectorReason why, int line) {
    InspectorContext context{facts_, breakpointLine_, config_.programmingModule,
                             config_.ablage2Text, config_.ablage3Text};
    services_.windows.ShowInspector(why, line, context);
}

void Consultation::ShowPage(const PageRequest& page) {
    InspectorContext context{facts_, breakpointLine_, config_.programmingModule,
                             config_.ablage2Text, config_.ablage3Text};
    services_.windows.SetSessionWindowVisible(false);
    do {
        sessionKey_ = kSessionEnd;  // what a page leaves when it is closed without an answer
        sessionKey_ = static_cast<int>(services_.windows.ShowPage(page, context));
    } while (sessionKey_ != kSessionPageContinued && sessionKey_ != kSessionEnd);
    page_.firstMediaLine = 0;  // the page has read its media lines
    services_.windows.SetSessionWindowVisible(true);
}

// --- Starte ---------------------------------------------------------------------------------

void Consultation::Prepare() {
    image_.SetProgramEnd(image_.LastRecord());
    image_.SetFactBoundary(0);
    facts_.SetTopGoal(" ");
    const int programEnd = image_.ProgramEnd();
    for (int q = 0; q <= programEnd; ++q) {
        const char kind = Kind(q);
        if (IsTaskHeader(kind)) {
            // A task copy: the header with its own position in columns 33-38.
            const std::string line = Line(q);
            const std::string copy = line.substr(0, 32) + PadLeft(std::to_string(q), 6) +
                                     line.substr(38, kLineWidth - 38);
            if (!image_.StoreRecord(copy, image_.LastRecord() + 1)) {
                StopIfImageFull();
                return;
            }
        } else if (kind == 'Z') {
            facts_.SetTopGoal(Columns(image_.Text(q), 3, 32));
        }
    }
    image_.SetFactBoundary(image_.LastRecord());
    conclusionName_.clear();
    services_.windows.SetCursor(CursorShape::Arrow);

    for (int q = 0; q <= programEnd; ++q) {
        if (Kind(q) != 'F') {
            continue;
        }
        const std::string line = Line(q);
        const std::string name = Columns(line, 3, 32);
        if (facts_.LookupFact(name)) {
            FHR_Fehler(static_cast<int>(ErrorCode::AlreadySet), q, true);
            return;
        }
        if (facts_.StoreFact(name, Columns(line, 41, 70), Columns(line, 35, 36), "02") < 0) {
            posRegel_ = q;
            StopIfImageFull();
            return;
        }
    }
    goalStack_.assign(1, TopGoal());
    currentGoal_ = TopGoal();
    sessionKey_ = kSessionRunning;
}

// The program lines do not change while the consultation runs: the rules and the task copies
// are indexed once, behind the preparation.
void Consultation::BuildIndexes() {
    rulesByObject_.Clear();
    taskCopiesByObject_.Clear();
    if (config_.searchMode != SearchMode::Indexed) {
        return;
    }
    for (int s = 1; s <= image_.RuleCount(); ++s) {
        const int position = image_.RuleIndex()[static_cast<std::size_t>(s)];
        if (Kind(position) == 'R') {
            rulesByObject_.Add(image_.Text(position), s);
        }
    }
    for (int p = image_.ProgramEnd() + 1; p <= image_.FactBoundary(); ++p) {
        taskCopiesByObject_.Add(image_.Text(p), p);
    }
}

void Consultation::Starte() {
    Prepare();
    BuildIndexes();
    while (!Ended()) {
        klauselGesp_ = false;
        if (RulePass() == PassResult::Ended || Ended()) {
            break;
        }
        if (currentGoal_ != TopGoal() && !klauselGesp_) {
            FHR_Fehler(static_cast<int>(ErrorCode::RuleNotSatisfied), posRegel_, true);
            break;
        }
        if (!klauselGesp_) {
            ClosingPhase();
            break;
        }
    }
    aufgabenfeld_.fill(-1);
}

void Consultation::FH(std::string_view line) {
    lineValue_ = Columns(line, 41, 70);
    const std::string certainty = Columns(line, 35, 36);
    lineOperator_ = Columns(line, 39, 39)[0];
    text_ = Columns(line, 3, 32);
    lineCertainty_ = ReadWholeNumber(certainty);
}

Consultation::Operand Consultation::FHR(std::string_view operandText, int position) {
    std::string text(operandText);
    if (text.starts_with("[") && facts_.LookupFact(PadRight(text, FactBase::kFieldWidth))) {
        text = facts_.FoundValue();
    }
    text = TrimRight(text);
    Operand operand;
    if (text.starts_with("[")) {
        operand.status = Operand::Status::MissingVariable;
        FHR_Fehler(static_cast<int>(ErrorCode::VariableNotFound), position, true);
        return operand;
    }
    const std::optional<double> number =
        text.size() >= 2 ? ParseDecimalNumber(TrimLeft(TrimRight(text.substr(1, text.size() - 2))))
                         : std::nullopt;
    errorRegister_ = number ? 0 : 1;
    if (number) {
        operand.status = Operand::Status::Number;
        operand.number = *number;
    }
    return operand;
}

// Suchen: RuleState 0 = the object is unknown, 1 = known but the test is false, 2 = true.
bool Consultation::Suchen(bool /*pruefeRegel*/, int position) {
    ruleState_ = 0;
    if (image_.FactBoundary() == image_.LastRecord() || !facts_.LookupFact(conditionObject_)) {
        return false;
    }
    ruleState_ = 1;
    if (conditionObject_.starts_with("[")) {
        const double factNumber = facts_.FoundNumber();
        // The certainty is that of the object's fact, read before the operand's lookup.
        const int objectCertainty = facts_.FoundCertainty();
        const Operand operand = FHR(ToUpper(Columns(conditionValue_, 1, 30)), position);
        if (operand.status != Operand::Status::Number) {
            return false;  // a missing variable has been reported; a text operand is false
        }
        const double b = operand.number;
        bool holds = false;
        switch (lineOperator_) {
            case '=':
                holds = factNumber == b;
                break;
            case '\xAB':
                holds = factNumber <= b;
                break;  // «
            case '<':
                holds = factNumber < b;
                break;
            case '\xBB':
                holds = factNumber >= b;
                break;  // »
            case '>':
                holds = factNumber > b;
                break;
            default:
                break;
        }
        if (holds) {
            factCertainty_ = objectCertainty;
            ruleState_ = 2;
        }
    } else if (lineOperator_ == '.' || lineOperator_ == '|') {
        const bool equal = Columns(conditionValue_, 1, 30) == facts_.FoundValue();
        if (equal == (lineOperator_ == '.')) {
            factCertainty_ = facts_.FoundCertainty();
            ruleState_ = 2;
        }
    } else if (lineOperator_ == '=' || lineOperator_ == '#') {
        factCertainty_ = facts_.FoundCertainty();
        conditionObject_ = facts_.FoundValue();
        if (facts_.LookupFact(ToUpper(conditionValue_))) {
            const bool equal = conditionObject_ == facts_.FoundValue();
            if (equal == (lineOperator_ == '=')) {
                ruleState_ = 2;
            }
        }
    }
    if (ruleState_ == 1 && conditionObject_ == TopGoal()) {
        ruleState_ = 0;  // the goal may take several values: a different one is still open
    }
    return ruleState_ == 2;
}

void Consultation::PushGoal(const std::string& object) {
    goalStack_.push_back(object);
}

// One rule pass over the rules of the current goal. A condition on an unknown object makes it
// the new goal and starts the pass over at the first rule; concluding the goal ends the pass.
//
// Certainty: a true condition contributes round(condition certainty x fact certainty / 100),
// a fact certainty of 99 counting as 100; a group of alternatives ("U" and the "O" lines
// below it) contributes its best true alternative (-1 marks "true with certainty 0"); the
// rule's certainty is the sum over its groups, at most 99.
Consultation::PassResult Consultation::RulePass() {
    const int ruleCount = image_.RuleCount();
    const int programEnd = image_.ProgramEnd();
    for (int s = 0;;) {
        // Every rule number costs one Ausst, also one the pass does not examine.
        const int next = NextRule(s);
        if (!AusstTimes(std::min(next, ruleCount) - s)) {
            return PassResult::Ended;
        }
        if (next > ruleCount) {
            return PassResult::Finished;
        }
        s = next;
        const int rulePosition = image_.RuleIndex()[static_cast<std::size_t>(s)];
        if (Kind(rulePosition) != 'R') {
            continue;
        }
        FH(Line(rulePosition));
        if (currentGoal_ != text_) {
            continue;
        }
        conclusionOperator_ = lineOperator_;
        conditionObject_ = conclusionName_ = text_;
        conditionValue_ = conclusionValue_ = lineValue_;
        posRegel_ = rulePosition;
        Suchen(true, rulePosition);
        if (Ended()) {
            return PassResult::Ended;
        }
        if (ruleState_ != 0) {
            continue;
        }
        // The first conclusion of a goal value stands: a later rule naming a value that any
        // record of the goal already holds is skipped, not only one the newest record holds.
        if (conclusionOperator_ == '.' && conclusionName_ == TopGoal() &&
            facts_.FindGoalValue(conclusionValue_) >= 0) {
            continue;
        }

        ruleFailed_ = false;
        ruleCertainty_ = lineCertainty_ = factCertainty_ = groupCertainty_ = 0;
        bool restart = false;
        for (int q = rulePosition + 1; q <= programEnd; ++q) {
            const char kind = Kind(q);
            if (kind != 'U' && kind != 'O') {
                break;
            }
            FH(Line(q));
            conditionObject_ = text_;
            conditionValue_ = lineValue_;
            Suchen(false, q);
            if (Ended()) {
                return PassResult::Ended;
            }
            const bool groupEnds = Kind(q + 1) != 'O';
            if (ruleState_ == 2) {
                const int fact = factCertainty_ == 99 ? 100 : factCertainty_;
                const int t = static_cast<int>(RoundHalfEven(lineCertainty_ * fact / 100.0));
                groupCertainty_ = std::max(groupCertainty_, t);
                if (groupCertainty_ == 0) {
                    groupCertainty_ = -1;
                }
                if (groupEnds) {
                    ruleCertainty_ += std::max(groupCertainty_, 0);
                    groupCertainty_ = 0;
                }
            } else if (ruleState_ == 0) {
                ruleFailed_ = true;
                if (GoalDepth() >= kGoalStackDepth) {
                    ReportStop(kGoalStackFullMessage, q);
                    return PassResult::Ended;
                }
                PushGoal(text_);
                currentGoal_ = text_;
                klauselGesp_ = false;
                posRegel_ = q;
                restart = true;
                break;
            } else if (groupEnds) {
                if (groupCertainty_ > 0 || groupCertainty_ == -1) {
                    ruleCertainty_ += std::max(groupCertainty_, 0);
                    groupCertainty_ = 0;
                } else {
                    ruleFailed_ = true;
                    break;
                }
            }
        }
        if (restart) {
            s = 0;
            continue;
        }
        if (ruleFailed_) {
            continue;
        }

        // Conclude.
        lineValue_ = conclusionValue_;
        if (conclusionOperator_ == '=') {
            if (!facts_.LookupFact(ToUpper(conclusionValue_))) {
                FHR_Fehler(static_cast<int>(ErrorCode::VariableNotFound), posRegel_, true);
                return PassResult::Ended;
            }
            lineValue_ = facts_.FoundValue();
        }
        text_ = conclusionName_;
        conclusionValue_ = lineValue_;
        ruleCertainty_ = std::min(ruleCertainty_, 99);
        const int position =
            facts_.StoreFact(conclusionName_, lineValue_, TwoDigits(ruleCertainty_), "01");
        if (position < 0) {
            StopIfImageFull();
            return PassResult::Ended;
        }
        Aufgaben(position);
        Haltepunkt(posRegel_);
        if (conclusionName_ == TopGoal()) {
            continue;  // the goal's tasks run in the closing phase
        }
        RunFactTasks();
        if (Ended()) {
            return PassResult::Ended;
        }
        klauselGesp_ = true;
        if (GoalDepth() > 1) {
            goalStack_.pop_back();
        }
        currentGoal_ = goalStack_.back();
        if (Slot(TaskSlot::JumpBack) != -1) {
            goalStack_.resize(1);
            currentGoal_ = goalStack_.front();
        }
        return PassResult::Concluded;
    }
}

// The number of the next rule after `s` that can conclude CurrentGoal: the next rule in the
// Literal mode, which reads every rule; RuleCount + 1 when there is none.
int Consultation::NextRule(int s) const {
    if (config_.searchMode != SearchMode::Indexed) {
        return s + 1;
    }
    const std::vector<int>& rules = rulesByObject_.Find(currentGoal_);
    const auto next = std::upper_bound(rules.begin(), rules.end(), s);
    return next == rules.end() ? image_.RuleCount() + 1 : *next;
}

// Ausst `calls` times in a row, as a pass does for the rules it passes over. A call that does
// nothing means the ones after it would do nothing either, so they are left out. Returns false
// when the consultation ended.
bool Consultation::AusstTimes(int calls) {
    for (int i = 0; i < calls; ++i) {
        const bool served = Ausst();
        if (Ended()) {
            return false;
        }
        if (!served) {
            break;
        }
    }
    return true;
}

void Consultation::ClosingPhase() {
    bool found = false;
    const int last = image_.LastRecord();
    for (int q = image_.FactBoundary() + 1; q <= last; ++q) {
        const std::string text = Line(q);  // a copy: the stores below may move the image
        const FactRecord record(text);
        if (record.Name() != TopGoal()) {
            continue;
        }
        if (facts_.StoreFact(PadRight("+UW", FactBase::kFieldWidth),
                             PadRight(record.Certainty(), FactBase::kFieldWidth), "99", "02") < 0) {
            StopIfImageFull();
            return;
        }
        Aufgaben(q);
        found = true;
        if (Slot(TaskSlot::Print) != -1) {
            RunTask(TaskSlot::Print, Slot(TaskSlot::Print));
            if (Ended()) {
                return;
            }
            Haltepunkt(Slot(TaskSlot::Print));
        }
        if (Slot(TaskSlot::Display) == -1) {
            if (Slot(TaskSlot::Print) == -1) {
                page_.formMode = 2;
                page_.solutionRecord = text;
                ShowPage(page_);
            }
        } else {
            Anzeige_Texte_v_n(Slot(TaskSlot::Display));
            Haltepunkt(Slot(TaskSlot::Display));
        }
        if (Ended()) {
            return;
        }
    }
    if (!found) {
        page_.formMode = 3;
        ShowPage(page_);
    }
}

// --- tasks ---------------------------------------------------------------------------------

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
        if (repeats > 1 && facts_.StoreFact(kLsName, FormatStoredNumber(1), "99", "02") < 0) {
            StopIfImageFull();
            return;
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
        const std::string line = Line(p);
        for (const BlockAction& action : kBlockActions) {
            if (std::string_view(line).substr(0, 5) != action.marker) {
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
        image_.SetLastRecord(facts_.FoundPosition());
    }
}

}  // namespace kelvo
