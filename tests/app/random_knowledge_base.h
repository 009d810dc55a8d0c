#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvo {

/// What the generator draws besides the program: how it is run.
struct RandomRun {
    std::string text;  ///< the knowledge base in the text form (UTF-8)
    bool programmingModule = true;
    int breakpointLine = 0;  ///< 0 = none
    /// The answers script, one JSON object a line: pages continued, questions answered and
    /// "Abbruch" clicks at random points of the run.
    std::vector<std::string> answers;
};

/// A random knowledge base drawn from `seed`: rules with every operator, alternatives and
/// certainty, sub-goals (circular ones included), fact lines, plus, double-plus and numeric
/// variables with subscripts, task blocks repeated by "[+LS]", variable commands,
/// computations, pages and print texts with variable fields, jump-backs bounded by a counter,
/// and data exchange with the file `exchangeFile` (a name of at most 30 characters, relative
/// to the working folder; the program creates it).
/// The same seed always gives the same run.
RandomRun GenerateKnowledgeBase(std::uint64_t seed, const std::string& exchangeFile);

}  // namespace kelvo
