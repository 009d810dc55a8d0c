#pragma once

#include <string>
#include <vector>

namespace kelvo {

class KnowledgeBaseImage;

/// A fault the program check finds before a consultation: its error code (8 or 9) and the
/// position of the line.
struct ProgramProblem {
    int code = 0;
    int position = 0;
};

/// The program check of the lines 0 to `programEnd`: the goal is the last goal line ("Z",
/// from position 1 on); no line but a goal, rule, print, display, text or comment line may
/// name the goal object (error 8); the program has at least two lines and ends with a comment
/// line, and every task header and rule line is directly followed by its first body line
/// (error 9). With `all` false it stops at the first problem, as a consultation does; with
/// `all` true it goes on and lists every one. `topGoal` receives the goal (one blank if none).
std::vector<ProgramProblem> CheckProgram(const KnowledgeBaseImage& image, int programEnd, bool all,
                                         std::string* topGoal);

}  // namespace kelvo
