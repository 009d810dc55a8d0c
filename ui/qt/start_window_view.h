#pragma once

#include <QDialog>
#include <QImage>

namespace kelvo {

class TForm4;

/// Our own start picture, 200 x 250: the product's name over a small rule network, drawn
/// here (no picture file is needed).
QImage StartPicture();

/// TForm4, the start window: no border, the start picture while the model marks it (the
/// programming module), invisible in the user module. After its first paint the model waits
/// and chooses (WndProcPaint); then the window closes.
class StartWindowView final : public QDialog {
    Q_OBJECT

  public:
    StartWindowView(TForm4& model, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TForm4& model_;
    QImage picture_;
    bool painted_ = false;
};

}  // namespace kelvo
