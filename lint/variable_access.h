#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lint/program_structure.h"

namespace kelvo {

// Which variables each line of a program writes and reads. Names are the 30-character stored
// forms (a numeric name "[" + 16 + "]" padded with blanks). Writes are taken generously (a
// command that may store into its name variable counts as writing it) and reads strictly
// (only where a missing variable fails the line or shows nothing), so that what the lint
// concludes from them holds.

/// A line that can give a variable a value.
struct VariableWrite {
    int position = 0;
    std::string name;
    /// The value when the line stores a text written in it (a fact line, an assignment "."
    /// of a variable line, a rule with "."), right-trimmed; empty for any other write.
    std::optional<std::string> literal;
};

/// A line that needs a variable to exist.
struct VariableRead {
    int position = 0;
    std::string name;
};

/// What the lines of a program write and read.
struct VariableAccess {
    std::vector<VariableWrite> writes;
    std::vector<VariableRead> reads;
    /// Name beginnings under which commands store variables of run-time names ("++DB_").
    std::vector<std::string> writtenPrefixes;
    /// Lines that store into a variable whose name only the run knows (an indirect store
    /// whose target is not a written text, a data-exchange fetch). With any of them, no
    /// conclusion "nothing writes this" holds.
    std::vector<int> unknownWrites;
    /// Lines that may create files at run time (copies, moves, text files, programs, a new
    /// knowledge base).
    std::vector<int> fileCreators;

    /// True if some line can give `name` a value: written under that name, under the same
    /// plus name with a subscript when `name` has one, or under a written prefix.
    bool IsWritten(std::string_view name) const;
    /// The writes of `name` exactly.
    std::vector<const VariableWrite*> WritesOf(std::string_view name) const;
};

/// Collects the writes and reads of every line of `program`.
VariableAccess CollectVariableAccess(const ProgramStructure& program);

/// The names a text asks `SubstituteFields` for: "[" + name + "[" where the name is a stored
/// text name (upper case, at most 30 characters), each 30 characters.
std::vector<std::string> SubstitutedNames(std::string_view text);

}  // namespace kelvo
