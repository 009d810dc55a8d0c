#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kelvo {

class FactBase;

/// The 25 body labels of a closing page: mode 2 (a solution without closing text, from its
/// fact record and "+UW") or mode 3 (no solution). Each filled label is centred in 80 columns;
/// the others are empty. Texts are Windows-1252.
std::array<std::string, 25> ClosingPageLabels(int formMode, std::string_view solutionRecord,
                                              FactBase& facts);

}  // namespace kelvo
