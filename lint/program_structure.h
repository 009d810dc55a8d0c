#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// How the lines of a program hang together, as a consultation reads them: the goal, the rules
// with their conditions, the task headers with their bodies (a "B" block with its action lines
// and theirs), and for every line the first line of the unit it belongs to. Positions count
// from 0; the lines are the stored Windows-1252 lines, blank-padded to 82 columns.

/// A rule line and the condition lines ("U", "O") directly below it.
struct RuleLines {
    int line = 0;
    std::vector<int> conditions;
};

/// The body a task header or an action line runs: the lines of its body kind directly below
/// it ("T" bodies also take media lines "G").
struct TaskBody {
    int owner = 0;       ///< the task header or the action line "= (…)"
    char ownerKind = 0;  ///< the kind the body belongs to: "N", "C", "V", "H", "W" for "«"…
    char bodyKind = 0;   ///< the kind of its lines ("T", "J", "M", "W", "Y", "D")
    std::vector<int> lines;
};

/// The structure of a whole program.
struct ProgramStructure {
    std::vector<std::string> lines;  ///< each padded to 82 columns
    std::string topGoal;             ///< columns 3-32 of the last goal line; one blank if none
    std::vector<RuleLines> rules;
    std::vector<int> taskHeaders;  ///< header lines of the kinds that get task copies
    std::vector<TaskBody> bodies;  ///< in the order of their owners
    /// For each line, the first line of its unit: a condition's rule, a body line's task header
    /// (for a "B" block the block's header); itself for every other line.
    std::vector<int> unitStart;

    char Kind(int position) const { return lines[static_cast<std::size_t>(position)][0]; }
    /// Columns `first` to `last` (from 1) of a line.
    std::string Field(int position, std::size_t first, std::size_t last) const;
    int size() const { return static_cast<int>(lines.size()); }
};

/// True for the kinds of task header lines ("B", "«", "V", "H", "C", "N", "»", "X", "<", ">").
bool IsTaskHeaderKind(char kind);

/// Reads the structure of `lines` (stored program lines; shorter ones are padded).
ProgramStructure ReadProgramStructure(std::vector<std::string> lines);

}  // namespace kelvo
