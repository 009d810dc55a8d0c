// The rule search: reading rule and condition lines, the condition test, the rule pass with
// its certainty arithmetic and goal stack, and the indexes it goes by.
#include <algorithm>

#include "engine/consultation.h"
#include "engine/error_codes.h"
#include "engine/evidence.h"
#include "engine/whole_number.h"
#include "store/stored_number.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

std::string TwoDigits(int value) {
    return value < 10 ? "0" + std::to_string(value) : std::to_string(value);
}
}  // namespace

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
        if (evidence_ != nullptr) {
            evidence_->NoteFact(-1, {}, -1);
        }
        return false;
    }
    if (evidence_ != nullptr) {
        evidence_->NoteFact(facts_.FoundPosition(), facts_.FoundValue(), facts_.FoundCertainty());
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
            if (evidence_ != nullptr) {
                evidence_->RulePassedOver(s);
            }
            continue;
        }
        // The first conclusion of a goal value stands: a later rule naming a value that any
        // record of the goal already holds is skipped, not only one the newest record holds.
        if (conclusionOperator_ == '.' && conclusionName_ == TopGoal() &&
            facts_.FindGoalValue(conclusionValue_) >= 0) {
            if (evidence_ != nullptr) {
                evidence_->RulePassedOver(s);
            }
            continue;
        }
        if (evidence_ != nullptr) {
            evidence_->BeginRule(s);
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
                const int best = groupCertainty_;
                if (groupEnds) {
                    ruleCertainty_ += std::max(groupCertainty_, 0);
                    groupCertainty_ = 0;
                }
                if (evidence_ != nullptr) {
                    evidence_->Condition(q, 2, groupEnds, t, best, ruleCertainty_);
                }
            } else if (ruleState_ == 0) {
                if (evidence_ != nullptr) {
                    evidence_->Condition(q, 0, groupEnds, 0, groupCertainty_, ruleCertainty_);
                    evidence_->RuleFailed(RuleOutcome::Unknown);
                }
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
                const int best = groupCertainty_;
                if (groupCertainty_ > 0 || groupCertainty_ == -1) {
                    ruleCertainty_ += std::max(groupCertainty_, 0);
                    groupCertainty_ = 0;
                    if (evidence_ != nullptr) {
                        evidence_->Condition(q, 1, true, 0, best, ruleCertainty_);
                    }
                } else {
                    if (evidence_ != nullptr) {
                        evidence_->Condition(q, 1, true, 0, best, ruleCertainty_);
                        evidence_->RuleFailed(RuleOutcome::Failed);
                    }
                    ruleFailed_ = true;
                    break;
                }
            } else if (evidence_ != nullptr) {
                evidence_->Condition(q, 1, false, 0, groupCertainty_, ruleCertainty_);
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
        if (evidence_ != nullptr) {
            evidence_->RuleConcludes(rulePosition, ruleCertainty_);
        }
        ruleCertainty_ = std::min(ruleCertainty_, 99);
        const int position =
            facts_.StoreFact(conclusionName_, lineValue_, TwoDigits(ruleCertainty_), "01");
        if (evidence_ != nullptr) {
            evidence_->SetOrigin(EvidenceSource::Unknown, -1);
        }
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

}  // namespace kelvo
