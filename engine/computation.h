#pragma once

#include <string_view>

namespace kelvo {

class Consultation;

// Computation lines ("M") of a computation task. A line computes one numeric variable:
//
//   columns  1     "M"
//            3-20  the result, a numeric name
//            22    "="
//            24-27 a function name padded to 4 ("INT ", "FRAC"), or four blanks for none
//            29    "("
//            30-47 operand 1: a stored number "(" + 16 characters + ")" or a numeric name
//            49    the operator "+", "-", "*" or "/"
//            51-68 operand 2, like operand 1
//            69    ")"
//
// The result is stored in the stored-number form with certainty "99" and origin "02". It must
// lie between -99999999999.9991 and 999999999999.9991, the range in which that form fits.

/// Runs the computation lines below the slot of the computation task, one after the other,
/// until a line of another kind or the end of the consultation. `Uns_Wiss_Regel` is the
/// certainty of the fact that started the task (0 to 99).
void Formelaufruf(Consultation& consultation, int Uns_Wiss_Regel);

/// Evaluates the computation line `Text` at position `Pos_WB` and stores its result. An
/// operand that does not read as a number skips the line silently; an operand naming a missing
/// variable has been reported by the operand reading and skips the line too. Every other
/// failure (codes 2, 5, 6, 15) stores nothing and is reported at `Pos_WB`, which ends the
/// consultation.
void Formel(Consultation& consultation, int Pos_WB, int Uns_Wiss_Regel, std::string_view Text);

}  // namespace kelvo
