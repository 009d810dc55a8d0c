// The editor's window shows its model (rows, Edit8, counter, marks, buttons, scroll bar) at
// the model's scale and forwards typing, keys, clicks, the wheel and the scroll bar to it.

#include "ui/qt/editor_view.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "platform/qt/qt_text.h"
#include "tests/authoring/editor_fixture.h"
#include "tests/ui/qt_printing.h"

namespace kelvo {
namespace {

class EditorViewTest : public testing::EditorTest {
  protected:
    /// Every row, Edit8, the counter, the marks, the scroll bar and every button show what
    /// the model holds.
    void ExpectShowsModel(const EditorView& view) {
        TForm2& model = editor();
        for (int offset = -7; offset <= 7; ++offset) {
            if (offset == 0) {
                continue;
            }
            const TForm2::LineRow row = model.Row(offset);
            EXPECT_EQ(view.row(offset)->text(), ToQString(row.text)) << offset;
            EXPECT_EQ(view.row(offset)->palette().color(QPalette::WindowText),
                      row.red ? QColor(Qt::red) : QColor(Qt::black))
                << offset;
        }
        EXPECT_EQ(view.edit8()->text(), ToQString(model.Edit8Text()));
        EXPECT_EQ(view.edit8()->isReadOnly(), model.Edit8ReadOnly());
        EXPECT_EQ(view.counter()->text(), ToQString(model.Counter()));
        EXPECT_EQ(view.markLabel()->text(), ToQString(model.Label7().text));
        EXPECT_EQ(view.scrollBar()->value(), model.ScrollBar().position);
        EXPECT_EQ(view.scrollBar()->maximum(), model.ScrollBar().maximum);
        for (const EditorButton button : AllEditorButtons()) {
            ASSERT_NE(view.button(button), nullptr) << EditorButtonName(button);
            EXPECT_EQ(view.button(button)->isEnabled(), model.Enabled(button))
                << EditorButtonName(button);
        }
    }

