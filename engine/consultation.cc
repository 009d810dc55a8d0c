#include "engine/consultation.h"

#include <algorithm>
#include <utility>

#include "engine/error_codes.h"
#include "engine/evidence.h"
#include "engine/evidence_text.h"
#include "engine/program_check.h"
#include "engine/task_runners.h"
#include "platform/dialogs.h"
#include "store/beeper.h"
#include "store/fact_record.h"
#include "store/field_substitution.h"
#include "store/fixed_field.h"
#include "store/stored_number.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {

namespace {

constexpr std::size_t kLineWidth = 82;

bool IsTaskHeader(char kind) {
    return SlotOfHeaderKind(kind) >= 0;
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
    if (config.explain) {
        evidence_ = std::make_unique<Evidence>(image_);
        image_.SetRecordObserver(evidence_.get());
    }
}

Consultation::~Consultation() {
    if (evidence_ != nullptr && image_.recordObserver() == evidence_.get()) {
        image_.SetRecordObserver(nullptr);
    }
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

InspectorContext Consultation::MakeInspectorContext() {
    InspectorContext context{facts_, breakpointLine_, config_.programmingModule,
                             config_.ablage2Text, config_.ablage3Text};
    if (evidence_ != nullptr && config_.programmingModule) {
        context.explainFact = [this](int position, std::string_view record) {
            return ExplainRecordLines(*evidence_, image_, position, record);
        };
    }
    return context;
}

void Consultation::OpenInspector(InspectorReason why, int line) {
    InspectorContext context = MakeInspectorContext();
    services_.windows.ShowInspector(why, line, context);
}

void Consultation::ShowPage(const PageRequest& page) {
    InspectorContext context = MakeInspectorContext();
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
        if (evidence_ != nullptr) {
            evidence_->SetOrigin(EvidenceSource::FactLine, q);
        }
        if (facts_.StoreFact(name, Columns(line, 41, 70), Columns(line, 35, 36), "02") < 0) {
            posRegel_ = q;
            StopIfImageFull();
            return;
        }
    }
    if (evidence_ != nullptr) {
        evidence_->SetOrigin(EvidenceSource::Unknown, -1);
    }
    goalStack_.assign(1, TopGoal());
    currentGoal_ = TopGoal();
    sessionKey_ = kSessionRunning;
}

void Consultation::Starte() {
    Prepare();
    BuildIndexes();
    if (evidence_ != nullptr) {
        evidence_->StartRules(image_.RuleCount());
    }
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

void Consultation::ClosingPhase() {
    bool found = false;
    const int last = image_.LastRecord();
    for (int q = image_.FactBoundary() + 1; q <= last; ++q) {
        // A copy: the stores below may move the image.
        const FixedField<kLineWidth> line(image_.Text(q));
        const FactRecord record(line.view());
        if (record.NameField().view() != TopGoal()) {
            continue;
        }
        const std::string text(line.view());
        {
            const OriginScope origin(evidence_.get(), EvidenceSource::ClosingPhase, -1);
            if (facts_.StoreFact(PadRight("+UW", FactBase::kFieldWidth),
                                 PadRight(record.Certainty(), FactBase::kFieldWidth), "99",
                                 "02") < 0) {
                StopIfImageFull();
                return;
            }
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
                const OriginScope origin(evidence_.get(), EvidenceSource::PageAnswer, -1);
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
        const OriginScope origin(evidence_.get(), EvidenceSource::PageAnswer, -1);
        ShowPage(page_);
    }
}

}  // namespace kelvo
