#include "authoring/program_line_check.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "authoring/command_table.h"
#include "authoring/line_tokens.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

// The 22 kinds a typed line may have, by the letter in column 1 (column 2 is a blank).
constexpr std::array<char, 22> kLineKinds{'F', 'Z', 'J', 'V',    'N',    'T', 'O', 'R',
                                          'U', 'K', 'W', 'B',    'M',    'G', 'X', 'Y',
                                          'H', 'C', 'P', '\xAB', '\xBB', '='};  // «, »

// The functions of a computation line.
constexpr std::array<std::string_view, 20> kFunctions{
    "ABS",  "RND",  "LOG",  "SIN",  "TAN",  "ACOS", "INT",  "SQR",  "FRAC", "COS",
    "ASIN", "ATAN", "DATU", "ZEIT", "UWLE", "DABE", "DADI", "ZUFA", "VERS", "MODU"};

// The markers of action lines "= (x)".
constexpr std::array<std::string_view, 6> kMarkers{"(\xAB)", "(V)", "(H)", "(C)", "(N)", "(\xBB)"};

constexpr bool AllDistinct(const auto& table) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        for (std::size_t j = i + 1; j < table.size(); ++j) {
            if (table[i] == table[j]) {
                return false;
            }
        }
    }
    return true;
}
static_assert(AllDistinct(kLineKinds) && AllDistinct(kFunctions) && AllDistinct(kMarkers));
static_assert(std::all_of(kFunctions.begin(), kFunctions.end(),
                          [](std::string_view f) { return f.size() <= 4; }),
              "a function name fills at most the 4 columns of its field");

// Operators: literal text operators (".", "|") take a text value, variable text operators
// ("=", "#") a text name.
constexpr std::string_view kLiteralOperators = ".|";
constexpr std::string_view kTextOperators = ".|=#";
constexpr std::string_view kNumericOperators = "=\xAB<\xBB>";  // = « < » >
constexpr std::string_view kComputationOperators = "+-*/";

bool IsOneOf(std::string_view token, std::string_view set) {
    return token.size() == 1 && set.find(token[0]) != std::string_view::npos;
}

// The normalized line being built: 82 columns, blank unless written.
class LineLayout {
  public:
    explicit LineLayout(char kind) : text_(kNormalizedLineWidth, ' ') { text_[0] = kind; }
    /// Writes `field` from `column` (counted from 1) on.
    void Put(std::size_t column, std::string_view field) {
        const std::size_t room = kNormalizedLineWidth - (column - 1);
        text_.replace(column - 1, std::min(field.size(), room), field.substr(0, room));
    }
    LineCheck Done() { return {true, std::move(text_), {}}; }

  private:
    std::string text_;
};

LineCheck Fault(std::string reason) {
    return {false, {}, std::move(reason)};
}

// Checks the tokens of one line; the first fault is kept as the reason.
class TokenChecker {
  public:
    explicit TokenChecker(const TokenList& tokens) : tokens_(tokens) {}

    std::string_view Token(std::size_t n) const { return tokens_.tokens[n - 1]; }

    /// The token count is exactly `count`.
    bool Count(std::size_t count) {
        if (tokens_.count == count) {
            return true;
        }
        reason_ = std::to_string(count) + (count == 1 ? " Wort" : " W\xF6rter") + " erwartet, " +
                  std::to_string(tokens_.count) + " gefunden";
        return false;
    }

    /// Token n in a slot of `forms` under `rule`; stores its normalized form in `stored`.
    bool Slot(std::size_t n, FormSet forms, NameRule rule, std::string& stored,
              FormSet* applied = nullptr) {
        TokenStep step = CheckSlot(Token(n), forms, rule, applied);
        return Take(n, std::move(step), stored);
    }

    bool Certainty(std::size_t n, std::string& stored) {
        TokenStep step = NormalizeCertainty(Token(n));
        if (step.verdict == StepVerdict::OtherShape) {
            step = {StepVerdict::Faulty, {}, "erwartet Sicherheit"};
        }
        return Take(n, std::move(step), stored);
    }

