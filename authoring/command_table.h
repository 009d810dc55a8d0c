#pragma once

#include <array>
#include <cstddef>

#include "authoring/line_tokens.h"

namespace kelvo {

// The commands of variable lines ("J"): token 2 is one command character (upper-cased), and
// the forms token 3 may take depend on the command and on whether token 1 is a numeric or a
// text "+" name. In token 3 a numeric name is checked under rule plus and a text name under
// rule double-plus. An empty form set means the command is faulty after that kind of name.
struct CommandOperands {
    char command;              ///< Windows-1252, upper case
    FormSet afterNumericName;  ///< token 1 is "[+...]"
    FormSet afterTextName;     ///< token 1 is "+..."
};

namespace command_forms {
inline constexpr FormSet kNumber = kNumberForm;
inline constexpr FormSet kName = kNumericNameForm | kTextNameForm;
inline constexpr FormSet kNumeric = kNumericNameForm;
inline constexpr FormSet kText = kTextNameForm;
inline constexpr FormSet kValue = kTextValueForm;
inline constexpr FormSet kFaulty = kNoForm;
}  // namespace command_forms

// ORDER: the first nine rows are the commands with their own operand forms; the 31 rows after
// them all take a text name after a text "+" name and are faulty after a numeric one.
// kSharedFormCommands relies on that split (checked below).
inline constexpr std::array<CommandOperands, 40> kCommandTable{{
    // command   after [+numeric]                    after +text
    {'.', command_forms::kNumber, command_forms::kValue},
    {'=', command_forms::kName, command_forms::kName},
    {'L', command_forms::kText, command_forms::kFaulty},
    {'D', command_forms::kText, command_forms::kNumeric},
    {'Z', command_forms::kText, command_forms::kNumeric},
    {'S', command_forms::kFaulty, command_forms::kName},
    {'-', command_forms::kFaulty,
     command_forms::kNumber | command_forms::kNumeric | command_forms::kValue},
    {'Q', command_forms::kFaulty, command_forms::kNumber | command_forms::kNumeric},
    {'C', command_forms::kFaulty,
     command_forms::kNumber | command_forms::kNumeric | command_forms::kText},
    // the text commands: a text name after a text "+" name only
    {'A', command_forms::kFaulty, command_forms::kText},
    {'B', command_forms::kFaulty, command_forms::kText},
    {'+', command_forms::kFaulty, command_forms::kText},
    {'K', command_forms::kFaulty, command_forms::kText},
    {'G', command_forms::kFaulty, command_forms::kText},
    {'O', command_forms::kFaulty, command_forms::kText},
    {'U', command_forms::kFaulty, command_forms::kText},
    {'\xD6', command_forms::kFaulty, command_forms::kText},  // Ö
    {'/', command_forms::kFaulty, command_forms::kText},
    {'W', command_forms::kFaulty, command_forms::kText},
    {'F', command_forms::kFaulty, command_forms::kText},
    {'R', command_forms::kFaulty, command_forms::kText},
    {'M', command_forms::kFaulty, command_forms::kText},
    {'X', command_forms::kFaulty, command_forms::kText},
    {'I', command_forms::kFaulty, command_forms::kText},
    {'V', command_forms::kFaulty, command_forms::kText},
    {'\xC4', command_forms::kFaulty, command_forms::kText},  // Ä
    {'E', command_forms::kFaulty, command_forms::kText},
    {'>', command_forms::kFaulty, command_forms::kText},
    {'<', command_forms::kFaulty, command_forms::kText},
    {'P', command_forms::kFaulty, command_forms::kText},
    {'\xDC', command_forms::kFaulty, command_forms::kText},  // Ü
    {'\xBB', command_forms::kFaulty, command_forms::kText},  // »
    {'\xAB', command_forms::kFaulty, command_forms::kText},  // «
    {'H', command_forms::kFaulty, command_forms::kText},
    {'1', command_forms::kFaulty, command_forms::kText},
    {'2', command_forms::kFaulty, command_forms::kText},
    {'3', command_forms::kFaulty, command_forms::kText},
    {'4', command_forms::kFaulty, command_forms::kText},
    {'N', command_forms::kFaulty, command_forms::kText},
    {'J', command_forms::kFaulty, command_forms::kText},
}};

/// Index of the first command of the shared-form group.
inline constexpr std::size_t kSharedFormCommands = 9;

/// The row of a command character (upper case), or nullptr when it is no command.
constexpr const CommandOperands* FindCommand(char command) {
    for (const CommandOperands& row : kCommandTable) {
        if (row.command == command) {
            return &row;
        }
    }
    return nullptr;
}

namespace command_table_checks {

constexpr bool CommandsAreDistinct() {
    for (std::size_t i = 0; i < kCommandTable.size(); ++i) {
        for (std::size_t j = i + 1; j < kCommandTable.size(); ++j) {
            if (kCommandTable[i].command == kCommandTable[j].command) {
                return false;
            }
        }
    }
    return true;
}

constexpr bool SharedGroupIsUniform() {
    for (std::size_t i = kSharedFormCommands; i < kCommandTable.size(); ++i) {
        if (kCommandTable[i].afterNumericName != command_forms::kFaulty ||
            kCommandTable[i].afterTextName != command_forms::kText) {
            return false;
        }
    }
    for (std::size_t i = 0; i < kSharedFormCommands; ++i) {
        if (kCommandTable[i].afterNumericName == command_forms::kFaulty &&
            kCommandTable[i].afterTextName == command_forms::kText) {
            return false;
        }
    }
    return true;
}

// A slot never admits both a text name and a text value: they share one shape.
constexpr bool NoSlotMixesNameAndValue() {
    for (const CommandOperands& row : kCommandTable) {
        for (FormSet forms : {row.afterNumericName, row.afterTextName}) {
            if ((forms & kTextNameForm) != 0 && (forms & kTextValueForm) != 0) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace command_table_checks

static_assert(command_table_checks::CommandsAreDistinct(), "a command character is listed twice");
static_assert(command_table_checks::SharedGroupIsUniform(),
              "ORDER: the nine commands with own operand forms come first");
static_assert(command_table_checks::NoSlotMixesNameAndValue(),
              "text name and text value cannot share a slot");
static_assert(FindCommand(' ') == nullptr, "a blank is never a command");

}  // namespace kelvo
