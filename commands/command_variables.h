#pragma once

#include <optional>
#include <string_view>

namespace kelvo {

// The fixed variables the commands read and write, in stored form (numeric names 18
// characters; the store pads every name to 30).
inline constexpr std::string_view kSystemVar1Name = "[+SYSTEM_VAR_0001]";
inline constexpr std::string_view kSystemVar2Name = "[+SYSTEM_VAR_0002]";
inline constexpr std::string_view kBlankCountName = "[+LEERZEICHEN    ]";
inline constexpr std::string_view kSimilarityName = "[+AEHNLICH       ]";
inline constexpr std::string_view kGoalCountName = "[+ANZ_ZIELE      ]";
inline constexpr std::string_view kConversionErrorName = "+KELVO_KONVERTIERFEHLER";

/// The outcome stored in kConversionErrorName: "0" converted, "1" not convertible.
inline constexpr std::string_view kConverted = "0";
inline constexpr std::string_view kNotConverted = "1";

/// The stored number 0, "(           0.000)".
inline constexpr std::string_view kStoredZero = "(           0.000)";

/// Reads a text as a decimal number of the numeric form: blanks around it, an optional sign,
/// digits with an optional decimal point "." and an optional exponent. A comma does not read.
/// Empty when the text does not read or its value lies outside the range a stored number can
/// hold (strictly between -99999999999.9991 and 999999999999.9991).
std::optional<double> ReadNumberText(std::string_view text);

}  // namespace kelvo
