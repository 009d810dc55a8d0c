#include "store/field_substitution.h"

#include "store/fact_base.h"
#include "store/text_field.h"

namespace kelvo {

std::string SubstituteFields(std::string_view text, FactBase& facts) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '[') {
            out += text[i++];
            continue;
        }
        // field -> "[" name "[" with at least one character of name; a "]" ends the search
        std::size_t j = i + 1;
        while (j < text.size() && text[j] != ']' && !(text[j] == '[' && j - i >= 2)) {
            ++j;
        }
        if (j < text.size() && text[j] == '[') {
            const std::string_view name = text.substr(i + 1, j - i - 1);
            if (facts.LookupFact(PadRight(name, FactBase::kFieldWidth))) {
                out += PadRight(facts.FoundValue(), j - i + 1);
                i = j + 1;
                continue;
            }
        }
        out += '[';
        ++i;
    }
    return out;
}

}  // namespace kelvo
