#include "lint/variable_access.h"

#include <string_view>

#include "authoring/line_tokens.h"
#include "commands/command_variables.h"
#include "lint/display_pages.h"
#include "store/field_substitution.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

constexpr std::size_t kName = kTextNameWidth;

/// A name field in its 30-character form.
std::string Name(std::string_view stored) {
    return PadRight(stored, kName);
}

/// The name a text value gives when it is used as a variable name, or empty when it is none.
std::string NameFromValue(std::string_view value) {
    const std::string trimmed = TrimLeft(TrimRight(value));
    if (trimmed.empty()) {
        return {};
    }
    TokenStep step = trimmed[0] == '[' ? NormalizeNumericName(trimmed, NameRule::Plus)
                                       : NormalizeTextName(ToUpper(trimmed), NameRule::DoublePlus);
    return step.ok() ? Name(step.stored) : std::string();
}

/// The part of a trimmed name before its subscript; empty for a name without one.
std::string Stem(std::string_view name) {
    const std::size_t brace = name.find('{');
    return brace == std::string_view::npos ? std::string() : std::string(name.substr(0, brace));
}

// The variables commands store under fixed names, by command letter.
struct FixedWrite {
    char command;
    std::string_view name;
};
constexpr FixedWrite kFixedWrites[] = {
    {'J', kSystemVar1Name},         {'B', kSystemVar1Name},         {'/', kSystemVar1Name},
    {'B', kSystemVar2Name},         {'/', kSystemVar2Name},         {'O', "[+DATEIFEHLER    ]"},
    {'I', "[+DATEIFEHLER    ]"},    {'U', "[+DATEIFEHLER    ]"},    {'\xD6', "[+DATEIFEHLER    ]"},
    {'A', kSimilarityName},         {'+', kBlankCountName},         {'-', kBlankCountName},
    {'\xC4', "[+DB_ANZDBF      ]"}, {'\xC4', "[+DB_ANZDAS      ]"}, {'Q', kGoalCountName},
    {'=', kConversionErrorName},    {'D', kConversionErrorName},    {'Z', kConversionErrorName},
};
struct PrefixWrite {
    char command;
    std::string_view prefix;
};
constexpr PrefixWrite kPrefixWrites[] = {
    {'\xC4', "++DB_"},
    {'Q', "++ZIELE{"},
    {'V', "++KELVO_"},
};

// Commands that need their operand variable, and those that need their name variable.
constexpr std::string_view kOperandRequired =
    "=P+KGLSBA\xDC"
    "DZOU\xD6\xC4X";
constexpr std::string_view kNameRequired = "BAOIU\xD6\xC4HX";
// Commands that leave their name variable's value alone.
constexpr std::string_view kNameKept =
    "HX\xBB"
    "COU\xD6IAB<";
// Commands that may create files.
constexpr std::string_view kFileCreating = "OU13X";

class Collector {
  public:
    explicit Collector(const ProgramStructure& program) : program_(program) {}

    VariableAccess Run() {
        for (int p = 0; p < program_.size(); ++p) {
            Line(p);
        }
        for (const TaskBody& body : program_.bodies) {
            if (body.ownerKind == 'N') {
                Pages(body);
            } else if (body.ownerKind == 'C') {
                Printout(body);
            } else if (body.ownerKind == '\xAB' || body.ownerKind == '\xBB') {
                Exchange(body);
            }
        }
        Indirect();
        // The closing phase keeps each solution's certainty in "+UW"; a block its passes in
        // "[+LS]".
        Write(-1, Name("+UW"));
        if (!program_.taskHeaders.empty()) {
            Write(-1, Name("[+LS             ]"));
        }
        return std::move(access_);
    }

  private:
    void Write(int p, std::string name, std::optional<std::string> literal = std::nullopt) {
        access_.writes.push_back({p, std::move(name), std::move(literal)});
    }
    void Read(int p, std::string name) {
        if (!TrimRight(name).empty()) {
            access_.reads.push_back({p, std::move(name)});
        }
    }
    /// A numeric operand: a read when the field holds a numeric name.
    void NumericOperand(int p, std::size_t first) {
        const std::string field = program_.Field(p, first, first + 17);
        if (field[0] == '[') {
            Read(p, Name(field));
        }
    }

