#include "store/fact_base.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>

#include "store/fact_record.h"
#include "store/fixed_field.h"
#include "store/stored_number.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

std::size_t PartCount(std::string_view trimmedValue) {
    return std::max<std::size_t>(
        1, (trimmedValue.size() + FactBase::kFieldWidth - 1) / FactBase::kFieldWidth);
}

// The name of part `part` of a double-plus variable whose name without trailing blanks is
// `base`: base + the part number, padded or cut to 30. Built without allocating, as a lookup
// builds one per part; Set writes only the number into a name built before.
class PartName {
  public:
    PartName(std::string_view base, std::size_t part) {
        buffer_.fill(' ');
        base_ = std::min(base.size(), buffer_.size());
        std::copy_n(base.begin(), base_, buffer_.begin());
        Set(part);
    }
    void Set(std::size_t part) {
        char digits[24];
        const auto end = std::to_chars(std::begin(digits), std::end(digits), part).ptr;
        const std::size_t count =
            std::min(static_cast<std::size_t>(end - digits), buffer_.size() - base_);
        std::copy_n(digits, count, buffer_.begin() + static_cast<std::ptrdiff_t>(base_));
        for (std::size_t i = base_ + count; i < base_ + written_; ++i) {
            buffer_[i] = ' ';  // a shorter number than before
        }
        written_ = count;
    }
    std::string_view view() const { return {buffer_.data(), buffer_.size()}; }

  private:
    std::array<char, FactBase::kFieldWidth> buffer_{};
    std::size_t base_ = 0;
    std::size_t written_ = 0;
};

// The plus and double-plus forms of a name as FactNameFormOf tells them, without allocating:
// only the first characters decide.
bool IsPlusName(std::string_view name) {
    return name.starts_with("+") || name.starts_with("[+");
}

bool IsDoublePlusName(std::string_view name) {
    return name.starts_with("++");
}

// True when columns 1-30 of the record `text` are `name` (30 characters).
bool NameIs(std::string_view text, std::string_view name) {
    if (text.size() >= FactBase::kFieldWidth) {
        return text.substr(0, FactBase::kFieldWidth) == name;
    }
    return FactRecord(text).NameEquals(name);
}

// Appends columns 32-61 of a record, blank-padded as a short record reads.
void AppendValueColumns(std::string& out, std::string_view text) {
    const std::size_t from = FactRecord::kValueColumn - 1;
    const std::string_view value =
        from < text.size() ? text.substr(from, FactRecord::kValueWidth) : std::string_view();
    out.append(value);
    if (value.size() < FactRecord::kValueWidth) {
        out.append(FactRecord::kValueWidth - value.size(), ' ');
    }
}

// The place of the last `c` in `text` (npos when none), as rfind finds it. rfind reads one
// character at a time; memrchr reads many, which counts in a name resolved at every lookup.
std::size_t LastOf(std::string_view text, char c) {
    const void* found = memrchr(text.data(), c, text.size());
    return found == nullptr
               ? std::string_view::npos
               : static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
}

std::string_view TrimmedName(std::string_view name) {
    const std::size_t last = name.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : name.substr(0, last + 1);
}

}  // namespace

double FactBase::FoundNumber() const {
    if (!foundNumberRead_) {
        // A value in parentheses that does not read as a number keeps -1.0.
        foundNumber_ =
            foundValue_.front() == '(' ? ReadStoredNumber(foundValue_).value_or(-1.0) : -1.0;
        foundNumberRead_ = true;
    }
    return foundNumber_;
}

void FactBase::ResetFound() {
    foundValue_.clear();
    foundNumber_ = -1.0;
    foundNumberRead_ = true;
    foundPosition_ = -1;
    foundCertainty_ = -1;
    foundOrigin_ = -1;
}

void FactBase::ResolveAllSubscripts(Name& key) {
    if (!IsPlusName(key.view())) {
        return;
    }
    // Each "{" of the name as it reads at that moment, from left to right. A step that
    // resolves nothing leaves the name as it was, so every later step would resolve nothing
    // too.
    for (std::size_t i = key.view().find('{'); i != std::string_view::npos;
         i = key.view().find('{', i + 1)) {
        if (!ResolveSubscriptOf(key)) {
            break;
        }
    }
}

void FactBase::SetTopGoal(std::string_view goal) {
    topGoal_ = std::string(goal);
    goalKey_ = Name(topGoal_);
}

