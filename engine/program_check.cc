#include "engine/program_check.h"

#include <string_view>

#include "engine/error_codes.h"
#include "store/knowledge_base_image.h"
#include "store/text_field.h"

namespace kelvo {
namespace {

std::string GoalField(std::string_view text) {
    return PadRight(text.size() >= 3 ? text.substr(2, 30) : std::string_view(), 30);
}

// The kind the next line must have after a line of `kind`; ' ' = any. Returns false for a
// kind outside the table, which leaves the expectation as it is.
bool NextKindAfter(char kind, char& expected) {
    switch (kind) {
        case 'R':
            expected = 'U';
            return true;
        case 'V':
            expected = 'J';
            return true;
        case 'N':
        case 'C':
            expected = 'T';
            return true;
        case 'H':
            expected = 'M';
            return true;
        case 'X':
            expected = 'Y';
            return true;
        case '\xAB':
        case '\xBB':
            expected = 'W';
            return true;
        case '<':
        case '>':
            expected = 'D';
            return true;
        case 'B':
            expected = '=';
            return true;
        case 'F':
        case 'Z':
        case 'J':
        case 'T':
        case 'U':
        case 'K':
        case 'P':
        case 'G':
        case 'O':
        case 'M':
        case 'Y':
        case 'D':
        case 'W':
        case '=':
            expected = ' ';
            return true;
        default:
            return false;
    }
}

}  // namespace

std::vector<ProgramProblem> CheckProgram(const KnowledgeBaseImage& image, int programEnd, bool all,
                                         std::string* topGoal) {
    std::vector<ProgramProblem> problems;
    std::string goal = " ";
    for (int p = 1; p <= programEnd; ++p) {
        if (image.Record(p).column(1) == 'Z') {
            goal = GoalField(image.Text(p));
        }
    }
    if (topGoal != nullptr) {
        *topGoal = goal;
    }

    for (int p = 0; p <= programEnd; ++p) {
        const char kind = image.Record(p).column(1);
        if (GoalField(image.Text(p)) == goal &&
            std::string_view("ZRCNTK").find(kind) == std::string_view::npos) {
            problems.push_back({static_cast<int>(ErrorCode::GoalObjectMisused), p});
            if (!all) {
                return problems;
            }
        }
    }

    if (programEnd < 0) {
        // An empty file: like a single line, too short to be a program.
        problems.push_back({static_cast<int>(ErrorCode::ProgramOrder), 0});
        return problems;
    }
    char expected = ' ';
    for (int i = 0; i <= programEnd; ++i) {
        const char kind = image.Record(i).column(1);
        if ((i == programEnd && kind != 'K') || programEnd == 0 ||
            (expected != ' ' && kind != expected)) {
            problems.push_back({static_cast<int>(ErrorCode::ProgramOrder), i});
            if (!all) {
                return problems;
            }
        }
        NextKindAfter(kind, expected);
    }
    return problems;
}

}  // namespace kelvo
