#include "engine/object_index.h"

namespace kelvo {

void ObjectIndex::Add(std::string_view line, int number) {
    constexpr std::size_t kFirst = 2;  // column 3
    constexpr std::size_t kWidth = 30;
    std::string object(line.size() > kFirst ? line.substr(kFirst, kWidth) : std::string_view());
    object.resize(kWidth, ' ');
    auto found = numbers_.find(std::string_view(object));
    if (found == numbers_.end()) {
        numbers_.emplace(std::move(object), std::vector<int>{number});
    } else {
        found->second.push_back(number);
    }
}

const std::vector<int>& ObjectIndex::Find(std::string_view object) const {
    static const std::vector<int> kNone;
    const auto found = numbers_.find(object);
    return found == numbers_.end() ? kNone : found->second;
}

}  // namespace kelvo
