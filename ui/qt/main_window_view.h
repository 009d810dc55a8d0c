#pragma once

#include <QMainWindow>
#include <array>

#include "shell/shell_command.h"

class QAction;
class QTimer;
class QToolButton;

namespace kelvo {

class TForm1;

/// TForm1, the main window: menus "&Wissensbasis", "&Dienste" and "&Hilfe" with their items
/// and shortcuts, the toolbar with its six buttons and hints, the title. Commands, the close
/// button, F2 and the capture's timer go to the model; Refresh shows the model's state.
class MainWindowView final : public QMainWindow {
    Q_OBJECT

  public:
    /// The toolbar's height.
    static constexpr int kToolbarHeight = 41;

    explicit MainWindowView(TForm1& model);

    /// Shows the model's title and enabled commands; ends the program's event loop once the
    /// model has closed.
    void Refresh();
    /// Places the window as the model's FormCreate decided.
    void PlaceFromModel();

    QAction* action(ShellCommand command) const {
        return actions_[static_cast<std::size_t>(command)];
    }
    /// The toolbar button of a command; null for "Compilieren", "Beenden" and "Info".
    QToolButton* toolButton(ShellCommand command) const {
        return buttons_[static_cast<std::size_t>(command)];
    }
    QTimer* captureTimer() const { return timer_; }

    /// Runs a command as its menu item and button do.
    void Command(ShellCommand command);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    /// After every forwarded action: the timer follows the model, the window shows its state.
    void AfterAction();

    TForm1& model_;
    std::array<QAction*, kShellCommandCount> actions_{};
    std::array<QToolButton*, kShellCommandCount> buttons_{};
    QTimer* timer_ = nullptr;
    bool quitting_ = false;
};

}  // namespace kelvo