int FactBase::Newest(std::string_view key) {
    if (Indexed()) {
        return image_.FactIndex(goalKey_.view()).Newest(key);
    }
    const int boundary = image_.FactBoundary();
    for (int position = image_.LastRecord(); position > boundary; --position) {
        if (FactRecord(image_.Text(position)).NameEquals(key)) {
            return position;
        }
    }
    return -1;
}

bool FactBase::LookupFact(std::string_view name) {
    Name key(name);
    ToUpperInPlace(key);
    ResolveAllSubscripts(key);
    if (lookedUp_ && lookedUpAt_ == image_.ChangeCount() && lookedUpKey_ == key) {
        return lookedUpFound_;  // nothing changed since: the results stand
    }
    ResetFound();
    lookedUp_ = true;
    lookedUpAt_ = image_.ChangeCount();
    lookedUpKey_ = key;
    lookedUpFound_ = false;
    const bool doublePlus = IsDoublePlusName(key.view());
    const std::string_view base = doublePlus ? TrimmedName(key.view()) : std::string_view();
    const int position = Newest(doublePlus ? PartName(base, 1).view() : key.view());
    if (position < 0) {
        return false;
    }
    const std::string_view text = image_.Text(position);
    const FactRecord record(text);
    foundPosition_ = position;
    foundCertainty_ = record.CertaintyNumber();
    foundOrigin_ = record.OriginNumber();
    if (doublePlus) {
        PartName partName(base, 1);
        for (int k = position; k <= image_.LastRecord(); ++k) {
            const std::string_view part = image_.Text(k);
            partName.Set(static_cast<std::size_t>(k - position + 1));
            if (!NameIs(part, partName.view())) {
                break;
            }
            AppendValueColumns(foundValue_, part);
        }
    } else {
        AppendValueColumns(foundValue_, text);
        foundNumberRead_ = false;
    }
    lookedUpFound_ = true;
    return true;
}

std::string FactBase::ResolveSubscript(std::string_view name) {
    Name key(name);
    return ResolveSubscriptOf(key) ? std::string(key.view()) : std::string(name);
}

bool FactBase::ResolveSubscriptOf(Name& name) {
    subscriptIndex_ = -1;
    const std::string_view text = name.view();
    const std::size_t open = LastOf(text, '{');
    const std::size_t close = LastOf(text, '}');
    if (open == std::string_view::npos || close == std::string_view::npos || close <= open ||
        open + 1 >= text.size() || text[open + 1] != '+') {
        return false;
    }
    // The numeric variable: "[" and the name between the braces, padded or cut to 17, "]".
    FixedField<kNumericKeyWidth> key;
    key[0] = '[';
    const std::string_view inner = text.substr(open + 1, close - open - 1);
    std::copy_n(inner.begin(), std::min(inner.size(), kNumericKeyWidth - 2), key.begin() + 1);
    key[kNumericKeyWidth - 1] = ']';

    int found = -1;
    if (Indexed()) {
        found = image_.FactIndex(goalKey_.view()).NewestWithPrefix(key.view());
    } else {
        for (int position = image_.LastRecord(); position > image_.FactBoundary(); --position) {
            if (FactRecord(image_.Text(position)).BeginsWith(key.view())) {
                found = position;
                break;
            }
        }
    }
    if (found < 0) {
        return false;
    }
    const auto value =
        FixedField<FactRecord::kValueWidth>::Columns(image_.Text(found), FactRecord::kValueColumn);
    const std::optional<double> number = ReadStoredNumber(value.view());
    if (!number || !(*number > 0.0)) {
        return false;
    }
    const double rounded = RoundHalfEven(*number);
    const std::string digits = FormatWholeNumber(rounded);  // short: held in place
    const std::size_t count = digits.size();
    if (count > close - open - 1) {
        return false;  // the digits do not fit between the braces
    }
    subscriptIndex_ = rounded >= static_cast<double>(std::numeric_limits<std::int32_t>::max())
                          ? std::numeric_limits<std::int32_t>::max()
                          : static_cast<std::int32_t>(rounded);
    // The name up to "{", the digits and "}"; a numeric name keeps its "]" in column 18.
    Name resolved;
    std::copy_n(text.begin(), open + 1, resolved.begin());
    std::copy_n(digits.begin(), count, resolved.begin() + static_cast<std::ptrdiff_t>(open + 1));
    resolved[open + 1 + count] = '}';
    if (text.starts_with("[")) {
        const std::size_t length = open + count + 2;
        if (length > kNumericKeyWidth - 1) {
            std::fill(resolved.begin() + kNumericKeyWidth - 1, resolved.end(), ' ');
        }
        resolved[kNumericKeyWidth - 1] = ']';
    }
    name = resolved;
    return true;
}

