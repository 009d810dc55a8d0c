#include "commands/expression.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

using Number = long double;

constexpr std::string_view kFunctionNameList =
    "INT,ABS,SQR,RND,LOG,FRAC,SIN,COS,TAN,ASIN,ACOS,ATAN";
constexpr std::size_t kTokenWidth = 32;
// A rule looks at most three entries past a token; the table keeps them empty.
constexpr int kLookAhead = 3;
constexpr Number kDegree = std::numbers::pi_v<Number> / 180.0L;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// number -> blank* [sign] digit+ ["." digit+] [E [sign] digit+]
std::optional<Number> ReadNumber(std::string_view token) {
    std::size_t i = 0;
    while (i < token.size() && token[i] == ' ') {
        ++i;
    }
    std::size_t start = i;
    const auto digits = [&token, &i] {
        const std::size_t from = i;
        while (i < token.size() && IsDigit(token[i])) {
            ++i;
        }
        return i - from;
    };
    const auto sign = [&token, &i] {
        if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
            ++i;
        }
    };
    sign();
    if (digits() == 0) {
        return std::nullopt;
    }
    if (i < token.size() && token[i] == '.') {
        ++i;
        if (digits() == 0) {
            return std::nullopt;
        }
    }
    if (i < token.size() && (token[i] == 'E' || token[i] == 'e')) {
        ++i;
        sign();
        if (digits() == 0) {
            return std::nullopt;
        }
    }
    if (i != token.size()) {
        return std::nullopt;
    }
    if (token[start] == '+') {
        ++start;  // from_chars takes no plus sign
    }
    Number value = 0.0L;
    const auto [end, ec] =
        std::from_chars(token.data() + start, token.data() + token.size(), value);
    if (ec != std::errc() || end != token.data() + token.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// An intermediate result: sign or blank, 15 significant digits and a four-digit exponent,
// " 1.50000000000000E+0001" for 15. A value beyond the range gives a token that is no number.
std::string FormatIntermediate(Number value) {
    if (!std::isfinite(value)) {
        return std::string(kExpressionError);
    }
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                      std::fabs(value), std::chars_format::scientific, 14);
    const std::string_view digits(buffer.data(),
                                  static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t e = digits.find('e');
    const int exponent = std::atoi(std::string(digits.substr(e + 1)).c_str());
    std::string exponentDigits = std::to_string(std::abs(exponent));
    exponentDigits.insert(0, 4 - std::min<std::size_t>(4, exponentDigits.size()), '0');
    return (value < 0.0L ? "-" : " ") + std::string(digits.substr(0, e)) + "E" +
           (exponent < 0 ? "-" : "+") + exponentDigits;
}

// The result: right-aligned in 16 characters with 3 decimals, wider when it needs more.
std::string FormatResult(Number value) {
    std::vector<char> buffer(5000);
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, 3);
    std::string text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    if (text == "-0.000") {
        text = "0.000";  // a negative value that rounds to zero has no sign
    }
    return PadLeft(text, 16);
}

// A token is function-like when the function list contains it (the empty token too).
bool FunctionLike(const std::string& token) {
    return kFunctionNameList.find(token) != std::string_view::npos;
}

enum class Function { None, Int, Abs, Sqr, Rnd, Log, Frac, Sin, Cos, Tan, Asin, Acos, Atan };

Function FunctionOf(const std::string& token) {
    struct Entry {
        std::string_view name;
        Function function;
    };
    static constexpr std::array<Entry, 12> kFunctions{{
        {"INT", Function::Int},
        {"ABS", Function::Abs},
        {"SQR", Function::Sqr},
        {"RND", Function::Rnd},
        {"LOG", Function::Log},
        {"FRAC", Function::Frac},
        {"SIN", Function::Sin},
        {"COS", Function::Cos},
        {"TAN", Function::Tan},
        {"ASIN", Function::Asin},
        {"ACOS", Function::Acos},
        {"ATAN", Function::Atan},
    }};
    for (const Entry& entry : kFunctions) {
        if (entry.name == token) {
            return entry.function;
        }
    }
    return Function::None;
}

// The outcome of one function application.
struct Applied {
    std::optional<Number> value;  ///< empty: nothing computed
    bool fails = false;           ///< the whole evaluation gives "FEHLER"
};

