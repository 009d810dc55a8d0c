#include "ui/qt/qt_session_windows.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QWindow>

#include "forms/consultation_form.h"
#include "forms/page_session.h"
#include "inspector/runtime_inspector.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/qt/qt_text.h"
#include "ui/qt/inspector_view.h"
#include "ui/qt/page_view.h"
#include "ui/qt/session_window.h"

namespace kelvo {
namespace {

constexpr int kFirstPaintWait = 2000;  // milliseconds

}  // namespace

/// A page on Qt: its window shows at the first command asked for, and each command the user
/// gives ends a wait in the window's own event loop.
class QtSessionWindows::QtPageDesktop final : public PageDesktop {
  public:
    explicit QtPageDesktop(QtSessionWindows& windows) : windows_(windows) {}

    PageAction NextAction(TForm6& form) override {
        Show(form);
        std::optional<PageAction> action = view_->TakeAction();
        while (!action) {
            waiting_.exec();
            action = view_->TakeAction();
        }
        return *action;
    }

    // The page is shown complete before the playback holds the program.
    void PlayMedia(TForm6& form, const MediaRequest& request) override {
        if (!windows_.setup_.playMedia) {
            return;
        }
        Show(form);
        const QDeadlineTimer deadline(kFirstPaintWait);
        while ((view_->windowHandle() == nullptr || !view_->windowHandle()->isExposed()) &&
               !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
        }
        view_->repaint();
        windows_.setup_.playMedia(request, view_.get());
    }

    void PrintPage(const TForm6& /*form*/) override {
        if (view_ != nullptr && windows_.setup_.printImage) {
            windows_.setup_.printImage(view_->grab().toImage());
        }
    }

    void OpenInspector(InspectorContext& context) override {
        windows_.ShowInspector(InspectorReason::Page, 0, context);
    }

  private:
    // The page's window, created and shown the first time, else showing the model's state.
    void Show(TForm6& form) {
        if (view_ == nullptr) {
            view_ = std::make_unique<PageView>(form, &windows_.setup_.clipboard, windows_.Parent());
            view_->setWindowModality(Qt::ApplicationModal);
            view_->SetActionListener([this] { waiting_.quit(); });
            view_->show();
            view_->raise();
            view_->activateWindow();
        } else {
            view_->ShowModelState();
        }
    }

    QtSessionWindows& windows_;
    std::unique_ptr<PageView> view_;
    QEventLoop waiting_;
};

QtSessionWindows::QtSessionWindows(SessionWindowsSetup setup, int pumpInterval)
    : setup_(std::move(setup)), pump_(pumpInterval) {}

QtSessionWindows::~QtSessionWindows() {
    Close();
}

void QtSessionWindows::Open() {
    abortClicked_ = false;
    view_ = std::make_unique<SessionWindowView>(setup_.owner ? setup_.owner() : nullptr);
    view_->setWindowModality(Qt::ApplicationModal);
    QObject::connect(view_->abortButton(), &QPushButton::clicked, [this] { abortClicked_ = true; });
    view_->show();
    view_->raise();
    const QDeadlineTimer deadline(kFirstPaintWait);
    while (!view_->painted() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

void QtSessionWindows::Close() {
    SetCursor(CursorShape::Arrow);
    view_.reset();
}

void QtSessionWindows::RunInSessionWindow(const std::function<void()>& consultation) {
    Open();
    consultation();
    Close();
}

QWidget* QtSessionWindows::Parent() const {
    if (QWidget* modal = QApplication::activeModalWidget();
        modal != nullptr && modal->isVisible()) {
        return modal;
    }
    if (view_ != nullptr) {
        return view_.get();
    }
    return setup_.owner ? setup_.owner() : nullptr;
}

PageOutcome QtSessionWindows::ShowPage(const PageRequest& page, InspectorContext& context) {
    PageSessionOptions options;
    const QSize screen = setup_.screenSize ? setup_.screenSize() : QSize(1024, 768);
    options.screenWidth = screen.width();
    options.screenHeight = screen.height();
    if (setup_.fileFolder) {
        options.fileFolder = setup_.fileFolder().string();
    }
    QtPageDesktop desktop(*this);
    PageSession session(page, context, desktop, setup_.dialogs, options);
    return session.Run();
}

void QtSessionWindows::ShowInspector(InspectorReason /*why*/, int /*line*/,
                                     InspectorContext& context) {
    const QSize main = setup_.mainClientSize ? setup_.mainClientSize() : QSize(1024, 768);
    TForm7 model(context.facts, context.breakpointLine,
                 {setup_.clipboard.Text(), context.ablage2Text, context.ablage3Text}, main.width(),
                 main.height(), context.explainFact);
    InspectorView view(model, Parent());
    view.exec();
}

void QtSessionWindows::SetSessionWindowVisible(bool visible) {
    if (view_ != nullptr) {
        view_->setVisible(visible);
    }
}

void QtSessionWindows::SetCursor(CursorShape shape) {
    cursor_.Set(shape);
}

void QtSessionWindows::SetStatusText(std::string_view text) {
    if (view_ != nullptr) {
        view_->SetStatusText(ToQString(text));
    }
}

bool QtSessionWindows::PumpOneEvent() {
    pump_.Pump();
    const bool clicked = abortClicked_;
    abortClicked_ = false;
    return clicked;
}

}  // namespace kelvo
