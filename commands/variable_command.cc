#include "commands/variable_command.h"

#include "commands/command_dispatch.h"
#include "engine/error_codes.h"
#include "engine/evidence.h"
#include "store/stored_number.h"
#include "store/text_field.h"

namespace kelvo {

VariableLine::VariableLine(Consultation& consultation, VariableBlockState& block, int position,
                           std::string_view text)
    : consultation_(consultation), block_(block), position_(position), text_(text) {}

std::optional<std::string> VariableLine::ValueOf(std::string_view name) {
    FactBase& facts = consultation_.facts();
    if (!facts.LookupFact(name)) {
        return std::nullopt;
    }
    return facts.FoundValue();
}

Consultation::Operand VariableLine::NumberOperand() {
    return consultation_.FHR(
        PadRight(OperandField().substr(0, kStoredNumberWidth), FactBase::kFieldWidth), position_);
}

double VariableLine::CountOf(std::string_view name) {
    FactBase& facts = consultation_.facts();
    if (!facts.LookupFact(name)) {
        return 0.0;
    }
    const double count = RoundHalfEven(facts.FoundNumber());
    return count < 0.0 ? 0.0 : count;
}

bool VariableLine::Store(std::string_view name, std::string_view value,
                         std::string_view certainty) {
    return consultation_.facts().StoreFact(name, value, certainty, "02") >= 0;
}

void Variablenbefehl(Consultation& consultation, int slotPosition) {
    KnowledgeBaseImage& image = consultation.image();
    VariableBlockState block;
    // Variable lines are program lines; the task copies behind the program never are.
    for (int position = slotPosition + 1; position >= 1 && position <= image.ProgramEnd();
         ++position) {
        const std::string_view text = image.Text(position);
        if (text.empty() || text[0] != 'J') {
            return;
        }
        if (Evidence* evidence = consultation.evidence()) {
            evidence->SetOriginLine(position);
        }
        VariableLine line(consultation, block, position, text);
        DispatchVariableCommand(line);
        if (!line.ok()) {
            consultation.FHR_Fehler(static_cast<int>(ErrorCode::CommandVariableNotFound), position,
                                    true);
            return;
        }
        if (block.ended || image.Full()) {
            return;
        }
    }
}

}  // namespace kelvo
