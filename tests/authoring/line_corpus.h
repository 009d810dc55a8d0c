#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "authoring/command_table.h"
#include "authoring/line_tokens.h"

namespace kelvo::testing {

// Generates well-formed typed program lines of every kind, reproducibly from a seed: names
// under each rule with subscripts, numbers and certainties of every written form, text values
// with "$", free text with every printable Windows-1252 character, and varied blanks.
class LineCorpus {
  public:
    /// The 22 kinds a line can have.
    static constexpr std::string_view kKinds = "FZJVNTORUKWBMGXYHCP\xAB\xBB=";

    explicit LineCorpus(std::uint64_t seed) : random_(seed) {}

    /// A line of a random kind.
    std::string Next() { return Line(kKinds[Below(kKinds.size())]); }

    /// A line of the given kind (upper case).
    std::string Line(char kind) {
        for (;;) {
            std::string line = Typed(kind);
            if (line.size() <= 83) {
                return line;
            }
        }
    }

  private:
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz\xC4\xD6\xDC\xE4\xF6\xFC\xDF";
    static constexpr std::string_view kNameCharacters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-.:!?\xC4\xD6\xDC\xE4"
        "\xF6\xFC\xDF";

    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(random_() % n); }
    bool OneIn(std::size_t n) { return Below(n) == 0; }
    char Pick(std::string_view set) { return set[Below(set.size())]; }

    std::string Gap() { return std::string(1 + (OneIn(4) ? Below(3) : 0), ' '); }

    std::string Letters(std::size_t min, std::size_t max, std::string_view set) {
        std::string s;
        const std::size_t n = min + Below(max - min + 1);
        for (std::size_t i = 0; i < n; ++i) {
            s += Pick(set);
        }
        return s;
    }

    std::string Subscript() {
        if (OneIn(2)) {
            return "{" + std::to_string(1 + Below(999)) + (OneIn(5) ? "x" : "") + "}";
        }
        return "{+" + Letters(1, 4, kLetters) + "}";
    }

    // A text name under `rule`, at most 30 characters.
    std::string TextName(NameRule rule) {
        std::string prefix;
        const bool plusAllowed = rule != NameRule::Plain;
        const bool plusRequired = rule == NameRule::PlusOnly;
        const bool doublePlusAllowed = rule == NameRule::DoublePlus || plusRequired;
        if (plusRequired || (plusAllowed && OneIn(2))) {
            prefix = doublePlusAllowed && OneIn(2) ? "++" : "+";
        }
        const bool subscript = !prefix.empty() && OneIn(3);
        const std::size_t limit = prefix == "++" ? 24 : 30;
        const std::size_t room = limit - prefix.size() - (subscript ? 9u : 0u);
        std::string name = prefix + Pick(kLetters) + Letters(0, room - 1, kNameCharacters);
        if (OneIn(6) && name.size() > prefix.size() + 2) {
            name[prefix.size() + 1 + Below(name.size() - prefix.size() - 1)] = Pick("[(])$");
        }
        if (subscript) {
            name += Subscript();
        } else if (prefix == "++" && name.back() >= '0' && name.back() <= '9') {
            name.back() = 'Q';
        }
        return name;
    }

    // A numeric name under `rule` (plain, plus or plus-only); `parentheses` allows "(" inside.
    std::string NumericName(NameRule rule, bool parentheses = true) {
        const bool plus = rule == NameRule::PlusOnly || (rule != NameRule::Plain && OneIn(2));
        const bool subscript = plus && OneIn(3);
        const std::size_t room = 16u - (plus ? 1u : 0u) - (subscript ? 6u : 0u);
        std::string inner =
            std::string(plus ? "+" : "") + Pick(kLetters) + Letters(0, room - 1, kNameCharacters);
        if (parentheses && OneIn(8)) {
            inner.back() = Pick("()[");
        }
        if (subscript) {
            inner += OneIn(2) ? "{" + std::to_string(1 + Below(99)) + "}"
                              : "{+" + Letters(1, 2, kLetters) + "}";
        }
        if (OneIn(6)) {
            inner.insert(1 + Below(inner.size()), " ");  // vanishes when split
        }
        return "[" + inner + "]";
    }

    std::string Number() {
        switch (Below(5)) {
            case 0:
                return "(" + std::to_string(static_cast<long long>(Below(2000000)) - 1000000) + ")";
            case 1:
                return "(" + std::string(OneIn(2) ? "-" : "") + std::to_string(Below(100000)) +
                       "." + std::to_string(Below(100000)) + ")";
            case 2:
                return "(" + std::to_string(1 + Below(9)) + "." + std::to_string(Below(1000)) +
                       "e" + std::to_string(static_cast<long long>(Below(20)) - 8) + ")";
            case 3:
                return OneIn(2) ? "(999999999999.999)" : "(-99999999999.9991)";
            default:
                return "( " + std::to_string(Below(100)) + " )";
        }
    }

    std::string Certainty() {
        if (OneIn(3)) {
            return "(" + std::to_string(Below(99)) + "." + std::to_string(Below(10)) + ")";
        }
        return "(" + std::to_string(Below(100)) + ")";
    }

