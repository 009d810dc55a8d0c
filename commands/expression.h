#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kelvo {

/// The value of a variable by name (as written in the expression, upper case), or empty when
/// the variable does not exist.
using ExpressionLookup = std::function<std::optional<std::string>(std::string_view name)>;

/// The most tokens an expression is split into; further tokens replace the last one.
inline constexpr int kMaxExpressionTokens = 500;

/// The result of an expression that does not evaluate.
inline constexpr std::string_view kExpressionError = "FEHLER";

/// Evaluates a text that begins with "=" as an arithmetic expression: numbers, the operators
/// + - * /, parentheses, the functions INT ABS SQR RND LOG FRAC SIN COS TAN ASIN ACOS ATAN
/// (angles in degrees), numeric variables "[NAME]", variables "<NAME>" holding a number, and
/// comments in double quotes. Returns the value right-aligned in 16 characters with 3
/// decimals, or kExpressionError; a text without the "=" is returned unchanged. Only reads
/// variables through `lookup`.
std::string EvaluateExpression(std::string_view text, const ExpressionLookup& lookup);

}  // namespace kelvo
