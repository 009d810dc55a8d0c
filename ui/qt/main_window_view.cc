#include "ui/qt/main_window_view.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <map>
#include <memory>

#include "platform/qt/qt_text.h"
#include "shell/main_window.h"
#include "ui/qt/tool_icons.h"

namespace kelvo {
namespace {

ToolIcon IconOf(ShellCommand command) {
    switch (command) {
        case ShellCommand::Neu:
            return ToolIcon::NewFile;
        case ShellCommand::Oeffnen:
            return ToolIcon::OpenFile;
        case ShellCommand::Schliesen:
            return ToolIcon::CloseFile;
        case ShellCommand::Bearbeiten:
            return ToolIcon::Edit;
        case ShellCommand::Starten:
            return ToolIcon::Start;
        default:
            return ToolIcon::Help;
    }
}

}  // namespace

MainWindowView::MainWindowView(TForm1& model) : model_(model) {
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);

    auto* central = new QWidget(this);
    central->setAutoFillBackground(true);
    central->setPalette(palette);
    setCentralWidget(central);
    auto* toolbar = new QWidget(central);
    toolbar->setFixedHeight(kToolbarHeight);
    toolbar->setAutoFillBackground(true);
    QPalette face = palette;
    face.setColor(QPalette::Window, QColor(240, 240, 240));
    toolbar->setPalette(face);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(toolbar);
    layout->addStretch(1);

    std::map<std::string_view, QMenu*> menus;
    for (const ShellCommandView& view : kShellCommands) {
        QMenu*& menu = menus[view.menu];
        if (menu == nullptr) {
            menu = menuBar()->addMenu(ToQString(view.menu));
        }
        if (view.separatorBefore) {
            menu->addSeparator();
        }
        QAction* action = menu->addAction(ToQString(view.caption));
        action->setShortcut(QKeySequence::fromString(ToQString(view.shortcut)));
        action->setShortcutContext(Qt::WindowShortcut);
        const ShellCommand command = view.command;
        connect(action, &QAction::triggered, this, [this, command] { Command(command); });
        actions_[static_cast<std::size_t>(command)] = action;
        if (!view.button.empty()) {
            auto* button = new QToolButton(toolbar);
            button->setAutoRaise(true);
            button->setFocusPolicy(Qt::NoFocus);
            button->setIcon(ToolIconFor(IconOf(command)));
            button->setIconSize(QSize(19, 19));
            button->setToolTip(ToQString(view.buttonHint));
            button->setGeometry(view.buttonLeft, (kToolbarHeight - 25) / 2, 25, 25);
            connect(button, &QToolButton::clicked, this, [this, command] { Command(command); });
            buttons_[static_cast<std::size_t>(command)] = button;
        }
    }

    timer_ = new QTimer(this);
    timer_->setInterval(kTimer1Interval);
    connect(timer_, &QTimer::timeout, this, [this] {
        model_.Timer1Timer();
        Refresh();
    });
}

void MainWindowView::PlaceFromModel() {
    const WindowRect bounds = model_.Bounds();
    // The bounds are the outer size; the desktop's frame takes what it takes of it.
    constexpr int kFrameWidth = 8;
    constexpr int kFrameHeight = 30;
    resize(std::max(bounds.width - kFrameWidth, 300), std::max(bounds.height - kFrameHeight, 200));
    move(bounds.left, bounds.top);
}

void MainWindowView::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The desktop's frame is known only once the window manager has framed the window; until
    // then the frame may have been placed around the client's position. Put the frame, title
    // bar included, where the model wants the window as soon as its size is known.
    auto tries = std::make_shared<int>(0);
    auto* poll = new QTimer(this);
    poll->setInterval(50);
    connect(poll, &QTimer::timeout, this, [this, poll, tries] {
        QWindow* handle = windowHandle();
        const bool framed = handle != nullptr && !handle->frameMargins().isNull();
        if (framed || ++*tries > 40) {
            poll->stop();
            poll->deleteLater();
            if (framed) {
                // The client area goes where the frame's edge and title bar leave it room.
                const WindowRect bounds = model_.Bounds();
                const QMargins frame = handle->frameMargins();
                setGeometry(
                    QRect(QPoint(bounds.left + frame.left(), bounds.top + frame.top()), size()));
            }
        }
    });
    poll->start();
}

void MainWindowView::Refresh() {
    setWindowTitle(ToQString(model_.Title()));
    for (std::size_t i = 0; i < kShellCommandCount; ++i) {
        const bool enabled = model_.Enabled(static_cast<ShellCommand>(i));
        actions_[i]->setEnabled(enabled);
        if (buttons_[i] != nullptr) {
            buttons_[i]->setEnabled(enabled);
        }
    }
    if (model_.Closed() && !quitting_) {
        quitting_ = true;
        hide();
        QCoreApplication::exit(0);
    }
}

void MainWindowView::Command(ShellCommand command) {
    model_.Click(command);
    AfterAction();
}

void MainWindowView::AfterAction() {
    if (model_.TimerRunning() && !timer_->isActive()) {
        timer_->start();
    } else if (!model_.TimerRunning() && timer_->isActive()) {
        timer_->stop();
    }
    Refresh();
}

void MainWindowView::closeEvent(QCloseEvent* event) {
    if (model_.Closed() || model_.CanClose()) {
        event->accept();
        AfterAction();
        return;
    }
    event->ignore();
    AfterAction();
}

void MainWindowView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F2 && !event->isAutoRepeat()) {
        model_.FormKeyDown(kVirtualKeyF2);
        AfterAction();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

}  // namespace kelvo
