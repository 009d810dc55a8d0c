// The inspector's window shows its model and forwards keys, clicks, the wheel and the scroll
// bar to it.

#include "ui/qt/inspector_view.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <utility>

#include "platform/qt/qt_text.h"
#include "tests/ui/fact_fixture.h"
#include "tests/ui/modal_watch.h"
#include "tests/ui/qt_printing.h"
#include "ui/qt/explanation_view.h"

namespace kelvo {
namespace {

class InspectorViewTest : public testing::Test {
  protected:
    void SetUp() override {
        for (int i = 1; i <= 30; ++i) {
            fixture_.Set("F" + std::to_string(i), "Wert " + std::to_string(i));
        }
        fixture_.Set(
            "GR\xD6\xDF"
            "E",
            "\xAB"
            "F\xFC\xDF"
            "e\xBB 5 \x80");
    }

    /// Every row, the title and the scroll bar show what the model holds.
    static void ExpectShowsModel(const InspectorView& view, const TForm7& model) {
        EXPECT_EQ(view.title()->text(), ToQString(model.Title()));
        for (int k = 1; k <= TForm7::kRows; ++k) {
            EXPECT_EQ(view.row(k)->text(), ToQString(model.Rows()[static_cast<std::size_t>(k - 1)]))
                << "row " << k;
        }
        EXPECT_EQ(view.scrollBar()->minimum(), model.ScrollMin());
        EXPECT_EQ(view.scrollBar()->maximum(), model.ScrollMax());
        EXPECT_EQ(view.scrollBar()->value(), model.ScrollPosition());
        EXPECT_EQ(view.breakpointButton()->isEnabled(), model.BreakpointButtonEnabled());
    }

    TForm7 Open(int breakpoint = 0, FactExplainer explainFact = {}) {
        fixture_.breakpoint_ = breakpoint;
        return TForm7(fixture_.facts_, fixture_.breakpoint_,
                      {" GR\xD6\xDF"
                       "E ",
                       "", "F7"},
                      1024, 768, std::move(explainFact));
    }

    /// Answers with two lines naming the record's object and the position asked for, and
    /// counts the questions.
    FactExplainer Explainer() {
        return [this](int position, std::string_view record) {
            ++explained_;
            return std::vector<std::string>{
                "Begr\xFCndung f\xFCr " + TrimRight(std::string(record.substr(0, 30))) + " an " +
                    std::to_string(position),
                "  Regel in Zeile 12: \xAB" + std::string(100, '-') + "\xBB"};
        };
    }

