#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvo {

// Numbers in fact records and normalized lines are 18 characters: "(" + the value with exactly
// three decimals right-aligned in 16 characters + ")", for example "(          12.500)".

/// Width of a stored number, parentheses included.
inline constexpr std::size_t kStoredNumberWidth = 18;

/// Rounds to the nearest whole number; an exact half goes to the even neighbour.
double RoundHalfEven(double value);

/// Formats a value in the stored form. The value is rounded to the nearest thousandth; a
/// negative value that rounds to zero is written without a minus sign. A value outside the
/// representable range gives a wider text; callers check the range first.
std::string FormatStoredNumber(double value);

/// The decimal digits of `value` rounded to a whole number, as printf's "%.0f" writes them.
std::string FormatWholeNumber(double value);

/// Reads a whole text as a decimal number: optional sign, digits with an optional decimal
/// point, optional exponent. No blanks, no comma, no "inf" or "nan". Empty when it does not read.
std::optional<double> ParseDecimalNumber(std::string_view text);

/// Reads the number of a stored value such as "(           1.000)" or "(3)   ": trailing
/// blanks removed, the first and last characters dropped, blanks around the rest ignored.
/// Empty when the value is not in parentheses or the inside does not read.
std::optional<double> ReadStoredNumber(std::string_view value);

}  // namespace kelvo
