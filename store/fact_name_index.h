#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "store/position_chains.h"

namespace kelvo {

// The positions of fact records by name: for each name (columns 1-30) the positions of its
// records in ascending order, so the newest is the last. Two companions answer the other scans
// of the fact base: numeric names by their first 18 columns (for a record whose columns 19-30
// are not blank; the others are found by name), and the records of the goal object by name and
// value (columns 1-61).
//
// The image adds and removes each record as it writes, moves or drops it, and lends the index
// its records to read the keys from (store/knowledge_base_image.h).
class FactNameIndex {
  public:
    /// The index reads the keys of the positions it holds through `textAt`, the text of the
    /// record at a position.
    explicit FactNameIndex(RecordTextAt textAt);
    FactNameIndex(const FactNameIndex&) = delete;
    FactNameIndex& operator=(const FactNameIndex&) = delete;

    /// Forgets every position; `goal` (30 characters) is the object indexed by its values too,
    /// and the positions added from now on are `first` or above.
    void Clear(std::string_view goal, int first);
    /// The goal object given to the last Clear.
    const std::string& Goal() const { return goal_; }

    /// Adds the record `text` at `position`.
    void Add(std::string_view text, int position);
    /// Removes the record `text` at `position`; a position not indexed under its name is
    /// ignored.
    void Remove(std::string_view text, int position);

    /// True when the records `a` and `b` are indexed under the same keys, so that one may
    /// take the other's place without a change of the index.
    bool SameKeys(std::string_view a, std::string_view b) const;

    /// The newest position whose columns 1-30 equal `name` (30 characters); -1 when none.
    int Newest(std::string_view name) const;
    /// The newest position whose columns 1-18 equal `key` (18 characters); -1 when none.
    int NewestWithPrefix(std::string_view key) const;
    /// The newest position whose columns 1-61 equal `nameAndValue` (the goal, a blank and a
    /// value of 30); -1 when none or when the name is not the goal.
    int NewestGoalValue(std::string_view nameAndValue) const;

  private:
    static constexpr std::size_t kNameWidth = 30;
    static constexpr std::size_t kPrefixWidth = 18;
    static constexpr std::size_t kNameAndValueWidth = 61;

    RecordTextAt textAt_;
    PositionChains<kNameWidth> byName_;
    PositionChains<kPrefixWidth> byPrefix_;
    PositionChains<kNameAndValueWidth> byGoalValue_;
    std::string goal_;
};

}  // namespace kelvo
