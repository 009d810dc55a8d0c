#include "store/text_field.h"

#include "store/stored_number.h"
#include "store/windows1252.h"

namespace kelvo {

std::string PadRight(std::string_view text, std::size_t width) {
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

std::string PadLeft(std::string_view text, std::size_t width) {
    if (text.size() >= width) {
        return std::string(text);
    }
    std::string out(width - text.size(), ' ');
    out.append(text);
    return out;
}

std::string CentreText(std::string_view text, std::size_t width) {
    if (text.size() >= width) {
        return std::string(text);
    }
    const double half = static_cast<double>(width - text.size()) / 2.0;
    const auto left = static_cast<std::size_t>(RoundHalfEven(half));
    return PadRight(PadLeft(text, left + text.size()), width);
}

std::string TrimRight(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

std::string TrimLeft(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(' ');
    return begin == std::string_view::npos ? std::string() : std::string(text.substr(begin));
}

std::string Columns(std::string_view text, std::size_t first, std::size_t last) {
    const std::string_view inside =
        first >= 1 && first <= text.size() ? text.substr(first - 1, last - first + 1) : "";
    return PadRight(inside, last - first + 1);
}

bool ContainsText(std::string_view needle, std::string_view haystack) {
    const std::string n = TrimRight(ToUpper(needle));
    const std::string h = TrimRight(ToUpper(haystack));
    if (h.empty()) {
        return false;
    }
    return h.find(n) != std::string::npos;
}

}  // namespace kelvo
