// The main window, the start window and the information box show their models and forward
// the commands, the close button and F2 to them.

#include "ui/qt/main_window_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>
#include <optional>

#include "platform/qt/qt_text.h"
#include "shell/main_window.h"
#include "shell/version_text.h"
#include "tests/shell/fake_desktop.h"
#include "tests/store/temp_dir.h"
#include "tests/ui/qt_printing.h"
#include "ui/qt/about_box_view.h"
#include "ui/qt/start_window_view.h"

namespace kelvo {
namespace {

class MainWindowViewTest : public testing::Test {
  protected:
    TForm1& Start(bool programmingModule) {
        ShellConfig config;
        config.programmingModule = programmingModule;
        config.programPath = dir_.path() / "kelvo";
        services_.emplace(desktop_.Services());
        model_ = std::make_unique<TForm1>(config, *services_);
        model_->Loaded();
        model_->FormCreate();
        view_ = std::make_unique<MainWindowView>(*model_);
        view_->Refresh();
        return *model_;
    }

    /// The view shows the model's title and, for every command, its enabled state.
    void ExpectShowsModel() {
        EXPECT_EQ(view_->windowTitle(), ToQString(model_->Title()));
        for (const ShellCommandView& command : kShellCommands) {
            EXPECT_EQ(view_->action(command.command)->isEnabled(), model_->Enabled(command.command))
                << command.component;
            if (QToolButton* button = view_->toolButton(command.command)) {
                EXPECT_EQ(button->isEnabled(), model_->Enabled(command.command))
                    << command.component;
            }
        }
    }

    void NewKnowledgeBase() {
        desktop_.files.push_back((dir_.path() / "neu.wbp").string());
        view_->action(ShellCommand::Neu)->trigger();
        ASSERT_TRUE(model_->KnowledgeBaseOpen());
    }

