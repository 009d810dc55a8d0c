#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

class FactBase;
class KnowledgeBaseImage;

/// Number of page lines: line 0 is the caption, lines 1 to 25 the body.
inline constexpr int kPageLines = 26;
/// Width of a page line.
inline constexpr std::size_t kPageWidth = 80;

/// What the runtime inspector works on: the fact base of the running consultation (and through
/// it the record image with RecentStores), and the breakpoint, which the inspector may delete.
struct InspectorContext {
    FactBase& facts;
    int& breakpointLine;
    bool programmingModule = true;
    /// The texts of the editor's clipboards 2 and 3 (Windows-1252), the inspector's watched
    /// variables 2 and 3; empty where there is no editor.
    std::string ablage2Text{};
    std::string ablage3Text{};
    /// The evidence of a fact record as Windows-1252 text lines: `position` is its place in the
    /// image (the view of all records), or -1 for an entry of the recent stores, which is then
    /// found by its text `record`. Unset where explanations are off.
    std::function<std::vector<std::string>(int position, std::string_view record)> explainFact{};
};

/// The state a consultation page is built from.
struct PageRequest {
    /// 1 question page from `formPage`; 2 solution without closing text; 3 no solution.
    int formMode = 1;
    /// The page text, 80 characters per line (Windows-1252).
    std::array<std::string, kPageLines> formPage;
    /// Position of the page's first media line ("G") in the image; 0 when it has none.
    int firstMediaLine = 0;
    /// The fact record of the solution (mode 2 only).
    std::string solutionRecord;
};

/// How a page was left: the key code the consultation goes on with.
enum class PageOutcome {
    Continue = 13,  ///< "Weiter"
    Abort = 27,     ///< "Abbruch" confirmed, or the window closed
};

/// Why the runtime inspector is shown.
enum class InspectorReason { Breakpoint, BreakOff, Error, Page };

enum class CursorShape { Arrow, Hourglass };

/// The windows of a running consultation: the session window with its "Abbruch" button, the
/// modal consultation pages and the runtime inspector.
class SessionWindows {
  public:
    virtual ~SessionWindows() = default;

    /// Shows a consultation page modally while the session window is hidden. The page reads and
    /// stores its answers through `context.facts` (the image is `context.facts.image()`), and
    /// its "Datenbasis" command opens the inspector on the same context.
    virtual PageOutcome ShowPage(const PageRequest& page, InspectorContext& context) = 0;

    /// Shows the runtime inspector modally. `line` is the line number (from 1) it is about.
    virtual void ShowInspector(InspectorReason why, int line, InspectorContext& context) = 0;

    /// Hides or shows the session window.
    virtual void SetSessionWindowVisible(bool visible) = 0;

    virtual void SetCursor(CursorShape shape) = 0;

    /// Sets the text of the session window's label (Windows-1252).
    virtual void SetStatusText(std::string_view text) = 0;

    /// Lets at most one pending window event through. Returns true when that event was a click
    /// on the session window's "Abbruch" button.
    virtual bool PumpOneEvent() = 0;
};

}  // namespace kelvo
