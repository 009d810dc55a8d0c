#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kelvo {

struct AboutBox;

/// TAboutBox, the information box: the product's name, its version line and OK, centred on
/// the screen.
class AboutBoxView final : public QDialog {
    Q_OBJECT

  public:
    AboutBoxView(const AboutBox& about, QWidget* parent);

    QLabel* productName() const { return product_; }
    QLabel* version() const { return version_; }
    QPushButton* okButton() const { return ok_; }

  private:
    QLabel* product_;
    QLabel* version_;
    QPushButton* ok_;
};

}  // namespace kelvo