    /// Token n is exactly one character of `set`.
    bool Operator(std::size_t n, std::string_view set, const char* what) {
        if (IsOneOf(Token(n), set)) {
            return true;
        }
        return Bad(n, std::string("erwartet ") + what);
    }

    /// Token n, upper-cased, is one of `choices`.
    bool OneOf(std::size_t n, const auto& choices, const char* what, std::string& stored) {
        stored = ToUpper(Token(n));
        if (std::find(choices.begin(), choices.end(), stored) != choices.end()) {
            return true;
        }
        return Bad(n, what);
    }

    bool Bad(std::size_t n, std::string_view why) {
        reason_ =
            "Wort " + std::to_string(n) + " \"" + std::string(Token(n)) + "\": " + std::string(why);
        return false;
    }

    LineCheck Result() { return Fault(std::move(reason_)); }

  private:
    bool Take(std::size_t n, TokenStep step, std::string& stored) {
        if (step.ok()) {
            stored = std::move(step.stored);
            return true;
        }
        return Bad(n, step.reason);
    }

    const TokenList& tokens_;
    std::string reason_;
};

// fact -> "F" name certainty "." value
//   name:      numeric name (plain) | text name (plain)
//   certainty: any token, not examined; always stored as "(99)"
//   value:     number after a numeric name, text value after a text name
LineCheck CheckFact(char kind, const TokenList& tokens) {
    TokenChecker check(tokens);
    std::string name, value;
    FormSet nameForm = kNoForm;
    if (!check.Count(4) ||
        !check.Slot(1, kNumericNameForm | kTextNameForm, NameRule::Plain, name, &nameForm) ||
        !check.Operator(3, ".", "\".\"")) {
        return check.Result();
    }
    const FormSet valueForm = nameForm == kNumericNameForm ? kNumberForm : kTextValueForm;
    if (!check.Slot(4, valueForm, NameRule::Plain, value)) {
        return check.Result();
    }
    LineLayout layout(kind);
    layout.Put(3, name);
    layout.Put(34, "(99)");
    layout.Put(39, ".");
    layout.Put(41, value);
    return layout.Done();
}

// condition -> ("O" | "U") name certainty operator operand
//   after a numeric name (plus):    numeric operator, number | numeric name (plus)
//   after a text name (double-plus): "." or "|" and a text value,
//                                    "=" or "#" and a text name (double-plus)
LineCheck CheckCondition(char kind, const TokenList& tokens) {
    TokenChecker check(tokens);
    std::string name, certainty, operand;
    FormSet nameForm = kNoForm;
    if (!check.Count(4) ||
        !check.Slot(1, kNumericNameForm | kTextNameForm, NameRule::DoublePlus, name, &nameForm) ||
        !check.Certainty(2, certainty)) {
        return check.Result();
    }
    bool operandOk = false;
    if (nameForm == kNumericNameForm) {
        operandOk = check.Operator(3, kNumericOperators, "numerischer Operator") &&
                    check.Slot(4, kNumberForm | kNumericNameForm, NameRule::Plus, operand);
    } else if (check.Operator(3, kTextOperators, "Textoperator")) {
        const bool literal = IsOneOf(check.Token(3), kLiteralOperators);
        operandOk =
            check.Slot(4, literal ? kTextValueForm : kTextNameForm, NameRule::DoublePlus, operand);
    }
    if (!operandOk) {
        return check.Result();
    }
    LineLayout layout(kind);
    layout.Put(3, name);
    layout.Put(34, certainty);
    layout.Put(39, check.Token(3));
    layout.Put(41, operand);
    return layout.Done();
}

