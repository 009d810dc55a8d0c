#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace kelvo {

// A text field of `Width` characters held in place: the blank-padded or cut form of a text,
// as PadRight and Columns (store/text_field.h) give it, without allocating. The lookups and
// stores of the fact base build several per call.
template <std::size_t Width>
class FixedField {
  public:
    static constexpr std::size_t kWidth = Width;

    /// All blanks.
    FixedField() { chars_.fill(' '); }
    /// `text` padded with blanks or cut to `Width`.
    explicit FixedField(std::string_view text) { Assign(text); }

    /// Columns `first` (counted from 1) to `first + Width - 1` of `text`, blank-padded where
    /// the text is shorter.
    static FixedField Columns(std::string_view text, std::size_t first) {
        const std::size_t from = first - 1;
        return FixedField(from < text.size() ? text.substr(from) : std::string_view());
    }

    void Assign(std::string_view text) {
        const std::size_t n = std::min(text.size(), Width);
        std::copy_n(text.begin(), n, chars_.begin());
        std::fill(chars_.begin() + static_cast<std::ptrdiff_t>(n), chars_.end(), ' ');
    }

    std::string_view view() const { return {chars_.data(), Width}; }
    const std::array<char, Width>& chars() const { return chars_; }
    char& operator[](std::size_t i) { return chars_[i]; }
    char operator[](std::size_t i) const { return chars_[i]; }
    char* begin() { return chars_.data(); }
    char* end() { return chars_.data() + Width; }
    char* data() { return chars_.data(); }
    static constexpr std::size_t size() { return Width; }

    friend bool operator==(const FixedField& a, const FixedField& b) = default;

  private:
    std::array<char, Width> chars_;
};

}  // namespace kelvo
