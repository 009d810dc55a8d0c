#pragma once

namespace kelvo {

class Consultation;

// Data exchange with another knowledge-base file. The exchange lines ("W") below a "«" or
// "»" header, or below a "= («)" or "= (»)" action, each carry one command:
//
//   columns  1      "W"
//   columns  3-32   name of the variable holding the other file's name
//   columns 34-51   command code: a number in parentheses or a numeric variable in brackets
//   columns 53-70   file kind, read the same way: 1 editable (".WBP"), 2 run-only (".WBB")
//
// The file's name is the variable's value, right-trimmed, with its last four characters
// replaced by ".WBP" or ".WBB"; it is resolved as a path of this system (ResolvePath). The
// other file's records are addressed by the number in "[+WBNR           ]", counted from 1.
//
// Records written into the other file (in a run-only file each gets the digit "1" appended
// as column 83):
//
//   comment       "K" + 81 blanks
//   variable      columns 1-32 "J " + name (30), columns 33-38 blanks, column 39 "." for
//                 the first piece of a value or "-" for each further one, column 40 blank,
//                 columns 41-70 the piece (30), blanks to column 82
//   blank count   columns 1-20 "J [+LEERZEICHEN    ]", columns 21-38 blanks, column 39 ".",
//                 column 40 blank, columns 41-58 the count as a stored number (the count in
//                 columns 42-57), blanks to column 82. It follows a variable record and
//                 says how many blanks come after that record's piece, whose trailing
//                 blanks the piece itself does not keep.
//   program line  the normalized line CheckProgramLine makes of a text (82 characters)
//
// Every change is written beside the file and renamed over it, so a failed command leaves
// the file as it was; a command that fails its checks changes nothing.

/// Carries out the read commands (2000, 2010, 2020, 2030, 2040, 2050) of the exchange lines
/// below the position in the "«" slot. Stops at the first line of another kind or after the
/// first failed line, which is reported (errors 17, 19, 20, 21) and ends the consultation.
void Wissensbasis_Lesen(Consultation& consultation);

/// Carries out the write commands (1000, 1010, 1015, 1020, 1025, 1030, 1050) of the exchange
/// lines below the position in the "»" slot, like Wissensbasis_Lesen.
void Wissensbasis_Schreiben(Consultation& consultation);

}  // namespace kelvo
