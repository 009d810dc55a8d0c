#pragma once

#include <array>
#include <cstddef>

namespace kelvo {

/// The task slots of a fact, one per task kind. A slot holds the position of the line directly
/// above the body to run (the header, or inside a task block the action line); -1 = no task.
/// The numbers are those of the slot table and index `TaskSlots`.
enum class TaskSlot : int {
    Computation = 0,       ///< "H", "= (H)": computation lines "M"
    OldDatabaseRead = 1,   ///< "<", "= (<)": old database lines "D"
    OldDatabaseWrite = 2,  ///< ">", "= (>)": old database lines "D"
    Display = 3,           ///< "N", "= (N)": text pages "T" and "G"
    Print = 4,             ///< "C", "= (C)": print texts "T"
    JumpBack = 5,          ///< "X": its "Y" line
    Block = 6,             ///< "B": action lines "="
    WriteOther = 7,        ///< "»", "= (»)": data exchange lines "W"
    ReadOther = 8,         ///< "«", "= («)": data exchange lines "W"
    VariableCommands = 9,  ///< "V", "= (V)": variable command lines "J"
    Unused = 10,
};

inline constexpr std::size_t kTaskSlotCount = 11;

using TaskSlots = std::array<int, kTaskSlotCount>;

/// The slot of a task header kind (column 1 of a header line), or -1 for another kind.
constexpr int SlotOfHeaderKind(char kind) {
    switch (kind) {
        case 'H':
            return 0;
        case '<':
            return 1;
        case '>':
            return 2;
        case 'N':
            return 3;
        case 'C':
            return 4;
        case 'X':
            return 5;
        case 'B':
            return 6;
        case '\xBB':
            return 7;  // »
        case '\xAB':
            return 8;  // «
        case 'V':
            return 9;
        default:
            return -1;
    }
}

}  // namespace kelvo
