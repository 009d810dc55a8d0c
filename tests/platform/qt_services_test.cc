#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/desktop/linux_desktop_shell.h"
#include "platform/qt/qt_automation.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_desktop_shell.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_file_dialogs.h"
#include "platform/qt/qt_input_box.h"
#include "platform/qt/qt_progress_window.h"
#include "platform/qt/qt_screen.h"
#include "platform/qt/qt_text.h"
#include "tests/case_name.h"
#include "tests/ui/modal_watch.h"
#include "tests/ui/qt_printing.h"

namespace kelvo {
namespace {

QStringList ButtonTexts(QMessageBox* box) {
    QStringList texts;
    for (QAbstractButton* button : box->buttons()) {
        texts << button->text();
    }
    return texts;
}

TEST(QtDialogs, QuestionShowsCaptionTextIconAndGermanButtons) {
    QtDialogs dialogs;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    OnModal<QMessageBox>([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = ButtonTexts(box);
        ButtonWithText(box, QStringLiteral("Nein"))->click();
    });
    const MessageAnswer answer =
        dialogs.MessageBox("Bitte w\xE4hlen Sie aus \xAB\xDF\x80\xBB", "Programm beenden ?",
                           MessageIcon::Question, MessageButtons::YesNo);
    EXPECT_EQ(answer, MessageAnswer::No);
    EXPECT_EQ(title, QStringLiteral("Programm beenden ?"));
    EXPECT_EQ(text, QStringLiteral("Bitte wählen Sie aus «ß€»"));
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("&Ja"), QStringLiteral("&Nein")}));
}

TEST(QtDialogs, ABoxIsWideEnoughForItsCaption) {
    QtDialogs dialogs;
    int width = 0;
    int captionWidth = 0;
    OnModal<QMessageBox>([&](QMessageBox* box) {
        width = box->width();
        QFont bold = box->font();
        bold.setBold(true);
        captionWidth = QFontMetrics(bold).horizontalAdvance(box->windowTitle());
        ButtonWithText(box, QStringLiteral("Nein"))->click();
    });
    dialogs.MessageBox("Bitte w\xE4hlen Sie aus", "Dialogfenster anzeigen ?", MessageIcon::Question,
                       MessageButtons::YesNo);
    EXPECT_GT(width, captionWidth + 100);
}

TEST(QtDialogs, YesIsAnsweredYes) {
    QtDialogs dialogs;
    OnModal<QMessageBox>(
        [](QMessageBox* box) { ButtonWithText(box, QStringLiteral("Ja"))->click(); });
    EXPECT_EQ(dialogs.MessageBox("Wissensbasis schlie\xDF"
                                 "en ?",
                                 "", MessageIcon::Question, MessageButtons::YesNo),
              MessageAnswer::Yes);
}

TEST(QtDialogs, WarningWithLineBreakAndOneButton) {
    QtDialogs dialogs;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    OnModal<QMessageBox>([&](QMessageBox* box) {
        text = box->text();
        icon = box->icon();
        buttons = ButtonTexts(box);
        box->buttons().constFirst()->click();
    });
    EXPECT_EQ(dialogs.MessageBox("Innerhalb des Benutzermodules kann der\r\nHilfemodus nicht "
                                 "aktiviert werden !",
                                 "Fehlermeldung", MessageIcon::Warning, MessageButtons::Ok),
              MessageAnswer::Ok);
    EXPECT_EQ(text, QStringLiteral("Innerhalb des Benutzermodules kann der\nHilfemodus nicht "
                                   "aktiviert werden !"));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, QStringList{QStringLiteral("OK")});
}

struct FilterCase {
    std::string name;
    std::string filter;
    QString expected;
};

class QtFilter : public testing::TestWithParam<FilterCase> {};

