#pragma once

#include <string_view>

namespace kelvo {

// The numbered errors of a consultation. Every report shows the code's fixed message; all
// but the program check's errors end the consultation.
enum class ErrorCode : int {
    NumberOutOfRange = 2,
    VariableNotFound = 3,
    InvalidComputation = 5,
    AlreadySet = 6,
    GoalObjectMisused = 8,
    ProgramOrder = 9,
    JumpBackNotAllowed = 10,
    JumpVariableMissing = 11,
    PageStartsWithMedia = 13,
    RuleNotSatisfied = 14,
    InvalidDate = 15,
    CommandVariableNotFound = 17,
    WriteCommandMissing = 19,
    KnowledgeBaseAccess = 20,
    BadCommandLine = 21,
};

/// The message of an error code (Windows-1252, "\r\n" line breaks); empty for an unknown code.
std::string_view ErrorMessage(int code);

/// True when a report of the code ends the consultation (every code but 8 and 9).
bool ErrorEndsConsultation(int code);

}  // namespace kelvo
