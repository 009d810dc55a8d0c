#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/record_observer.h"

namespace kelvo {

class KnowledgeBaseImage;

/// Where the value of a fact record came from.
enum class EvidenceSource : std::uint8_t {
    Unknown,          ///< a store no origin was noted for
    FactLine,         ///< an "F" line of the program
    Rule,             ///< a rule concluded it
    PageAnswer,       ///< a page's answer (its task line, -1 for a closing page)
    Computation,      ///< an "M" line
    VariableCommand,  ///< a "J" line
    DataExchange,     ///< a "W" line reading another knowledge base (its file)
    BlockRepeat,      ///< the counter "[+LS]" of a repeated task block
    ClosingPhase,     ///< "+UW", the certainty of a goal value in the closing phase
};

/// A text of at most 30 characters (a value of a fact record), kept without allocation.
struct EvidenceValue {
    std::array<char, 30> chars{};
    std::uint8_t size = 0;

    void Assign(std::string_view text);
    std::string_view view() const { return {chars.data(), size}; }
};

/// One condition of a rule as the rule search tested it.
struct ConditionEvidence {
    int linePosition = -1;    ///< the "U" or "O" line
    int factPosition = -1;    ///< the fact found for its object, -1 when none
    int factEntry = -1;       ///< that fact's evidence entry, -1 when none
    EvidenceValue factValue;  ///< its value at the time (30 characters)
    std::int16_t factCertainty = -1;
    std::int8_t state = 0;       ///< 0 the object is unknown, 1 the test is false, 2 it held
    bool groupEnds = false;      ///< the last alternative of its group
    std::int16_t share = 0;      ///< when it held: round(condition x fact / 100), 99 as 100
    std::int16_t groupBest = 0;  ///< the group's best after it; -1 "true with certainty 0"
    std::int16_t sum = 0;        ///< the rule's sum after it (added when its group ends)
};

/// The evidence of one fact record.
struct EvidenceEntry {
    EvidenceSource source = EvidenceSource::Unknown;
    int linePosition = -1;   ///< the rule, fact, task, computation, command or exchange line
    int file = -1;           ///< DataExchange: index into Evidence::Files()
    int firstCondition = 0;  ///< Rule: its conditions in Evidence::Conditions()
    int conditionCount = 0;
    int sum = 0;  ///< Rule: the sum over its groups before the cap at 99
};

/// A fact record the jump back removed.
struct RemovedFact {
    int entry = -1;             ///< its evidence entry
    int position = -1;          ///< where it was
    std::string record;         ///< its text (Windows-1252)
    int jumpLinePosition = -1;  ///< the "Y" line of the jump back
};

/// What became of a rule in the rule search, for "why not".
enum class RuleOutcome : std::uint8_t {
    NotExamined,  ///< no pass reached it while its object was sought
    ObjectKnown,  ///< its object was known already (for the goal: the value was concluded)
    Unknown,      ///< a condition's object was unknown (it was sought as a sub-goal)
    Failed,       ///< a group of conditions did not hold
    Concluded,    ///< it concluded
};

/// The last outcome of one rule and the condition that decided it (Unknown, Failed).
struct RuleRecord {
    RuleOutcome outcome = RuleOutcome::NotExamined;
    ConditionEvidence condition;
};

/// The evidence of a running consultation: an entry for every fact record stored, kept beside
/// the record image and moved along with its records (it observes the image). The engine
/// notes the origin of the stores it is about to make (SetOrigin, OriginScope) and the
/// conditions of the rule being tested; a store without a noted origin gets Unknown.
class Evidence final : public RecordObserver {
  public:
    explicit Evidence(const KnowledgeBaseImage& image) : image_(image) {}

    // --- what the engine tells -----------------------------------------------------------
    /// The origin of the stores that follow: the source, its line and, for DataExchange, the
    /// file (Windows-1252).
    void SetOrigin(EvidenceSource source, int linePosition, std::string_view file = {});
    /// The line of the stores that follow, keeping the source (a task's body line).
    void SetOriginLine(int linePosition);
    EvidenceSource OriginSource() const { return origin_.source; }
    int OriginLine() const { return origin_.linePosition; }

