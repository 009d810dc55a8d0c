#pragma once

#include <QDialog>
#include <QImage>
#include <array>
#include <functional>
#include <map>

#include "forms/consultation_form.h"
#include "ui/qt/design_scale.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QScrollArea;
class QToolButton;

namespace kelvo {

class Clipboard;

/// What a page asks of the desktop around it.
struct PageDesktop {
    /// "Programm beenden ?" with "Bitte wählen Sie aus": true for yes.
    std::function<bool()> askQuit;
    /// Shows the runtime inspector modally over the page ("Datenbasis").
    std::function<void()> openInspector;
    /// Prints the page's image scaled to the paper ("Drucken").
    std::function<void(const QImage&)> printImage;
    /// Plays the page's media file ("Video/Sound" and each activation).
    std::function<void()> playMedia;
    /// The system clipboard for "Kopieren" and "Einfügen"; may be null.
    Clipboard* clipboard = nullptr;
};

/// TForm6, a consultation page: the page model's labels, fields, buttons, check boxes, list
/// boxes and pictures at their design positions times the model's scale, the toolbar with its
/// seven buttons and menu "&Formular". Run with exec(); it returns when the model is closed.
/// Typing, ticking and choosing go into the model as they happen; commands go to the model
/// and, where they need the desktop, to the PageDesktop.
class PageView final : public QDialog {
    Q_OBJECT

  public:
    PageView(TForm6& model, PageDesktop desktop, QWidget* parent);
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

    /// Runs one command as its toolbar button or menu item does.
    void Command(ToolButton button);

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

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
    void FinishIfClosed();

    TForm6& model_;
    PageDesktop desktop_;
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
    bool activated_ = false;
};

}  // namespace kelvo
