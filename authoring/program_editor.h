#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/editor_button.h"
#include "authoring/editor_layout.h"
#include "authoring/editor_services.h"
#include "authoring/editor_state.h"
#include "store/atomic_file.h"
#include "store/knowledge_base_file.h"
#include "store/line_record.h"

namespace kelvo {

/// The message codes of Fehlermeldung.
enum class EditorMessage {
    BlockIntoItself = 2,  ///< copying or moving a block into itself
    FaultyLine = 3,       ///< Pruefen refused the line
    NameTaken = 100,      ///< block transfer to an existing file
    NotCreated = 101,     ///< block transfer, file not creatable
    NameWrong = 102,      ///< transfer from a file that cannot be opened
    NotFound = 200,       ///< search
    NoMoreEntries = 201,  ///< continued search
};

/// The text of a message code (Windows-1252); empty for an unknown code.
std::string_view EditorMessageText(int code);

/// The topic of the general help document.
inline constexpr std::string_view kGeneralHelpTopic = "liesmich";

/// The help topic of a line by its first character ("Regeln", "Aufgaben", ... "liesmich").
std::string_view HelpTopicFor(std::string_view line);

/// True if a consultation can stop at a line of this text (the breakpoint rule of
/// "Starten/Haltep.").
bool IsBreakpointAllowed(std::string_view line);

/// The program editor TForm2: the window's logic on the open knowledge-base file. It works on
/// the file record by record and keeps no copy of the program between commands. Commands
/// that change many records (insert, copy, move, delete, transfer in) replace the file's
/// content in one step through a new file, so that the file holds either the old or the new
/// program whatever happens; a failure is shown to the author and the editor goes on with
/// the program the file holds. Texts are Windows-1252.
class TForm2 {
  public:
    /// Rows above and below the current line.
    static constexpr int kRowsAround = 7;
    /// BlockStart and BlockEnd of no block.
    static constexpr int kNoBlock = -100;
    /// The longest text typed into Edit8.
    static constexpr std::size_t kEdit8MaxLength = 82;

    /// One line row: its 83 characters and whether it lies in the block (red).
    struct LineRow {
        std::string text;
        bool red = false;
    };

    /// The mark status label Label7: its text, red while a mark is set, white otherwise.
    struct StatusLabel {
        std::string text;
        bool red = false;
    };

    /// The selection in Edit8, 0-based; the caret is at its end.
    struct TextSelection {
        int start = 0;
        int length = 0;
    };

    struct ScrollBarState {
        int position = 0;
        int minimum = 0;
        int maximum = 0;
    };

    /// The three states of the block buttons.
    enum class BlockButtons { NoBlock, StartChosen, BlockMarked };

    /// FormCreate and Loaded on the open file (read-write; the shell keeps it open).
    TForm2(KnowledgeBaseFile& file, EditorState& state, EditorServices& services);
    TForm2(const TForm2&) = delete;
    TForm2& operator=(const TForm2&) = delete;

    // ---- What the window shows -------------------------------------------------------------

    /// True once the editor has closed ("Schließen", "Abbruch", "Starten", "Starten/Haltep.").
    bool Closed() const { return closed_; }
    /// CurrentLine: record position of the current line (0 in an empty file).
    int CurrentLine() const { return currentLine_; }
    /// Edit8's text.
    const std::string& Edit8Text() const { return edit8_; }
    /// Edit8 is marked as changed by the author (or by Fuellzeichen_einfuegen).
    bool Edit8Changed() const { return edit8Changed_; }
    /// Edit8 is read-only while Enter is held down.
    bool Edit8ReadOnly() const { return edit8ReadOnly_; }
    /// Edit8's text is red (the current line lies in the block).
    bool Edit8Red() const { return edit8Red_; }
    /// The row at `offset` (-7 to -1 above, 1 to 7 below the current line); blanks for 0 or
    /// an offset outside.
    LineRow Row(int offset) const;
    /// The line counter Zeilenanzeige, "Zeile = " and the line number in 6 columns.
    const std::string& Counter() const { return counter_; }
    /// Label7 from the marks F5 and F6.
    StatusLabel Label7() const;
    int BlockStart() const { return blockStart_; }
    int BlockEnd() const { return blockEnd_; }
    BlockButtons ButtonState() const { return buttons_; }
    /// Whether a button can be clicked.
    bool Enabled(EditorButton button) const;
    TextSelection Selection() const { return selection_; }
    /// CheckBox1 "Markierungszeichen" is checked.
    bool Markierungszeichen() const { return markierungszeichen_; }
    ScrollBarState ScrollBar() const { return scrollBar_; }
    /// The search text, upper case.
    const std::string& SuchString() const { return suchString_; }
    /// The factor the window and its components are scaled by.
    double ScaleFactor() const { return scale_.factor; }
    /// The window's place and size after scaling.
    WindowRect Window() const { return scale_.window; }
    /// Every component of the window as designed.
    static std::span<const EditorComponent> Components() { return EditorComponents(); }

    // ---- The author's input ----------------------------------------------------------------

