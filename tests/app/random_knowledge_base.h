#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvo {

/// A file the program exchanges data with, to be written into its working folder before it
/// runs: 84-byte line records holding `records` (Windows-1252, at most 83 characters each).
struct RandomFile {
    std::string name;
    std::vector<std::string> records;
};

/// What the generator draws besides the program: how it is run.
struct RandomRun {
    std::string text;  ///< the knowledge base in the text form (UTF-8)
    bool programmingModule = true;
    int breakpointLine = 0;  ///< 0 = none
    /// The answers script, one JSON object a line: pages continued, questions answered and
    /// "Abbruch" clicks at random points of the run.
    std::vector<std::string> answers;
    /// The other knowledge base beside it: `exchangeFile` and its run-only twin (".WBB").
    std::vector<RandomFile> files;
};

/// A random knowledge base drawn from `seed`: rules with every operator, alternatives and
/// certainty, sub-goals (circular ones included), fact lines, plus, double-plus and numeric
/// variables with subscripts, task blocks repeated by "[+LS]", variable commands,
/// computations, pages and print texts with variable fields, jump-backs bounded by a counter,
/// and data exchange with the file `exchangeFile` (a name of at most 30 characters with a
/// four-character extension, relative to the working folder): every read and write command,
/// codes and kinds as numbers or numeric variables, in task blocks and as tasks of their own,
/// with faulty lines among them. The run's `files` hold the file as it is before the run
/// (comment, variable and blank-count records and other lines) and its run-only twin.
/// The same seed always gives the same run.
RandomRun GenerateKnowledgeBase(std::uint64_t seed, const std::string& exchangeFile);

}  // namespace kelvo