Applied Apply(Function function, Number x) {
    switch (function) {
        case Function::Int:
            return {std::trunc(x)};
        case Function::Abs:
            return {std::fabs(x)};
        case Function::Frac:
            return {x - std::trunc(x)};
        case Function::Sqr:
            return x >= 0.0L ? Applied{std::sqrt(x)} : Applied{};
        case Function::Log:
            return x > 0.0L ? Applied{std::log(x)} : Applied{};
        case Function::Rnd: {
            // The whole part plus the fraction rounded half to even, an exact +0.5 raised
            // first: halves go up, 2.5 gives 3 and -2.5 gives -2.
            Number fraction = x - std::trunc(x);
            if (fraction == 0.5L) {
                fraction += 0.0001L;
            }
            return {std::trunc(x) + std::nearbyint(fraction)};
        }
        case Function::Sin:
            return {std::sin(x * kDegree)};
        case Function::Cos:
            return {std::cos(x * kDegree)};
        case Function::Tan:
            return {std::sin(x * kDegree) / std::cos(x * kDegree)};
        case Function::Asin:
            if (x < -1.0L || x > 1.0L) {
                return {std::nullopt, true};
            }
            if (x == -1.0L || x == 1.0L) {
                return {x * 90.0L};
            }
            return {std::atan(x / std::sqrt(1.0L - x * x)) / kDegree};
        case Function::Acos:
            if (x < -1.0L || x > 1.0L) {
                return {std::nullopt, true};
            }
            if (x == -1.0L) {
                return {180.0L};
            }
            if (x == 1.0L) {
                return {0.0L};
            }
            return {(std::numbers::pi_v<Number> / 2.0L - std::atan(x / std::sqrt(1.0L - x * x))) /
                    kDegree};
        case Function::Atan:
            return {std::atan(x) / kDegree};
        case Function::None:
            break;
    }
    return {};
}

// The token table and its reduction. Entry 0 is always empty; the tokens fill entries 1 to
// count - 1, and entries up to kLookAhead beyond the last are empty.
class Reduction {
  public:
    // The table holds entries 0 to count + kLookAhead: nothing is ever read behind them.
    explicit Reduction(std::vector<std::string> tokens)
        : table_(std::min(tokens.size(), static_cast<std::size_t>(kMaxExpressionTokens)) + 2 +
                 kLookAhead) {
        for (std::string& token : tokens) {
            if (count_ < kMaxExpressionTokens) {
                ++count_;
            }
            table_[static_cast<std::size_t>(count_)] = std::move(token);
        }
        count_ = std::min(count_ + 1, kMaxExpressionTokens);
    }

    // Variable references, "<NAME>" first, then "[NAME]".
    void ResolveVariables(const ExpressionLookup& lookup) {
        for (int p = 1; p <= count_; ++p) {
            std::string& token = At(p);
            if (token.size() >= 2 && token.front() == '<' && token.back() == '>') {
                if (const std::optional<std::string> value =
                        lookup(std::string_view(token).substr(1, token.size() - 2))) {
                    token = TrimRight(*value).substr(0, kTokenWidth);
                    if (token.empty()) {
                        token = kExpressionError;
                    }
                }
            }
        }
        for (int p = 1; p <= count_; ++p) {
            std::string& token = At(p);
            if (token.size() >= 2 && token.front() == '[' && token.back() == ']') {
                token = PadRight("[" + token.substr(1, token.size() - 2), 17) + "]";
                if (const std::optional<std::string> value = lookup(token)) {
                    const std::string trimmed = TrimRight(*value);
                    token = trimmed.size() >= 2
                                ? TrimLeft(TrimRight(trimmed.substr(1, trimmed.size() - 2)))
                                : std::string();
                    token.resize(std::min(token.size(), kTokenWidth));
                }
            }
        }
    }

    /// Runs rounds of the six passes; false when the expression gives "FEHLER" on the way.
    /// Afterwards Changed() tells whether the last round changed anything.
    bool Reduce() {
        while (true) {
            changed_ = false;
            for (Pass pass : {Pass::Functions, Pass::Parentheses, Pass::Multiply, Pass::Divide,
                              Pass::Add, Pass::Subtract}) {
                if (!RunPass(pass)) {
                    return false;
                }
            }
            if (!changed_ || NonEmptyTokens() == 1) {
                return true;
            }
        }
    }

    bool Changed() const { return changed_; }

    int NonEmptyTokens() const {
        int n = 0;
        for (int p = 1; p <= count_; ++p) {
            n += table_[static_cast<std::size_t>(p)].empty() ? 0 : 1;
        }
        return n;
    }

    const std::string& First() const { return table_[1]; }

  private:
    enum class Pass { Functions, Parentheses, Multiply, Divide, Add, Subtract };

    std::string& At(int p) { return table_[static_cast<std::size_t>(p)]; }

    // Removes the k tokens after p: the later ones move k places to the front.
    void RemoveAfter(int p, int k) {
        const int last = count_ + kLookAhead;
        for (int i = p + 1; i <= last; ++i) {
            At(i) = i + k <= last ? std::move(At(i + k)) : std::string();
        }
    }

    // One pass: sweeps over the positions until a whole sweep changes nothing.
    bool RunPass(Pass pass) {
        bool sweepChanged = true;
        while (sweepChanged) {
            sweepChanged = false;
            for (int p = 1; p <= count_; ++p) {
                bool fails = false;
                if (Step(pass, p, fails)) {
                    sweepChanged = true;
                    changed_ = true;
                }
                if (fails) {
                    return false;
                }
            }
        }
        return true;
    }

    bool Step(Pass pass, int p, bool& fails) {
        switch (pass) {
            case Pass::Functions:
                return FunctionStep(p, fails);
            case Pass::Parentheses:
                return ParenthesesStep(p);
            case Pass::Multiply:
                return BinaryStep(p, "*");
            case Pass::Divide:
                return BinaryStep(p, "/");
            case Pass::Add:
                return BinaryStep(p, "+");
            case Pass::Subtract:
                return BinaryStep(p, "-");
        }
        return false;
    }