TEST_P(QtFilter, BecomesQtsFilterText) {
    EXPECT_EQ(QtFilterText(SplitFileFilter(GetParam().filter)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, QtFilter,
    testing::Values(FilterCase{"one_pair", "WBP -  Wissensbasen KELVO|*.wbp",
                               QStringLiteral("WBP -  Wissensbasen KELVO (*.wbp)")},
                    FilterCase{"two_pairs", "Texte|*.TXT|Alle Dateien|*.*",
                               QStringLiteral("Texte (*.TXT);;Alle Dateien (*.*)")},
                    FilterCase{"several_patterns", "Bilder|*.BMP;*.JPG",
                               QStringLiteral("Bilder (*.BMP *.JPG)")},
                    FilterCase{"umlaut_in_description", "Ger\xE4te|*.G",
                               QStringLiteral("Geräte (*.G)")}),
    CaseName());

TEST(QtFileDialogs, OpenShowsTitleFolderAndFilterAndGivesTheChosenPath) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "kelvo_qt_open_dialog";
    std::filesystem::create_directories(folder);
    QtFileDialogs dialogs;
    QString title, directory;
    QStringList filters;
    OnModal<QFileDialog>([&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        directory = dialog->directory().absolutePath();
        filters = dialog->nameFilters();
        dialog->selectFile(QStringLiteral("Gr\u00F6\u00DFe.wbp"));
        static_cast<QDialog*>(dialog)->accept();
    });
    FileDialogRequest request;
    request.title = "Neu";
    request.filters = SplitFileFilter("WBP -  Wissensbasen KELVO|*.wbp");
    request.folder = folder.string();
    const std::optional<std::string> chosen = dialogs.SaveFileName(request);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, (folder / "Gr\xF6\xDF"
                                 "e.wbp")
                           .string());
    EXPECT_EQ(title, QStringLiteral("Neu"));
    EXPECT_EQ(directory, Utf8ToQString(folder.string()));
    // QFileDialog shows its filters with runs of blanks simplified.
    EXPECT_EQ(filters, QStringList{QStringLiteral("WBP - Wissensbasen KELVO (*.wbp)")});
}

TEST(QtFileDialogs, CancelGivesNothing) {
    QtFileDialogs dialogs;
    OnModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_FALSE(dialogs
                     .OpenFileName({"\xD6"
                                    "ffnen",
                                    {},
                                    ""})
                     .has_value());
}

TEST(QtInputBox, ShowsTitlePromptAndPresetAndGivesTheTypedText) {
    QtInputBox box;
    QString title, prompt, preset;
    OnModal<QInputDialog>([&](QInputDialog* dialog) {
        title = dialog->windowTitle();
        prompt = dialog->labelText();
        preset = dialog->textValue();
        dialog->setTextValue(QStringLiteral("«Maß» 5 €"));
        dialog->accept();
    });
    const std::optional<std::string> typed = box.InputQuery("Suchen", "Suchbegriff \xFC", "alt");
    ASSERT_TRUE(typed.has_value());
    EXPECT_EQ(*typed, "\xABMa\xDF\xBB 5 \x80");
    EXPECT_EQ(title, QStringLiteral("Suchen"));
    EXPECT_EQ(prompt, QStringLiteral("Suchbegriff ü"));
    EXPECT_EQ(preset, QStringLiteral("alt"));
}

TEST(QtInputBox, CancelGivesNothing) {
    QtInputBox box;
    OnModal<QInputDialog>([](QInputDialog* dialog) { dialog->reject(); });
    EXPECT_FALSE(box.InputQuery("Suchen", "", "").has_value());
}

TEST(QtClipboard, ConvertsBothWays) {
    QtClipboard clipboard;
    clipboard.SetText("\xAB\xC4\xD6\xDC\xDF\x80\xBB");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("«ÄÖÜß€»"));
    QGuiApplication::clipboard()->setText(QStringLiteral("äöü"));
    EXPECT_EQ(clipboard.Text(), "\xE4\xF6\xFC");
}

