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

// file_commands.cc
void CopyFiles(VariableLine& line);            ///< "O" copy files or a folder
void CreateFolder(VariableLine& line);         ///< "I" create a folder path
void MoveOrRename(VariableLine& line);         ///< "U" move or rename
void DeleteMatchingFiles(VariableLine& line);  ///< "Ö" delete files
void FileExists(VariableLine& line);           ///< "J" does a file exist
void OpenFileDialog(VariableLine& line);       ///< "W" file-open dialog
void SaveFileDialog(VariableLine& line);       ///< "F" file-save dialog
void SaveText(VariableLine& line);             ///< "1" write a text file
void LoadText(VariableLine& line);             ///< "2" read a text file
void SaveRichText(VariableLine& line);         ///< "3" write a ".RTF" file
void LoadRichText(VariableLine& line);         ///< "4" read a ".RTF" file

// program_commands.cc
void OpenDocument(VariableLine& line);        ///< "H" open through the desktop
void StartProgram(VariableLine& line);        ///< "X" start a program
void ShowMessageBox(VariableLine& line);      ///< "M" message box
void PrinterSetup(VariableLine& line);        ///< "R" printer set-up
void CopyToClipboard(VariableLine& line);     ///< "»" to the clipboard
void PasteFromClipboard(VariableLine& line);  ///< "«" from the clipboard
void SystemValue(VariableLine& line);         ///< "V" system values

// database_command.cc
void RunSqlStatement(VariableLine& line);  ///< "Ä" an SQL statement on a database file

// automation_command.cc
void RunAutomation(VariableLine& line);  ///< "/" keys, mouse, screen and pauses

}  // namespace kelvo
