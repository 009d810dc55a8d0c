#include "store/knowledge_base_image.h"

#include <algorithm>
#include <memory>
#include <string>

#include "store/knowledge_base_file.h"
#include "store/text_field.h"

namespace kelvo {

KnowledgeBaseImage::KnowledgeBaseImage(bool programmingModule, int factRecordReserve)
    : factRecordReserve_(std::max(0, factRecordReserve)),
      programmingModule_(programmingModule),
      factIndex_([this](int position) { return Text(position); }) {
    ResetRecentStores();
}

Expected<int> KnowledgeBaseImage::LoadImage(const KnowledgeBaseFile& file) {
    auto records = file.ReadAll(kMaxProgramLines);
    if (!records) {
        ReleaseImage();
        return records.error();
    }
    return LoadImage(std::move(*records));
}

Expected<int> KnowledgeBaseImage::LoadImage(std::vector<LineRecord> records) {
    return LoadImage(std::make_shared<const std::vector<LineRecord>>(std::move(records)));
}

Expected<int> KnowledgeBaseImage::LoadImage(
    std::shared_ptr<const std::vector<LineRecord>> records) {
    if (records == nullptr) {
        records = std::make_shared<const std::vector<LineRecord>>();
    }
    if (records->size() > static_cast<std::size_t>(kMaxProgramLines)) {
        ReleaseImage();
        return Error{"Die Wissensbasis hat mehr als " + std::to_string(kMaxProgramLines) +
                     " Zeilen"};
    }
    const int count = static_cast<int>(records->size());
    ++changeCount_;
    // Twice the program (its lines and at most one task copy each), one spare, and the facts.
    capacity_ = 2 * count + 1 + factRecordReserve_;
    records_.Release();
    shared_ = std::move(records);
    sharedCount_ = shared_->size();
    lastRecord_ = count - 1;
    full_ = false;
    indexValid_ = false;

    ruleIndex_.assign(1, -1);
    for (int position = 0; position <= lastRecord_; ++position) {
        if (At(static_cast<std::size_t>(position)).column(1) == 'R') {
            ruleIndex_.push_back(position);
        }
    }
    ruleCount_ = static_cast<int>(ruleIndex_.size()) - 1;
    ruleIndex_.resize(ruleIndex_.size() + 10, -1);
    if (observer_ != nullptr) {
        observer_->ImageReset();
    }
    return ruleCount_;
}

LineRecord& KnowledgeBaseImage::Writable(std::size_t position) {
    if (position < sharedCount_) {
        OwnAll();
    }
    return records_[position - sharedCount_];
}

void KnowledgeBaseImage::OwnAll() {
    if (sharedCount_ == 0) {
        return;
    }
    records_.Prepend(std::span(shared_->data(), sharedCount_));
    shared_.reset();
    sharedCount_ = 0;
}

void KnowledgeBaseImage::Reach(std::size_t position) {
    if (position >= Size()) {
        records_.Grow(position + 1 - sharedCount_);
    }
}

void KnowledgeBaseImage::ReleaseImage() {
    ++changeCount_;
    shared_.reset();
    sharedCount_ = 0;
    records_.Release();
    ruleIndex_.clear();
    ruleIndex_.shrink_to_fit();
    ruleCount_ = 0;
    lastRecord_ = -1;
    capacity_ = 0;
    full_ = false;
    indexValid_ = false;
    if (observer_ != nullptr) {
        observer_->ImageReset();
    }
}

bool KnowledgeBaseImage::StoreRecord(std::string_view text, int position) {
    if (position < 0 || position > lastRecord_ + 1) {
        return false;  // a caller broke the precondition; never write out of place
    }
    if (position >= capacity_) {
        full_ = true;
        return false;
    }
    ++changeCount_;
    LineRecord record(text);
    const auto slot = static_cast<std::size_t>(position);
    // A replacement under the same name (a plus name, a double-plus part) leaves the index.
    const bool reindex =
        Indexing(position) &&
        (position > lastRecord_ || !factIndex_.SameKeys(At(slot).text(), record.text()));
    if (reindex && position <= lastRecord_) {
        factIndex_.Remove(At(slot).text(), position);
    }
    const bool appended = position > lastRecord_;
    if (appended) {
        ++lastRecord_;
    }
    Reach(slot);
    LineRecord& target = Writable(slot);
    target = record;
    if (reindex) {
        factIndex_.Add(target.text(), position);
    }
    EnterRecentStore(record);
    if (observer_ != nullptr) {
        observer_->RecordStored(position, appended);
    }
    return true;
}

void KnowledgeBaseImage::EnterRecentStore(const LineRecord& record) {
    if (factBoundary_ != 0 && programmingModule_) {
        recentNewest_ = (recentNewest_ + kRecentStoreCount - 1) % kRecentStoreCount;
        recentStores_[recentNewest_] = record;
    }
}

void KnowledgeBaseImage::NoteRecentStores(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        EnterRecentStore(LineRecord(text));
    }
}

