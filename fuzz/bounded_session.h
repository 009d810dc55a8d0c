#pragma once

// The message boxes and session windows of a fuzzed run: the scripted platform's, with a
// budget of engine steps. Every call of the window-event pump (the engine's Ausst) is one step;
// once the budget is spent the pump requests a break-off, every "Programm beenden ?" is
// answered yes, every other question no, and pages close as "Abbruch". A consultation whose
// loops all reach Ausst therefore ends after a fixed number of steps, without a timer.

#include <string_view>

#include "platform/dialogs.h"
#include "platform/session_windows.h"

namespace kelvo {

class ScriptedPlatform;

class BoundedSession final : public Dialogs, public SessionWindows {
  public:
    /// The steps one fuzzed run may take.
    static constexpr int kDefaultSteps = 20000;

    BoundedSession(ScriptedPlatform& platform, int steps = kDefaultSteps)
        : platform_(platform), stepsLeft_(steps) {}

    /// True once the budget is spent: the run is being ended.
    bool Spent() const { return stepsLeft_ <= 0; }

    // Dialogs
    MessageAnswer MessageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                             MessageButtons buttons) override;

    // SessionWindows
    PageOutcome ShowPage(const PageRequest& page, InspectorContext& context) override;
    void ShowInspector(InspectorReason why, int line, InspectorContext& context) override;
    void SetSessionWindowVisible(bool visible) override;
    void SetCursor(CursorShape shape) override;
    void SetStatusText(std::string_view text) override;
    bool PumpOneEvent() override;

  private:
    /// Counts one step; false when the budget is spent.
    bool Step();

    ScriptedPlatform& platform_;
    int stepsLeft_;
};

}  // namespace kelvo
