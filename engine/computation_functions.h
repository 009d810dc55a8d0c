#pragma once

#include <string>
#include <string_view>

#include "platform/clock.h"

namespace kelvo {

// The twenty functions of computation lines. A function takes the result of the line's
// operation (`x`) and gives the value to store, or an error code: 5 for an invalid computation
// (root of a negative number, logarithm of 0 or less, arc sine or arc cosine outside -1 to 1),
// 15 for a date that cannot be read. Angles are in degrees.

/// The program's version text; "VERS" reads it as a number.
inline constexpr std::string_view kVersionText = "2017.001";

/// What a function may need besides the values of the line. Only the functions that need an
/// input ask for it, so a line reads the clock, the random generator or a date variable only
/// when its function uses them.
class FunctionInputs {
  public:
    virtual ~FunctionInputs() = default;
    /// The text a date is read from for operand 1 or 2: the value of the variable the operand
    /// names, or the literal number of the line. Empty when a named variable does not exist.
    virtual std::string DateText(int operand) = 0;
    /// The local date and time (read once per line).
    virtual LocalDateTime Now() = 0;
    /// A random number from 0 (inclusive) to 1 (exclusive).
    virtual double NextRandom() = 0;
};

/// One application of a function.
struct FunctionCall {
    double x = 0.0;                  ///< the result of the operation
    double b = 0.0;                  ///< the value of operand 2 (days for "DABE")
    char operation = '+';            ///< the operator of the line
    int certainty = 0;               ///< the certainty of the fact that started the task ("UWLE")
    bool programmingModule = false;  ///< "MODU"
    FunctionInputs& inputs;          ///< asked by "DATU", "ZEIT", "ZUFA", "DABE", "DADI"
};

/// The value of a function, or the error code it failed with (0 = none).
struct FunctionResult {
    double value = 0.0;
    int error = 0;
};

using ComputationFunction = FunctionResult (*)(const FunctionCall& call);

/// The function of a four-character name as stored in a computation line ("INT ", "FRAC"),
/// compared exactly; nullptr for any other text.
ComputationFunction FindComputationFunction(std::string_view name);

/// The twenty names, each four characters, in the order of the table.
std::string_view ComputationFunctionName(int index);
inline constexpr int kComputationFunctionCount = 20;

/// RND: the integer part of x plus its fractional part rounded to a whole number, an exact
/// half going to the even neighbour (0): 2.5 gives 2, 3.5 gives 3, -2.5 gives -2.
double RoundComputation(double x);

}  // namespace kelvo
