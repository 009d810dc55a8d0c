#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string_view>
#include <vector>

#include <absl/container/flat_hash_set.h>

namespace kelvo {

/// The text of the record at a position.
using RecordTextAt = std::function<std::string_view(int)>;

// Sets of record positions under keys of `Width` characters, for the newest position of a key
// in constant time. The key of a position is the first `Width` columns of the record there,
// blank-padded: the table reads it from the records and holds no keys. It holds one entry per
// key, with the key's newest position and its hash; every position holds a link to the next
// older position of its key. An entry costs 8 bytes, so the table of a large fact base stays
// small and near in the cache.
//
// The owner keeps the records and the table in step: a position is added once its record is
// written and removed before its record changes, so that the record at every position held
// still has the key it was added under.
//
// Adding and removing the newest position of a key (an append, a cut from the end) is
// constant; a position in the middle of its key's chain walks the chain to its place.
template <std::size_t Width>
class PositionChains {
  public:
    /// `textAt` must outlive the table.
    explicit PositionChains(const RecordTextAt& textAt)
        : newest_(0, EntryHash{}, EntryEqual{&textAt}) {}
    PositionChains(const PositionChains&) = delete;
    PositionChains& operator=(const PositionChains&) = delete;

    /// Forgets every position; the positions added from now on are `first` or above.
    void Clear(int first) {
        newest_.clear();
        older_.clear();
        first_ = first;
    }

    /// Adds `position` under `key` (`Width` characters, the key of the record written there);
    /// a position already there is not added twice.
    void Add(std::string_view key, int position) {
        const Probe probe{key, HashOf(key)};
        bool inserted = false;
        const auto found = newest_.lazy_emplace(probe, [&](const auto& construct) {
            inserted = true;
            construct(Entry{position, probe.hash});
        });
        if (inserted) {
            Older(position) = kNone;
            return;
        }
        // Changing the position keeps the entry's key: both records hold it.
        int& newest = found->position;
        if (newest < position) {
            Older(position) = newest;  // the common case: an append
            newest = position;
            return;
        }
        if (newest == position) {
            return;
        }
        int at = newest;
        while (Older(at) > position) {
            at = Older(at);
        }
        if (Older(at) != position) {
            Older(position) = Older(at);
            Older(at) = position;
        }
    }

    /// Removes `position` from `key`; a position not there is ignored.
    void Remove(std::string_view key, int position) {
        const auto found = newest_.find(Probe{key, HashOf(key)});
        if (found == newest_.end()) {
            return;
        }
        int& newest = found->position;
        if (newest == position) {
            // The common case: a dropped or replaced newest record.
            newest = Older(position);
            if (newest == kNone) {
                newest_.erase(found);
            }
            return;
        }
        int at = newest;
        while (at != kNone && Older(at) > position) {
            at = Older(at);
        }
        if (at != kNone && Older(at) == position) {
            Older(at) = Older(position);
        }
    }

    /// True when no position is held.
    bool Empty() const { return newest_.empty(); }

    /// The newest position under `key` (`Width` characters); -1 when there is none.
    int Newest(std::string_view key) const {
        const auto found = newest_.find(Probe{key, HashOf(key)});
        return found == newest_.end() ? kNone : found->position;
    }

  private:
    static constexpr int kNone = -1;

    struct Entry {
        mutable int position;  // the newest position of the entry's key
        std::uint32_t hash;
    };
    struct Probe {
        std::string_view key;
        std::uint32_t hash;
    };

    // The key read eight bytes at a time, each word folded in by a multiplication and the sum
    // mixed at the end so that every bit of it depends on every byte. Its high half is kept.
    static std::uint32_t HashOf(std::string_view key) {
        constexpr std::uint64_t kOdd = 0x9E3779B97F4A7C15;
        std::uint64_t hash = Width;
        std::size_t at = 0;
        for (; at + sizeof(std::uint64_t) <= Width; at += sizeof(std::uint64_t)) {
            std::uint64_t word = 0;
            std::memcpy(&word, key.data() + at, sizeof word);
            hash = (hash ^ word) * kOdd;
        }
        if (at < Width) {
            std::uint64_t word = 0;
            std::memcpy(&word, key.data() + at, Width - at);
            hash = (hash ^ word) * kOdd;
        }
        hash ^= hash >> 31;
        hash *= 0xBF58476D1CE4E5B9;
        hash ^= hash >> 29;
        return static_cast<std::uint32_t>(hash >> 32);
    }

    // The table takes its buckets from the high bits of the hash and a check byte from the low
    // ones: the kept half is spread over both. Growing the table rehashes from the entries.
    struct EntryHash {
        using is_transparent = void;
        static std::size_t Spread(std::uint32_t hash) {
            return static_cast<std::size_t>(hash * std::uint64_t{0x9E3779B97F4A7C15} ^ hash);
        }
        std::size_t operator()(const Entry& entry) const { return Spread(entry.hash); }
        std::size_t operator()(const Probe& probe) const { return Spread(probe.hash); }
    };

    // An entry equals a key when its position's record begins with the key (blank-padded).
    struct EntryEqual {
        using is_transparent = void;
        const RecordTextAt* textAt;

        bool Holds(const Entry& entry, std::string_view key) const {
            const std::string_view text = (*textAt)(entry.position);
            if (text.size() >= Width) {
                return std::memcmp(text.data(), key.data(), Width) == 0;
            }
            return std::memcmp(text.data(), key.data(), text.size()) == 0 &&
                   key.find_first_not_of(' ', text.size()) == std::string_view::npos;
        }
        bool operator()(const Entry& entry, const Probe& probe) const {
            return entry.hash == probe.hash && Holds(entry, probe.key);
        }
        bool operator()(const Probe& probe, const Entry& entry) const {
            return (*this)(entry, probe);
        }
        bool operator()(const Entry& a, const Entry& b) const { return a.position == b.position; }
    };

    // The next older position of the key of `position`, for positions added since Clear.
    int& Older(int position) {
        const auto slot = static_cast<std::size_t>(position - first_);
        if (slot >= older_.size()) {
            older_.resize(slot + 1, kNone);
        }
        return older_[slot];
    }

    absl::flat_hash_set<Entry, EntryHash, EntryEqual> newest_;
    std::vector<int> older_;
    int first_ = 0;
};

}  // namespace kelvo
