// The command "P": the operand variable's text evaluated as an expression.
#include "commands/command_handlers.h"
#include "commands/expression.h"
#include "commands/variable_command.h"
#include "store/text_field.h"

namespace kelvo {

// "P" name := EvaluateExpression(trimmed operand value), padded to 30, as a text.
void EvaluateOperand(VariableLine& line) {
    const std::optional<std::string> value = line.OperandValue();
    if (!value) {
        line.Fail();
        return;
    }
    FactBase& facts = line.facts();
    const std::string result =
        EvaluateExpression(TrimRight(*value), [&facts](std::string_view name) {
            return facts.LookupFact(PadRight(name, FactBase::kFieldWidth))
                       ? std::optional<std::string>(facts.FoundValue())
                       : std::nullopt;
        });
    line.StoreName(PadRight(result, FactBase::kFieldWidth));
}

}  // namespace kelvo