TEST(QtProgressWindow, ShowsCaptionLabelBusyBarAndAbort) {
    QtProgressWindow progress(0);
    progress.Show();
    ASSERT_NE(progress.window(), nullptr);
    EXPECT_TRUE(progress.window()->isVisible());
    EXPECT_EQ(progress.window()->windowTitle(), QStringLiteral("Vorgangsfenster"));
    EXPECT_EQ(progress.label()->text(), QStringLiteral("Bearbeitung läuft !"));
    EXPECT_EQ(progress.bar()->minimum(), 0);
    EXPECT_EQ(progress.bar()->maximum(), 0);  // busy
    EXPECT_EQ(progress.abortButton()->text(), QStringLiteral("Abbruch"));
    // Nothing between the bar, the label and the button overlaps, and all lie inside.
    const QRect inside = progress.window()->rect();
    EXPECT_TRUE(inside.contains(progress.bar()->geometry()));
    EXPECT_TRUE(inside.contains(progress.abortButton()->geometry()));
    EXPECT_FALSE(progress.label()->geometry().intersects(progress.bar()->geometry()));
    EXPECT_EQ(progress.window()->windowModality(), Qt::ApplicationModal);
    progress.Close();
    EXPECT_EQ(progress.window(), nullptr);
}

TEST(QtProgressWindow, PumpReportsAClickThatWasPending) {
    QtProgressWindow progress(0);
    progress.Show();
    EXPECT_FALSE(progress.PumpOneEvent());
    // The click waits in the event queue until the pump lets it through.
    QMetaObject::invokeMethod(progress.abortButton(), "click", Qt::QueuedConnection);
    EXPECT_TRUE(progress.PumpOneEvent());
    EXPECT_FALSE(progress.PumpOneEvent());  // reported once
    progress.Close();
}

TEST(QtClock, NowIsTheLocalTimeAndTicksAdvanceBySleep) {
    QtClock clock;
    const QDateTime before = QDateTime::currentDateTime();
    const LocalDateTime now = clock.Now();
    EXPECT_EQ(now.year, before.date().year());
    EXPECT_EQ(now.month, before.date().month());
    const std::uint32_t start = clock.TickCount();
    clock.Sleep(30);
    EXPECT_GE(clock.TickCount() - start, 30u);
}

TEST(QtDesktopShell, RefusesAnEmptyTargetAndAMissingFile) {
    LinuxDesktopShell processes({});
    QtDesktopShell shell(processes);
    EXPECT_FALSE(shell.OpenDocument(""));
    EXPECT_FALSE(shell.OpenDocument("/nonexistent/kelvo/liesmich.pdf"));
}

TEST(QtDesktopShell, ProgramPathIsThisProgram) {
    LinuxDesktopShell processes({});
    QtDesktopShell shell(processes);
    EXPECT_EQ(shell.ProgramPath(), std::filesystem::canonical("/proc/self/exe"));
}

TEST(QtDesktopShell, StartsAProgramInItsWorkingFolder) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "kelvo_qt_start_process";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    LinuxDesktopShell processes({});
    QtDesktopShell shell(processes);
    ASSERT_TRUE(shell.StartProcess({"touch", "gestartet"}, folder));
    const std::filesystem::path marker = folder / "gestartet";
    for (int i = 0; i < 500 && !std::filesystem::exists(marker); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(std::filesystem::exists(marker));
}

TEST(QtAutomation, OffscreenHasNoInputSynthesisButKnowsTheScreen) {
    EXPECT_FALSE(RunsOnX11());
    UnavailableAutomation automation;
    EXPECT_FALSE(automation.Available());
    EXPECT_TRUE(automation.CursorPosition().has_value());
    const ScreenSize screen = automation.Screen();
    EXPECT_EQ(screen.width, PrimaryScreenSize().width);
    EXPECT_GT(screen.width, 0);
    EXPECT_GT(screen.height, 0);
}

}  // namespace
}  // namespace kelvo
