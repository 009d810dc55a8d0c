#include "engine/evidence.h"

#include <algorithm>

#include "store/knowledge_base_image.h"

namespace kelvo {

void EvidenceValue::Assign(std::string_view text) {
    size = static_cast<std::uint8_t>(std::min(text.size(), chars.size()));
    std::copy_n(text.begin(), size, chars.begin());
}

void Evidence::SetOrigin(EvidenceSource source, int linePosition, std::string_view file) {
    origin_ = EvidenceEntry{};
    origin_.source = source;
    origin_.linePosition = linePosition;
    if (!file.empty()) {
        const auto known = std::find(files_.begin(), files_.end(), file);
        origin_.file = static_cast<int>(known - files_.begin());
        if (known == files_.end()) {
            files_.emplace_back(file);
        }
    }
    pendingEntry_ = -1;
}

void Evidence::SetOriginLine(int linePosition) {
    if (origin_.linePosition != linePosition) {
        origin_.linePosition = linePosition;
        pendingEntry_ = -1;
    }
}

void Evidence::StartRules(int ruleCount) {
    rules_.assign(static_cast<std::size_t>(std::max(ruleCount, 0)) + 1, RuleRecord{});
}

void Evidence::BeginRule(int rule) {
    rule_ = rule;
    ruleConditions_.clear();
}

void Evidence::NoteFact(int position, std::string_view value, int certainty) {
    fact_.factPosition = position;
    fact_.factEntry = position >= 0 ? EntryNumberAt(position) : -1;
    fact_.factValue.Assign(position >= 0 ? value : std::string_view());
    fact_.factCertainty = static_cast<std::int16_t>(position >= 0 ? certainty : -1);
}

void Evidence::Condition(int linePosition, int state, bool groupEnds, int share, int groupBest,
                         int sum) {
    ConditionEvidence condition = fact_;
    condition.linePosition = linePosition;
    condition.state = static_cast<std::int8_t>(state);
    condition.groupEnds = groupEnds;
    condition.share = static_cast<std::int16_t>(share);
    condition.groupBest = static_cast<std::int16_t>(groupBest);
    condition.sum = static_cast<std::int16_t>(sum);
    ruleConditions_.push_back(condition);
}

void Evidence::RuleFailed(RuleOutcome outcome) {
    if (rule_ <= 0 || static_cast<std::size_t>(rule_) >= rules_.size()) {
        return;
    }
    RuleRecord& record = rules_[static_cast<std::size_t>(rule_)];
    record.outcome = outcome;
    record.condition = ConditionEvidence{};
    if (ruleConditions_.empty()) {
        return;
    }
    // Unknown: the condition tested last. Failed: the first alternative of the group that
    // did not hold (the one tested last and the alternatives before it in its group).
    std::size_t decisive = ruleConditions_.size() - 1;
    if (outcome == RuleOutcome::Failed) {
        while (decisive > 0 && !ruleConditions_[decisive - 1].groupEnds) {
            --decisive;
        }
    }
    record.condition = ruleConditions_[decisive];
}

void Evidence::RuleConcludes(int linePosition, int sum) {
    SetOrigin(EvidenceSource::Rule, linePosition);
    origin_.sum = sum;
    if (rule_ > 0 && static_cast<std::size_t>(rule_) < rules_.size()) {
        rules_[static_cast<std::size_t>(rule_)] = RuleRecord{RuleOutcome::Concluded, {}};
    }
}

void Evidence::RulePassedOver(int rule) {
    if (rule > 0 && static_cast<std::size_t>(rule) < rules_.size() &&
        rules_[static_cast<std::size_t>(rule)].outcome != RuleOutcome::Concluded) {
        rules_[static_cast<std::size_t>(rule)] = RuleRecord{RuleOutcome::ObjectKnown, {}};
    }
}

void Evidence::NoteJumpBack(int linePosition) {
    jumpLinePosition_ = linePosition;
}

int Evidence::PendingEntry() {
    if (pendingEntry_ >= 0) {
        return pendingEntry_;
    }
    EvidenceEntry entry = origin_;
    if (entry.source == EvidenceSource::Rule) {
        entry.firstCondition = static_cast<int>(conditions_.size());
        entry.conditionCount = static_cast<int>(ruleConditions_.size());
        conditions_.insert(conditions_.end(), ruleConditions_.begin(), ruleConditions_.end());
        pendingEntry_ = static_cast<int>(entries_.size());
        entries_.push_back(entry);
        return pendingEntry_;
    }
    const std::uint64_t key = (static_cast<std::uint64_t>(entry.source) << 56U) |
                              (static_cast<std::uint64_t>(entry.file + 1) << 32U) |
                              static_cast<std::uint32_t>(entry.linePosition + 1);
    const auto [known, added] = plainEntries_.try_emplace(key, static_cast<int>(entries_.size()));
    if (added) {
        entries_.push_back(entry);
    }
    pendingEntry_ = known->second;
    return pendingEntry_;
}

const EvidenceEntry* Evidence::EntryAt(int position) const {
    const int number = EntryNumberAt(position);
    return number < 0 ? nullptr : &entries_[static_cast<std::size_t>(number)];
}

int Evidence::EntryNumberAt(int position) const {
    if (position < 0 || static_cast<std::size_t>(position) >= entryAt_.size()) {
        return -1;
    }
    return entryAt_[static_cast<std::size_t>(position)];
}

std::vector<ConditionEvidence> Evidence::ConditionsOf(const EvidenceEntry& entry) const {
    const auto first = conditions_.begin() + entry.firstCondition;
    return {first, first + entry.conditionCount};
}

int Evidence::PositionOfRecord(std::string_view record) const {
    const std::string_view wanted = record.substr(0, record.find_last_not_of(' ') + 1);
    for (int p = image_.LastRecord(); p > image_.FactBoundary(); --p) {
        const std::string_view text = image_.Text(p);
        if (text.substr(0, text.find_last_not_of(' ') + 1) == wanted) {
            return p;
        }
    }
    return -1;
}

void Evidence::RecordStored(int position, bool /*appended*/) {
    if (position <= image_.FactBoundary() && image_.FactBoundary() > 0) {
        return;  // a program line or a task copy is no fact
    }
    const auto slot = static_cast<std::size_t>(position);
    if (slot >= entryAt_.size()) {
        entryAt_.resize(std::max(slot + 1, entryAt_.size() * 2), -1);
    }
    // The preparation stores the task copies before the fact boundary is set: they get no
    // entry, as nothing noted an origin for them.
    entryAt_[slot] = origin_.source == EvidenceSource::Unknown && image_.FactBoundary() == 0
                         ? -1
                         : PendingEntry();
}

void Evidence::RecordsSpliced(int start, int removeCount, int insertCount) {
    // The same moves as the image's: the records behind the old part follow the new one; the
    // places behind the new end keep what they held.
    const int oldLast = image_.LastRecord() - insertCount + removeCount;
    const auto needed = static_cast<std::size_t>(std::max(oldLast, image_.LastRecord()) + 1);
    if (entryAt_.size() < needed) {
        entryAt_.resize(needed, -1);
    }
    const auto from = entryAt_.begin() + start + removeCount;
    const auto end = entryAt_.begin() + oldLast + 1;
    if (insertCount > removeCount) {
        std::move_backward(from, end, end + (insertCount - removeCount));
    } else if (insertCount < removeCount) {
        std::move(from, end, entryAt_.begin() + start + insertCount);
    }
    if (insertCount > 0) {
        const int entry = PendingEntry();
        std::fill_n(entryAt_.begin() + start, insertCount, entry);
    }
}

void Evidence::LastRecordSet(int oldLast, int newLast) {
    if (jumpLinePosition_ >= 0) {
        for (int p = newLast + 1; p <= oldLast && p > image_.FactBoundary(); ++p) {
            removed_.push_back(
                RemovedFact{EntryNumberAt(p), p, std::string(image_.Text(p)), jumpLinePosition_});
        }
        jumpLinePosition_ = -1;
    }
}

void Evidence::ImageReset() {
    entryAt_.clear();
    entries_.clear();
    conditions_.clear();
    removed_.clear();
    plainEntries_.clear();
    pendingEntry_ = -1;
    jumpLinePosition_ = -1;
}

OriginScope::OriginScope(Evidence* evidence, EvidenceSource source, int linePosition)
    : evidence_(evidence) {
    if (evidence_ != nullptr) {
        source_ = evidence_->OriginSource();
        linePosition_ = evidence_->OriginLine();
        evidence_->SetOrigin(source, linePosition);
    }
}

OriginScope::~OriginScope() {
    if (evidence_ != nullptr) {
        evidence_->SetOrigin(source_, linePosition_);
    }
}

}  // namespace kelvo