    void Line(int p) {
        const char kind = program_.Kind(p);
        const std::string object = program_.Field(p, 3, 32);
        const char op = program_.lines[static_cast<std::size_t>(p)][38];
        const std::string value = program_.Field(p, 41, 70);
        switch (kind) {
            case 'F':
                Write(p, object, TrimRight(value));
                break;
            case 'R':
                if (op == '.') {
                    Write(p, object, TrimRight(value));
                } else {
                    Write(p, object);
                    Read(p, value);
                }
                break;
            case 'U':
            case 'O':
                if (object[0] == '[') {
                    NumericOperand(p, 41);
                } else if (op == '=' || op == '#') {
                    Read(p, value);
                }
                break;
            case 'M':
                Write(p, Name(program_.Field(p, 3, 20)));
                NumericOperand(p, 30);
                NumericOperand(p, 51);
                break;
            case 'J':
                Command(p, object, op, value);
                break;
            case 'Y':
                Read(p, object);
                break;
            case 'W':
            case 'G':
                Read(p, object);
                NumericOperand(p, 34);
                NumericOperand(p, 53);
                break;
            default:
                if (IsTaskHeaderKind(kind) && (op == '=' || op == '#')) {
                    Read(p, value);
                }
                break;
        }
    }

    void Command(int p, const std::string& name, char command, const std::string& operand) {
        const bool operandIsName = command != '.' && command != '-' && operand[0] != '(';
        const std::string operandName = operand[0] == '[' ? Name(operand.substr(0, 18)) : operand;
        if (command == '.') {
            Write(p, name, name[0] == '[' ? std::nullopt : std::optional(TrimRight(operand)));
        } else if (kNameKept.find(command) == std::string_view::npos) {
            Write(p, name);
        }
        if (command == '<') {
            Write(p, operandName);
        }
        if (command == '>') {
            indirect_.push_back({p, operandName});
        }
        if (kOperandRequired.find(command) != std::string_view::npos && operandIsName) {
            Read(p, operandName);
        }
        if ((command == 'C' || command == 'Q') && operand[0] == '[') {
            Read(p, operandName);
        }
        if (kNameRequired.find(command) != std::string_view::npos) {
            Read(p, name);
        }
        for (const FixedWrite& fixed : kFixedWrites) {
            if (fixed.command == command) {
                Write(p, Name(fixed.name));
            }
        }
        for (const PrefixWrite& prefix : kPrefixWrites) {
            if (prefix.command == command) {
                access_.writtenPrefixes.emplace_back(prefix.prefix);
            }
        }
        if (kFileCreating.find(command) != std::string_view::npos) {
            access_.fileCreators.push_back(p);
        }
    }

    void Pages(const TaskBody& body) {
        for (const DisplayPage& page : SplitPages(program_, body).pages) {
            if (!page.textLines.empty()) {
                const int caption = page.textLines.front();
                for (std::string& name : SubstitutedNames(program_.Field(caption, 3, 82))) {
                    Read(caption, std::move(name));
                }
            }
            for (const PageField& field : ScanPageFields(program_, page)) {
                if (!field.valid) {
                    continue;
                }
                switch (field.kind) {
                    case PageFieldKind::Input:
                    case PageFieldKind::MemoInput:
                        Write(field.position, field.name);
                        break;
                    case PageFieldKind::Button:
                        Read(field.position, field.name);
                        Write(field.position, Name("+KELVO_SCHALTER_VARIABLENNAME"));
                        Write(field.position, Name("++KELVO_SCHALTER"));
                        break;
                    case PageFieldKind::CheckBox: {
                        Read(field.position, field.name);
                        const std::string state = TrimRight(field.name) + ":";
                        if (state.size() <= kName) {
                            Write(field.position, Name(state));
                        }
                        break;
                    }
                    case PageFieldKind::ListBox:
                        Read(field.position, field.name);
                        access_.writtenPrefixes.emplace_back("[+LR{");
                        access_.writtenPrefixes.emplace_back("++LR{");
                        break;
                    default:
                        Read(field.position, field.name);
                        break;
                }
            }
        }
    }