    std::string NumberOrName() { return OneIn(2) ? Number() : NumericName(NameRule::Plus); }

    std::string TextValue() {
        std::string value = Letters(1, 30, "abcdefXYZ\xE4\xFC\xDF$$$$0123456789.,;:!?{}+-*/]<>=#|");
        if (value.size() > 2 && OneIn(4)) {
            value[1 + Below(value.size() - 1)] = Pick("[(");
        }
        return value;
    }

    std::string FreeText() {
        std::string text;
        const std::size_t n = Below(81);
        for (std::size_t i = 0; i < n; ++i) {
            text += OneIn(5) ? ' ' : static_cast<char>(0x21 + Below(0xFF - 0x21 + 1));
        }
        return text;
    }

    std::string Kind(char kind) {
        const char typed =
            OneIn(3) && kind >= 'A' && kind <= 'Z' ? static_cast<char>(kind + 32) : kind;
        return std::string(1, typed);
    }

    // Token 3 of a variable line in one of `forms`.
    std::string Operand(FormSet forms) {
        for (;;) {
            switch (Below(4)) {
                case 0:
                    if ((forms & kNumberForm) != 0) {
                        return Number();
                    }
                    break;
                case 1:
                    if ((forms & kNumericNameForm) != 0) {
                        return NumericName(NameRule::Plus);
                    }
                    break;
                case 2:
                    if ((forms & kTextNameForm) != 0) {
                        return TextName(NameRule::DoublePlus);
                    }
                    break;
                default:
                    if ((forms & kTextValueForm) != 0) {
                        return TextValue();
                    }
                    break;
            }
        }
    }

    std::string Typed(char kind) {
        const std::string k = Kind(kind);
        switch (kind) {
            case 'T':
            case 'K':
            case 'P':
                return k + " " + FreeText();
            case 'Z':
                return k + Gap() + TextName(NameRule::Plain);
            case 'Y':
                return k + Gap() + TextName(NameRule::Plus);
            case '=':
                return k + Gap() + "(" + Pick("\xABVHCN\xBBvhcn") + ")";
            case 'F':
                if (OneIn(2)) {
                    return k + Gap() + NumericName(NameRule::Plain) + Gap() + Certainty() + Gap() +
                           "." + Gap() + Number();
                }
                return k + Gap() + TextName(NameRule::Plain) + Gap() + Certainty() + Gap() + "." +
                       Gap() + TextValue();
            case 'O':
            case 'U':
                if (OneIn(2)) {
                    return k + Gap() + NumericName(NameRule::Plus) + Gap() + Certainty() + Gap() +
                           Pick("=\xAB<\xBB>") + Gap() + NumberOrName();
                } else {
                    const char op = Pick(".|=#");
                    const bool literal = op == '.' || op == '|';
                    return k + Gap() + TextName(NameRule::DoublePlus) + Gap() + Certainty() +
                           Gap() + op + Gap() +
                           (literal ? TextValue() : TextName(NameRule::DoublePlus));
                }
            case 'R':
                if (OneIn(2)) {
                    return k + Gap() + TextName(NameRule::Plain) + Gap() + "." + Gap() +
                           TextValue();
                }
                return k + Gap() + TextName(NameRule::Plain) + Gap() + "=" + Gap() +
                       TextName(NameRule::Plus);
            case 'G':
            case 'W':
                return k + Gap() + TextName(NameRule::DoublePlus) + Gap() + NumberOrName() + Gap() +
                       NumberOrName();
            case 'M': {
                static constexpr std::string_view kFunctions[] = {
                    "ABS",  "RND",  "LOG",  "SIN",  "TAN",  "ACOS", "INT",  "SQR",  "FRAC", "COS",
                    "ASIN", "ATAN", "DATU", "ZEIT", "UWLE", "DABE", "DADI", "ZUFA", "VERS", "modu"};
                const std::string function =
                    OneIn(3) ? std::string() : std::string(kFunctions[Below(20)]);
                return k + Gap() + NumericName(NameRule::Plus, false) + Gap() + "=" + Gap() +
                       function + "(" + NumberOrName() + Gap() + Pick("+-*/") + Gap() +
                       NumberOrName() + ")";
            }
            case 'J': {
                const CommandOperands& row = kCommandTable[Below(kCommandTable.size())];
                bool numeric = OneIn(2);
                if (row.afterNumericName == kNoForm) {
                    numeric = false;
                } else if (row.afterTextName == kNoForm) {
                    numeric = true;
                }
                const FormSet forms = numeric ? row.afterNumericName : row.afterTextName;
                const std::string name =
                    numeric ? NumericName(NameRule::PlusOnly) : TextName(NameRule::PlusOnly);
                return k + Gap() + name + Gap() + row.command + Gap() + Operand(forms);
            }
            default: {  // task headers
                const char op = Pick(".|=#");
                const bool literal = op == '.' || op == '|';
                return k + Gap() + TextName(NameRule::Plain) + Gap() + op + Gap() +
                       (literal ? TextValue() : TextName(NameRule::Plus));
            }
        }
    }

    std::mt19937_64 random_;
};

}  // namespace kelvo::testing
