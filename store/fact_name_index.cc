#include "store/fact_name_index.h"

#include <algorithm>
#include <array>

namespace kelvo {
namespace {

constexpr std::size_t kNameWidth = 30;
constexpr std::size_t kPrefixWidth = 18;
constexpr std::size_t kNameAndValueWidth = 61;

// The first `width` columns of a record, blank-padded as a short record reads.
class Columns {
  public:
    Columns(std::string_view text, std::size_t width) : width_(width) {
        const std::size_t n = std::min(text.size(), width);
        std::copy_n(text.begin(), n, buffer_.begin());
        std::fill(buffer_.begin() + static_cast<std::ptrdiff_t>(n),
                  buffer_.begin() + static_cast<std::ptrdiff_t>(width), ' ');
    }
    std::string_view view() const { return {buffer_.data(), width_}; }

  private:
    std::array<char, kNameAndValueWidth> buffer_{};
    std::size_t width_;
};

bool OddNumericName(std::string_view name) {
    return name.front() == '[' &&
           name.substr(kPrefixWidth).find_first_not_of(' ') != std::string_view::npos;
}

}  // namespace

void FactNameIndex::Clear(std::string_view goal) {
    byName_.clear();
    byPrefix_.clear();
    byGoalValue_.clear();
    goal_ = std::string(goal);
}

void FactNameIndex::Insert(Map& map, std::string_view key, int position) {
    auto found = map.find(key);
    if (found == map.end()) {
        map.emplace(std::string(key), Positions{position});
        return;
    }
    Positions& positions = found->second;
    if (positions.empty() || positions.back() < position) {
        positions.push_back(position);  // the common case: an append
        return;
    }
    const auto at = std::lower_bound(positions.begin(), positions.end(), position);
    if (at == positions.end() || *at != position) {
        positions.insert(at, position);
    }
}

void FactNameIndex::Erase(Map& map, std::string_view key, int position) {
    auto found = map.find(key);
    if (found == map.end()) {
        return;
    }
    Positions& positions = found->second;
    if (!positions.empty() && positions.back() == position) {
        positions.pop_back();  // the common case: a dropped or replaced newest record
    } else {
        const auto at = std::lower_bound(positions.begin(), positions.end(), position);
        if (at != positions.end() && *at == position) {
            positions.erase(at);
        }
    }
    if (positions.empty()) {
        map.erase(found);
    }
}

int FactNameIndex::Last(const Map& map, std::string_view key) {
    const auto found = map.find(key);
    return found == map.end() || found->second.empty() ? -1 : found->second.back();
}

void FactNameIndex::Add(std::string_view text, int position) {
    const Columns name(text, kNameWidth);
    Insert(byName_, name.view(), position);
    if (OddNumericName(name.view())) {
        Insert(byPrefix_, name.view().substr(0, kPrefixWidth), position);
    }
    if (name.view() == goal_) {
        Insert(byGoalValue_, Columns(text, kNameAndValueWidth).view(), position);
    }
}

void FactNameIndex::Remove(std::string_view text, int position) {
    const Columns name(text, kNameWidth);
    Erase(byName_, name.view(), position);
    if (OddNumericName(name.view())) {
        Erase(byPrefix_, name.view().substr(0, kPrefixWidth), position);
    }
    if (name.view() == goal_) {
        Erase(byGoalValue_, Columns(text, kNameAndValueWidth).view(), position);
    }
}

bool FactNameIndex::SameKeys(std::string_view a, std::string_view b) const {
    const Columns name(a, kNameWidth);
    if (name.view() != Columns(b, kNameWidth).view()) {
        return false;
    }
    return name.view() != goal_ ||
           Columns(a, kNameAndValueWidth).view() == Columns(b, kNameAndValueWidth).view();
}

int FactNameIndex::Newest(std::string_view name) const {
    return Last(byName_, name);
}

int FactNameIndex::NewestWithPrefix(std::string_view key) const {
    std::string padded(key);
    padded.resize(kNameWidth, ' ');
    return std::max(Last(byName_, padded), Last(byPrefix_, key));
}

int FactNameIndex::NewestGoalValue(std::string_view nameAndValue) const {
    return Last(byGoalValue_, nameAndValue);
}

}  // namespace kelvo
