#include "store/fact_name_index.h"

#include <algorithm>
#include <utility>

#include "store/fixed_field.h"

namespace kelvo {
namespace {

// A numeric name with something in its columns behind `prefixWidth`.
bool OddNumericName(std::string_view name, std::size_t prefixWidth) {
    return name.front() == '[' &&
           name.substr(prefixWidth).find_first_not_of(' ') != std::string_view::npos;
}

}  // namespace

FactNameIndex::FactNameIndex(RecordTextAt textAt)
    : textAt_(std::move(textAt)), byName_(textAt_), byPrefix_(textAt_), byGoalValue_(textAt_) {}

void FactNameIndex::Clear(std::string_view goal, int first) {
    byName_.Clear(first);
    byPrefix_.Clear(first);
    byGoalValue_.Clear(first);
    goal_ = std::string(goal);
}

void FactNameIndex::Add(std::string_view text, int position) {
    const FixedField<kNameWidth> name(text);
    byName_.Add(name.view(), position);
    if (OddNumericName(name.view(), kPrefixWidth)) {
        byPrefix_.Add(FixedField<kPrefixWidth>(text).view(), position);
    }
    if (name.view() == goal_) {
        byGoalValue_.Add(FixedField<kNameAndValueWidth>(text).view(), position);
    }
}

void FactNameIndex::Remove(std::string_view text, int position) {
    const FixedField<kNameWidth> name(text);
    byName_.Remove(name.view(), position);
    if (OddNumericName(name.view(), kPrefixWidth)) {
        byPrefix_.Remove(FixedField<kPrefixWidth>(text).view(), position);
    }
    if (name.view() == goal_) {
        byGoalValue_.Remove(FixedField<kNameAndValueWidth>(text).view(), position);
    }
}

bool FactNameIndex::SameKeys(std::string_view a, std::string_view b) const {
    const FixedField<kNameWidth> name(a);
    if (name != FixedField<kNameWidth>(b)) {
        return false;
    }
    return name.view() != goal_ ||
           FixedField<kNameAndValueWidth>(a) == FixedField<kNameAndValueWidth>(b);
}

int FactNameIndex::Newest(std::string_view name) const {
    return name.size() == kNameWidth ? byName_.Newest(name)
                                     : byName_.Newest(FixedField<kNameWidth>(name).view());
}

int FactNameIndex::NewestWithPrefix(std::string_view key) const {
    const int byName = Newest(key);
    // Numeric names with something behind column 18 are rare: mostly there are none to ask.
    return byPrefix_.Empty()
               ? byName
               : std::max(byName, byPrefix_.Newest(FixedField<kPrefixWidth>(key).view()));
}

int FactNameIndex::NewestGoalValue(std::string_view nameAndValue) const {
    return byGoalValue_.Newest(FixedField<kNameAndValueWidth>(nameAndValue).view());
}

}  // namespace kelvo
