#include "engine/computation_functions.h"

#include <array>
#include <cmath>
#include <numbers>
#include <optional>

#include "engine/date_number.h"
#include "engine/error_codes.h"
#include "store/stored_number.h"

namespace kelvo {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

constexpr int kInvalidComputation = static_cast<int>(ErrorCode::InvalidComputation);
constexpr int kInvalidDate = static_cast<int>(ErrorCode::InvalidDate);

FunctionResult Value(double value) {
    return FunctionResult{value, 0};
}

FunctionResult Failure(int code) {
    return FunctionResult{0.0, code};
}

std::optional<CivilDate> ReadDate(const FunctionCall& call, int operand) {
    return ReadDateNumberText(call.inputs.DateText(operand));
}

// x / sqrt(1 - x^2) for -1 < x < 1: the tangent of the arc sine.
double ArcSineTangent(double x) {
    return x / std::sqrt(1.0 - x * x);
}

FunctionResult Int(const FunctionCall& call) {
    return Value(std::trunc(call.x));
}

FunctionResult Abs(const FunctionCall& call) {
    return Value(std::fabs(call.x));
}

FunctionResult Sqr(const FunctionCall& call) {
    if (call.x < 0.0) {
        return Failure(kInvalidComputation);
    }
    return Value(std::sqrt(call.x));
}

FunctionResult Rnd(const FunctionCall& call) {
    return Value(RoundComputation(call.x));
}

FunctionResult Log(const FunctionCall& call) {
    if (call.x <= 0.0) {
        return Failure(kInvalidComputation);
    }
    return Value(std::log(call.x));
}

FunctionResult Frac(const FunctionCall& call) {
    return Value(call.x - std::trunc(call.x));
}

FunctionResult Sin(const FunctionCall& call) {
    return Value(std::sin(call.x * kDegree));
}

FunctionResult Cos(const FunctionCall& call) {
    return Value(std::cos(call.x * kDegree));
}

FunctionResult Tan(const FunctionCall& call) {
    return Value(std::sin(call.x * kDegree) / std::cos(call.x * kDegree));
}

FunctionResult Asin(const FunctionCall& call) {
    const double x = call.x;
    if (x < -1.0 || x > 1.0) {
        return Failure(kInvalidComputation);
    }
    if (x == -1.0) {
        return Value(-90.0);
    }
    if (x == 1.0) {
        return Value(90.0);
    }
    return Value(std::atan(ArcSineTangent(x)) / kDegree);
}

FunctionResult Acos(const FunctionCall& call) {
    const double x = call.x;
    if (x < -1.0 || x > 1.0) {
        return Failure(kInvalidComputation);
    }
    if (x == -1.0) {
        return Value(180.0);
    }
    if (x == 1.0) {
        return Value(0.0);
    }
    return Value((std::numbers::pi / 2.0 - std::atan(ArcSineTangent(x))) / kDegree);
}

FunctionResult Atan(const FunctionCall& call) {
    return Value(std::atan(call.x) / kDegree);
}

FunctionResult Datu(const FunctionCall& call) {
    const LocalDateTime now = call.inputs.Now();
    return Value(DateNumber(CivilDate{now.year, now.month, now.day}));
}

FunctionResult Zeit(const FunctionCall& call) {
    const LocalDateTime now = call.inputs.Now();
    return Value(TimeNumber(now.hour, now.minute, now.second));
}

FunctionResult Uwle(const FunctionCall& call) {
    return Value(call.x + call.certainty);
}

// DABE: the date of operand 1 plus ("+") or minus ("-") b days, as a date number; with "*" or
// "/" the result of the operation stays. The date must read whatever the operator.
FunctionResult Dabe(const FunctionCall& call) {
    const std::optional<CivilDate> date = ReadDate(call, 1);
    if (!date) {
        return Failure(kInvalidDate);
    }
    if (call.operation != '+' && call.operation != '-') {
        return Value(call.x);
    }
    const std::optional<CivilDate> moved = AddDays(*date, call.operation == '+' ? call.b : -call.b);
    if (!moved) {
        return Failure(kInvalidDate);  // before year 1 or after year 9999
    }
    return Value(DateNumber(*moved));
}

// DADI: date 1 minus date 2 in days.
FunctionResult Dadi(const FunctionCall& call) {
    const std::optional<CivilDate> first = ReadDate(call, 1);
    if (!first) {
        return Failure(kInvalidDate);
    }
    const std::optional<CivilDate> second = ReadDate(call, 2);
    if (!second) {
        return Failure(kInvalidDate);
    }
    return Value(static_cast<double>(DaysFromCivil(*first) - DaysFromCivil(*second)));
}

FunctionResult Zufa(const FunctionCall& call) {
    return Value(call.inputs.NextRandom());
}

FunctionResult Vers(const FunctionCall&) {
    return Value(ParseDecimalNumber(kVersionText).value_or(0.0));
}

FunctionResult Modu(const FunctionCall& call) {
    return Value((call.programmingModule ? 1 : 0) + 0.1);
}

struct NamedFunction {
    std::string_view name;
    ComputationFunction apply;
};

// The order carries no meaning; lookups compare the names.
constexpr std::array<NamedFunction, kComputationFunctionCount> kFunctions{{
    {"INT ", Int},  {"ABS ", Abs},  {"SQR ", Sqr},  {"RND ", Rnd},  {"LOG ", Log},
    {"FRAC", Frac}, {"SIN ", Sin},  {"COS ", Cos},  {"TAN ", Tan},  {"ASIN", Asin},
    {"ACOS", Acos}, {"ATAN", Atan}, {"DATU", Datu}, {"ZEIT", Zeit}, {"UWLE", Uwle},
    {"DABE", Dabe}, {"DADI", Dadi}, {"ZUFA", Zufa}, {"VERS", Vers}, {"MODU", Modu},
}};

constexpr bool NamesAreFourCharactersAndDistinct() {
    for (std::size_t i = 0; i < kFunctions.size(); ++i) {
        if (kFunctions[i].name.size() != 4) {
            return false;
        }
        for (std::size_t j = i + 1; j < kFunctions.size(); ++j) {
            if (kFunctions[i].name == kFunctions[j].name) {
                return false;
            }
        }
    }
    return true;
}
static_assert(NamesAreFourCharactersAndDistinct());

}  // namespace

double RoundComputation(double x) {
    const double whole = std::trunc(x);
    return whole + RoundHalfEven(x - whole);
}

ComputationFunction FindComputationFunction(std::string_view name) {
    for (const NamedFunction& function : kFunctions) {
        if (function.name == name) {
            return function.apply;
        }
    }
    return nullptr;
}

std::string_view ComputationFunctionName(int index) {
    if (index < 0 || index >= kComputationFunctionCount) {
        return {};
    }
    return kFunctions[static_cast<std::size_t>(index)].name;
}

}  // namespace kelvo
