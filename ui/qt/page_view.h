#pragma once

#include <QDialog>
#include <QImage>
#include <array>
#include <functional>
#include <map>
#include <optional>

#include "forms/consultation_form.h"
#include "forms/page_session.h"
#include "ui/qt/design_scale.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QScrollArea;
class QToolButton;

namespace kelvo {

class Clipboard;

/// TForm6, a consultation page: the page model's labels, fields, buttons, check boxes, list
/// boxes and pictures at their design positions times the model's scale, the toolbar with its
/// seven buttons and menu "&Formular". Typing, ticking, choosing, copy and paste go into the
/// model as they happen; every other command (and the close button) becomes the page's next
/// PageAction, which the page session carries out.
class PageView final : public QDialog {
    Q_OBJECT

  public:
    /// `clipboard` serves "Kopieren" and "Einfügen"; may be null.
    PageView(TForm6& model, Clipboard* clipboard, QWidget* parent);
    ~PageView() override;

    /// The widget of a field, button, check box or list box; null when the model shows none.
    QWidget* component(Pool pool, int slot) const;
    /// Label `text`k (1 to 25).
    QLabel* bodyLabel(int k) const { return labels_[static_cast<std::size_t>(k - 1)]; }
    /// Picture box `Image`k (1 to 30); null while hidden.
    QLabel* picture(int k) const;
    QToolButton* toolButton(ToolButton button) const {
        return tools_[static_cast<std::size_t>(button)];
    }
    QAction* menuAction(ToolButton button) const {
        return actions_[static_cast<std::size_t>(button)];
    }
    QMenu* formMenu() const { return menu_; }
    /// The scrolled area that holds the page below the toolbar.
    QScrollArea* scrollArea() const { return scroll_; }
    /// The page's surface; its coordinates are design coordinates times the scale, shifted up
    /// by the toolbar's height.
    QWidget* canvas() const { return canvas_; }
    const DesignScale& scale() const { return scale_; }
    /// The toolbar's design height.
    static constexpr int kToolbarHeight = 25;

    /// Runs one command as its toolbar button or menu item does: copy and paste at once, the
    /// others as the next action.
    void Command(ToolButton button);
    /// The user's command not yet taken, if any; taking it clears it.
    std::optional<PageAction> TakeAction();
    /// Called whenever the user gives a command; the desktop's wait for one ends there.
    void SetActionListener(std::function<void()> listener) { listener_ = std::move(listener); }
    /// Shows the model's state again after the session carried out a command (the focus).
    void ShowModelState();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;
    void showEvent(QShowEvent* event) override;

  private:
    void BuildToolbar(QWidget* toolbar);
    void BuildMenu(QMenuBar* bar);
    void BuildBody();
    void BuildComponent(Pool pool, int slot, const FormComponent& component);
    void BuildTabOrder();
    QRect CanvasRect(const FormRect& rect) const;
    /// Gives the focus to the widget the model's focus names, when it shows one.
    void ApplyFocus();
    /// Shows the model's text of the edit field `control` again (after a paste).
    void ShowFieldText(FormControl control);
    void Give(PageAction action);

    TForm6& model_;
    Clipboard* clipboard_;
    std::optional<PageAction> pending_;
    std::function<void()> listener_;
    DesignScale scale_;
    QMenuBar* menuBar_ = nullptr;
    QMenu* menu_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* canvas_ = nullptr;
    std::array<QLabel*, TForm6::kBodyLines> labels_{};
    std::array<QLabel*, TForm6::kPictures> pictures_{};
    std::array<QToolButton*, kToolButtonCount> tools_{};
    std::array<QAction*, kToolButtonCount> actions_{};
    std::map<std::pair<int, int>, QWidget*> components_;
    std::map<QObject*, FormControl> controlOf_;
    /// The labels' and fields' extent on the canvas (pictures may lie beyond).
    QRect bodyExtent_;
    bool syncing_ = false;
};

}  // namespace kelvo
