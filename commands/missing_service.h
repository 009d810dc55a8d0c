#pragma once

#include <string_view>

namespace kelvo {

class VariableLine;

/// Tells the user, once per block and command letter, that the desktop service `service`
/// ("die Dateiauswahl", "die Zwischenablage" ...) which the line's command needs is not
/// available here. The block goes on.
void ReportMissingService(VariableLine& line, std::string_view service);

/// Hides the session window for as long as it lives (the commands that show a dialog or touch
/// files hide it and show it again afterwards, on every way out).
class HiddenSessionWindow {
  public:
    explicit HiddenSessionWindow(VariableLine& line);
    ~HiddenSessionWindow();
    HiddenSessionWindow(const HiddenSessionWindow&) = delete;
    HiddenSessionWindow& operator=(const HiddenSessionWindow&) = delete;

  private:
    VariableLine& line_;
};

}  // namespace kelvo