int FactBase::StoreFact(std::string_view name, std::string_view value, std::string_view certainty,
                        std::string_view origin) {
    Name key(name);
    ResolveAllSubscripts(key);
    if (IsDoublePlusName(key.view())) {
        return StoreDoublePlus(std::string(key.view()), value, certainty, origin);
    }

    int position = image_.LastRecord() + 1;
    const std::int32_t index = subscriptIndex_;  // the lookup of the resolved key resets it
    if (IsPlusName(key.view()) && LookupFact(key.view())) {
        position = foundPosition_;
    }
    subscriptIndex_ = index;
    if (key == goalKey_) {
        if (const int existing = FindGoalValue(value); existing >= 0) {
            position = existing;
        }
    }
    return image_.StoreRecord(FactRecord::Compose(key.view(), value, certainty, origin).view(),
                              position)
               ? position
               : -1;
}

int FactBase::FindGoalValue(std::string_view value) {
    FixedField<2 * kFieldWidth + 1> wanted(goalKey_.view());
    std::copy_n(Name(value).begin(), kFieldWidth, wanted.begin() + kFieldWidth + 1);
    if (Indexed()) {
        return image_.FactIndex(goalKey_.view()).NewestGoalValue(wanted.view());
    }
    for (int p = image_.LastRecord(); p > image_.FactBoundary(); --p) {
        if (FactRecord(image_.Text(p)).BeginsWith(wanted.view())) {
            return p;
        }
    }
    return -1;
}

// Rewrites a double-plus variable so that it keeps its place among the other facts: the old
// parts are cut out (later records move down), a gap of the new part count is opened at the
// same place (later records move up), and the parts are written into it. Every move is a
// StoreRecord, so it shows in RecentStores like any other store.
int FactBase::StoreDoublePlus(const std::string& name, std::string_view value,
                              std::string_view certainty, std::string_view origin) {
    const std::string v = TrimRight(value);
    const std::size_t newParts = PartCount(v);

    int start = -1;
    std::size_t oldParts = 0;
    const std::int32_t index = subscriptIndex_;  // the lookup of the resolved name resets it
    if (LookupFact(name)) {
        start = foundPosition_;
        oldParts = PartCount(TrimRight(foundValue_));
    }
    subscriptIndex_ = index;

    const std::string_view trimmedName = TrimmedName(name);
    auto part = [&](std::size_t j) {
        const std::size_t from = kFieldWidth * (j - 1);
        const std::string_view chunk =
            from < v.size() ? std::string_view(v).substr(from, kFieldWidth) : std::string_view();
        return std::string(
            FactRecord::Compose(PartName(trimmedName, j).view(), chunk, certainty, origin).view());
    };
    auto store = [&](std::string_view text, int position) {
        return image_.StoreRecord(text, position);
    };

    const int old = static_cast<int>(oldParts);
    if (oldParts > 0 && start + old - 1 < image_.LastRecord()) {
        if (Indexed()) {
            // Only the parts from the first that changes on are written again.
            const int kept = UnchangedParts(trimmedName, v, certainty, origin,
                                            std::min(old, static_cast<int>(newParts)));
            std::vector<std::string> changed;
            for (std::size_t j = static_cast<std::size_t>(kept) + 1; j <= newParts; ++j) {
                changed.push_back(part(j));
            }
            if (RewriteInPlace(start, old, static_cast<int>(newParts), kept, changed)) {
                return start;
            }
            // It does not fit: the moves below fill the image as far as it goes.
        }
        // An observer of the image sees these single moves as the one splice they make up.
        RecordObserverPause<KnowledgeBaseImage> pause(image_);
        for (int k = start + old; k <= image_.LastRecord(); ++k) {
            if (!store(std::string(image_.Text(k)), k - old)) {
                return -1;
            }
        }
        image_.SetLastRecord(image_.LastRecord() + 1 - old);
        for (std::size_t n = 0; n < newParts; ++n) {
            if (!store(std::string(image_.Text(image_.LastRecord())), image_.LastRecord() + 1)) {
                return -1;
            }
            for (int k = image_.LastRecord() - 1; k >= start; --k) {
                if (!store(std::string(image_.Text(k)), k + 1)) {
                    return -1;
                }
            }
        }
        for (std::size_t j = 1; j <= newParts; ++j) {
            if (!store(part(j), start + static_cast<int>(j) - 1)) {
                return -1;
            }
        }
        pause.Splice(start, old, static_cast<int>(newParts));
        return start;
    }

    if (oldParts > 0) {
        image_.SetLastRecord(start);
    }
    const int first = image_.LastRecord() + 1;
    for (std::size_t j = 1; j <= newParts; ++j) {
        if (!store(part(j), image_.LastRecord() + 1)) {
            return -1;
        }
    }
    return first;
}

}  // namespace kelvo

