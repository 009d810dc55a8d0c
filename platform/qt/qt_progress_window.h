#pragma once

#include <memory>

#include "platform/progress_window.h"
#include "platform/qt/event_pump.h"

class QWidget;
class QLabel;
class QProgressBar;
class QPushButton;

namespace kelvo {

/// TForm3, the progress window: caption "Vorgangsfenster", no title-bar buttons, "Bearbeitung
/// läuft !" beside a busy progress bar, and "Abbruch". While it shows, the other windows take
/// no input, so the command it watches cannot be started a second time from them.
class QtProgressWindow final : public ProgressWindow {
  public:
    explicit QtProgressWindow(int pumpInterval = EventPump::kDefaultInterval);
    ~QtProgressWindow() override;
    QtProgressWindow(const QtProgressWindow&) = delete;
    QtProgressWindow& operator=(const QtProgressWindow&) = delete;

    void Show() override;
    void Close() override;
    bool PumpOneEvent() override;

    /// The window while it shows; null otherwise.
    QWidget* window() const { return window_.get(); }
    QLabel* label() const { return label_; }
    QProgressBar* bar() const { return bar_; }
    QPushButton* abortButton() const { return button_; }

  private:
    EventPump pump_;
    std::unique_ptr<QWidget> window_;
    QLabel* label_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* button_ = nullptr;
    bool clicked_ = false;
};

}  // namespace kelvo
