#include "ui/qt/qt_session_windows.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPushButton>

#include "forms/consultation_form.h"
#include "forms/picture_file.h"
#include "inspector/runtime_inspector.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/media_player.h"
#include "platform/path_lookup.h"
#include "platform/qt/qt_text.h"
#include "ui/qt/inspector_view.h"
#include "ui/qt/page_view.h"
#include "ui/qt/session_window.h"

namespace kelvo {
namespace {

constexpr int kFirstPaintWait = 2000;  // milliseconds

}  // namespace

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

bool QtSessionWindows::AskQuit() {
    return setup_.dialogs.MessageBox("Bitte w\xE4hlen Sie aus", "Programm beenden ?",
                                     MessageIcon::Question,
                                     MessageButtons::YesNo) == MessageAnswer::Yes;
}

PageOutcome QtSessionWindows::ShowPage(const PageRequest& page, InspectorContext& context) {
    const FormSource source{page.formMode, page.formPage,
                            page.formMode == 1 ? page.firstMediaLine : 0, page.solutionRecord};
    FormEnvironment environment;
    environment.programmingModule = context.programmingModule;
    const QSize screen = setup_.screenSize ? setup_.screenSize() : QSize(1024, 768);
    environment.screenWidth = screen.width();
    environment.screenHeight = screen.height();
    environment.findFile = [this](std::string_view name) {
        std::error_code error;
        std::filesystem::path path = ResolvePath(name);
        if (!std::filesystem::is_regular_file(path, error) && setup_.fileFolder) {
            const std::filesystem::path folder = setup_.fileFolder();
            if (!folder.empty()) {
                path = ResolvePath(ToWindows1252(Utf8ToQString(folder.string())) + "/" +
                                   std::string(name));
            }
        }
        return std::filesystem::is_regular_file(path, error) ? path.string() : std::string();
    };
    environment.pictureLoads = [](const std::string& path) { return LoadPictureFile(path).ok(); };
    environment.reportButtonPicture = [this] {
        setup_.dialogs.MessageBox("Grafik f\xFCr Ihren Schalter nicht vorhanden", "Fehlermeldung",
                                  MessageIcon::Warning, MessageButtons::Ok);
    };
    TForm6 form(source, context.facts, std::move(environment));
    PageDesktop desktop;
    desktop.askQuit = [this] { return AskQuit(); };
    desktop.openInspector = [this, &context] { ShowInspector(InspectorReason::Page, 0, context); };
    desktop.printImage = setup_.printImage;
    desktop.playMedia = [this, &form] {
        if (setup_.media != nullptr) {
            for (const std::string& command : form.Video_Sound()) {
                setup_.media->SendCommand(command);
            }
        }
    };
    desktop.clipboard = &setup_.clipboard;
    PageView view(form, std::move(desktop), Parent());
    view.exec();
    return form.SessionKey() == 13 ? PageOutcome::Continue : PageOutcome::Abort;
}

void QtSessionWindows::ShowInspector(InspectorReason /*why*/, int /*line*/,
                                     InspectorContext& context) {
    const std::array<std::string, 2> editor =
        setup_.editorClipboards ? setup_.editorClipboards() : std::array<std::string, 2>{};
    const QSize main = setup_.mainClientSize ? setup_.mainClientSize() : QSize(1024, 768);
    TForm7 model(context.facts, context.breakpointLine,
                 {setup_.clipboard.Text(), editor[0], editor[1]}, main.width(), main.height());
    InspectorView view(model, Parent());
    view.exec();
}

void QtSessionWindows::SetSessionWindowVisible(bool visible) {
    if (view_ != nullptr) {
        view_->setVisible(visible);
    }
}

void QtSessionWindows::SetCursor(CursorShape shape) {
    const bool hourglass = shape == CursorShape::Hourglass;
    if (hourglass == hourglass_) {
        return;
    }
    hourglass_ = hourglass;
    if (hourglass) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
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