    FactFixture fixture_;
    int explained_ = 0;
};

TEST_F(InspectorViewTest, ShowsTheModelsRowsTitleAndWatchedVariablesWithUmlauts) {
    TForm7 model = Open();
    InspectorView view(model, nullptr);
    ExpectShowsModel(view, model);
    EXPECT_EQ(view.title()->text(), QStringLiteral("Datenbasis...Letzten 20 Speicherungen"));
    EXPECT_TRUE(view.row(9)->text().contains(QStringLiteral("«Füße» 5 €")));
    EXPECT_EQ(view.watchedName(1)->text().trimmed(), QStringLiteral("GRÖßE"));
    EXPECT_EQ(view.watchedValue(1)->text().trimmed(), QStringLiteral("«Füße» 5 €"));
    EXPECT_EQ(view.watchedName(2)->text().trimmed(), QStringLiteral("?"));
    EXPECT_EQ(view.watchedValue(2)->text().trimmed(), QStringLiteral("Fehler"));
    EXPECT_EQ(view.watchedValue(3)->text().trimmed(), QStringLiteral("Wert 7"));
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Datenbasis"));
    EXPECT_EQ(view.breakpointButton()->text(), QStringLiteral("Haltepunkt löschen"));
    EXPECT_EQ(view.backButton()->text(), QStringLiteral("Zurück zum Programm"));
}

TEST_F(InspectorViewTest, ScreenGeometryFollowsTheModelsScale) {
    TForm7 model = Open();
    InspectorView view(model, nullptr);
    const double scale = model.Scale() / 10000.0;
    EXPECT_EQ(view.width(), qRound(InspectorView::kClientWidth * scale));
    EXPECT_EQ(view.height(), qRound(InspectorView::kClientHeight * scale));
    EXPECT_EQ(view.row(1)->geometry().topLeft(), QPoint(qRound(5 * scale), qRound(30 * scale)));
    EXPECT_EQ(view.row(17)->y(), qRound((30 + 15 * 16) * scale));
    EXPECT_EQ(view.backButton()->geometry().topLeft(),
              QPoint(qRound(387 * scale), qRound(400 * scale)));
    EXPECT_EQ(view.scrollBar()->geometry().topLeft(),
              QPoint(qRound(555 * scale), qRound(24 * scale)));
    // Everything lies inside the window and the buttons do not overlap.
    for (QWidget* child : view.findChildren<QWidget*>()) {
        if (child->isVisibleTo(&view) && child != view.keyBox()) {
            EXPECT_TRUE(view.rect().contains(child->geometry()))
                << child->metaObject()->className();
        }
    }
    EXPECT_FALSE(view.switchButton()->geometry().intersects(view.breakpointButton()->geometry()));
    EXPECT_FALSE(view.breakpointButton()->geometry().intersects(view.backButton()->geometry()));
    // "Begründung" stands above "Zurück zum Programm", as wide, clear of every other component,
    // and its caption fits.
    QPushButton* explain = view.explainButton();
    EXPECT_EQ(explain->geometry().left(), view.backButton()->geometry().left());
    EXPECT_EQ(explain->geometry().right(), view.backButton()->geometry().right());
    EXPECT_LT(explain->geometry().bottom(), view.backButton()->geometry().top());
    for (QWidget* child : view.findChildren<QWidget*>()) {
        if (child != explain && child->parentWidget() == &view && child->isVisibleTo(&view) &&
            child != view.keyBox()) {
            EXPECT_FALSE(explain->geometry().intersects(child->geometry()))
                << child->metaObject()->className() << " " << child->objectName().toStdString();
        }
    }
    EXPECT_LE(explain->fontMetrics().horizontalAdvance(explain->text()) + 8, explain->width());
    EXPECT_LE(explain->fontMetrics().height(), explain->height());
}

TEST_F(InspectorViewTest, KeysInTheKeyBoxMoveTheModel) {
    TForm7 model = Open();
    InspectorView view(model, nullptr);
    QTest::keyClick(view.keyBox(), Qt::Key_Down);
    EXPECT_EQ(model.Current(), 2);
    QTest::keyClick(view.keyBox(), Qt::Key_PageDown);
    EXPECT_EQ(model.Current(), 8);
    QTest::keyClick(view.keyBox(), Qt::Key_Up);
    EXPECT_EQ(model.Current(), 7);
    QTest::keyClick(view.keyBox(), Qt::Key_PageUp);
    EXPECT_EQ(model.Current(), 1);
    ExpectShowsModel(view, model);
}

TEST_F(InspectorViewTest, SwitchingShowsAllFactRecords) {
    TForm7 model = Open();
    InspectorView view(model, nullptr);
    view.switchButton()->click();
    EXPECT_EQ(model.View(), 2);
    EXPECT_EQ(view.title()->text(), QStringLiteral("Datenbasis...Komplett anzeigen"));
    ExpectShowsModel(view, model);
}

TEST_F(InspectorViewTest, ClickOnARowMovesItToTheMiddle) {
    TForm7 model = Open();
    InspectorView view(model, nullptr);
    QTest::mouseClick(view.row(12), Qt::LeftButton);
    EXPECT_EQ(model.Current(), 4);
    ExpectShowsModel(view, model);
}

TEST_F(InspectorViewTest, EverySecondWheelNotchMovesOneEntry) {
    TForm7 model = Open();
    InspectorView view(model, nullptr);
    auto turn = [&](int delta) {
        QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &wheel);
    };
    turn(-120);
    EXPECT_EQ(model.Current(), 1);
    turn(-120);
    EXPECT_EQ(model.Current(), 2);
    // A fine wheel sends parts of a notch: four quarters are one notch.
    for (int i = 0; i < 8; ++i) {
        turn(-30);
    }
    EXPECT_EQ(model.Current(), 3);
    ExpectShowsModel(view, model);
}

TEST_F(InspectorViewTest, ScrollBarSetsTheCurrentEntry) {
    TForm7 model = Open();
    InspectorView view(model, nullptr);
    view.scrollBar()->setValue(15);
    EXPECT_EQ(model.Current(), 15);
    ExpectShowsModel(view, model);
}

TEST_F(InspectorViewTest, DeletingTheBreakpointDisablesItsButton) {
    TForm7 model = Open(12);
    InspectorView view(model, nullptr);
    ASSERT_TRUE(view.breakpointButton()->isEnabled());
    view.breakpointButton()->click();
    EXPECT_EQ(fixture_.breakpoint_, 0);
    EXPECT_FALSE(view.breakpointButton()->isEnabled());
}

TEST_F(InspectorViewTest, WithoutBreakpointItsButtonIsDisabled) {
    TForm7 model = Open(0);
    InspectorView view(model, nullptr);
    EXPECT_FALSE(view.breakpointButton()->isEnabled());
}

TEST_F(InspectorViewTest, BackToTheProgramCloses) {
    TForm7 model = Open();
    InspectorView view(model, nullptr);
    view.show();
    ASSERT_TRUE(view.isVisible());
    view.backButton()->click();
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(view.result(), QDialog::Accepted);
}

TEST_F(InspectorViewTest, BegruendungIsDisabledWithoutEvidence) {
    TForm7 model = Open();
    InspectorView view(model, nullptr);
    ASSERT_NE(view.explainButton(), nullptr);
    EXPECT_EQ(view.explainButton()->text(), QStringLiteral("Begründung"));
    EXPECT_TRUE(view.explainButton()->isVisibleTo(&view));
    EXPECT_FALSE(view.explainButton()->isEnabled());
    view.switchButton()->click();
    EXPECT_FALSE(view.explainButton()->isEnabled());
}

// The button follows the model: enabled on a fact, disabled on a recent store not yet written.
TEST_F(InspectorViewTest, BegruendungIsEnabledOnFactsOnly) {
    TForm7 model = Open(0, Explainer());
    InspectorView view(model, nullptr);
    EXPECT_TRUE(view.explainButton()->isEnabled());
    view.scrollBar()->setValue(20);  // the oldest of the 20 entries, all written
    EXPECT_TRUE(view.explainButton()->isEnabled());
    view.switchButton()->click();
    EXPECT_TRUE(view.explainButton()->isEnabled());
    EXPECT_EQ(explained_, 0);  // asked only when pressed
}

TEST_F(InspectorViewTest, BegruendungIsDisabledOnAStoreNotYetWritten) {
    FactFixture few;
    few.Set("ALTER", "42");
    TForm7 model(few.facts_, few.breakpoint_, {"", "", ""}, 1024, 768, Explainer());
    InspectorView view(model, nullptr);
    EXPECT_TRUE(view.explainButton()->isEnabled());
    QTest::keyClick(view.keyBox(), Qt::Key_Down);  // entry 2: "Leer"
    EXPECT_FALSE(view.explainButton()->isEnabled());
    QTest::keyClick(view.keyBox(), Qt::Key_Up);
    EXPECT_TRUE(view.explainButton()->isEnabled());
}

// Pressing it shows the lines of the current entry's fact, converted from Windows-1252, in a
// modal, resizable, read-only window of a fixed-width font; "Schließen" closes it.
TEST_F(InspectorViewTest, BegruendungShowsTheLinesOfTheCurrentFact) {
    TForm7 model = Open(0, Explainer());
    InspectorView view(model, nullptr);
    view.show();
    view.switchButton()->click();
    QTest::keyClick(view.keyBox(), Qt::Key_Up);  // the last fact but one: F30
    const int position = model.Current();
    QString title, text, caption;
    bool readOnly = false, fixedPitch = false, modal = false, wraps = true;
    QSize minimum, maximum;
    OnModal<ExplanationView>([&](ExplanationView* window) {
        title = window->windowTitle();
        text = window->text()->toPlainText();
        readOnly = window->text()->isReadOnly();
        fixedPitch = QFontInfo(window->text()->font()).fixedPitch();
        wraps = window->text()->lineWrapMode() != QPlainTextEdit::NoWrap;
        modal = window->isModal();
        minimum = window->minimumSize();
        maximum = window->maximumSize();
        caption = window->closeButton()->text();
        window->closeButton()->click();
    });
    view.explainButton()->click();
    EXPECT_EQ(explained_, 1);
    EXPECT_EQ(title, QStringLiteral("Begründung"));
    EXPECT_EQ(text, QStringLiteral("Begründung für F30 an ") + QString::number(position) +
                        QStringLiteral("\n  Regel in Zeile 12: «") +
                        QString(100, QLatin1Char('-')) + QStringLiteral("»"));
    EXPECT_TRUE(readOnly);
    EXPECT_TRUE(fixedPitch);
    EXPECT_FALSE(wraps);
    EXPECT_TRUE(modal);
    EXPECT_LT(minimum.width(), maximum.width());  // resizable
    EXPECT_EQ(caption, QStringLiteral("Schließen"));
    EXPECT_TRUE(view.isVisible());  // the inspector stays
    EXPECT_EQ(model.Current(), position);
}

TEST_F(InspectorViewTest, EscapeClosesTheBegruendung) {
    TForm7 model = Open(0, Explainer());
    InspectorView view(model, nullptr);
    view.show();
    bool closed = false;
    int result = -1;
    OnModal<ExplanationView>([&](ExplanationView* window) {
        QTest::keyClick(window->text(), Qt::Key_Escape);
        closed = !window->isVisible();
        result = window->result();
        if (!closed) {
            window->accept();
        }
    });
    view.explainButton()->click();
    EXPECT_TRUE(closed);
    EXPECT_EQ(result, QDialog::Rejected);
}

// The window opens at the design size for a short tree, wide enough for every line where the
// screen has room, and never beyond nine tenths of the screen: then its text scrolls both ways.
TEST(ExplanationViewTest, OpensAsLargeAsItsTreeWithinTheScreen) {
    const QSize room = QGuiApplication::primaryScreen()->availableGeometry().size() * 9 / 10;
    for (const double factor : {1.0, 1.5992}) {
        SCOPED_TRACE(factor);
        const QSize smallest(qRound(ExplanationView::kWidth * factor),
                             qRound(ExplanationView::kHeight * factor));
        {
            ExplanationView window(std::vector<std::string>(3, "kurz"), DesignScale(factor),
                                   nullptr);
            window.show();
            EXPECT_EQ(window.size(), smallest);
            EXPECT_EQ(window.text()->horizontalScrollBar()->maximum(), 0);
        }
        {
            ExplanationView window(std::vector<std::string>(200, std::string(300, 'x')),
                                   DesignScale(factor), nullptr);
            window.show();
            EXPECT_EQ(window.size(), QSize(std::max(smallest.width(), room.width()),
                                           std::max(smallest.height(), room.height())));
            EXPECT_GT(window.text()->verticalScrollBar()->maximum(), 0);
            EXPECT_GT(window.text()->horizontalScrollBar()->maximum(), 0);
            EXPECT_TRUE(window.rect().contains(window.closeButton()->geometry()));
            QPushButton* close = window.closeButton();
            EXPECT_LE(close->fontMetrics().horizontalAdvance(close->text()) + 8, close->width());
        }
    }
    // A line longer than the design width but shorter than the screen is shown whole.
    const int characterWidth =
        QFontMetrics(DesignScale(1.0).Courier(12, 7.0)).horizontalAdvance(QLatin1Char('x'));
    const std::string line(
        static_cast<std::size_t>((ExplanationView::kWidth + room.width()) / 2 / characterWidth),
        'x');
    ExplanationView window(std::vector<std::string>(5, line), DesignScale(1.0), nullptr);
    window.show();
    ASSERT_LT(window.width(), room.width());
    EXPECT_GT(window.width(), ExplanationView::kWidth);
    EXPECT_EQ(window.text()->horizontalScrollBar()->maximum(), 0);
}

}  // namespace
}  // namespace kelvo