// A text name, an operator, and an operand: a text value after a literal operator ("." or
// "|"), a text name (plus) after a variable operator.
//   rule        -> "R" text-name (plain) ("." text-value | "=" text-name (plus))
//   task-header -> ("B" | "«" | "V" | "H" | "C" | "N" | "»" | "X") text-name (plain)
//                  (("." | "|") text-value | ("=" | "#") text-name (plus))
LineCheck CheckNameOperatorOperand(char kind, const TokenList& tokens, std::string_view operators,
                                   const char* operatorName) {
    TokenChecker check(tokens);
    std::string name, operand;
    if (!check.Count(3) || !check.Slot(1, kTextNameForm, NameRule::Plain, name) ||
        !check.Operator(2, operators, operatorName)) {
        return check.Result();
    }
    const bool literal = IsOneOf(check.Token(2), kLiteralOperators);
    if (!check.Slot(3, literal ? kTextValueForm : kTextNameForm, NameRule::Plus, operand)) {
        return check.Result();
    }
    LineLayout layout(kind);
    layout.Put(3, name);
    layout.Put(39, check.Token(2));
    layout.Put(41, operand);
    return layout.Done();
}

// media-or-exchange -> ("G" | "W") text-name (double-plus) operand operand
//   operand -> number | numeric name (plus)
LineCheck CheckMediaOrExchange(char kind, const TokenList& tokens) {
    TokenChecker check(tokens);
    std::string name, first, second;
    if (!check.Count(3) || !check.Slot(1, kTextNameForm, NameRule::DoublePlus, name) ||
        !check.Slot(2, kNumberForm | kNumericNameForm, NameRule::Plus, first) ||
        !check.Slot(3, kNumberForm | kNumericNameForm, NameRule::Plus, second)) {
        return check.Result();
    }
    LineLayout layout(kind);
    layout.Put(3, name);
    layout.Put(34, first);
    layout.Put(53, second);
    return layout.Done();
}

// computation -> "M" result "=" [function] "(" operand operator operand ")"
//   The first "(" and the last ")" from column 3 on are the outer parentheses; they are
//   blanked before the split, which leaves 6 tokens (with a function) or 5 (without).
//   result: numeric name (plus); operand: number | numeric name (plus); operator: + - * /
LineCheck CheckComputation(char kind, std::string line) {
    const std::size_t open = line.find('(', 2);
    if (open != std::string::npos) {
        line[open] = ' ';
    }
    const std::size_t close = line.rfind(')');
    if (close != std::string::npos && close >= 2) {
        line[close] = ' ';
    }
    const TokenList tokens = SplitTokens(line);
    TokenChecker check(tokens);
    if (tokens.count != 5 && tokens.count != 6) {
        return Fault("5 oder 6 W\xF6rter erwartet, " + std::to_string(tokens.count) + " gefunden");
    }
    const std::size_t first = tokens.count == 6 ? 4 : 3;  // operand 1
    std::string result, function, left, right;
    if (!check.Slot(1, kNumericNameForm, NameRule::Plus, result) ||
        !check.Operator(2, "=", "\"=\"") ||
        (tokens.count == 6 && !check.OneOf(3, kFunctions, "unbekannte Funktion", function)) ||
        !check.Slot(first, kNumberForm | kNumericNameForm, NameRule::Plus, left) ||
        !check.Operator(first + 1, kComputationOperators, "\"+\", \"-\", \"*\" oder \"/\"") ||
        !check.Slot(first + 2, kNumberForm | kNumericNameForm, NameRule::Plus, right)) {
        return check.Result();
    }
    LineLayout layout(kind);
    layout.Put(3, result);
    layout.Put(22, "=");
    layout.Put(24, function);
    layout.Put(29, "(");
    layout.Put(30, left);
    layout.Put(49, check.Token(first + 1));
    layout.Put(51, right);
    layout.Put(69, ")");
    return layout.Done();
}

// action -> "=" marker;  marker (upper-cased) -> "(«)" | "(V)" | "(H)" | "(C)" | "(N)" | "(»)"
LineCheck CheckAction(char kind, const TokenList& tokens) {
    TokenChecker check(tokens);
    std::string marker;
    if (!check.Count(1) || !check.OneOf(1, kMarkers, "unbekannte Markierung", marker)) {
        return check.Result();
    }
    LineLayout layout(kind);
    layout.Put(3, marker);
    return layout.Done();
}

