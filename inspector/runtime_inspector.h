#pragma once

// TForm7, the runtime inspector, without a window: the 20 most recent stores or all fact
// records in 17 rows around the current entry, three watched variables and the breakpoint.
// It reads the fact base and changes nothing in it; texts are Windows-1252. Where the
// consultation keeps the evidence of its facts, "Begründung" shows it for the current entry.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

class FactBase;

/// The keys the inspector's hidden edit box `Edit_Hilf` acts on.
enum class InspectorKey { Up, Down, PageUp, PageDown };

/// The evidence of a fact record as Windows-1252 lines: `position` is the record's place in the
/// image, or -1 for an entry of the recent stores, which is then found by its text `record`.
using FactExplainer =
    std::function<std::vector<std::string>(int position, std::string_view record)>;

class TForm7 {
  public:
    static constexpr int kRows = 17;
    static constexpr int kMiddleRow = 9;
    static constexpr int kWatched = 3;

    struct Watched {
        std::string name;   ///< 30 characters
        std::string value;  ///< the found value, or "Fehler" padded to 30
    };

    /// Creates and shows the inspector (FormCreate, then FormShow): the watched variables from
    /// `watchedSources` (the system clipboard and the editor's clipboards 2 and 3), the
    /// breakpoint button, the window size for a main window of `mainWidth` x `mainHeight` client
    /// pixels, and view 1 with the most recent store in the middle row. `explainFact` gives
    /// the evidence of a fact record for "Begründung"; unset, the button stays disabled.
    TForm7(FactBase& facts, int& breakpointLine,
           const std::array<std::string, kWatched>& watchedSources, int mainWidth, int mainHeight,
           FactExplainer explainFact = {});

    /// The display line of a fact record: two blanks, the name, " (", the certainty, ") . ",
    /// the value (70 characters); carriage returns, line feeds and tabs shown as "#".
    static std::string Umwandeln(std::string_view record);

    void UmschaltenClick();
    /// Moves the current entry by `jump`, kept within the view; redraws.
    void Editorposition_aktualisieren(int jump);
    void Edit_HilfKeyDown(InspectorKey key);
    /// A click on row `row` (1 to 17): that entry moves to the middle row.
    void text1Click(int row);
    void ScrollBar1Scroll(int position);
    /// One wheel message; every second one moves by one entry (a negative delta downwards).
    void MouseWheelHandler(int delta);
    void Haltepunkt_loeschenClick();

    /// The image position of the current entry in the view of all records; -1 in the view of
    /// the recent stores and when the view shows no entry.
    int SelectedPosition() const;
    /// The record text of the current entry (Windows-1252); empty when the view shows no entry
    /// or the entry is a recent store not yet written ("Leer").
    std::string SelectedRecord() const;
    /// True when "Begründung" can act: the evidence is kept and the current entry is a fact
    /// record.
    bool BegruendungEnabled() const;
    /// "Begründung": the evidence of the current entry's fact, one Windows-1252 line each; one
    /// line saying so when nothing is known about it; empty when the button is disabled.
    std::vector<std::string> BegruendungClick() const;

    int View() const { return view_; }
    int First() const { return first_; }
    int Limit() const { return limit_; }
    int Current() const { return current_; }
    const std::string& Title() const { return title_; }
    const std::array<std::string, kRows>& Rows() const { return rows_; }
    const std::array<Watched, kWatched>& WatchedVariables() const { return watched_; }
    bool BreakpointButtonEnabled() const { return breakpointEnabled_; }
    int ScrollMin() const { return 1; }
    int ScrollMax() const { return scrollMax_; }
    int ScrollPosition() const { return scrollPosition_; }
    /// The window's size in pixels and the scale of its contents (over 10000).
    int WindowWidth() const { return windowWidth_; }
    int WindowHeight() const { return windowHeight_; }
    int Scale() const { return scale_; }

  private:
    void SetView(int view);
    void Programmzeilen_aktualisieren();
    void Beobachtete_Variablen_einfuegen(const std::array<std::string, kWatched>& sources);
    std::string Entry(int n) const;
    bool HasCurrentEntry() const;

    FactBase& facts_;
    int& breakpointLine_;
    FactExplainer explainFact_;
    int view_ = 2;
    int first_ = 1;
    int limit_ = 1;
    int current_ = 1;
    int scrollMax_ = 1;
    int scrollPosition_ = 1;
    int wheelMessages_ = 0;
    bool breakpointEnabled_ = false;
    std::string title_;
    std::array<std::string, kRows> rows_{};
    std::array<Watched, kWatched> watched_{};
    int windowWidth_ = 0;
    int windowHeight_ = 0;
    int scale_ = 10000;
};

}  // namespace kelvo
