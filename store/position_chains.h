#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include <absl/container/flat_hash_map.h>

namespace kelvo {

// Sets of record positions under keys of `Width` characters, for the newest position of a key
// in constant time. The table holds each key once, with its newest position; every position
// holds a link to the next older position of its key. Nothing is allocated per key or per
// position, so a fact base of a million names costs a few bytes a record.
//
// Adding and removing the newest position of a key (an append, a cut from the end) is
// constant; a position in the middle of its key's chain walks the chain to its place.
template <std::size_t Width>
class PositionChains {
  public:
    using Key = std::array<char, Width>;

    /// Forgets every position; the positions added from now on are `first` or above.
    void Clear(int first) {
        newest_.clear();
        older_.clear();
        first_ = first;
    }

    /// Adds `position` under `key`; a position already there is not added twice.
    void Add(const Key& key, int position) {
        const auto [found, inserted] = newest_.try_emplace(key, position);
        int& newest = found->second;
        if (inserted) {
            Older(position) = kNone;
            return;
        }
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
    void Remove(const Key& key, int position) {
        const auto found = newest_.find(key);
        if (found == newest_.end()) {
            return;
        }
        int& newest = found->second;
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

    /// The newest position under `key`; -1 when there is none.
    int Newest(const Key& key) const {
        const auto found = newest_.find(key);
        return found == newest_.end() ? kNone : found->second;
    }

    /// The newest position under the key spelled by `key`, which has exactly `Width`
    /// characters; -1 when there is none. Looked up without a copy of the key.
    int Newest(std::string_view key) const {
        const auto found = newest_.find(key);
        return found == newest_.end() ? kNone : found->second;
    }

  private:
    static constexpr int kNone = -1;

    // The key read eight bytes at a time, each word folded in by a multiplication and the sum
    // mixed at the end so that every bit of it depends on every byte: the table takes its
    // buckets from the high bits and a check byte from the low ones.
    // A key is asked for as its array or as a view of its `Width` characters.
    struct WordHash {
        using is_transparent = void;
        std::size_t operator()(const Key& key) const { return Of(key.data()); }
        std::size_t operator()(std::string_view key) const { return Of(key.data()); }

        static std::size_t Of(const char* key) {
            constexpr std::uint64_t kOdd = 0x9E3779B97F4A7C15;
            std::uint64_t hash = Width;
            std::size_t at = 0;
            for (; at + sizeof(std::uint64_t) <= Width; at += sizeof(std::uint64_t)) {
                std::uint64_t word = 0;
                std::memcpy(&word, key + at, sizeof word);
                hash = (hash ^ word) * kOdd;
            }
            if (at < Width) {
                std::uint64_t word = 0;
                std::memcpy(&word, key + at, Width - at);
                hash = (hash ^ word) * kOdd;
            }
            hash ^= hash >> 31;
            hash *= 0xBF58476D1CE4E5B9;
            hash ^= hash >> 29;
            return static_cast<std::size_t>(hash);
        }
    };

    struct KeyEqual {
        using is_transparent = void;
        bool operator()(const Key& a, const Key& b) const { return a == b; }
        bool operator()(const Key& a, std::string_view b) const {
            return std::memcmp(a.data(), b.data(), Width) == 0;
        }
        bool operator()(std::string_view a, const Key& b) const { return (*this)(b, a); }
    };

    // The next older position of the key of `position`, for positions added since Clear.
    int& Older(int position) {
        const auto slot = static_cast<std::size_t>(position - first_);
        if (slot >= older_.size()) {
            older_.resize(slot + 1, kNone);
        }
        return older_[slot];
    }

    absl::flat_hash_map<Key, int, WordHash, KeyEqual> newest_;
    std::vector<int> older_;
    int first_ = 0;
};

}  // namespace kelvo
