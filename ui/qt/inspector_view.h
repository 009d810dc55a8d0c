#pragma once

#include <QDialog>
#include <array>

#include "inspector/runtime_inspector.h"
#include "ui/qt/design_scale.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace kelvo {

/// TForm7, the runtime inspector's window ("Datenbasis"): the view title, the 17 rows with the
/// current entry in row 9, the scroll bar, the three watched variables, "Umschalten",
/// "Haltepunkt löschen" and "Zurück zum Programm", and above the last "Begründung", which shows
/// the current entry's evidence in a window of its own. Laid out at the model's scale; every
/// click, key and wheel turn goes to the model, and the window then shows the model's state again.
class InspectorView final : public QDialog {
    Q_OBJECT

  public:
    /// The client area before scaling.
    static constexpr int kClientWidth = 580;
    static constexpr int kClientHeight = 434;

    InspectorView(TForm7& model, QWidget* parent);

    QLabel* title() const { return title_; }
    QLabel* row(int k) const { return rows_[static_cast<std::size_t>(k - 1)]; }
    QScrollBar* scrollBar() const { return scrollBar_; }
    QLabel* watchedName(int k) const { return watchedNames_[static_cast<std::size_t>(k - 1)]; }
    QLabel* watchedValue(int k) const { return watchedValues_[static_cast<std::size_t>(k - 1)]; }
    QPushButton* switchButton() const { return switch_; }
    QPushButton* breakpointButton() const { return breakpoint_; }
    QPushButton* backButton() const { return back_; }
    QPushButton* explainButton() const { return explain_; }
    /// The hidden edit box that holds the focus and receives the keys.
    QLineEdit* keyBox() const { return keyBox_; }
    const DesignScale& scale() const { return scale_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    /// Shows the model's state.
    void Refresh();
    /// "Begründung": the model's lines in the modal ExplanationView.
    void ShowExplanation();
    /// Forwards one action to the model, then shows its state and gives the key box the focus.
    template <class Action>
    void Forward(Action action);

    TForm7& model_;
    DesignScale scale_;
    QLabel* title_ = nullptr;
    std::array<QLabel*, TForm7::kRows> rows_{};
    QScrollBar* scrollBar_ = nullptr;
    std::array<QLabel*, TForm7::kWatched> watchedNames_{};
    std::array<QLabel*, TForm7::kWatched> watchedValues_{};
    QPushButton* switch_ = nullptr;
    QPushButton* breakpoint_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* explain_ = nullptr;
    QLineEdit* keyBox_ = nullptr;
    int wheelRest_ = 0;
    bool refreshing_ = false;
};

}  // namespace kelvo
