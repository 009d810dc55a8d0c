#include "authoring/line_tokens.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "store/stored_number.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

TokenStep OtherShape(std::string_view token) {
    return {StepVerdict::OtherShape, std::string(token), {}};
}

TokenStep WellFormed(std::string stored) {
    return {StepVerdict::WellFormed, std::move(stored), {}};
}

TokenStep Faulty(std::string reason) {
    return {StepVerdict::Faulty, {}, std::move(reason)};
}

// text-shape -> at most 30 characters, first character neither "[" nor "("
bool HasTextShape(std::string_view token) {
    return token.size() <= kTextNameWidth &&
           (token.empty() || (token.front() != '[' && token.front() != '('));
}

// enclosed -> open ... close, at least the two delimiters
bool IsEnclosed(std::string_view token, char open, char close) {
    return token.size() >= 2 && token.front() == open && token.back() == close;
}

bool HasBrace(std::string_view name) {
    return name.find_first_of("{}") != std::string_view::npos;
}

// The rule of a name slot, applied to a name (for a numeric name: the name inside the
// brackets), already upper-cased. Returns the reason it breaks the rule, or empty.
std::string BreaksNameRule(std::string_view name, std::string_view stored, NameRule rule,
                           bool numeric) {
    const bool plus = !name.empty() && name.front() == '+';
    if (rule == NameRule::Plain && plus) {
        return "Name mit \"+\" hier nicht erlaubt";
    }
    if (rule == NameRule::PlusOnly && !plus) {
        return "hier ist ein Name mit \"+\" verlangt";
    }
    if (!plus && HasBrace(name)) {
        return "geschweifte Klammern nur in Namen mit \"+\"";
    }
    if (HasBrace(name) && rule != NameRule::Plain && !CheckSubscript(stored)) {
        return "ung\xFCltiger Index";
    }
    if (name.size() >= 2 && name[0] == '+' && name[1] == '+') {
        if (numeric || rule == NameRule::Plain || rule == NameRule::Plus) {
            return "Name mit \"++\" hier nicht erlaubt";
        }
        const std::string trimmed = TrimRight(name);
        if (IsDigit(trimmed.back())) {
            return "Name mit \"++\" endet auf eine Ziffer";
        }
        if (trimmed.size() > kMaxDoublePlusLength) {
            return "Name mit \"++\" l\xE4nger als 24 Zeichen";
        }
    }
    return {};
}

// A decimal number read exactly: value = 0.digits x 10^point, digits without leading or
// trailing zeros (empty for zero). Exact so that the range limits and the halfway cases of
// rounding are decided on the typed digits, not on a binary approximation.
struct Decimal {
    bool negative = false;
    std::string digits;
    long point = 0;
};

// decimal -> [sign] (digits ["." digits*] | "." digits) [("e"|"E") [sign] digits]
std::optional<Decimal> ReadDecimal(std::string_view s) {
    constexpr long kExponentLimit = 1'000'000;  // far beyond any range; keeps the sum finite
    Decimal d;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        d.negative = s[i] == '-';
        ++i;
    }
    std::string all;
    long integerDigits = 0;
    while (i < s.size() && IsDigit(s[i])) {
        all += s[i++];
        ++integerDigits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            all += s[i++];
        }
    }
    if (all.empty()) {
        return std::nullopt;
    }
    long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            negativeExponent = s[i] == '-';
            ++i;
        }
        std::size_t exponentDigits = 0;
        while (i < s.size() && IsDigit(s[i])) {
            exponent = std::min(kExponentLimit, exponent * 10 + (s[i++] - '0'));
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    if (i != s.size()) {
        return std::nullopt;
    }
    d.point = integerDigits + exponent;
    const std::size_t first = all.find_first_not_of('0');
    if (first == std::string::npos) {
        return Decimal{d.negative, {}, 0};
    }
    d.point -= static_cast<long>(first);
    const std::size_t last = all.find_last_not_of('0');
    d.digits = all.substr(first, last - first + 1);
    return d;
}

// |a| <= |b|
bool MagnitudeAtMost(const Decimal& a, const Decimal& b) {
    if (a.digits.empty()) {
        return true;
    }
    if (b.digits.empty()) {
        return false;
    }
    if (a.point != b.point) {
        return a.point < b.point;
    }
    return a.digits <= b.digits;  // no trailing zeros, so string order is numeric order
}

double ToDouble(const Decimal& d) {
    if (d.digits.empty() || d.point < -30) {
        return 0.0;  // below a thousandth by far: stored as 0.000 either way
    }
    const std::string text = "0." + d.digits + "e" + std::to_string(d.point);
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return d.negative ? -value : value;
}

}  // namespace

