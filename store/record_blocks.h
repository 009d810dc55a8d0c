#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "store/line_record.h"

namespace kelvo {

// A growing sequence of records in blocks of 1,024: growing never moves a record, a record
// costs its 84 bytes, and reaching record i is a shift, a mask and two loads.
class RecordBlocks {
  public:
    std::size_t size() const { return size_; }

    LineRecord& operator[](std::size_t i) { return (*blocks_[i >> kShift])[i & kMask]; }
    const LineRecord& operator[](std::size_t i) const { return (*blocks_[i >> kShift])[i & kMask]; }

    /// Grows to `count` records; the new ones are empty. A smaller count changes nothing.
    void Grow(std::size_t count) {
        while (blocks_.size() << kShift < count) {
            blocks_.push_back(std::make_unique<Block>());
        }
        size_ = std::max(size_, count);
    }

    /// Puts `records` in front of the records held.
    void Prepend(std::span<const LineRecord> records) {
        if (records.empty()) {
            return;
        }
        const std::size_t old = size_;
        Grow(old + records.size());
        MoveUp(0, old, records.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            (*this)[i] = records[i];
        }
    }

    /// Moves records [from, end) up by `by` places, the last first; the records must reach.
    void MoveUp(std::size_t from, std::size_t end, std::size_t by) {
        for (std::size_t i = end; i > from; --i) {
            (*this)[i - 1 + by] = (*this)[i - 1];
        }
    }

    /// Moves records [from, end) down by `by` places, the first first.
    void MoveDown(std::size_t from, std::size_t end, std::size_t by) {
        for (std::size_t i = from; i < end; ++i) {
            (*this)[i - by] = (*this)[i];
        }
    }

    /// Forgets every record and gives their memory back.
    void Release() {
        blocks_.clear();
        blocks_.shrink_to_fit();
        size_ = 0;
    }

  private:
    static constexpr std::size_t kShift = 10;
    static constexpr std::size_t kMask = (std::size_t{1} << kShift) - 1;
    using Block = std::array<LineRecord, std::size_t{1} << kShift>;

    std::vector<std::unique_ptr<Block>> blocks_;
    std::size_t size_ = 0;
};

}  // namespace kelvo
