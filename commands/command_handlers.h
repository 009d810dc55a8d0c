#pragma once

namespace kelvo {

class VariableLine;

// The handlers of the command letters, by family. Each follows the operand conventions of
// VariableLine and calls Fail() when a variable it requires does not exist.

// assignment_commands.cc
void AssignLiteral(VariableLine& line);    ///< "." the literal operand
void CopyConverting(VariableLine& line);   ///< "=" copy, converting number and text
void StoreIndirectly(VariableLine& line);  ///< ">" into the variable the operand names
void LoadIndirectly(VariableLine& line);   ///< "<" from the variable the name names
void SetCertainty(VariableLine& line);     ///< "C" the certainty of the name variable

// expression_command.cc
void EvaluateOperand(VariableLine& line);  ///< "P" the operand's text as an expression

// text_commands.cc
void AppendVariable(VariableLine& line);       ///< "+" the operand variable or a line break
void AppendLiteral(VariableLine& line);        ///< "-" the literal operand or a line break
void LowerCase(VariableLine& line);            ///< "K"
void UpperCase(VariableLine& line);            ///< "G"
void TextLength(VariableLine& line);           ///< "L"
void PartOfText(VariableLine& line);           ///< "S" part of a text or a number
void SearchText(VariableLine& line);           ///< "B"
void CompareTexts(VariableLine& line);         ///< "A" similarity into "[+AEHNLICH       ]"
void SubstituteVariables(VariableLine& line);  ///< "Ü" fill variable fields

// date_time_commands.cc
void ConvertDate(VariableLine& line);  ///< "D"
void ConvertTime(VariableLine& line);  ///< "Z"

// session_commands.cc
void ListGoals(VariableLine& line);            ///< "Q"
void EndConsultation(VariableLine& line);      ///< "E"
void RestartConsultation(VariableLine& line);  ///< "N"

}  // namespace kelvo