    TempDir dir_;
    FakeDesktop desktop_;
    std::optional<ShellServices> services_;
    std::unique_ptr<TForm1> model_;
    std::unique_ptr<MainWindowView> view_;
};

TEST_F(MainWindowViewTest, MenusItemsShortcutsAndToolbarFollowTheCommandTable) {
    Start(true);
    QStringList menus;
    for (QAction* menu : view_->menuBar()->actions()) {
        menus << menu->text();
    }
    EXPECT_EQ(menus, (QStringList{QStringLiteral("&Wissensbasis"), QStringLiteral("&Dienste"),
                                  QStringLiteral("&Hilfe")}));
    for (const ShellCommandView& command : kShellCommands) {
        QAction* action = view_->action(command.command);
        EXPECT_EQ(action->text(), ToQString(command.caption));
        EXPECT_EQ(action->shortcut(), QKeySequence::fromString(ToQString(command.shortcut)));
        QToolButton* button = view_->toolButton(command.command);
        ASSERT_EQ(button != nullptr, !command.button.empty()) << command.component;
        if (button != nullptr) {
            EXPECT_EQ(button->toolTip(), ToQString(command.buttonHint));
            EXPECT_EQ(button->geometry().left(), command.buttonLeft);
            EXPECT_EQ(button->size(), QSize(25, 25));
            EXPECT_FALSE(button->icon().isNull());
        }
    }
    EXPECT_EQ(view_->action(ShellCommand::Oeffnen)->text(), QStringLiteral("Ö&ffnen"));
    EXPECT_EQ(view_->toolButton(ShellCommand::Schliesen)->toolTip(),
              QStringLiteral("Wissensbasis schließen"));
    // A separator stands before "&Info".
    const QList<QAction*> items = view_->menuBar()->actions()[0]->menu()->actions();
    const qsizetype info = items.indexOf(view_->action(ShellCommand::Info));
    ASSERT_GT(info, 0);
    EXPECT_TRUE(items[info - 1]->isSeparator());
}

TEST_F(MainWindowViewTest, TitleAndEnabledCommandsFollowTheStates) {
    Start(true);
    ExpectShowsModel();
    EXPECT_TRUE(view_->action(ShellCommand::Beenden)->isEnabled());
    NewKnowledgeBase();
    ExpectShowsModel();
    EXPECT_TRUE(view_->windowTitle().contains(QStringLiteral("neu.wbp")));
    EXPECT_FALSE(view_->action(ShellCommand::Beenden)->isEnabled());
    EXPECT_TRUE(view_->toolButton(ShellCommand::Bearbeiten)->isEnabled());
    view_->toolButton(ShellCommand::Schliesen)->click();
    EXPECT_FALSE(model_->KnowledgeBaseOpen());
    ExpectShowsModel();
}

// The file name comes from the dialog as UTF-8, the model keeps it as Windows-1252 and the
// title shows it as the user typed it.
TEST_F(MainWindowViewTest, TheTitleShowsAFileNameWithUmlautsAndSigns) {
    Start(true);
    desktop_.files.push_back((dir_.path() / "Prüfung «Größe» 5€.wbp").string());
    view_->action(ShellCommand::Neu)->trigger();
    ASSERT_TRUE(model_->KnowledgeBaseOpen());
    ExpectShowsModel();
    EXPECT_TRUE(view_->windowTitle().contains(
        QString::fromUtf8("- Prüfung «Größe» 5€.wbp  [Programmiermodul]")))
        << view_->windowTitle().toStdString();
}

TEST_F(MainWindowViewTest, TheUserModuleHasItsOwnTable) {
    Start(false);
    ExpectShowsModel();
    EXPECT_FALSE(view_->action(ShellCommand::Neu)->isEnabled());
    EXPECT_TRUE(view_->windowTitle().contains(QStringLiteral("[Benutzermodul]")));
}

TEST_F(MainWindowViewTest, TheCloseButtonAsksWhileAKnowledgeBaseIsOpen) {
    Start(true);
    NewKnowledgeBase();
    view_->show();
    desktop_.answers.push_back(MessageAnswer::No);
    EXPECT_FALSE(view_->close());
    EXPECT_TRUE(view_->isVisible());
    EXPECT_FALSE(model_->Closed());
    ASSERT_FALSE(desktop_.Lines("message").empty());
    EXPECT_NE(desktop_.Lines("message").back().find("Wissensbasis schlie\xC3\x9F"
                                                    "en ?"),
              std::string::npos);
    desktop_.answers.push_back(MessageAnswer::Yes);
    // The window closes and the program's event loop is told to end.
    QTimer::singleShot(0, view_.get(), [this] { view_->close(); });
    QTimer::singleShot(2000, view_.get(), [] { QCoreApplication::exit(1); });  // never hang
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(model_->Closed());
    EXPECT_FALSE(view_->isVisible());
}

TEST_F(MainWindowViewTest, F2RunsTheCoordinateCapture) {
    Start(true);
    desktop_.pointer = ScreenPoint{123, 45};
    QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    QApplication::sendEvent(view_.get(), &f2);
    EXPECT_TRUE(model_->TimerRunning());
    EXPECT_TRUE(view_->captureTimer()->isActive());
    EXPECT_EQ(view_->captureTimer()->interval(), 50);
    QTest::qWait(120);
    EXPECT_EQ(view_->windowTitle(), QStringLiteral("x=123  y=45"));
    QApplication::sendEvent(view_.get(), &f2);
    EXPECT_FALSE(view_->captureTimer()->isActive());
    EXPECT_EQ(model_->editorState().ablage2Text, "J [+SYSTEM_VAR_0001] . (123)");
    ExpectShowsModel();
}

TEST_F(MainWindowViewTest, InfoShowsTheAboutBox) {
    AboutBoxView about(InfoAboutBox(), nullptr);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Info"));
    EXPECT_EQ(about.productName()->text(), QStringLiteral("Expertensystem Kelvo"));
    EXPECT_EQ(about.version()->text(), QStringLiteral("Version = 2017 Build: 001"));
    about.show();
    about.okButton()->click();
    EXPECT_FALSE(about.isVisible());
}

TEST_F(MainWindowViewTest, TheStartWindowShowsOurPictureAndClosesAfterItsFirstPaint) {
    ShellConfig config;
    config.programPath = dir_.path() / "kelvo";
    services_.emplace(desktop_.Services());
    TForm4 model(config, *services_);
    ASSERT_TRUE(model.PictureMarked());
    StartWindowView view(model, nullptr);
    EXPECT_EQ(view.geometry().size(), QSize(200, 250));
    QTimer::singleShot(3000, &view, [&view] { view.reject(); });  // a test that hangs fails
    view.exec();
    EXPECT_TRUE(model.Closed());
    EXPECT_FALSE(model.PictureMarked());
    EXPECT_GE(desktop_.ticks, kStartPictureMilliseconds);  // the model waited on its clock
    const QImage picture = StartPicture();
    EXPECT_EQ(picture.size(), QSize(200, 250));
    EXPECT_NE(picture.pixelColor(100, 10), picture.pixelColor(100, 240));
}

TEST_F(MainWindowViewTest, TheUserModulesStartWindowIsNotSeen) {
    ShellConfig config;
    config.programmingModule = false;
    config.programPath = dir_.path() / "kelvo-run";
    services_.emplace(desktop_.Services());
    TForm4 model(config, *services_);
    StartWindowView view(model, nullptr);
    EXPECT_EQ(view.windowOpacity(), 0.0);
    EXPECT_EQ(view.geometry().size(), QSize(1, 1));
}

}  // namespace
}  // namespace kelvo
