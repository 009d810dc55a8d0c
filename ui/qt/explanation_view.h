#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "ui/qt/design_scale.h"

class QPlainTextEdit;
class QPushButton;

namespace kelvo {

/// The "Begründung" window of the inspector: the evidence of one fact, a line each, read-only in
/// a fixed-width font and scrollable both ways, with "Schließen"; Escape closes it too. Modal
/// and resizable; laid out at the inspector's scale.
class ExplanationView final : public QDialog {
    Q_OBJECT

  public:
    /// The size before scaling.
    static constexpr int kWidth = 560;
    static constexpr int kHeight = 400;

    /// `lines` are Windows-1252.
    ExplanationView(const std::vector<std::string>& lines, const DesignScale& scale,
                    QWidget* parent);

    QPlainTextEdit* text() const { return text_; }
    QPushButton* closeButton() const { return close_; }

  private:
    QPlainTextEdit* text_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace kelvo
