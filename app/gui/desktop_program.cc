#include "app/gui/desktop_program.h"

#include <QApplication>
#include <QDateTime>
#include <QLibraryInfo>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QTranslator>
#include <filesystem>
#include <memory>

#include "app/gui/desktop_automation.h"
#include "platform/database/database_files.h"
#include "platform/desktop/linux_desktop_shell.h"
#include "platform/qt/qt_automation.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_desktop_shell.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_file_dialogs.h"
#include "platform/qt/qt_input_box.h"
#include "platform/qt/qt_media_player.h"
#include "platform/qt/qt_progress_window.h"
#include "platform/qt/qt_screen.h"
#include "platform/qt/qt_text.h"
#include "shell/main_window.h"
#include "shell/shell_services.h"
#include "shell/single_instance.h"
#include "store/random_source.h"
#include "store/windows1252.h"
#include "ui/qt/main_window_view.h"
#include "ui/qt/qt_session_windows.h"
#include "ui/qt/qt_shell_windows.h"

namespace kelvo {
namespace {

/// The German texts of Qt's own dialogs (file dialogs), where the desktop has them.
void InstallGermanQtTexts(QApplication& application, QTranslator& translator) {
    if (translator.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        application.installTranslator(&translator);
    }
}

}  // namespace

int RunDesktopProgram(int argc, char** argv, bool programmingModule) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(programmingModule ? QStringLiteral("kelvo")
                                                       : QStringLiteral("kelvo-run"));
    // The main window's model decides when the program ends. Qt would also end it when the
    // last visible window closes, which happens whenever a page closes while the main window
    // is hidden for a consultation.
    QApplication::setQuitOnLastWindowClosed(false);
    QTranslator translator;
    InstallGermanQtTexts(application, translator);

    const std::filesystem::path programPath =
        QStringToUtf8(QCoreApplication::applicationFilePath());
    QtDialogs dialogs;

    // One instance per user: the second one says so before any other window appears.
    auto lock = SingleInstance::Acquire(programPath, SingleInstance::DefaultLockFolder());
    if (!lock) {
        dialogs.MessageBox(Utf8ToWindows1252(lock.error().message), "Fehlermeldung",
                           MessageIcon::Warning, MessageButtons::Ok);
        return 1;
    }
    if (!lock->held()) {
        ShowSecondInstanceMessage(dialogs);
        return 0;
    }

    QtClock clock;
    SeededRandomSource random(static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch()));
    QtFileDialogs fileDialogs;
    QtInputBox inputBox;
    QtClipboard clipboard;
    LinuxDesktopShell processes({});
    QtDesktopShell desktopShell(processes);
    QtProgressWindow progress;
    DatabaseFiles database;
    QtMediaPlayer mediaPlayer(dialogs);
    const std::unique_ptr<Automation> automation = MakeDesktopAutomation();
    QtShellWindows shellWindows;
    TForm1* model = nullptr;

    SessionWindowsSetup sessionSetup(dialogs, clipboard);
    sessionSetup.owner = [&shellWindows]() -> QWidget* { return shellWindows.mainWindow(); };
    sessionSetup.mainClientSize = [&shellWindows] {
        const MainWindowView* main = shellWindows.mainWindow();
        return main != nullptr ? main->centralWidget()->size() : QSize(1024, 768);
    };
    sessionSetup.screenSize = [] {
        const ScreenSize screen = PrimaryScreenSize();
        return QSize(screen.width, screen.height);
    };
    sessionSetup.fileFolder = [&model]() -> std::filesystem::path {
        if (model == nullptr || model->CurrentFileName().empty()) {
            return {};
        }
        return std::filesystem::path(Windows1252ToUtf8(model->CurrentFileName())).parent_path();
    };
    // "Drucken" of a page: the window's image scaled to the paper of the printer chosen last,
    // without a dialog. Without a printer nothing is printed.
    sessionSetup.printImage = [&fileDialogs](const QImage& image) {
        QPainter painter;
        if (!painter.begin(&fileDialogs.printer())) {
            return;
        }
        const QRect page = painter.viewport();
        const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
        painter.setViewport(page.x(), page.y(), size.width(), size.height());
        painter.setWindow(image.rect());
        painter.drawImage(0, 0, image);
        painter.end();
    };
    // A page's video or sound, played to its end (or Escape) before the page goes on.
    sessionSetup.playMedia = [&mediaPlayer](const MediaRequest& request, QWidget* owner) {
        mediaPlayer.Play(request, owner);
    };
    sessionSetup.programmingModule = programmingModule;
    QtSessionWindows sessionWindows(sessionSetup);

    ShellServices services{shellWindows, dialogs,  sessionWindows, clock,        random,  clock,
                           fileDialogs,  inputBox, clipboard,      desktopShell, progress};
    services.database = &database;
    services.automation = automation.get();
    services.media = &mediaPlayer;

    const ScreenSize screen = PrimaryScreenSize();
    ShellConfig config;
    config.programmingModule = programmingModule;
    config.programPath = programPath;
    config.screenWidth = screen.width;
    config.screenHeight = screen.height;

    TForm1 window(config, services);
    model = &window;
    MainWindowView& view = shellWindows.CreateMainWindow(window);
    StartCommandHooks hooks;
    // The session window shows for each consultation, which starts once it is painted.
    hooks.prepare = [&sessionWindows](Consultation&) { sessionWindows.Open(); };
    hooks.finished = [&sessionWindows](Consultation&) { sessionWindows.Close(); };
    window.SetConsultationHooks(hooks);

    window.Loaded();
    window.FormCreate();
    view.PlaceFromModel();
    view.Refresh();
    view.show();
    window.FormShow();
    view.Refresh();
    if (window.Closed()) {
        return 0;  // the user module has run its knowledge base
    }
    return QApplication::exec();
}

}  // namespace kelvo
