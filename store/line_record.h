#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvo {

// One line of a knowledge base, as stored in its file, in the record image and in the print
// buffer. On disk and in memory it is 84 bytes:
//
//   offset  size  content
//   0       1     length L of the text, 0 to 83
//   1       83    the text, Windows-1252, in bytes 1 to L; bytes after L are not significant
//
// Column c of a line is byte c of the record, i.e. text()[c - 1].
class LineRecord {
  public:
    static constexpr std::size_t kSize = 84;
    static constexpr std::size_t kMaxText = 83;

    /// An empty record (length 0).
    LineRecord() = default;

    /// A record holding `text`, cut to 83 characters.
    explicit LineRecord(std::string_view text);

    /// A record from its 84 raw bytes. The length byte is taken as it is; check
    /// HasValidLength() before reading a record of unknown origin.
    static LineRecord FromBytes(const std::uint8_t* bytes);

    /// False when the length byte is above 83 (a corrupt record).
    bool HasValidLength() const { return bytes_[0] <= kMaxText; }

    /// The significant text: bytes 1 to L (a corrupt length is clamped to 83).
    std::string_view text() const {
        const std::size_t n = std::min<std::size_t>(bytes_[0], kMaxText);
        return {reinterpret_cast<const char*>(bytes_.data() + 1), n};
    }

    std::size_t length() const { return text().size(); }

    /// Character of column c (counted from 1); a blank beyond the text.
    char column(std::size_t c) const;

    /// The 84 bytes as written to a file; bytes after the text are zero.
    const std::array<std::uint8_t, kSize>& bytes() const { return bytes_; }

    friend bool operator==(const LineRecord& a, const LineRecord& b) {
        return a.text() == b.text();
    }

  private:
    std::array<std::uint8_t, kSize> bytes_{};
};

}  // namespace kelvo
