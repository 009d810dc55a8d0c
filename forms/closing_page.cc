#include "forms/closing_page.h"

#include "store/fact_base.h"
#include "store/text_field.h"

namespace kelvo {
namespace {

constexpr std::size_t kColumns = 80;

std::string Columns(std::string_view record, std::size_t from, std::size_t to) {
    return PadRight(from <= record.size() ? record.substr(from - 1, to - from + 1) : "",
                    to - from + 1);
}

}  // namespace

std::array<std::string, 25> ClosingPageLabels(int formMode, std::string_view solutionRecord,
                                              FactBase& facts) {
    std::array<std::string, 25> labels{};
    auto set = [&labels](int label, std::string_view text) {
        labels[static_cast<std::size_t>(label - 1)] = CentreText(text, kColumns);
    };
    if (formMode == 2) {
        set(4, "Vom System ermittelte L\xF6sungen bei denen");
        set(5, "keine Abschlu\xDFtexte programmiert wurden!");
        set(8, "Objekt    = " + Columns(solutionRecord, 1, 30));
        set(9, "Wert      = " + Columns(solutionRecord, 32, 61));
        if (facts.LookupFact(PadRight("+UW", FactBase::kFieldWidth))) {
            set(25, "[Aussagewahrscheinlichkeit = " + facts.FoundValue().substr(0, 2) + " %]");
        }
    } else if (formMode == 3) {
        set(4, "Das Expertensystem KELVO konnte");
        set(5, "keine L\xF6sung f\xFCr Sie ermitteln!");
    }
    return labels;
}

}  // namespace kelvo
