// The session window and the Qt session windows service: the window shows, "Abbruch" is
// reported by the pump, texts and visibility reach the window, and pages and the inspector
// run modally over it.

#include "ui/qt/qt_session_windows.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/qt/qt_dialogs.h"
#include "tests/platform/memory_clipboard.h"
#include "tests/store/temp_dir.h"
#include "tests/ui/fact_fixture.h"
#include "tests/ui/modal_watch.h"
#include "tests/ui/qt_printing.h"
#include "ui/qt/explanation_view.h"
#include "ui/qt/inspector_view.h"
#include "ui/qt/page_view.h"
#include "ui/qt/session_window.h"

namespace kelvo {
namespace {

using kelvo::testing::MemoryClipboard;

class SessionWindowsTest : public ::testing::Test {
  protected:
    SessionWindowsSetup MakeSetup() {
        SessionWindowsSetup setup{dialogs_, clipboard_};
        setup.mainClientSize = [] { return QSize(1200, 960); };
        setup.screenSize = [] { return QSize(1024, 768); };
        return setup;
    }

    QtDialogs dialogs_;
    MemoryClipboard clipboard_;
    FactFixture fixture_;
};

TEST_F(SessionWindowsTest, OpenShowsThePaintedSessionWindowModally) {
    QtSessionWindows windows(MakeSetup(), 0);
    windows.Open();
    SessionWindowView* view = windows.view();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    EXPECT_TRUE(view->painted());
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Vorgangsfenster"));
    EXPECT_EQ(view->label()->text(), QStringLiteral("Bearbeitung läuft !"));
    EXPECT_EQ(view->abortButton()->text(), QStringLiteral("Abbruch"));
    EXPECT_EQ(view->abortButton()->geometry(), QRect(16, 48, 105, 33));
    EXPECT_EQ(view->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(view->palette().color(QPalette::Window), QColor(Qt::white));
    windows.Close();
    EXPECT_EQ(windows.view(), nullptr);
}

TEST_F(SessionWindowsTest, PumpReportsAPendingAbbruchOnce) {
    QtSessionWindows windows(MakeSetup(), 0);
    windows.Open();
    EXPECT_FALSE(windows.PumpOneEvent());
    QMetaObject::invokeMethod(windows.view()->abortButton(), "click", Qt::QueuedConnection);
    EXPECT_TRUE(windows.PumpOneEvent());
    EXPECT_FALSE(windows.PumpOneEvent());
    // The title bar's close button asks for the break-off too.
    windows.view()->close();
    EXPECT_TRUE(windows.view()->isVisible());
    EXPECT_TRUE(windows.PumpOneEvent());
    windows.Close();
}

TEST_F(SessionWindowsTest, StatusTextVisibilityAndCursorReachTheWindow) {
    QtSessionWindows windows(MakeSetup(), 0);
    windows.Open();
    windows.SetStatusText("Druckausgabe l\xE4uft \xAB\x80\xBB");
    EXPECT_EQ(windows.view()->label()->text(), QStringLiteral("Druckausgabe läuft «€»"));
    EXPECT_TRUE(windows.view()->rect().contains(windows.view()->label()->geometry()));
    windows.SetSessionWindowVisible(false);
    EXPECT_FALSE(windows.view()->isVisible());
    windows.SetSessionWindowVisible(true);
    EXPECT_TRUE(windows.view()->isVisible());
    windows.SetCursor(CursorShape::Hourglass);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    windows.SetCursor(CursorShape::Hourglass);  // not stacked
    windows.SetCursor(CursorShape::Arrow);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    windows.Close();
}

TEST_F(SessionWindowsTest, TheConsultationRunsAfterTheFirstPaint) {
    QtSessionWindows windows(MakeSetup(), 0);
    bool paintedWhenRun = false;
    windows.RunInSessionWindow([&] { paintedWhenRun = windows.view()->painted(); });
    EXPECT_TRUE(paintedWhenRun);
    EXPECT_EQ(windows.view(), nullptr);
}

TEST_F(SessionWindowsTest, TheInspectorWatchesTheClipboardsAndFollowsTheMainWindow) {
    fixture_.Set("F1", "eins");
    fixture_.Set("F2", "zwei");
    clipboard_.text = "F1";
    QtSessionWindows windows(MakeSetup(), 0);
    QString first, second;
    QSize size;
    OnModal<InspectorView>([&](InspectorView* view) {
        first = view->watchedValue(1)->text().trimmed();
        second = view->watchedValue(2)->text().trimmed();
        size = view->size();
        view->backButton()->click();
    });
    InspectorContext context{fixture_.facts_, fixture_.breakpoint_, true, "F2", ""};
    windows.ShowInspector(InspectorReason::Page, 0, context);
    EXPECT_EQ(first, QStringLiteral("eins"));
    EXPECT_EQ(second, QStringLiteral("zwei"));
    // A main window of 1200 x 960 gives an inspector of 960 x 768 (its client area 928 x 694).
    EXPECT_EQ(size, QSize(qRound(580 * 1.5992), qRound(434 * 1.5992)));
}

TEST_F(SessionWindowsTest, APageRunsModallyAndWeiterContinues) {
    PageRequest page;
    for (std::string& line : page.formPage) {
        line.assign(80, ' ');
    }
    page.formPage[2].replace(0, 10, "]ALTER   ]");
    QtSessionWindows windows(MakeSetup(), 0);
    OnModal<PageView>([](PageView* view) {
        QTest::keyClicks(view->component(Pool::Edit, 1), QStringLiteral("42"));
        view->toolButton(ToolButton::Weiter)->click();
    });
    InspectorContext context{fixture_.facts_, fixture_.breakpoint_, true};
    EXPECT_EQ(windows.ShowPage(page, context), PageOutcome::Continue);
    EXPECT_EQ(fixture_.Value("ALTER"), "42");
}

TEST_F(SessionWindowsTest, APageBrokenOffEndsTheConsultation) {
    PageRequest page;
    for (std::string& line : page.formPage) {
        line.assign(80, ' ');
    }
    QtSessionWindows windows(MakeSetup(), 0);
    OnModal<PageView>([](PageView* view) {
        OnModal<QMessageBox>(
            [](QMessageBox* box) { ButtonWithText(box, QStringLiteral("Ja"))->click(); });
        view->toolButton(ToolButton::Abbruch)->click();
    });
    InspectorContext context{fixture_.facts_, fixture_.breakpoint_, true};
    EXPECT_EQ(windows.ShowPage(page, context), PageOutcome::Abort);
}

TEST_F(SessionWindowsTest, ThePagesCloseButtonAsksAndNoKeepsThePage) {
    PageRequest page;
    for (std::string& line : page.formPage) {
        line.assign(80, ' ');
    }
    page.formPage[1].replace(0, 10, "]ALTER   ]");
    QtSessionWindows windows(MakeSetup(), 0);
    int questions = 0;
    OnModal<PageView>([&](PageView* view) {
        OnModal<QMessageBox>([&](QMessageBox* box) {
            ++questions;
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Programm beenden ?"));
            ButtonWithText(box, QStringLiteral("Nein"))->click();
            OnModal<PageView>([&](PageView* again) {
                EXPECT_TRUE(again->isVisible());  // the page stayed
                QTest::keyClicks(again->component(Pool::Edit, 1), QStringLiteral("7"));
                again->menuAction(ToolButton::Weiter)->trigger();
            });
        });
        view->close();
    });
    InspectorContext context{fixture_.facts_, fixture_.breakpoint_, true};
    EXPECT_EQ(windows.ShowPage(page, context), PageOutcome::Continue);
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(fixture_.Value("ALTER"), "7");
}

TEST_F(SessionWindowsTest, DatenbasisOpensTheInspectorOverThePage) {
    fixture_.Set("F1", "eins");
    PageRequest page;
    for (std::string& line : page.formPage) {
        line.assign(80, ' ');
    }
    QtSessionWindows windows(MakeSetup(), 0);
    bool inspected = false;
    OnModal<PageView>([&](PageView* view) {
        OnModal<InspectorView>([&](InspectorView* inspector) {
            inspected = true;
            inspector->backButton()->click();
            OnModal<PageView>(
                [](PageView* again) { again->toolButton(ToolButton::Weiter)->click(); });
        });
        view->toolButton(ToolButton::Datenbasis)->click();
    });
    InspectorContext context{fixture_.facts_, fixture_.breakpoint_, true};
    EXPECT_EQ(windows.ShowPage(page, context), PageOutcome::Continue);
    EXPECT_TRUE(inspected);
}

// A solution page's "Datenbasis" opens the inspector on the page's context, so "Begründung"
// shows the evidence there too; without it the button is there but disabled.
TEST_F(SessionWindowsTest, DatenbasisOfAPageOffersTheBegruendung) {
    fixture_.Set("F1", "eins");
    PageRequest page;
    page.formMode = 2;
    for (std::string& line : page.formPage) {
        line.assign(80, ' ');
    }
    for (const bool kept : {true, false}) {
        QtSessionWindows windows(MakeSetup(), 0);
        bool enabled = !kept;
        QString shown;
        OnModal<PageView>([&](PageView* view) {
            OnModal<InspectorView>([&](InspectorView* inspector) {
                enabled = inspector->explainButton()->isEnabled();
                if (enabled) {
                    OnModal<ExplanationView>([&](ExplanationView* window) {
                        shown = window->text()->toPlainText();
                        window->closeButton()->click();
                    });
                    inspector->explainButton()->click();
                }
                inspector->backButton()->click();
                OnModal<PageView>(
                    [](PageView* again) { again->toolButton(ToolButton::Weiter)->click(); });
            });
            view->toolButton(ToolButton::Datenbasis)->click();
        });
        InspectorContext context{fixture_.facts_, fixture_.breakpoint_, true};
        if (kept) {
            context.explainFact = [](int position, std::string_view record) {
                return std::vector<std::string>{std::string(record.substr(0, 2)) + " " +
                                                std::to_string(position) + " \xFC"};
            };
        }
        EXPECT_EQ(windows.ShowPage(page, context), PageOutcome::Continue);
        EXPECT_EQ(enabled, kept);
        EXPECT_EQ(shown, kept ? QStringLiteral("F1 -1 ü") : QString());
    }
}

// The page's media file plays when the page becomes active and again from "Video/Sound", each
// time with the page on the screen as the video window's owner.
TEST_F(SessionWindowsTest, APagePlaysItsMediaFileOverItselfWhenShown) {
    const TempDir dir;
    const std::filesystem::path file = dir / "film.avi";
    std::ofstream(file) << "x";
    FactFixture fixture({"G DATEI (100.050) (160.120)"});
    fixture.Set("DATEI", "film.avi");  // found in the knowledge base's folder
    PageRequest page;
    for (std::string& line : page.formPage) {
        line.assign(80, ' ');
    }
    page.firstMediaLine = 1;  // the line after the first comment
    SessionWindowsSetup setup = MakeSetup();
    setup.fileFolder = [&dir] { return dir.path(); };
    struct Played {
        MediaRequest request;
        bool ownerIsTheShownPage = false;
    };
    std::vector<Played> played;
    setup.playMedia = [&played](const MediaRequest& request, QWidget* owner) {
        auto* view = qobject_cast<PageView*>(owner);
        played.push_back({request, view != nullptr && view->isVisible() &&
                                       view->windowHandle() != nullptr &&
                                       view->windowHandle()->isExposed()});
    };
    QtSessionWindows windows(setup, 0);
    OnModal<PageView>([](PageView* view) {
        view->toolButton(ToolButton::VideoSound)->click();
        OnModal<PageView>([](PageView* again) { again->toolButton(ToolButton::Weiter)->click(); });
    });
    InspectorContext context{fixture.facts_, fixture.breakpoint_, true};
    EXPECT_EQ(windows.ShowPage(page, context), PageOutcome::Continue);
    ASSERT_EQ(played.size(), 2u);
    for (const Played& each : played) {
        EXPECT_TRUE(each.ownerIsTheShownPage);
        EXPECT_EQ(each.request.kind, MediaKind::Video);
        EXPECT_EQ(each.request.window, (MediaWindow{100, 50, 160, 120}));
        EXPECT_EQ(std::filesystem::path(each.request.file), file);
    }
}

}  // namespace
}  // namespace kelvo
