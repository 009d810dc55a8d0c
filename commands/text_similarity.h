#pragma once

#include <string_view>

namespace kelvo {

class FactBase;

/// The similarity of two texts in percent (0 to 100), compared without regard to case and
/// trailing blanks: the share of the shorter text's characters that pairs of neighbouring
/// characters common to both cover, weighted by `coverWeight`, plus the ratio of the lengths,
/// weighted by `lengthWeight` (both fractions of 1). 0 when a text is empty, a weight is
/// negative or the weights add up to more than 1.
double TextSimilarity(std::string_view a, std::string_view b, double coverWeight,
                      double lengthWeight);

/// The same with the weights in percent from "[+SYSTEM_VAR_0001]" and "[+SYSTEM_VAR_0002]"; a
/// missing weight gives 0.
double TextSimilarity(std::string_view a, std::string_view b, FactBase& facts);

}  // namespace kelvo