    /// Replaces Edit8's whole text as typed (cut to 82 characters), caret at its end, and marks
    /// it changed. Ignored while Edit8 is read-only.
    void TypeText(std::string_view text);
    /// Selects `length` characters of Edit8 from `start` (0-based), limited to the text.
    void SetSelection(int start, int length);
    /// A key pressed and released in Edit8.
    void PressKey(EditorKey key);
    /// Clicks a button (CheckBox1 toggles the check box). Returns false, doing nothing, when
    /// the button is disabled.
    bool Click(EditorButton button);

    // ---- Event handlers -------------------------------------------------------------------

    void Edit8KeyDown(EditorKey key);
    void Edit8KeyUp(EditorKey key);
    void EinfuegenClick();
    void AnfangClick();
    void Minus_1Click();
    void Plus_1Click();
    void EndeClick();
    /// A click on the line row at `offset` (-7 to -1, 1 to 7).
    void Text1Click(int offset);
    /// The scroll bar moved to `position`.
    void ScrollBar1Scroll(int position);
    /// One wheel message; a negative delta rolls towards the author (down).
    void MouseWheelHandler(int delta);
    /// A mouse button pressed on the window, a line row or Edit8.
    void FormMouseDown(MouseButton button);
    /// The check box "Markierungszeichen" changed to `checked`.
    void CheckBox1Click(bool checked);
    void Schliesen_1Click();
    void AbbruchClick();

    void Von_1Click();
    void Bis_1Click();
    void Aus_1Click();
    void Verschieben_1Click();
    void Loeschen_1Click();
    void Kopieren_1Click();
    void Ueb_1Click();
    void Drucken_1Click();
    /// The special-character and clipboard buttons; `sender` names which.
    void So_Zei_P1Click(EditorButton sender);
    /// "Suchen" and "Weitersuchen"; `sender` names which.
    void SuchenClick(EditorButton sender);
    /// "Hilfe   (Allgemein)": the general help document.
    void Hilfe_1Click();
    /// "Hilfe zu Befehlen" and F1: the help document of the current line's kind.
    void Button1Click();
    void Schliesen_StartenClick();
    void Starten_HaltepunktClick();

    // ---- Operations -----------------------------------------------------------------------

    /// Redraws the rows, Edit8, the scroll bar and the counter from the file.
    void Programmzeilen_aktualisieren();
    /// Shows the blanks of Edit8's text value as "$" and marks Edit8 changed.
    void Fuellzeichen_einfuegen();
    /// Checks Edit8 and stores its normalized line at CurrentLine. False (message shown, file
    /// unchanged) when the line is faulty or cannot be stored.
    bool Pruefen();
    /// Stores the current line if changed, then moves by `sprungbefehl` (-1000000 first line,
    /// +1000000 last line). Returns false, not moving, when the line is faulty.
    bool Editorposition_aktualisieren(int sprungbefehl);
    /// Beep and the information box of a message code.
    void Fehlermeldung(int fehler);
    /// 1 the arrow cursor, 2 the hourglass.
    void Abbruchfenster(int status);
    /// The block operations on the block as it stands (no check of the current line, no
    /// clearing of the block afterwards).
    void Kopieren();
    void Loeschen();
    void Verschieben();

  private:
    int RecordCount() const;
    std::string RecordText(int position) const;
    bool CheckCurrentLine();
    void Load();
    void SetButtons(BlockButtons state);
    void EndBlockCommand();
    void ClearMarks();
    void MarkKey(int& mark);
    void MoveToProjectLine(int direction);
    void InsertIntoEdit8(std::string_view text);
    void OpenHelp(std::string_view topic);
    void ShowWriteFailure(const ReplaceOutcome& outcome);
    void ShowFileFailure(std::string_view what, const Error& error);
    bool ReadProgram(std::vector<LineRecord>& records);
    bool WriteProgram(const std::vector<LineRecord>& records);
    bool CopyInto(std::vector<LineRecord>& records, int& currentLine, int& blockStart,
                  int& blockEnd) const;
    void DeleteFrom(std::vector<LineRecord>& records, int& currentLine, int blockStart,
                    int blockEnd, int& markF5, int& markF6) const;
    bool BlockIsMarked() const;
    void TransferIn();
    void TransferOut();
    void PrintBlock();
    void Search(bool continued);
    void Close();

    KnowledgeBaseFile& file_;
    EditorState& state_;
    EditorServices& services_;

    EditorScale scale_;
    int currentLine_ = 0;
    std::string edit8_;
    bool edit8Changed_ = false;
    bool edit8ReadOnly_ = false;
    bool edit8Red_ = false;
    TextSelection selection_;
    std::vector<LineRow> rows_;  // offsets -7..-1, then 1..7
    std::string counter_;
    ScrollBarState scrollBar_;
    int blockStart_ = kNoBlock;
    int blockEnd_ = kNoBlock;
    BlockButtons buttons_ = BlockButtons::NoBlock;
    bool markierungszeichen_ = false;
    std::string suchString_;
    bool weitersuchenEnabled_ = false;
    int wheelMessages_ = 0;
    bool compileAbort_ = false;
    bool closed_ = false;
};

}  // namespace kelvo