    // function "(" x ")" -> value. The three tokens after the function go whether or not a
    // value was computed; only a computed value is a change.
    bool FunctionStep(int p, bool& fails) {
        if (!FunctionLike(At(p)) || At(p + 1) != "(" || At(p + 3) != ")") {
            return false;
        }
        bool computed = false;
        if (const std::optional<Number> x = ReadNumber(At(p + 2))) {
            const Applied applied = Apply(FunctionOf(At(p)), *x);
            if (applied.fails) {
                fails = true;
                return false;
            }
            if (applied.value) {
                At(p) = FormatIntermediate(*applied.value);
                computed = true;
            }
        }
        RemoveAfter(p, 3);
        return computed;
    }

    // "(" token ")" -> token, unless a function-like token stands before the "(".
    bool ParenthesesStep(int p) {
        if (At(p) != "(" || At(p + 2) != ")" || (p > 1 && FunctionLike(At(p - 1)))) {
            return false;
        }
        At(p) = std::move(At(p + 1));
        RemoveAfter(p, 2);
        return true;
    }

    // a op b -> value. "+" and "-" are held back while a "*" or "/" follows b, or a "*", "/"
    // or "-" stands before a: that keeps precedence and left associativity.
    bool BinaryStep(int p, std::string_view op) {
        if (p <= 1 || At(p) != op) {
            return false;
        }
        const std::optional<Number> a = ReadNumber(At(p - 1));
        const std::optional<Number> b = ReadNumber(At(p + 1));
        if (!a || !b) {
            return false;
        }
        Number value = 0.0L;
        switch (op[0]) {
            case '*':
                value = *a * *b;
                break;
            case '/':
                if (*b == 0.0L) {
                    return false;
                }
                value = *a / *b;
                break;
            default: {
                const std::string& after = At(p + 2);
                if (after == "*" || after == "/") {
                    return false;
                }
                if (p > 2) {
                    const std::string& before = At(p - 2);
                    if (before == "*" || before == "/" || before == "-") {
                        return false;
                    }
                }
                value = op[0] == '+' ? *a + *b : *a - *b;
                break;
            }
        }
        At(p - 1) = FormatIntermediate(value);
        RemoveAfter(p - 1, 2);
        return true;
    }

    std::vector<std::string> table_;
    int count_ = 0;
    bool changed_ = false;
};

// Preparation: comments and blanks out, operators spaced, signs joined to their numbers.
std::vector<std::string> Tokenize(std::string_view body) {
    std::string text;
    text.reserve(body.size());
    bool inComment = false;
    for (char c : body) {
        if (c == '"') {
            inComment = !inComment;
            continue;
        }
        if (!inComment && c != ' ' && c != '\r' && c != '\n' && c != '\t') {
            text.push_back(c);
        }
    }

    std::string spaced;
    spaced.reserve(text.size() * 3);
    bool inName = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '[' || c == '<') {
            spaced.push_back(c);
            inName = true;
        } else if (c == ']' || c == '>') {
            spaced.push_back(c);
            inName = false;
        } else if (inName) {
            spaced.push_back(c);
        } else if (c == '-') {
            const std::size_t n = spaced.size();
            if (i == 0) {
                spaced = "-";  // a leading minus joins the token after it
            } else if (n >= 1 && spaced[n - 1] == ' ' && (n < 2 || spaced[n - 2] != ')')) {
                spaced += " -";  // after "(" or an operator: the sign of the next token
            } else {
                spaced += " - ";
            }
        } else if (c == '(' || c == ')' || c == '+' || c == '*' || c == '/') {
            spaced.push_back(' ');
            spaced.push_back(c);
            spaced.push_back(' ');
        } else {
            spaced.push_back(c);
        }
    }

    const std::string upper = ToUpper(spaced);
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < upper.size()) {
        if (upper[i] == ' ') {
            ++i;
            continue;
        }
        const std::size_t end = std::min(upper.find(' ', i), upper.size());
        tokens.push_back(upper.substr(i, std::min(end - i, kTokenWidth)));
        i = end;
    }
    return tokens;
}

}  // namespace

std::string EvaluateExpression(std::string_view text, const ExpressionLookup& lookup) {
    if (!text.starts_with("=")) {
        return std::string(text);
    }
    const std::string_view body = text.substr(1);
    if (TrimRight(body).empty()) {
        return std::string(kExpressionError);
    }
    Reduction reduction(Tokenize(body));
    reduction.ResolveVariables(lookup);
    if (!reduction.Reduce()) {
        return std::string(kExpressionError);
    }
    if (!reduction.Changed() && reduction.NonEmptyTokens() > 1) {
        return std::string(kExpressionError);
    }
    const std::optional<Number> value = ReadNumber(reduction.First());
    return value ? FormatResult(*value) : std::string(kExpressionError);
}

}  // namespace kelvo
