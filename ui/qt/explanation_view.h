#pragma once

#include <QDialog>
#include <QSize>
#include <QStringList>
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
    /// The smallest opening size before scaling; a longer tree opens larger, as far as the
    /// screen has room.
    static constexpr int kWidth = 560;
    static constexpr int kHeight = 400;

    /// `lines` are Windows-1252.
    ExplanationView(const std::vector<std::string>& lines, const DesignScale& scale,
                    QWidget* parent);

    QPlainTextEdit* text() const { return text_; }
    QPushButton* closeButton() const { return close_; }

  private:
    QSize OpeningSize(const QStringList& shown, const DesignScale& scale) const;

    QPlainTextEdit* text_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace kelvo
