#pragma once

#include <string>

namespace kelvo {

/// The editor state that outlives one editor window: the shell owns it for the program run
/// and hands it to every editor it opens. Texts are Windows-1252.
struct EditorState {
    /// ErrorLine: record position at which the next editor opens (set by the editor when it
    /// closes and by a consultation's error report); the shell resets it to 0 on closing.
    int errorLine = 0;
    /// MarkF5, MarkF6: positions remembered with F5 and F6; -1 = not set.
    int markF5 = -1;
    int markF6 = -1;
    /// BreakpointLine: line number (from 1) of the breakpoint; 0 = none.
    int breakpointLine = 0;
    /// EditorStartRequested: the editor closed asking for a consultation. The shell clears it
    /// before each opening.
    bool editorStartRequested = false;
    /// WheelPageMode: the mouse wheel jumps between project lines ("P").
    bool wheelPageMode = false;
    /// Ablage2Text, Ablage3Text: the editor's clipboards 2 and 3; empty at program start.
    std::string ablage2Text;
    std::string ablage3Text;
    /// LastFoundLine, LastFoundColumn: position of the last search hit; -1 = none.
    int lastFoundLine = -1;
    int lastFoundColumn = -1;
};

}  // namespace kelvo
