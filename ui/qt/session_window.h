#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace kelvo {

/// TForm5, the session window ("Vorgangsfenster"): "Bearbeitung läuft !" and "Abbruch" on
/// white, at (50, 50) of the screen. It only shows; QtSessionWindows drives it.
class SessionWindowView final : public QWidget {
    Q_OBJECT

  public:
    explicit SessionWindowView(QWidget* parent);

    QLabel* label() const { return label_; }
    QPushButton* abortButton() const { return abort_; }
    /// Sets the label's text and widens the window when the text needs it.
    void SetStatusText(const QString& text);
    /// True once the window was painted.
    bool painted() const { return painted_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    /// The title bar's close button is a click on "Abbruch": the window closes only when the
    /// consultation ends.
    void closeEvent(QCloseEvent* event) override;

  private:
    QLabel* label_;
    QPushButton* abort_;
    bool painted_ = false;
};

}  // namespace kelvo
