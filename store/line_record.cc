#include "store/line_record.h"

#include <algorithm>
#include <cstring>

namespace kelvo {

LineRecord::LineRecord(std::string_view text) {
    const std::size_t n = std::min(text.size(), kMaxText);
    bytes_[0] = static_cast<std::uint8_t>(n);
    std::memcpy(bytes_.data() + 1, text.data(), n);
}

LineRecord LineRecord::FromBytes(const std::uint8_t* bytes) {
    LineRecord record;
    std::memcpy(record.bytes_.data(), bytes, kSize);
    return record;
}

char LineRecord::column(std::size_t c) const {
    const std::string_view t = text();
    return c >= 1 && c <= t.size() ? t[c - 1] : ' ';
}

}  // namespace kelvo