bool KnowledgeBaseImage::SpliceRecords(int start, int removeCount,
                                       const std::vector<std::string>& texts) {
    const int insertCount = static_cast<int>(texts.size());
    if (start < 0 || removeCount < 0 || start + removeCount - 1 > lastRecord_) {
        return false;
    }
    const int newLast = lastRecord_ - removeCount + insertCount;
    if (newLast >= capacity_) {
        return false;
    }
    ++changeCount_;
    if (insertCount == removeCount) {
        // Nothing moves: a rewrite of the same size.
        for (int j = 0; j < insertCount; ++j) {
            const auto slot = static_cast<std::size_t>(start + j);
            const LineRecord record(texts[static_cast<std::size_t>(j)]);
            const bool reindex =
                Indexing(start + j) && !factIndex_.SameKeys(At(slot).text(), record.text());
            if (reindex) {
                factIndex_.Remove(At(slot).text(), start + j);
            }
            LineRecord& target = Writable(slot);
            target = record;
            if (reindex) {
                factIndex_.Add(target.text(), start + j);
            }
        }
        if (observer_ != nullptr) {
            observer_->RecordsSpliced(start, removeCount, insertCount);
        }
        return true;
    }
    for (int p = lastRecord_; p >= start; --p) {
        if (Indexing(p)) {
            factIndex_.Remove(At(static_cast<std::size_t>(p)).text(), p);
        }
    }
    if (static_cast<std::size_t>(start) < sharedCount_) {
        OwnAll();
    }
    Reach(static_cast<std::size_t>(newLast));
    // Own positions from here on: start lies at or behind the shared records.
    const auto own = [this](int position) {
        return static_cast<std::size_t>(position) - sharedCount_;
    };
    const std::size_t from = own(start + removeCount);
    const std::size_t end = own(lastRecord_ + 1);
    if (insertCount > removeCount) {
        records_.MoveUp(from, end, static_cast<std::size_t>(insertCount - removeCount));
    } else if (insertCount < removeCount) {
        records_.MoveDown(from, end, static_cast<std::size_t>(removeCount - insertCount));
    }
    for (int j = 0; j < insertCount; ++j) {
        records_[own(start + j)] = LineRecord(texts[static_cast<std::size_t>(j)]);
    }
    lastRecord_ = newLast;
    for (int p = start; p <= lastRecord_; ++p) {
        if (Indexing(p)) {
            factIndex_.Add(At(static_cast<std::size_t>(p)).text(), p);
        }
    }
    if (observer_ != nullptr) {
        observer_->RecordsSpliced(start, removeCount, insertCount);
    }
    return true;
}

void KnowledgeBaseImage::SetLastRecord(int firstFree) {
    ++changeCount_;
    const int newLast = std::clamp(firstFree, 0, static_cast<int>(Size())) - 1;
    for (int p = lastRecord_; p > newLast; --p) {
        if (Indexing(p)) {
            factIndex_.Remove(At(static_cast<std::size_t>(p)).text(), p);
        }
    }
    for (int p = lastRecord_ + 1; p <= newLast; ++p) {
        if (Indexing(p)) {
            factIndex_.Add(At(static_cast<std::size_t>(p)).text(), p);
        }
    }
    const int oldLast = lastRecord_;
    lastRecord_ = newLast;
    if (observer_ != nullptr) {
        observer_->LastRecordSet(oldLast, newLast);
    }
}

void KnowledgeBaseImage::SetFactBoundary(int position) {
    ++changeCount_;
    if (position != factBoundary_) {
        indexValid_ = false;
    }
    factBoundary_ = position;
}

void KnowledgeBaseImage::SetSearchMode(SearchMode mode) {
    ++changeCount_;
    searchMode_ = mode;
    indexValid_ = false;
}

const FactNameIndex& KnowledgeBaseImage::FactIndex(std::string_view goal) {
    if (!indexValid_ || factIndex_.Goal() != goal) {
        factIndex_.Clear(goal, factBoundary_ + 1);
        indexValid_ = searchMode_ == SearchMode::Indexed;
        for (int p = factBoundary_ + 1; indexValid_ && p <= lastRecord_; ++p) {
            factIndex_.Add(At(static_cast<std::size_t>(p)).text(), p);
        }
    }
    return factIndex_;
}

const LineRecord& KnowledgeBaseImage::RecentStore(int i) const {
    const auto age = static_cast<std::size_t>(std::clamp(i, 1, kRecentStoreCount) - 1);
    return recentStores_[(recentNewest_ + age) % kRecentStoreCount];
}

void KnowledgeBaseImage::ResetRecentStores() {
    const LineRecord empty(PadRight("Leer", 82));
    std::fill(recentStores_.begin(), recentStores_.end(), empty);
}

}  // namespace kelvo
