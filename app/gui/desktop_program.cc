#include "app/gui/desktop_program.h"

#include <QApplication>
#include <QDateTime>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

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
#include "platform/qt/qt_printer.h"
#include "platform/qt/qt_progress_window.h"
#include "platform/qt/qt_screen.h"
#include "platform/qt/qt_text.h"
#include "shell/command_line_file.h"
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

/// The knowledge base the command line names, after Qt has taken its own options out.
std::filesystem::path KnowledgeBaseOnCommandLine() {
    std::vector<std::string> arguments;
    for (const QString& argument : QCoreApplication::arguments()) {
        arguments.push_back(QStringToUtf8(argument));
    }
    std::error_code error;
    const std::filesystem::path currentFolder = std::filesystem::current_path(error);
    return CommandLineFile(arguments, currentFolder);
}

}  // namespace

int RunDesktopProgram(int argc, char** argv, bool programmingModule) {
    QApplication application(argc, argv);
    const QString programName =
        programmingModule ? QStringLiteral("kelvo") : QStringLiteral("kelvo-run");
    QApplication::setApplicationName(programName);
    // The menu entry and the icon the installation puts into the desktop (the window keeps
    // the default icon where the program is not installed).
    QApplication::setDesktopFileName(programName);
    QApplication::setWindowIcon(QIcon::fromTheme(programName));
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
    TForm1* model = nullptr;
    // The folder of the open knowledge base, where files a page names are looked for and a
    // printout goes when no printer is set up.
    auto knowledgeBaseFolder = [&model]() -> std::filesystem::path {
        if (model == nullptr || model->CurrentFileName().empty()) {
            return {};
        }
        return std::filesystem::path(Windows1252ToUtf8(model->CurrentFileName())).parent_path();
    };
    // One printer for the print tasks, the editor's block print and a page's "Drucken"; the
    // variable command "R" sets it up.
    QtPrinter printer(
        dialogs, QtPrinterOptions{.fallbackFolder = knowledgeBaseFolder, .defaultPrinterName = {}});
    QtFileDialogs fileDialogs(&printer);
    QtInputBox inputBox;
    QtClipboard clipboard;
    LinuxDesktopShell processes({});
    QtDesktopShell desktopShell(processes);
    QtProgressWindow progress;
    DatabaseFiles database;
    QtMediaPlayer mediaPlayer(dialogs);
    const std::unique_ptr<Automation> automation = MakeDesktopAutomation();
    QtShellWindows shellWindows;

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
    sessionSetup.fileFolder = knowledgeBaseFolder;
    // "Drucken" of a page: the window's image scaled to the page, without a dialog.
    sessionSetup.printImage = [&printer](const QImage& image) {
        static_cast<void>(printer.PrintImage(image));
    };
    // A page's video or sound, played to its end (or Escape) before the page goes on.
    sessionSetup.playMedia = [&mediaPlayer](const MediaRequest& request, QWidget* owner) {
        mediaPlayer.Play(request, owner);
    };
    sessionSetup.programmingModule = programmingModule;
    QtSessionWindows sessionWindows(sessionSetup);

    ShellServices services{shellWindows, dialogs,  sessionWindows, clock,        random,  clock,
                           fileDialogs,  inputBox, clipboard,      desktopShell, progress};
    services.printer = &printer;
    services.database = &database;
    services.automation = automation.get();
    services.media = &mediaPlayer;

    const ScreenSize screen = PrimaryScreenSize();
    ShellConfig config;
    config.programmingModule = programmingModule;
    config.programPath = programPath;
    config.commandLineFile = KnowledgeBaseOnCommandLine();
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