// SplitTokens: columns 3 to the end, scanned with a state
//   idle:         blank -> idle;  "[" -> brackets;  "(" -> parentheses;  other -> word
//   brackets:     blank -> dropped;  "]" -> stored, idle;  other -> stored
//   parentheses:  blank -> dropped;  ")" -> stored, idle;  other -> stored
//   word:         blank -> idle;  other -> stored ("[" and "(" are ordinary here)
// Each start counts a token; a token keeps its first 33 characters.
TokenList SplitTokens(std::string_view line) {
    enum class State { Idle, Brackets, Parentheses, Word };
    TokenList list;
    State state = State::Idle;
    std::string* current = nullptr;
    auto keep = [&](char c) {
        if (current != nullptr && current->size() < kMaxTokenLength) {
            current->push_back(c);
        }
    };
    for (std::size_t i = 2; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ') {
            if (state == State::Word) {
                state = State::Idle;
            }
            continue;
        }
        switch (state) {
            case State::Idle:
                ++list.count;
                current = nullptr;
                if (list.tokens.size() < kKeptTokens) {
                    current = &list.tokens.emplace_back();
                }
                keep(c);
                state = c == '[' ? State::Brackets : c == '(' ? State::Parentheses : State::Word;
                break;
            case State::Brackets:
                keep(c);
                if (c == ']') {
                    state = State::Idle;
                }
                break;
            case State::Parentheses:
                keep(c);
                if (c == ')') {
                    state = State::Idle;
                }
                break;
            case State::Word:
                keep(c);
                break;
        }
    }
    return list;
}

// text-name -> at most 30 characters, not beginning "[" or "("; stored upper-cased, 30 wide
//   plain:       no "+" name
//   plus-only:   a "+" name
//   any rule:    "{" and "}" only in a "+" name; there, unless plain, a good subscript
//   "++" names:  not under plain or plus; otherwise at most 24 long, not ending in a digit
TokenStep NormalizeTextName(std::string_view token, NameRule rule) {
    if (!HasTextShape(token)) {
        return OtherShape(token);
    }
    std::string stored = ToUpper(PadRight(token, kTextNameWidth));
    std::string reason = BreaksNameRule(stored, stored, rule, false);
    if (!reason.empty()) {
        return Faulty(std::move(reason));
    }
    return WellFormed(std::move(stored));
}

// numeric-name -> "[" name "]", at most 18 characters; stored "[" + name upper-cased, 16
// wide + "]"; the rule applies to the name inside, and "[++" is never allowed
TokenStep NormalizeNumericName(std::string_view token, NameRule rule) {
    if (!IsEnclosed(token, '[', ']') || token.size() > kNumericNameWidth) {
        return OtherShape(token);
    }
    const std::string inner = ToUpper(PadRight(token.substr(1, token.size() - 2), 16));
    std::string stored = "[" + inner + "]";
    const NameRule numericRule = rule == NameRule::DoublePlus ? NameRule::Plus : rule;
    std::string reason = BreaksNameRule(inner, stored, numericRule, true);
    if (!reason.empty()) {
        return Faulty(std::move(reason));
    }
    return WellFormed(std::move(stored));
}

