// The goal list "Q" and the session commands "E" and "N".
#include <algorithm>
#include <string>
#include <vector>

#include "commands/command_handlers.h"
#include "commands/command_variables.h"
#include "commands/variable_command.h"
#include "store/fact_record.h"
#include "store/stored_number.h"
#include "store/text_field.h"

namespace kelvo {
namespace {

struct GoalFact {
    std::string value;      ///< the 30 value columns
    std::string certainty;  ///< the two certainty digits as stored
    int rank;               ///< the certainty as a whole number; -1 when it is none
};

// The facts of the goal object in record order.
std::vector<GoalFact> GoalFacts(Consultation& consultation) {
    const KnowledgeBaseImage& image = consultation.image();
    const std::string goal = PadRight(consultation.TopGoal(), FactBase::kFieldWidth);
    std::vector<GoalFact> facts;
    for (int p = image.FactBoundary() + 1; p <= image.LastRecord(); ++p) {
        const std::string_view text = image.Text(p);
        const FactRecord record(text);
        if (text.size() < FactRecord::kNameWidth || !record.NameEquals(goal)) {
            continue;
        }
        facts.push_back({record.Value(), record.Certainty(), record.CertaintyNumber()});
    }
    return facts;
}

}  // namespace

// "Q" the goal values into "++ZIELE{1}", "++ZIELE{2}", … ("value certainty", with the fact's
// certainty), in record order (mode 1), by ascending (2) or descending (3) certainty; the
// count into "[+ANZ_ZIELE      ]". Entries beyond the count are left as they were.
void ListGoals(VariableLine& line) {
    if (!line.Store("++ZIELE{1}", "Keine Ziele gefunden !")) {
        return;
    }
    const Consultation::Operand operand = line.NumberOperand();
    const double mode =
        operand.status == Consultation::Operand::Status::Number ? operand.number : 0.0;
    std::vector<GoalFact> facts;
    if (mode == 1.0 || mode == 2.0 || mode == 3.0) {
        facts = GoalFacts(line.consultation());
    }
    if (mode == 2.0 || mode == 3.0) {
        std::erase_if(facts, [](const GoalFact& fact) { return fact.rank < 0; });
        std::stable_sort(facts.begin(), facts.end(), [mode](const GoalFact& a, const GoalFact& b) {
            return mode == 2.0 ? a.rank < b.rank : a.rank > b.rank;
        });
    }
    int k = 0;
    for (const GoalFact& fact : facts) {
        ++k;
        if (!line.Store("++ZIELE{" + std::to_string(k) + "}", fact.value + " " + fact.certainty,
                        fact.certainty)) {
            return;
        }
    }
    line.Store(kGoalCountName, FormatStoredNumber(k));
}

// "E" ends the consultation once the block has run.
void EndConsultation(VariableLine& line) {
    line.consultation().SetSessionKey(kSessionEnd);
}

// "N" ends the consultation and has the knowledge base started again.
void RestartConsultation(VariableLine& line) {
    line.consultation().SetSessionKey(kSessionEnd);
    line.consultation().SetRestartRequested(true);
}

}  // namespace kelvo