    void Printout(const TaskBody& body) {
        for (int p : body.lines) {
            if (program_.Kind(p) != 'T') {
                continue;
            }
            const std::string text = program_.Field(p, 3, 82);
            if (text.starts_with("<<")) {
                Read(p, Name(TrimRight(program_.Field(p, 5, 34))));
            }
            for (std::string& name : SubstitutedNames(text)) {
                Read(p, std::move(name));
            }
        }
    }

    void Exchange(const TaskBody& body) {
        for (int p : body.lines) {
            for (std::string_view fixed :
                 {"[+WBNR           ]", "++WB_LESEN", "[+WB_SUCH        ]", "++WB_SCHREIBEN"}) {
                // Only the reading commands store these but "[+WBNR]"; taken for both kinds.
                if (body.ownerKind == '\xAB' || fixed == "[+WBNR           ]") {
                    Write(p, Name(fixed));
                }
            }
            if (body.ownerKind == '\xBB') {
                const std::string code = program_.Field(p, 34, 51);
                if (code[0] != '(' || code.find("1000.000") != std::string::npos) {
                    access_.fileCreators.push_back(p);
                }
                continue;
            }
            access_.writtenPrefixes.emplace_back("[+WB_SUCH{");
            const std::string code = program_.Field(p, 34, 51);
            if (code[0] != '(' || code.find("2050.000") != std::string::npos) {
                // 2050 stores into the variable "++WB_LESEN" names.
                indirect_.push_back({p, Name("++WB_LESEN")});
            }
        }
    }

    /// Stores whose target is the value of a variable: known where every write of that
    /// variable is a written text, unknown otherwise.
    void Indirect() {
        for (const VariableRead& target : indirect_) {
            bool known = true;
            std::vector<std::string> names;
            for (const VariableWrite* write : access_.WritesOf(target.name)) {
                const std::string name = write->literal ? NameFromValue(*write->literal) : "";
                if (name.empty()) {
                    known = false;
                    break;
                }
                names.push_back(name);
            }
            if (!known || names.empty()) {
                access_.unknownWrites.push_back(target.position);
                continue;
            }
            for (std::string& name : names) {
                Write(target.position, std::move(name));
            }
        }
    }

    const ProgramStructure& program_;
    VariableAccess access_;
    std::vector<VariableRead> indirect_;  ///< line, variable holding the target's name
};

}  // namespace

VariableAccess CollectVariableAccess(const ProgramStructure& program) {
    return Collector(program).Run();
}

bool VariableAccess::IsWritten(std::string_view name) const {
    const std::string trimmed = TrimRight(name);
    const std::string stem = Stem(trimmed);
    for (const VariableWrite& write : writes) {
        if (write.name == name) {
            return true;
        }
        if (!stem.empty() && Stem(TrimRight(write.name)) == stem) {
            return true;
        }
    }
    for (const std::string& prefix : writtenPrefixes) {
        if (trimmed.starts_with(prefix)) {
            return true;
        }
    }
    return false;
}

std::vector<const VariableWrite*> VariableAccess::WritesOf(std::string_view name) const {
    std::vector<const VariableWrite*> found;
    for (const VariableWrite& write : writes) {
        if (write.name == name) {
            found.push_back(&write);
        }
    }
    return found;
}

std::vector<std::string> SubstitutedNames(std::string_view text) {
    std::vector<std::string> names;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '[') {
            ++i;
            continue;
        }
        // a field as the substitution finds it
        const std::string_view name = FieldNameAt(text, i);
        if (!name.empty()) {
            const TokenStep step = NormalizeTextName(name, NameRule::DoublePlus);
            const std::string trimmed = TrimRight(name);
            if (name.size() <= kName && name[0] != ' ' && trimmed.find(' ') == std::string::npos &&
                step.ok() && step.stored == PadRight(name, kName)) {
                names.push_back(step.stored);
                i += name.size() + 2;
                continue;
            }
        }
        ++i;
    }
    return names;
}

}  // namespace kelvo