// subscript -> name "{" index "}" at the very end, exactly two braces in all
//   index -> "+" one-or-more-characters      (a variable)
//          | whole number > 0                (leading blanks and a sign allowed; the
//                                             leading digits are read, the rest ignored)
bool CheckSubscript(std::string_view name) {
    std::string s = TrimRight(name);
    if (!s.empty() && s.front() == '[') {
        if (s.back() == ']') {
            s.pop_back();
        }
        s = TrimRight(s);
    }
    const auto braces = std::count(s.begin(), s.end(), '{') + std::count(s.begin(), s.end(), '}');
    if (braces != 2 || s.back() != '}') {
        return false;
    }
    const std::size_t open = s.find('{');
    if (open == std::string::npos) {
        return false;
    }
    const std::string_view index = std::string_view(s).substr(open + 1, s.size() - open - 2);
    if (!index.empty() && index.front() == '+') {
        return index.size() >= 2;
    }
    std::size_t i = 0;
    while (i < index.size() && index[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < index.size() && (index[i] == '+' || index[i] == '-')) {
        negative = index[i] == '-';
        ++i;
    }
    bool nonZero = false;
    while (i < index.size() && IsDigit(index[i])) {
        nonZero = nonZero || index[i] != '0';
        ++i;
    }
    return nonZero && !negative;
}

// text-value -> as a text name; "$" stands for a blank; stored 30 wide, case kept
TokenStep NormalizeTextValue(std::string_view token) {
    if (!HasTextShape(token)) {
        return OtherShape(token);
    }
    std::string stored = PadRight(token, kTextNameWidth);
    std::replace(stored.begin(), stored.end(), '$', ' ');
    return WellFormed(std::move(stored));
}

// number -> "(" decimal ")", -99999999999.9991 <= value <= 999999999999.9991
TokenStep NormalizeNumber(std::string_view token) {
    if (!IsEnclosed(token, '(', ')')) {
        return OtherShape(token);
    }
    const auto decimal = ReadDecimal(token.substr(1, token.size() - 2));
    if (!decimal) {
        return Faulty("keine Zahl");
    }
    static constexpr std::string_view kUpper = "999999999999.9991";
    static constexpr std::string_view kLower = "99999999999.9991";  // below zero
    if (!MagnitudeAtMost(*decimal, *ReadDecimal(decimal->negative ? kLower : kUpper))) {
        return Faulty(
            "Zahl au\xDF"
            "erhalb des Bereichs");
    }
    return WellFormed(FormatStoredNumber(ToDouble(*decimal)));
}

// certainty -> "(" decimal ")", rounded half to even, 0 <= result <= 99
TokenStep NormalizeCertainty(std::string_view token) {
    if (!IsEnclosed(token, '(', ')')) {
        return OtherShape(token);
    }
    const auto decimal = ReadDecimal(token.substr(1, token.size() - 2));
    if (!decimal) {
        return Faulty("keine Zahl");
    }
    const std::string& digits = decimal->digits;
    const long point = decimal->point;
    if (point > 3) {
        return Faulty(
            "Sicherheit au\xDF"
            "erhalb von 0 bis 99");
    }
    // whole part and the fraction, from the exact digits
    int whole = 0;
    for (long k = 0; k < point; ++k) {
        const auto at = static_cast<std::size_t>(k);
        whole = whole * 10 + (at < digits.size() ? digits[at] - '0' : 0);
    }
    char firstFraction = '0';
    bool moreFraction = false;
    if (point >= 0) {
        const auto at = static_cast<std::size_t>(point);
        firstFraction = at < digits.size() ? digits[at] : '0';
        moreFraction = at + 1 < digits.size();
    }
    const bool up = firstFraction > '5' || (firstFraction == '5' && moreFraction) ||
                    (firstFraction == '5' && !moreFraction && whole % 2 == 1);
    const int rounded = whole + (up ? 1 : 0);
    if ((decimal->negative && rounded != 0) || rounded > 99) {
        return Faulty(
            "Sicherheit au\xDF"
            "erhalb von 0 bis 99");
    }
    std::string stored = "(00)";
    stored[1] = static_cast<char>('0' + rounded / 10);
    stored[2] = static_cast<char>('0' + rounded % 10);
    return WellFormed(std::move(stored));
}

TokenStep CheckSlot(std::string_view token, FormSet forms, NameRule rule, FormSet* applied) {
    auto decided = [&](FormSet form, TokenStep step) {
        if (applied != nullptr) {
            *applied = form;
        }
        return step;
    };
    if ((forms & kNumberForm) != 0) {
        if (TokenStep step = NormalizeNumber(token); step.verdict != StepVerdict::OtherShape) {
            return decided(kNumberForm, std::move(step));
        }
    }
    if ((forms & kNumericNameForm) != 0) {
        if (TokenStep step = NormalizeNumericName(token, rule);
            step.verdict != StepVerdict::OtherShape) {
            return decided(kNumericNameForm, std::move(step));
        }
    }
    if ((forms & kTextNameForm) != 0) {
        if (TokenStep step = NormalizeTextName(token, rule);
            step.verdict != StepVerdict::OtherShape) {
            return decided(kTextNameForm, std::move(step));
        }
    }
    if ((forms & kTextValueForm) != 0) {
        if (TokenStep step = NormalizeTextValue(token); step.verdict != StepVerdict::OtherShape) {
            return decided(kTextValueForm, std::move(step));
        }
    }
    std::string expected;
    auto add = [&](FormSet form, const char* name) {
        if ((forms & form) != 0) {
            expected += expected.empty() ? name : std::string(" oder ") + name;
        }
    };
    add(kNumberForm, "Zahl");
    add(kNumericNameForm, "numerischer Name");
    add(kTextNameForm, "Textname");
    add(kTextValueForm, "Textwert");
    return decided(kNoForm, Faulty("erwartet " + expected));
}

}  // namespace kelvo
