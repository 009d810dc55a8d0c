#include "commands/command_dispatch.h"

#include <string>

#include "authoring/command_table.h"
#include "commands/command_handlers.h"
#include "commands/variable_command.h"

namespace kelvo {
namespace {

// The 40 command letters with their handlers. The order is that of
// the command overview (assignments, expression, text, date and time, files, database, goal
// list and session, automation, programs and system values); lookups do not depend on it.
constexpr std::array<VariableCommand, kVariableCommandCount> kVariableCommands{{
    {'.', AssignLiteral},
    {'=', CopyConverting},
    {'>', StoreIndirectly},
    {'<', LoadIndirectly},
    {'C', SetCertainty},
    {'P', EvaluateOperand},
    {'+', AppendVariable},
    {'-', AppendLiteral},
    {'K', LowerCase},
    {'G', UpperCase},
    {'L', TextLength},
    {'S', PartOfText},
    {'B', SearchText},
    {'A', CompareTexts},
    {'\xDC', SubstituteVariables},  // Ü
    {'D', ConvertDate},
    {'Z', ConvertTime},
    {'O', CopyFiles},               // copy files or a folder
    {'I', CreateFolder},            // create a folder path
    {'U', MoveOrRename},            // move or rename
    {'\xD6', DeleteMatchingFiles},  // Ö delete files
    {'J', FileExists},              // does a file exist
    {'W', OpenFileDialog},          // file-open dialog
    {'F', SaveFileDialog},          // file-save dialog
    {'1', SaveText},                // write a text file
    {'2', LoadText},                // read a text file
    {'3', SaveRichText},            // write an RTF file
    {'4', LoadRichText},            // read an RTF file
    {'\xC4', RunSqlStatement},      // Ä SQL statement
    {'Q', ListGoals},
    {'E', EndConsultation},
    {'N', RestartConsultation},
    {'/', RunAutomation},          // keyboard, mouse and screen
    {'H', OpenDocument},           // open through the shell
    {'X', StartProgram},           // start a program
    {'M', ShowMessageBox},         // message box
    {'R', PrinterSetup},           // printer set-up
    {'\xBB', CopyToClipboard},     // » to the clipboard
    {'\xAB', PasteFromClipboard},  // « from the clipboard
    {'V', SystemValue},            // system values
}};

constexpr bool LettersAreDistinct() {
    for (std::size_t i = 0; i < kVariableCommands.size(); ++i) {
        for (std::size_t j = i + 1; j < kVariableCommands.size(); ++j) {
            if (kVariableCommands[i].letter == kVariableCommands[j].letter) {
                return false;
            }
        }
    }
    return true;
}

// Every command the line grammar admits has an entry here, and no other.
constexpr bool MatchesTheGrammar() {
    for (const CommandOperands& grammar : kCommandTable) {
        bool found = false;
        for (const VariableCommand& command : kVariableCommands) {
            found = found || command.letter == grammar.command;
        }
        if (!found) {
            return false;
        }
    }
    return kCommandTable.size() == kVariableCommands.size();
}

static_assert(LettersAreDistinct(), "a command letter is listed twice");
static_assert(MatchesTheGrammar(), "the command letters differ from those of the line grammar");

}  // namespace

const VariableCommand* FindVariableCommand(char letter) {
    for (const VariableCommand& command : kVariableCommands) {
        if (command.letter == letter) {
            return &command;
        }
    }
    return nullptr;
}

void DispatchVariableCommand(VariableLine& line) {
    // A letter outside the table cannot pass the line grammar; a damaged record runs nothing.
    const VariableCommand* command = FindVariableCommand(line.Command());
    if (command != nullptr) {
        command->handler(line);
    }
}

}  // namespace kelvo