namespace kelvo {

// The moves of a double-plus rewrite in one step: the image takes the new parts in place of
// the old ones and the later records move once. RecentStores receives what the single moves
// would have left in it: the last 20 of the stores that close the gap (each later record one
// place down), open it again (per new part: the last record appended, then every record from
// the end down to the start one place up) and write the parts. R(i) below is the i-th record
// behind the old parts, as it was before.
bool FactBase::RewriteInPlace(int start, int oldParts, int newParts, int kept,
                              const std::vector<std::string>& changed) {
    const int behind = image_.LastRecord() - (start + oldParts - 1);  // the records R(1..behind)
    auto r = [&](int i) { return std::string(image_.Text(start + oldParts - 1 + i)); };
    // Part j (from 1) as written: a kept part is the record already in its place.
    auto part = [&](int j) {
        return j > kept ? changed[static_cast<std::size_t>(j - kept - 1)]
                        : std::string(image_.Text(start + j - 1));
    };

    // The stores, newest first, as far as RecentStores reaches.
    std::vector<std::string> newest;
    const auto wanted = static_cast<std::size_t>(KnowledgeBaseImage::kRecentStoreCount);
    auto note = [&](std::string text) {
        if (newest.size() < wanted) {
            newest.push_back(std::move(text));
        }
    };
    for (int j = newParts; j >= 1 && newest.size() < wanted; --j) {
        note(part(j));
    }
    const int rounds = newParts;
    for (int round = rounds; round >= 1 && newest.size() < wanted; --round) {
        // Chronologically: R(behind) appended; R(behind) down to R(1) moved up; then the
        // round - 1 copies of R(1) that earlier rounds left at the start moved up.
        for (int copy = 1; copy < round && newest.size() < wanted; ++copy) {
            note(r(1));
        }
        for (int i = 1; i <= behind && newest.size() < wanted; ++i) {
            note(r(i));
        }
        note(r(behind));
    }
    for (int i = behind; i >= 1 && newest.size() < wanted; --i) {
        note(r(i));
    }

    // The kept parts stay; the splice replaces the rest and moves the later records once. An
    // observer of the image sees the whole value written again, as the single moves write it.
    RecordObserverPause<KnowledgeBaseImage> pause(image_);
    if (!image_.SpliceRecords(start + kept, oldParts - kept, changed)) {
        return false;
    }
    pause.Splice(start, oldParts, newParts);
    image_.NoteRecentStores(std::vector<std::string>(newest.rbegin(), newest.rend()));
    return true;
}

int FactBase::UnchangedParts(std::string_view base, std::string_view value,
                             std::string_view certainty, std::string_view origin, int limit) const {
    // A part record is 82 characters: name, a blank, the value, certainty and origin (each
    // padded or cut), blanks. The values were just read into FoundValue by the lookup.
    const std::string tail =
        PadRight(certainty, 2) + PadRight(origin, 2) + std::string(FactRecord::kLength - 65, ' ');
    const std::size_t width = kFieldWidth;
    PartName partName(base, 1);
    for (int j = 0; j < limit; ++j) {
        partName.Set(static_cast<std::size_t>(j) + 1);
        const std::string_view text = image_.Text(foundPosition_ + j);
        if (text.size() != FactRecord::kLength || text[kFieldWidth] != ' ' ||
            text.substr(2 * kFieldWidth + 1) != tail ||
            text.substr(0, kFieldWidth) != partName.view()) {
            return j;
        }
        const std::size_t from = width * static_cast<std::size_t>(j);
        const std::string_view chunk =
            from < value.size() ? value.substr(from, width) : std::string_view();
        const std::string_view have = std::string_view(foundValue_).substr(from, width);
        if (have.substr(0, chunk.size()) != chunk ||
            have.find_first_not_of(' ', chunk.size()) != std::string_view::npos) {
            return j;
        }
    }
    return limit;
}

}  // namespace kelvo
