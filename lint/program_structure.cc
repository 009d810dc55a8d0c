#include "lint/program_structure.h"

#include <string_view>

#include "store/text_field.h"

namespace kelvo {
namespace {

constexpr std::size_t kLineWidth = 82;

/// The body kind of a task header kind; 0 for a kind without one.
char BodyKindOf(char header) {
    switch (header) {
        case 'V':
            return 'J';
        case 'N':
        case 'C':
            return 'T';
        case 'H':
            return 'M';
        case 'X':
            return 'Y';
        case '\xAB':  // «
        case '\xBB':  // »
            return 'W';
        case '<':
        case '>':
            return 'D';
        case 'B':
            return '=';
        default:
            return 0;
    }
}

/// The task kind an action line of a block names ("= (N)" gives "N"); 0 for no action.
char ActionKindOf(std::string_view line) {
    static constexpr std::string_view kActions[] = {"= (\xAB)", "= (<)", "= (V)", "= (H)",
                                                    "= (C)",    "= (N)", "= (>)", "= (\xBB)"};
    for (std::string_view action : kActions) {
        if (line.substr(0, 5) == action) {
            return action[3];
        }
    }
    return 0;
}

}  // namespace

std::string ProgramStructure::Field(int position, std::size_t first, std::size_t last) const {
    return Columns(lines[static_cast<std::size_t>(position)], first, last);
}

bool IsTaskHeaderKind(char kind) {
    return kind == 'B' || BodyKindOf(kind) != 0;
}

ProgramStructure ReadProgramStructure(std::vector<std::string> lines) {
    ProgramStructure program;
    program.lines = std::move(lines);
    for (std::string& line : program.lines) {
        if (line.size() < kLineWidth) {
            line.resize(kLineWidth, ' ');
        }
    }
    program.topGoal.assign(1, ' ');
    const int count = program.size();
    program.unitStart.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        program.unitStart[static_cast<std::size_t>(i)] = i;
    }
    // The body of `owner` from `first` on: lines of `bodyKind`, and media lines in text bodies.
    auto readBody = [&](int owner, char ownerKind, char bodyKind, int first, int unit) {
        TaskBody body{owner, ownerKind, bodyKind, {}};
        for (int p = first; p < count; ++p) {
            const char kind = program.Kind(p);
            if (kind != bodyKind && !(bodyKind == 'T' && kind == 'G')) {
                break;
            }
            body.lines.push_back(p);
            program.unitStart[static_cast<std::size_t>(p)] = unit;
            if (bodyKind == 'Y') {
                break;  // the jump back reads one line
            }
        }
        program.bodies.push_back(std::move(body));
    };
    for (int i = 0; i < count; ++i) {
        const char kind = program.Kind(i);
        if (kind == 'Z') {
            program.topGoal = program.Field(i, 3, 32);
        } else if (kind == 'R') {
            RuleLines rule{i, {}};
            for (int q = i + 1; q < count && (program.Kind(q) == 'U' || program.Kind(q) == 'O');
                 ++q) {
                rule.conditions.push_back(q);
                program.unitStart[static_cast<std::size_t>(q)] = i;
            }
            program.rules.push_back(std::move(rule));
        } else if (kind == 'B') {
            program.taskHeaders.push_back(i);
            // action -> "= (K)" body; the block goes on while an action line follows a body
            int p = i + 1;
            while (p < count) {
                const char action = ActionKindOf(program.lines[static_cast<std::size_t>(p)]);
                if (action == 0) {
                    break;
                }
                program.unitStart[static_cast<std::size_t>(p)] = i;
                const char bodyKind = BodyKindOf(action);
                readBody(p, action, bodyKind, p + 1, i);
                // The block passes over the body's lines and media lines.
                ++p;
                while (p < count && (program.Kind(p) == bodyKind || program.Kind(p) == 'G')) {
                    program.unitStart[static_cast<std::size_t>(p)] = i;
                    ++p;
                }
            }
        } else if (IsTaskHeaderKind(kind)) {
            program.taskHeaders.push_back(i);
            readBody(i, kind, BodyKindOf(kind), i + 1, i);
        }
    }
    return program;
}

}  // namespace kelvo
