#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kelvo {

// Numbers (rule numbers, record positions) by the object a program line names in its columns
// 3-32, each list in the order the numbers were added. The rule search keeps two: the rules by
// the object they conclude, and the task copies by the object whose facts they match. The
// program lines do not change while a consultation runs, so both are built once after the
// preparation.
class ObjectIndex {
  public:
    /// Adds `number` under the object of `line` (columns 3-32, blank-padded to 30).
    void Add(std::string_view line, int number);
    /// The numbers added under `object` (30 characters); empty for an object with none.
    const std::vector<int>& Find(std::string_view object) const;
    void Clear() { numbers_.clear(); }

  private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const {
            return std::hash<std::string_view>{}(key);
        }
    };
    std::unordered_map<std::string, std::vector<int>, Hash, std::equal_to<>> numbers_;
};

}  // namespace kelvo
