#pragma once

#include <QDialog>
#include <map>
#include <string>

#include "authoring/program_editor.h"
#include "ui/qt/design_scale.h"

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QScrollBar;

namespace kelvo {

/// TForm2, the program editor's window: every component of the model's design table at its
/// position and size times the model's scale, the 14 line rows and Edit8 in the Courier grid,
/// block rows red, Edit8 silver. Typing, keys (Enter held keeps Edit8 read-only), clicks on
/// rows and buttons, the wheel, the middle button and the scroll bar go to the model; after
/// each the window shows the model again. Run with exec(); it returns when the model closed.
class EditorView final : public QDialog {
    Q_OBJECT

  public:
    EditorView(TForm2& model, QWidget* parent);

    /// The widget of a component by its design name ("Edit8", "Text3", "Von_1", ...); null
    /// for a file dialog or an unknown name.
    QWidget* component(std::string_view name) const;
    QLineEdit* edit8() const { return edit8_; }
    /// The row at `offset` (-7 to -1, 1 to 7).
    QLabel* row(int offset) const;
    QAbstractButton* button(EditorButton button) const;
    QScrollBar* scrollBar() const { return scrollBar_; }
    QLabel* counter() const { return counter_; }
    QLabel* markLabel() const { return label7_; }
    const DesignScale& scale() const { return scale_; }

    /// Shows the model's state.
    void Refresh();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

  private:
    void Build();
    /// Forwards one action to the model, shows its state and ends the window once the model
    /// has closed.
    template <class Action>
    void Forward(Action action);
    bool EditKey(QKeyEvent* key, bool press);

    TForm2& model_;
    DesignScale scale_;
    std::map<std::string, QWidget*, std::less<>> components_;
    std::map<EditorButton, QAbstractButton*> buttons_;
    std::map<QObject*, int> rowOffsets_;
    QLineEdit* edit8_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QLabel* counter_ = nullptr;
    QLabel* label7_ = nullptr;
    QCheckBox* checkBox_ = nullptr;
    int wheelRest_ = 0;
    bool refreshing_ = false;
};

}  // namespace kelvo