    /// Sizes the rule records for `ruleCount` rules (numbers 1 to ruleCount).
    void StartRules(int ruleCount);
    /// A rule (number `rule`) is tested from its first condition on.
    void BeginRule(int rule);
    /// The fact a condition found for its object (or none: position -1).
    void NoteFact(int position, std::string_view value, int certainty);
    /// A condition of the rule begun last was tested, with the fact noted last.
    void Condition(int linePosition, int state, bool groupEnds, int share, int groupBest, int sum);
    /// The rule begun last ended without concluding.
    void RuleFailed(RuleOutcome outcome);
    /// The rule begun last concludes with `sum` (before the cap): the stores that follow
    /// come from it at `linePosition`.
    void RuleConcludes(int linePosition, int sum);
    /// A rule whose object is known already was passed over.
    void RulePassedOver(int rule);
    /// The jump back at `linePosition` is about to cut the fact base.
    void NoteJumpBack(int linePosition);

    // --- what it knows ---------------------------------------------------------------------
    /// The entry of the record at `position`; nullptr when none was noted there.
    const EvidenceEntry* EntryAt(int position) const;
    /// The entry number of the record at `position`; -1 when none.
    int EntryNumberAt(int position) const;
    const EvidenceEntry& Entry(int number) const {
        return entries_[static_cast<std::size_t>(number)];
    }
    int EntryCount() const { return static_cast<int>(entries_.size()); }
    /// The conditions of `entry` (empty for a source other than Rule).
    std::vector<ConditionEvidence> ConditionsOf(const EvidenceEntry& entry) const;
    const std::vector<std::string>& Files() const { return files_; }
    /// The records the jump back removed, oldest first.
    const std::vector<RemovedFact>& Removed() const { return removed_; }
    /// The rule records by rule number (entry 0 unused); empty before StartRules.
    const std::vector<RuleRecord>& Rules() const { return rules_; }
    /// The newest fact position whose record text equals `record` (an entry of the recent
    /// stores); -1 when none.
    int PositionOfRecord(std::string_view record) const;

    // --- RecordObserver --------------------------------------------------------------------
    void RecordStored(int position, bool appended) override;
    void RecordsSpliced(int start, int removeCount, int insertCount) override;
    void LastRecordSet(int oldLast, int newLast) override;
    void ImageReset() override;

  private:
    int PendingEntry();

    const KnowledgeBaseImage& image_;
    std::vector<int> entryAt_;  ///< by position; -1 none; behind LastRecord what was there
    std::vector<EvidenceEntry> entries_;
    std::vector<ConditionEvidence> conditions_;
    std::vector<std::string> files_;
    std::vector<RemovedFact> removed_;
    std::vector<RuleRecord> rules_;
    /// The entries of the origins other than rules by source, line and file: they are the
    /// same for every store of that origin, so each is made once.
    std::unordered_map<std::uint64_t, int> plainEntries_;

    EvidenceEntry origin_;
    int pendingEntry_ = -1;  ///< the entry made for origin_ by its first store
    int jumpLinePosition_ = -1;

    // The rule being tested.
    int rule_ = 0;
    std::vector<ConditionEvidence> ruleConditions_;
    ConditionEvidence fact_;
};

/// Notes an origin for the stores inside a scope and restores the one before at its end;
/// does nothing when `evidence` is nullptr.
class OriginScope {
  public:
    OriginScope(Evidence* evidence, EvidenceSource source, int linePosition);
    ~OriginScope();
    OriginScope(const OriginScope&) = delete;
    OriginScope& operator=(const OriginScope&) = delete;

  private:
    Evidence* evidence_;
    EvidenceSource source_ = EvidenceSource::Unknown;
    int linePosition_ = -1;
};

}  // namespace kelvo
