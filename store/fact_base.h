#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/fixed_field.h"
#include "store/knowledge_base_image.h"

namespace kelvo {

// The fact base: the fact records (store/fact_record.h) at positions FactBoundary + 1 to
// LastRecord of the image.
//
// In the Literal search mode every lookup scans from the newest record to the oldest; in the
// Indexed mode (the default) the image's index by name answers the same. A double-plus
// variable "++NAME" with a long value is kept in consecutive records "++NAME1", "++NAME2", …,
// 30 characters each.
class FactBase {
  public:
    /// Width of a name field and of a value field.
    static constexpr std::size_t kFieldWidth = 30;

    explicit FactBase(KnowledgeBaseImage& image) : image_(image) {}

    /// Finds the newest record of `name` (upper-cased, subscripts resolved). Publishes the
    /// Found* results; after a failed lookup they hold their reset values (position -1, value
    /// empty, number -1.0, certainty -1, origin -1).
    bool LookupFact(std::string_view name);

    /// Stores a value under `name` (stored form; padded to 30 here) and returns the position
    /// written. Plus names replace their record, other names append; the goal object keeps
    /// each distinct value once; double-plus values take as many records as they need.
    /// Returns -1 when the image is full (the store is then incomplete and the consultation
    /// must end).
    int StoreFact(std::string_view name, std::string_view value, std::string_view certainty,
                  std::string_view origin);

    /// The newest record of the goal object that holds `value` (padded to 30), or -1 when no
    /// record of the goal holds it.
    int FindGoalValue(std::string_view value);

    /// Replaces the last subscript "{+NAME}" of `name` (30 characters) by the rounded value of
    /// the numeric variable "[+NAME]" when that value is above 0 and its digits fit between the
    /// braces; sets SubscriptIndex to it, or to -1 leaving the name unchanged.
    std::string ResolveSubscript(std::string_view name);

    const std::string& FoundValue() const { return foundValue_; }
    double FoundNumber() const;
    std::int32_t FoundPosition() const { return foundPosition_; }
    std::int32_t FoundCertainty() const { return foundCertainty_; }
    std::int32_t FoundOrigin() const { return foundOrigin_; }
    std::int32_t SubscriptIndex() const { return subscriptIndex_; }

    /// The consultation's goal object (30 characters); one blank when there is none.
    const std::string& TopGoal() const { return topGoal_; }
    void SetTopGoal(std::string_view goal);

    KnowledgeBaseImage& image() { return image_; }
    const KnowledgeBaseImage& image() const { return image_; }

  private:
    /// A name field: 30 characters held in place.
    using Name = FixedField<kFieldWidth>;
    /// Width of a numeric name up to its "]": "[", the name padded to 16, "]".
    static constexpr std::size_t kNumericKeyWidth = 18;

    void ResetFound();
    bool Indexed() const { return image_.searchMode() == SearchMode::Indexed; }
    /// The newest fact record whose columns 1-30 equal `key`; -1 when none.
    int Newest(std::string_view key);
    /// Rewrites the double-plus variable at `start` (`oldParts` records) with `newParts` parts,
    /// of which the first `kept` are the same records as before and `changed` the rest.
    bool RewriteInPlace(int start, int oldParts, int newParts, int kept,
                        const std::vector<std::string>& changed);
    /// How many of the first parts of the double-plus variable just looked up (at
    /// FoundPosition) are already the records that the parts of `value` under the name `base`
    /// (without trailing blanks) with `certainty` and `origin` would be; at most `limit`.
    int UnchangedParts(std::string_view base, std::string_view value, std::string_view certainty,
                       std::string_view origin, int limit) const;
    /// ResolveSubscript on `name` in place; false when it stays as it was.
    bool ResolveSubscriptOf(Name& name);
    /// Resolves the subscripts of a plus name from its first "{" on.
    void ResolveAllSubscripts(Name& key);
    int StoreDoublePlus(const std::string& name, std::string_view value, std::string_view certainty,
                        std::string_view origin);

    KnowledgeBaseImage& image_;
    std::string topGoal_ = " ";
    Name goalKey_;  ///< topGoal_ padded to 30
    std::string foundValue_;
    // The number of FoundValue, read on first use.
    mutable double foundNumber_ = -1.0;
    mutable bool foundNumberRead_ = true;
    std::int32_t foundPosition_ = -1;
    std::int32_t foundCertainty_ = -1;
    std::int32_t foundOrigin_ = -1;
    std::int32_t subscriptIndex_ = -1;
    // The last lookup: its key and the image's change count then. While both are the same the
    // Found* results above are still its answer.
    Name lookedUpKey_;
    std::uint64_t lookedUpAt_ = 0;
    bool lookedUp_ = false;
    bool lookedUpFound_ = false;
};

}  // namespace kelvo
