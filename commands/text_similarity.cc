#include "commands/text_similarity.h"

#include <string>
#include <vector>

#include "commands/command_variables.h"
#include "store/fact_base.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {

double TextSimilarity(std::string_view a, std::string_view b, double coverWeight,
                      double lengthWeight) {
    std::string shorter = TrimRight(ToUpper(a));
    std::string longer = TrimRight(ToUpper(b));
    if (shorter.size() > longer.size()) {
        std::swap(shorter, longer);
    }
    const std::size_t m = shorter.size();
    const std::size_t n = longer.size();
    // Weights come from stored numbers with three decimals in percent: a real excess is at
    // least 0.00001, so the tolerance only absorbs rounding (0.33 + 0.67 is not above 1).
    constexpr double kTolerance = 1e-9;
    if (m == 0 || coverWeight < 0.0 || lengthWeight < 0.0 ||
        coverWeight + lengthWeight > 1.0 + kTolerance) {
        return 0.0;
    }
    // One mark per character of the shorter text, however long it is.
    std::vector<bool> marked(m, false);
    std::size_t covered = 0;
    for (std::size_t q = 0; q + 1 < m; ++q) {
        for (std::size_t r = 0; r + 1 < n; ++r) {
            if (shorter[q] != longer[r] || shorter[q + 1] != longer[r + 1]) {
                continue;
            }
            if (!marked[q] && !marked[q + 1]) {
                covered += 2;
                marked[q] = marked[q + 1] = true;
            } else if (!marked[q + 1]) {
                covered += 1;
                marked[q + 1] = true;
            }
            break;  // both characters are marked now; later pairs of b change nothing
        }
    }
    const double dm = static_cast<double>(m);
    return 100.0 * static_cast<double>(covered) / dm * coverWeight +
           100.0 * dm / static_cast<double>(n) * lengthWeight;
}

double TextSimilarity(std::string_view a, std::string_view b, FactBase& facts) {
    const auto weight = [&facts](std::string_view name) {
        return (facts.LookupFact(PadRight(name, FactBase::kFieldWidth)) ? facts.FoundNumber()
                                                                        : -1.0) /
               100.0;
    };
    const double coverWeight = weight(kSystemVar1Name);
    const double lengthWeight = weight(kSystemVar2Name);
    return TextSimilarity(a, b, coverWeight, lengthWeight);
}

}  // namespace kelvo
