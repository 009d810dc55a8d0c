#include "engine/computation.h"

#include <cmath>
#include <string>

#include "engine/computation_functions.h"
#include "engine/consultation.h"
#include "engine/error_codes.h"
#include "engine/evidence.h"
#include "platform/clock.h"
#include "store/random_source.h"
#include "store/stored_number.h"
#include "store/text_field.h"

namespace kelvo {
namespace {

// Columns of a computation line (from 1).
constexpr std::size_t kLineWidth = 83;
constexpr std::size_t kResultColumn = 3;
constexpr std::size_t kFunctionColumn = 24;
constexpr std::size_t kFunctionWidth = 4;
constexpr std::size_t kOperand1Column = 30;
constexpr std::size_t kOperatorColumn = 49;
constexpr std::size_t kOperand2Column = 51;
constexpr std::size_t kOperandWidth = 18;

constexpr double kLargestResult = 999999999999.9991;
constexpr double kSmallestResult = -99999999999.9991;

constexpr std::string_view kNoFunction = "    ";

int Code(ErrorCode code) {
    return static_cast<int>(code);
}

std::string Columns(const std::string& line, std::size_t first, std::size_t width) {
    return line.substr(first - 1, width);
}

// The inputs of the functions, taken from the consultation when a function asks for them.
class LineInputs final : public FunctionInputs {
  public:
    LineInputs(Consultation& consultation, const std::string& line)
        : consultation_(consultation), line_(line) {}

    // An operand starting with "[" names a variable whose value holds the date; otherwise the
    // operand's own columns are the date number.
    std::string DateText(int operand) override {
        const std::string field =
            Columns(line_, operand == 1 ? kOperand1Column : kOperand2Column, kOperandWidth);
        if (field.front() != '[') {
            return field;
        }
        FactBase& facts = consultation_.facts();
        if (!facts.LookupFact(PadRight(field, FactBase::kFieldWidth))) {
            return std::string();
        }
        return facts.FoundValue();
    }

    LocalDateTime Now() override { return consultation_.services().clock.Now(); }

    double NextRandom() override { return consultation_.services().random.NextUnit(); }

  private:
    Consultation& consultation_;
    const std::string& line_;
};

// Reads an operand into `value`. False when the line must stop: the operand did not read as a
// number (the error register is cleared, nothing is reported) or it named a missing variable
// (already reported).
bool ReadOperand(Consultation& consultation, const std::string& line, std::size_t column,
                 int position, double& value) {
    const std::string operandText =
        PadRight(Columns(line, column, kOperandWidth), FactBase::kFieldWidth);
    const Consultation::Operand operand = consultation.FHR(operandText, position);
    if (operand.status != Consultation::Operand::Status::Number) {
        consultation.ErrorRegister() = 0;
        return false;
    }
    value = operand.number;
    return true;
}

// The work of one line; returns the error code to report (0 = none).
int Evaluate(Consultation& consultation, int Pos_WB, int Uns_Wiss_Regel, const std::string& line) {
    double a = 0.0;
    double b = 0.0;
    if (!ReadOperand(consultation, line, kOperand1Column, Pos_WB, a) ||
        !ReadOperand(consultation, line, kOperand2Column, Pos_WB, b)) {
        return 0;
    }

    const char operation = line[kOperatorColumn - 1];
    double ComputeResult = 0.0;
    switch (operation) {
        case '+':
            ComputeResult = a + b;
            break;
        case '-':
            ComputeResult = a - b;
            break;
        case '*':
            ComputeResult = a * b;
            break;
        case '/':
            if (b == 0.0) {
                return Code(ErrorCode::InvalidComputation);
            }
            ComputeResult = a / b;
            break;
        default:
            return Code(ErrorCode::InvalidComputation);  // corrupt record: no operator
    }

    const std::string functionName = Columns(line, kFunctionColumn, kFunctionWidth);
    if (functionName != kNoFunction) {
        const ComputationFunction function = FindComputationFunction(functionName);
        if (function == nullptr) {
            return Code(ErrorCode::InvalidComputation);  // corrupt record: unknown function
        }
        LineInputs inputs(consultation, line);
        const FunctionResult result =
            function(FunctionCall{ComputeResult, b, operation, Uns_Wiss_Regel,
                                  consultation.config().programmingModule, inputs});
        if (result.error != 0) {
            return result.error;
        }
        ComputeResult = result.value;
    }

    // A result that is not a finite number (an overflow of the operation) is out of range too.
    if (!std::isfinite(ComputeResult) || ComputeResult < kSmallestResult ||
        ComputeResult > kLargestResult) {
        return Code(ErrorCode::NumberOutOfRange);
    }
    const std::string number = FormatStoredNumber(ComputeResult);

    // Only plus variables may be computed again; any other variable is written once.
    FactBase& facts = consultation.facts();
    const std::string name =
        PadRight(Columns(line, kResultColumn, kOperandWidth), FactBase::kFieldWidth);
    if (name.compare(0, 2, "[+") != 0 && facts.LookupFact(name)) {
        return Code(ErrorCode::AlreadySet);
    }
    if (facts.StoreFact(name, PadRight(number, FactBase::kFieldWidth), "99", "02") < 0) {
        consultation.StopIfImageFull();
    }
    return 0;
}

}  // namespace

void Formelaufruf(Consultation& consultation, int Uns_Wiss_Regel) {
    const KnowledgeBaseImage& image = consultation.image();
    int p = consultation.Slot(TaskSlot::Computation);
    while (true) {
        ++p;
        if (p > image.LastRecord()) {
            return;  // defensive: a program always ends with a line of another kind
        }
        const std::string_view line = image.Text(p);
        if (line.empty() || line.front() != 'M') {
            return;
        }
        Formel(consultation, p, Uns_Wiss_Regel, line);
        if (consultation.Ended()) {
            return;
        }
    }
}

void Formel(Consultation& consultation, int Pos_WB, int Uns_Wiss_Regel, std::string_view Text) {
    const std::string line = PadRight(Text, kLineWidth);
    if (Evidence* evidence = consultation.evidence()) {
        evidence->SetOriginLine(Pos_WB);
    }
    const int code = Evaluate(consultation, Pos_WB, Uns_Wiss_Regel, line);
    if (code != 0) {
        consultation.ErrorRegister() = code;
        consultation.FHR_Fehler(code, Pos_WB, true);
    }
}

}  // namespace kelvo
