#pragma once

// Cutting a fuzz input into the parts a target needs.

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvo {

/// Splits a fuzz input in two at the last `marker`: the part before it and the part after.
/// Without the marker the whole input is the first part.
inline std::pair<std::string_view, std::string_view> SplitAtLast(std::string_view input,
                                                                 std::string_view marker) {
    const std::size_t at = input.rfind(marker);
    if (at == std::string_view::npos) {
        return {input, {}};
    }
    return {input.substr(0, at), input.substr(at + marker.size())};
}

/// The lines of a text, split at each "\n" (a final "\n" gives a last empty line).
inline std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

}  // namespace kelvo
