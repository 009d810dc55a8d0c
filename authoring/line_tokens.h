#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// The tokens of a program line and the steps that check and normalize one token each.
// All text is Windows-1252, one byte per column.
//
// Token shapes (the forms one slot admits never share a shape, so the shape selects the step):
//
//   text name      at most 30 characters, not beginning "[" or "("  -> upper case, 30 wide
//   numeric name   "[" ... "]", at most 18 characters in all         -> "[" + 16 + "]", 18 wide
//   number         "(" ... ")"                                       -> "(" + %16.3f + ")"
//   certainty      "(" ... ")"                                       -> "(" + 2 digits + ")"
//   text value     as a text name                                    -> "$" -> blank, 30 wide

/// At most this many characters of a token are kept; further characters are dropped.
inline constexpr std::size_t kMaxTokenLength = 33;
/// No line kind takes more tokens than this, so only these are kept (all are counted).
inline constexpr std::size_t kKeptTokens = 6;

inline constexpr std::size_t kTextNameWidth = 30;
inline constexpr std::size_t kNumericNameWidth = 18;
inline constexpr std::size_t kCertaintyWidth = 4;
/// Longest "++" name, trailing blanks not counted, "++" counted.
inline constexpr std::size_t kMaxDoublePlusLength = 24;

/// The tokens of columns 3 to the end of a line.
struct TokenList {
    std::size_t count = 0;            ///< every token found
    std::vector<std::string> tokens;  ///< the first kKeptTokens of them
};

/// Splits columns 3 to the end of `line` into tokens. Blanks separate words and are never
/// stored, so blanks inside "[...]" and "(...)" vanish. See the state machine in the source.
TokenList SplitTokens(std::string_view line);

/// Which names a name slot admits.
enum class NameRule {
    Plain,       ///< no "+" names, no "++" names, no subscripts
    Plus,        ///< "+" names with checked subscripts; no "++" names
    DoublePlus,  ///< as Plus, and "++" names of at most 24 characters not ending in a digit
    PlusOnly,    ///< only "+" names ("++" names under the limits of DoublePlus)
};

/// What a token step made of a token.
enum class StepVerdict {
    OtherShape,  ///< not this step's shape; `stored` is the token unchanged, for the next step
    WellFormed,  ///< `stored` is the stored form
    Faulty,      ///< the shape fits but a rule is broken; `reason` says which
};

struct TokenStep {
    StepVerdict verdict = StepVerdict::OtherShape;
    std::string stored;
    std::string reason;  ///< short, Windows-1252; empty unless Faulty

    bool ok() const { return verdict == StepVerdict::WellFormed; }
};

/// Checks a text name under `rule`; stored form upper-cased and padded to 30. OtherShape for a
/// token longer than 30 characters or beginning "[" or "(" (callers that validate a name on
/// its own treat that as a rejection).
TokenStep NormalizeTextName(std::string_view token, NameRule rule);

/// Checks a numeric name "[...]" under `rule` (DoublePlus acts as Plus; "[++" is always
/// faulty); stored form "[" + inner name upper-cased and padded to 16 + "]".
TokenStep NormalizeNumericName(std::string_view token, NameRule rule);

/// True if the subscript "{n}" or "{+name}" at the end of a plus name is well formed. Takes a
/// text name or a numeric name in its stored form (trailing padding allowed).
bool CheckSubscript(std::string_view name);

/// Turns a text value into its stored form: each "$" a blank, padded to 30, case kept. Never
/// Faulty; OtherShape for a token longer than 30 characters or beginning "[" or "(".
TokenStep NormalizeTextValue(std::string_view token);

/// Checks a number "(...)": the inside must read completely as a decimal number between
/// -99999999999.9991 and 999999999999.9991 inclusive; stored with 3 decimals in 18 characters.
TokenStep NormalizeNumber(std::string_view token);

/// Checks a certainty "(...)": the inside must read completely as a decimal number, rounded
/// half to even to a whole number from 0 to 99; stored as "(" + two digits + ")".
TokenStep NormalizeCertainty(std::string_view token);

/// The forms a slot admits, as a set of bits.
using FormSet = std::uint8_t;
inline constexpr FormSet kNoForm = 0;
inline constexpr FormSet kNumberForm = 1;       ///< number
inline constexpr FormSet kNumericNameForm = 2;  ///< numeric name (rule of the slot)
inline constexpr FormSet kTextNameForm = 4;     ///< text name (rule of the slot)
inline constexpr FormSet kTextValueForm = 8;    ///< text value

/// Checks a token against every form of `forms` in the order number, numeric name, text name,
/// text value; the first step whose shape fits decides. Names are checked under `rule`.
/// Faulty with a reason listing the forms when no step applies. `applied` (if given) receives
/// the form that decided, or kNoForm.
TokenStep CheckSlot(std::string_view token, FormSet forms, NameRule rule,
                    FormSet* applied = nullptr);

}  // namespace kelvo
