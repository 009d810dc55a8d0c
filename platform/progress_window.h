#pragma once

namespace kelvo {

/// The progress window ("Vorgangsfenster" with "Bearbeitung läuft !" and "Abbruch"), shown
/// without being modal while a long command runs (deriving the run-only file, printing a
/// block of the editor). The command lets one window event through between its steps.
class ProgressWindow {
  public:
    virtual ~ProgressWindow() = default;

    /// Creates and shows the window; its "Abbruch" is not yet clicked.
    virtual void Show() = 0;

    /// Closes and frees the window.
    virtual void Close() = 0;

    /// Lets at most one pending window event through. Returns true when that event was a click
    /// on the window's "Abbruch" button.
    virtual bool PumpOneEvent() = 0;
};

}  // namespace kelvo
