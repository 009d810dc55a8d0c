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
        const std::string_view name = FieldNameAt(text, i);
        if (!name.empty() && facts.LookupFact(PadRight(name, FactBase::kFieldWidth))) {
            out += PadRight(facts.FoundValue(), name.size() + 2);
            i += name.size() + 2;
            continue;
        }
        out += '[';
        ++i;
    }
    return out;
}

std::string_view FieldNameAt(std::string_view text, std::size_t open) {
    // field -> "[" name "[" with at least one character of name; a "]" ends the search
    std::size_t j = open + 1;
    while (j < text.size() && text[j] != ']' && !(text[j] == '[' && j - open >= 2)) {
        ++j;
    }
    if (j < text.size() && text[j] == '[') {
        return text.substr(open + 1, j - open - 1);
    }
    return {};
}

}  // namespace kelvo
