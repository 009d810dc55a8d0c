#include "store/knowledge_base_image.h"

#include <algorithm>
#include <string>

#include "store/knowledge_base_file.h"
#include "store/text_field.h"

namespace kelvo {

KnowledgeBaseImage::KnowledgeBaseImage(bool programmingModule, int factRecordReserve)
    : factRecordReserve_(std::max(0, factRecordReserve)), programmingModule_(programmingModule) {
    ResetRecentStores();
}

Expected<int> KnowledgeBaseImage::LoadImage(const KnowledgeBaseFile& file) {
    auto records = file.ReadAll();
    if (!records) {
        ReleaseImage();
        return records.error();
    }
    if (records->size() > static_cast<std::size_t>(kMaxProgramLines)) {
        ReleaseImage();
        return Error{file.path().string() + ": Die Wissensbasis hat mehr als " +
                     std::to_string(kMaxProgramLines) + " Zeilen"};
    }
    return LoadImage(std::move(*records));
}

Expected<int> KnowledgeBaseImage::LoadImage(std::vector<LineRecord> records) {
    if (records.size() > static_cast<std::size_t>(kMaxProgramLines)) {
        ReleaseImage();
        return Error{"Die Wissensbasis hat mehr als " + std::to_string(kMaxProgramLines) +
                     " Zeilen"};
    }
    const int count = static_cast<int>(records.size());
    // Twice the program (its lines and at most one task copy each), one spare, and the facts.
    capacity_ = 2 * count + 1 + factRecordReserve_;
    records_ = std::move(records);
    lastRecord_ = count - 1;
    full_ = false;

    ruleIndex_.assign(1, -1);
    for (int position = 0; position <= lastRecord_; ++position) {
        if (records_[static_cast<std::size_t>(position)].column(1) == 'R') {
            ruleIndex_.push_back(position);
        }
    }
    ruleCount_ = static_cast<int>(ruleIndex_.size()) - 1;
    ruleIndex_.resize(ruleIndex_.size() + 10, -1);
    return ruleCount_;
}

void KnowledgeBaseImage::ReleaseImage() {
    records_.clear();
    records_.shrink_to_fit();
    ruleIndex_.clear();
    ruleIndex_.shrink_to_fit();
    ruleCount_ = 0;
    lastRecord_ = -1;
    capacity_ = 0;
    full_ = false;
}

bool KnowledgeBaseImage::StoreRecord(std::string_view text, int position) {
    if (position < 0 || position > lastRecord_ + 1) {
        return false;  // a caller broke the precondition; never write out of place
    }
    if (position >= capacity_) {
        full_ = true;
        return false;
    }
    LineRecord record(text);
    if (position > lastRecord_) {
        ++lastRecord_;
    }
    const auto slot = static_cast<std::size_t>(position);
    if (slot >= records_.size()) {
        records_.resize(slot + 1);
    }
    records_[slot] = record;
    if (factBoundary_ != 0 && programmingModule_) {
        std::move_backward(recentStores_.begin() + 1, recentStores_.end() - 1, recentStores_.end());
        recentStores_[1] = record;
    }
    return true;
}

void KnowledgeBaseImage::SetLastRecord(int firstFree) {
    lastRecord_ = std::clamp(firstFree, 0, static_cast<int>(records_.size())) - 1;
}

const LineRecord& KnowledgeBaseImage::Record(int position) const {
    static const LineRecord kEmpty;
    if (position < 0 || static_cast<std::size_t>(position) >= records_.size()) {
        return kEmpty;
    }
    return records_[static_cast<std::size_t>(position)];
}

const LineRecord& KnowledgeBaseImage::RecentStore(int i) const {
    return recentStores_[static_cast<std::size_t>(std::clamp(i, 1, kRecentStoreCount))];
}

void KnowledgeBaseImage::ResetRecentStores() {
    const LineRecord empty(PadRight("Leer", 82));
    std::fill(recentStores_.begin(), recentStores_.end(), empty);
}

}  // namespace kelvo
