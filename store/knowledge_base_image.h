#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "store/expected.h"
#include "store/fact_name_index.h"
#include "store/line_record.h"
#include "store/record_blocks.h"
#include "store/record_observer.h"
#include "store/search_mode.h"

namespace kelvo {

class KnowledgeBaseFile;

// The record image of a running consultation: every record of the knowledge-base file at the
// positions 0 to ProgramEnd, behind them one copy of each task header line (up to
// FactBoundary), behind those the fact records (up to LastRecord).
//
// The image never grows beyond ImageCapacity, fixed when it is loaded. A store beyond it is
// refused: StoreRecord returns false and Full() stays true, so the consultation can stop in
// order instead of writing out of bounds.
class KnowledgeBaseImage {
  public:
    /// The largest program the image loads.
    static constexpr int kMaxProgramLines = 1'000'000;
    /// Room for fact records beyond the program and its task copies.
    static constexpr int kFactRecordReserve = 1'000'000;
    /// Number of entries of RecentStores (entry 1 newest, entry 20 oldest).
    static constexpr int kRecentStoreCount = 20;

    /// `programmingModule` decides whether stores enter RecentStores; `factRecordReserve` is
    /// the room for facts that every load adds to twice the program size.
    explicit KnowledgeBaseImage(bool programmingModule, int factRecordReserve = kFactRecordReserve);
    KnowledgeBaseImage(const KnowledgeBaseImage&) = delete;
    KnowledgeBaseImage& operator=(const KnowledgeBaseImage&) = delete;

    /// Loads every record of `file` with one read and builds the rule index. Returns RuleCount.
    /// Fails (and leaves the image empty) on a read error, a corrupt record or a program larger
    /// than kMaxProgramLines; the file is only read.
    Expected<int> LoadImage(const KnowledgeBaseFile& file);

    /// The same from records already in memory (a knowledge base imported from text).
    Expected<int> LoadImage(std::vector<LineRecord> records);

    /// The same, sharing `records` with their other owners: a restart loads them again without
    /// a copy, and they are copied only when a store, a move or a splice changes one of them.
    /// A null pointer loads no records.
    Expected<int> LoadImage(std::shared_ptr<const std::vector<LineRecord>> records);

    /// Frees the image and the rule index; LastRecord becomes -1. FactBoundary keeps its value.
    void ReleaseImage();

    /// Writes `text` (cut to 83 characters) at `position`, which must lie in 0 to
    /// LastRecord + 1; LastRecord + 1 appends. Returns false, writing nothing, when the image
    /// is full or the position is out of that range.
    bool StoreRecord(std::string_view text, int position);

    /// Sets LastRecord to `firstFree` - 1; the records behind stay until overwritten.
    void SetLastRecord(int firstFree);

    /// Replaces the `removeCount` records at `start` by `texts` (each cut to 83 characters)
    /// and moves the records behind them, up to LastRecord, so that they follow directly;
    /// LastRecord moves by the difference and the records behind the new end stay as they
    /// were. RecentStores is not touched. Returns false, changing nothing, when the range does
    /// not lie in 0 to LastRecord or the result would not fit into the image.
    bool SpliceRecords(int start, int removeCount, const std::vector<std::string>& texts);
    /// Enters `texts` into RecentStores, oldest first, as if each had been stored.
    void NoteRecentStores(const std::vector<std::string>& texts);

    /// Tells `observer` of every store, move, cut, load and release from now on; nullptr
    /// tells nobody. The observer must outlive its use here.
    void SetRecordObserver(RecordObserver* observer) { observer_ = observer; }
    RecordObserver* recordObserver() const { return observer_; }

    /// Indexed (the default) keeps the index of the fact records by name; Literal keeps none.
    void SetSearchMode(SearchMode mode);
    SearchMode searchMode() const { return searchMode_; }
    /// The index of the fact records (FactBoundary + 1 to LastRecord) by name, with `goal`
    /// (30 characters) indexed by its values too; built on first use and then kept exact
    /// through every store, move and cut. Only in the Indexed mode.
    const FactNameIndex& FactIndex(std::string_view goal);

    int LastRecord() const { return lastRecord_; }
    int ProgramEnd() const { return programEnd_; }
    int FactBoundary() const { return factBoundary_; }
    void SetProgramEnd(int position) {
        programEnd_ = position;
        ++changeCount_;
    }
    void SetFactBoundary(int position);
    int ImageCapacity() const { return capacity_; }
    bool ProgrammingModule() const { return programmingModule_; }

    /// True after a store was refused because the image was full.
    bool Full() const { return full_; }

    /// Grows with every change of the records or the bounds (a store, a move, a cut, a load,
    /// a release, a new boundary): while it stays the same, every lookup gives the same answer.
    std::uint64_t ChangeCount() const { return changeCount_; }

    /// The record at `position` (0 to LastRecord; behind it, what was last stored there).
    const LineRecord& Record(int position) const {
        static const LineRecord kEmpty;
        if (position < 0 || static_cast<std::size_t>(position) >= Size()) {
            return kEmpty;
        }
        return At(static_cast<std::size_t>(position));
    }
    /// The text of the record at `position`.
    std::string_view Text(int position) const { return Record(position).text(); }

    /// Entries 1 to RuleCount hold the positions of the "R" lines in file order; entry 0 and
    /// the ten spare entries behind them hold -1.
    const std::vector<std::int32_t>& RuleIndex() const { return ruleIndex_; }
    int RuleCount() const { return ruleCount_; }

    /// Entry i (1 to 20) of the records stored last; entry 1 is the newest.
    const LineRecord& RecentStore(int i) const;
    /// Sets all 20 entries to "Leer" padded to 82, as before each consultation.
    void ResetRecentStores();

  private:
    bool Indexing(int position) const { return indexValid_ && position > factBoundary_; }
    void EnterRecentStore(const LineRecord& record);
    /// Positions held: the shared records and the image's own behind them.
    std::size_t Size() const { return sharedCount_ + records_.size(); }
    const LineRecord& At(std::size_t position) const {
        return position < sharedCount_ ? (*shared_)[position] : records_[position - sharedCount_];
    }
    /// The record at `position` (below Size()) for writing; the shared records become the
    /// image's own first when it lies among them.
    LineRecord& Writable(std::size_t position);
    /// Makes every record the image's own, so that any of them may change.
    void OwnAll();
    /// Makes room for positions up to `position`; new positions hold empty records.
    void Reach(std::size_t position);

    // The records from 0 to Size() - 1: the first sharedCount_ of them read from shared_
    // (the loaded knowledge base, not yet changed), the rest from records_. Those grow in
    // blocks, so that a record costs its 84 bytes and growing never copies the records.
    std::shared_ptr<const std::vector<LineRecord>> shared_;
    std::size_t sharedCount_ = 0;
    RecordBlocks records_;
    std::vector<std::int32_t> ruleIndex_;
    // RecentStores as a ring: entry 1 at recentNewest_, the older ones behind it.
    std::array<LineRecord, kRecentStoreCount> recentStores_{};
    std::size_t recentNewest_ = 0;
    int factRecordReserve_ = kFactRecordReserve;
    int capacity_ = 0;
    int lastRecord_ = -1;
    int programEnd_ = -1;
    int factBoundary_ = 0;
    int ruleCount_ = 0;
    bool programmingModule_ = false;
    bool full_ = false;
    SearchMode searchMode_ = SearchMode::Indexed;
    FactNameIndex factIndex_;
    bool indexValid_ = false;
    RecordObserver* observer_ = nullptr;
    std::uint64_t changeCount_ = 0;
};

}  // namespace kelvo