    static void Key(QWidget* widget, Qt::Key key, bool autoRepeat = false,
                    QEvent::Type type = QEvent::KeyPress) {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(widget, &event);
    }
};

TEST_F(EditorViewTest, ShowsTheModelWithUmlautsAndBlockRowsInRed) {
    Open(
        {"K Gr\xF6\xDF"
         "e \xAB\x80\xBB",
         "K 2", "K 3", "K 4", "K 5"});
    GoTo(3);
    MarkBlock(1, 2);
    GoTo(3);
    EditorView view(editor(), nullptr);
    ExpectShowsModel(view);
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Editor"));
    EXPECT_TRUE(view.row(-2)->text().startsWith(QStringLiteral("K Größe «€»")));
    EXPECT_EQ(view.row(-2)->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(view.edit8()->palette().color(QPalette::Base), QColor(192, 192, 192));
    EXPECT_EQ(view.counter()->text(), QStringLiteral("Zeile =      3"));
}

TEST_F(EditorViewTest, ScreenGeometryPlacesEveryComponentTimesTheScale) {
    Open({"K 1"});
    EditorView view(editor(), nullptr);
    const double factor = editor().ScaleFactor();
    EXPECT_GE(view.width(), qRound(kEditorClientWidth * factor));
    EXPECT_LE(view.width(), qRound((kEditorClientWidth + 1) * factor) + 1);
    EXPECT_EQ(view.height(), qRound(kEditorClientHeight * factor));
    for (const EditorComponent& design : TForm2::Components()) {
        QWidget* widget = view.component(design.name);
        if (design.kind == EditorComponentKind::FileDialog) {
            EXPECT_EQ(widget, nullptr);
            continue;
        }
        ASSERT_NE(widget, nullptr) << design.name;
        EXPECT_EQ(widget->pos(), view.scale().Point(design.left, design.top)) << design.name;
        if (design.width >= 0 && design.name != "Edit8") {
            const QRect rect =
                view.scale().Rect(design.left, design.top, design.width, design.height);
            EXPECT_EQ(widget->width(), rect.width()) << design.name;
            // A button that overlaps the next one of its column by a pixel ends above it.
            EXPECT_GE(widget->height(), rect.height() - view.scale()(1) - 1) << design.name;
            EXPECT_LE(widget->height(), rect.height()) << design.name;
        }
        EXPECT_TRUE(view.rect().contains(widget->geometry())) << design.name;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            EXPECT_EQ(button->text(), ToQString(design.caption)) << design.name;
        }
    }
    // No two buttons overlap, and each caption fits its button.
    std::vector<QAbstractButton*> buttons;
    for (const EditorButton which : AllEditorButtons()) {
        buttons.push_back(view.button(which));
    }
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const QFontMetrics metrics(buttons[i]->font());
        EXPECT_LE(metrics.horizontalAdvance(buttons[i]->text()), buttons[i]->width())
            << buttons[i]->text().toStdString();
        for (std::size_t j = i + 1; j < buttons.size(); ++j) {
            EXPECT_FALSE(buttons[i]->geometry().intersects(buttons[j]->geometry()))
                << buttons[i]->text().toStdString() << " / " << buttons[j]->text().toStdString();
        }
    }
}

TEST_F(EditorViewTest, TypingAndDownStoreTheLineAndMove) {
    Open({"K 1", "K 2"});
    EditorView view(editor(), nullptr);
    view.edit8()->selectAll();
    QTest::keyClicks(view.edit8(), QStringLiteral("f x (1) . a$b"));
    EXPECT_EQ(editor().Edit8Text(), "f x (1) . a$b");
    EXPECT_TRUE(editor().Edit8Changed());
    Key(view.edit8(), Qt::Key_Down);
    Key(view.edit8(), Qt::Key_Down, false, QEvent::KeyRelease);
    EXPECT_EQ(editor().CurrentLine(), 1);
    EXPECT_EQ(Record(0).substr(0, 3), "F X");
    ExpectShowsModel(view);
    EXPECT_TRUE(view.row(-1)->text().startsWith(QStringLiteral("F X")));
}

TEST_F(EditorViewTest, TypingInTheMiddleKeepsTheCaretThere) {
    Open({"K abc"});
    EditorView view(editor(), nullptr);
    view.edit8()->setCursorPosition(3);
    QTest::keyClicks(view.edit8(), QStringLiteral("XY"));
    EXPECT_EQ(editor().Edit8Text(), "K aXYbc");
    EXPECT_EQ(view.edit8()->cursorPosition(), 5);
}

TEST_F(EditorViewTest, HeldEnterInsertsLinesWithEdit8ReadOnlyUntilReleased) {
    Open({"K 1", "K 2"});
    EditorView view(editor(), nullptr);
    Key(view.edit8(), Qt::Key_Return);
    EXPECT_TRUE(view.edit8()->isReadOnly());
    Key(view.edit8(), Qt::Key_Return, true, QEvent::KeyRelease);  // auto-repeat
    Key(view.edit8(), Qt::Key_Return, true);
    EXPECT_TRUE(view.edit8()->isReadOnly());
    EXPECT_EQ(Lines(), (std::vector<std::string>{"K 1", "K", "K", "K 2"}));
    Key(view.edit8(), Qt::Key_Return, false, QEvent::KeyRelease);
    EXPECT_FALSE(view.edit8()->isReadOnly());
    EXPECT_EQ(editor().CurrentLine(), 2);
    ExpectShowsModel(view);
}

TEST_F(EditorViewTest, MarksShowInTheirLabel) {
    Open(testing::NumberedLines(20));
    GoTo(12);
    EditorView view(editor(), nullptr);
    Key(view.edit8(), Qt::Key_F5);
    EXPECT_EQ(view.markLabel()->text(), QStringLiteral("F5 = Markiert"));
    EXPECT_EQ(view.markLabel()->palette().color(QPalette::Window), QColor(Qt::red));
    Key(view.edit8(), Qt::Key_Down);
    Key(view.edit8(), Qt::Key_Down);
    Key(view.edit8(), Qt::Key_F5);
    EXPECT_EQ(editor().CurrentLine(), 11);
    EXPECT_EQ(view.markLabel()->text(), QString());
    ExpectShowsModel(view);
}

TEST_F(EditorViewTest, RowsWheelMiddleButtonAndScrollBarMove) {
    Open(testing::NumberedLines(30));
    GoTo(10);
    EditorView view(editor(), nullptr);
    QTest::mouseClick(view.row(3), Qt::LeftButton);
    EXPECT_EQ(editor().CurrentLine(), 12);
    auto turn = [&](int delta) {
        QWheelEvent wheel(QPointF(20, 20), QPointF(20, 20), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.row(1), &wheel);
    };
    turn(-120);
    turn(-120);
    EXPECT_EQ(editor().CurrentLine(), 13);
    ASSERT_FALSE(state_.wheelPageMode);
    QTest::mousePress(view.edit8(), Qt::MiddleButton);
    EXPECT_TRUE(state_.wheelPageMode);
    EXPECT_EQ(view.edit8()->text(), ToQString(editor().Edit8Text()));  // nothing pasted
    view.scrollBar()->setValue(25);
    EXPECT_EQ(editor().CurrentLine(), 25);
    ExpectShowsModel(view);
}

TEST_F(EditorViewTest, BlockButtonsFollowTheModelsStates) {
    Open(testing::NumberedLines(10));
    GoTo(3);
    EditorView view(editor(), nullptr);
    ASSERT_FALSE(view.button(EditorButton::Bis_1)->isEnabled());
    view.button(EditorButton::Von_1)->click();
    EXPECT_TRUE(view.button(EditorButton::Bis_1)->isEnabled());
    view.scrollBar()->setValue(5);
    view.button(EditorButton::Bis_1)->click();
    EXPECT_EQ(editor().BlockStart(), 2);
    EXPECT_EQ(editor().BlockEnd(), 5);
    EXPECT_TRUE(view.button(EditorButton::Loeschen_1)->isEnabled());
    ExpectShowsModel(view);
    EXPECT_EQ(view.edit8()->palette().color(QPalette::Text), QColor(Qt::red));
}

TEST_F(EditorViewTest, MarkierungszeichenShowsFillCharacters) {
    Open({"f x (1) . two$words"});
    EditorView view(editor(), nullptr);
    view.button(EditorButton::CheckBox1)->click();
    EXPECT_TRUE(editor().Markierungszeichen());
    EXPECT_TRUE(qobject_cast<QCheckBox*>(view.button(EditorButton::CheckBox1))->isChecked());
    EXPECT_TRUE(view.edit8()->text().contains(QStringLiteral("two$words$")));
}

TEST_F(EditorViewTest, SchliessenClosesTheWindow) {
    Open({"K 1"});
    EditorView view(editor(), nullptr);
    view.show();
    view.close();  // the window has no close button of its own
    EXPECT_TRUE(view.isVisible());
    view.button(EditorButton::Schliesen_1)->click();
    EXPECT_TRUE(editor().Closed());
    EXPECT_FALSE(view.isVisible());
}

}  // namespace
}  // namespace kelvo