// goal -> "Z" text-name (plain);  jump-target -> "Y" text-name (plus)
LineCheck CheckSingleName(char kind, const TokenList& tokens, NameRule rule) {
    TokenChecker check(tokens);
    std::string name;
    if (!check.Count(1) || !check.Slot(1, kTextNameForm, rule, name)) {
        return check.Result();
    }
    LineLayout layout(kind);
    layout.Put(3, name);
    return layout.Done();
}

// variable-line -> "J" plus-name command operand
//   plus-name: numeric name (plus-only) | text name (plus-only)
//   command:   one character, upper-cased, of the command table
//   operand:   the forms of the command after that kind of name
LineCheck CheckVariableLine(char kind, const TokenList& tokens) {
    TokenChecker check(tokens);
    std::string name, operand;
    FormSet nameForm = kNoForm;
    if (!check.Count(3) ||
        !check.Slot(1, kNumericNameForm | kTextNameForm, NameRule::PlusOnly, name, &nameForm)) {
        return check.Result();
    }
    const std::string_view commandToken = check.Token(2);
    const CommandOperands* row =
        commandToken.size() == 1 ? FindCommand(ToUpperByte(commandToken[0])) : nullptr;
    if (row == nullptr) {
        check.Bad(2, "unbekannter Befehl");
        return check.Result();
    }
    const bool numeric = nameForm == kNumericNameForm;
    const FormSet forms = numeric ? row->afterNumericName : row->afterTextName;
    if (forms == kNoForm) {
        check.Bad(2, numeric ? "Befehl nach numerischem Namen nicht erlaubt"
                             : "Befehl nach Textnamen nicht erlaubt");
        return check.Result();
    }
    if (!check.Slot(3, forms, NameRule::DoublePlus, operand)) {
        return check.Result();
    }
    LineLayout layout(kind);
    layout.Put(3, name);
    layout.Put(39, std::string_view(&row->command, 1));
    layout.Put(41, operand);
    return layout.Done();
}

// free-text -> ("T" | "K" | "P") anything;  columns 3 to 82 are kept as typed
LineCheck CheckFreeText(char kind, const std::string& line) {
    LineLayout layout(kind);
    layout.Put(3, std::string_view(line).substr(2, kNormalizedLineWidth - 2));
    return layout.Done();
}

}  // namespace

// line -> kind " " tokens;  the kind letter is upper-cased, only 83 columns count
LineCheck CheckProgramLine(std::string_view typed) {
    const std::string_view used = typed.substr(0, 83);
    const std::string line = PadRight(used, std::max(used.size(), kNormalizedLineWidth));
    const char kind = ToUpperByte(line[0]);
    if (line[1] != ' ') {
        return Fault("Spalte 2 muss leer sein");
    }
    if (std::find(kLineKinds.begin(), kLineKinds.end(), kind) == kLineKinds.end()) {
        if (TrimRight(line).empty()) {
            return Fault("leere Zeile; ein Kommentar ist \"K\"");
        }
        return Fault("unbekannte Zeilenart \"" + std::string(1, line[0]) + "\"");
    }
    switch (kind) {
        case 'T':
        case 'K':
        case 'P':
            return CheckFreeText(kind, line);
        case 'M':
            return CheckComputation(kind, line);
        default:
            break;
    }
    const TokenList tokens = SplitTokens(line);
    switch (kind) {
        case 'F':
            return CheckFact(kind, tokens);
        case 'O':
        case 'U':
            return CheckCondition(kind, tokens);
        case 'R':
            return CheckNameOperatorOperand(kind, tokens, ".=", "\".\" oder \"=\"");
        case 'G':
        case 'W':
            return CheckMediaOrExchange(kind, tokens);
        case '=':
            return CheckAction(kind, tokens);
        case 'Z':
            return CheckSingleName(kind, tokens, NameRule::Plain);
        case 'Y':
            return CheckSingleName(kind, tokens, NameRule::Plus);
        case 'J':
            return CheckVariableLine(kind, tokens);
        default:  // B « V H C N » X
            return CheckNameOperatorOperand(kind, tokens, kTextOperators, "Textoperator");
    }
}

}  // namespace kelvo
