// A consultation page's window shows its model (labels, fields at the model's positions,
// toolbar, menu) and forwards typing, ticking, choosing and the commands to it.

#include "ui/qt/page_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "platform/qt/qt_text.h"
#include "tests/case_name.h"
#include "tests/platform/memory_clipboard.h"
#include "tests/ui/fact_fixture.h"
#include "tests/ui/qt_printing.h"

namespace kelvo {
namespace {

using kelvo::testing::MemoryClipboard;

class PageViewTest : public ::testing::Test {
  protected:
    PageViewTest() {
        for (std::string& line : source_.formPage) {
            line.assign(80, ' ');
        }
    }
    void Write(int line, const std::string& text, int column = 1) {
        source_.formPage[static_cast<std::size_t>(line)].replace(
            static_cast<std::size_t>(column - 1), text.size(), text);
    }
    TForm6 Build(int screenWidth = 1024, int screenHeight = 768, bool programming = true) {
        FormEnvironment environment;
        environment.programmingModule = programming;
        environment.screenWidth = screenWidth;
        environment.screenHeight = screenHeight;
        environment.findFile = [](std::string_view) { return std::string(); };
        environment.pictureLoads = [](const std::string&) { return false; };
        environment.reportButtonPicture = [] {};
        return TForm6(source_, fixture_.facts_, environment);
    }
    /// A page with a caption, an input field, a display field, a check box, a list and a
    /// multi-line field.
    void QuestionPage() {
        Write(0,
              "Fragen \xFC"
              "ber Sie \xAB\x80\xBB");
        Write(3, "Name:     ]NAME      ]  Stadt: [STADT     [", 1);
        Write(5, "Raucher: >RAUCHER   >");
        Write(7, "Farbe: |+FARBE{2}  |");
        Write(8, "       |           |");
        Write(10,
              "\xAB"
              "NOTIZ        \xAB");
        Write(11, "\xAB             \xAB");
        Write(13,
              "Gr\xF6\xDF"
              "e in \x80 \xAB\xBB");
        fixture_.Set("NAME", "M\xFCller");
        fixture_.Set("STADT", "K\xF6ln");
        fixture_.Set("RAUCHER", "Ja");
        fixture_.Set("RAUCHER:", "wahr");
        fixture_.Set("+FARBE{1}", "rot");
        fixture_.Set("+FARBE{2}", "gr\xFCn");
        fixture_.Set("+FARBE{3}", "blau");
        fixture_.Set("NOTIZ", "eins\r\nzwei");
    }

    FactFixture fixture_;
    PageRequest source_;
    MemoryClipboard clipboard_;
};

/// Types `text` into `widget` key by key, as a keyboard with these characters would.
void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

/// Writes a 2 x 2 bitmap of 24 bits: red, green on the top row; blue, white below.
void WriteBitmap(const std::filesystem::path& file) {
    const unsigned char bytes[] = {
        'B', 'M', 70,  0, 0,   0,   0,   0,   0, 0, 54, 0, 0, 0,  // file header
        40,  0,   0,   0, 2,   0,   0,   0,   2, 0, 0,  0, 1, 0,
        24,  0,   0,   0, 0,   0,   16,  0,   0, 0,  // info
        0,   0,   0,   0, 0,   0,   0,   0,   0, 0, 0,  0, 0, 0,
        0,   0,   255, 0, 0,   255, 255, 255, 0, 0,  // bottom row (BGR): blue, white, padding
        0,   0,   255, 0, 255, 0,   0,   0,          // top row: red, green, padding
    };
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

/// The widget's rectangle in the page's design coordinates, unscaled.
QRect DesignRect(const PageView& view, const FormRect& rect) {
    return view.scale().Rect(rect.left, rect.top - PageView::kToolbarHeight, rect.width,
                             rect.height);
}

TEST_F(PageViewTest, ShowsCaptionLabelsAndFieldsAtTheModelsPositions) {
    QuestionPage();
    TForm6 model = Build();
    PageView view(model, &clipboard_, nullptr);
    EXPECT_EQ(view.windowTitle(), ToQString(model.Caption()));
    EXPECT_EQ(view.formMenu()->font(), QApplication::font(view.formMenu()));  // not scaled
    EXPECT_TRUE(view.windowTitle().startsWith(QStringLiteral("Fragen über Sie «€»")));
    for (int k = 1; k <= TForm6::kBodyLines; ++k) {
        EXPECT_EQ(view.bodyLabel(k)->text(),
                  ToQString(model.Labels()[static_cast<std::size_t>(k - 1)]));
    }
    EXPECT_TRUE(view.bodyLabel(13)->text().startsWith(QStringLiteral("Größe in € «»")));
    for (int p = 0; p < kPoolCount; ++p) {
        const auto pool = static_cast<Pool>(p);
        for (int slot = 1; slot <= kPoolSlots[static_cast<std::size_t>(p)]; ++slot) {
            const FormComponent& component = model.Slot(pool, slot).component;
            QWidget* widget = view.component(pool, slot);
            ASSERT_EQ(widget != nullptr, component.visible) << p << "/" << slot;
            if (widget != nullptr) {
                EXPECT_EQ(widget->geometry(), DesignRect(view, component.rect)) << p << "/" << slot;
            }
        }
    }
    auto* name = qobject_cast<QLineEdit*>(view.component(Pool::Edit, 1));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), QStringLiteral("Müller"));
    EXPECT_FALSE(name->isReadOnly());
    auto* city = qobject_cast<QLineEdit*>(view.component(Pool::Edit, 2));
    ASSERT_NE(city, nullptr);
    EXPECT_EQ(city->text(), QStringLiteral("Köln"));
    EXPECT_TRUE(city->isReadOnly());
    EXPECT_EQ(city->palette().color(QPalette::Base), QColor(0, 255, 255));
    auto* smoker = qobject_cast<QCheckBox*>(view.component(Pool::CheckBox, 1));
    ASSERT_NE(smoker, nullptr);
    EXPECT_TRUE(smoker->isChecked());
    EXPECT_EQ(smoker->text(), QStringLiteral("Ja"));
    auto* colour = qobject_cast<QListWidget*>(view.component(Pool::ListBox, 1));
    ASSERT_NE(colour, nullptr);
    ASSERT_EQ(colour->count(), 3);
    EXPECT_EQ(colour->item(1)->text(), QStringLiteral("grün"));
    EXPECT_EQ(colour->currentRow(), 1);
    auto* note = qobject_cast<QPlainTextEdit*>(view.component(Pool::Memo, 1));
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->toPlainText(), QStringLiteral("eins\nzwei"));
}

// Run on a screen of 1600 x 1200 at 100 %, 150 % and 200 % too (the ScreenGeometry tests).
TEST_F(PageViewTest, ScreenGeometryFollowsTheScaleLevelOfTheScreen) {
    QuestionPage();
    const QSize available = QGuiApplication::primaryScreen()->availableGeometry().size();
    for (const auto& [width, height] : std::vector<std::pair<int, int>>{
             {640, 480}, {800, 600}, {1024, 768}, {1280, 1024}, {1600, 1200}}) {
        if (width > available.width() || height > available.height()) {
            continue;  // a level for a larger screen than this one
        }
        TForm6 model = Build(width, height);
        PageView view(model, &clipboard_, nullptr);
        const double scale =
            static_cast<double>(model.Window().scaleNumerator) / model.Window().scaleDenominator;
        EXPECT_DOUBLE_EQ(view.scale().factor(), scale);
        const FormRect rect = model.Slot(Pool::Edit, 1).component.rect;
        EXPECT_EQ(view.component(Pool::Edit, 1)->geometry(), DesignRect(view, rect)) << width;
        // The whole body fits in the window at every level: no scroll bar is needed.
        view.show();
        QApplication::processEvents();
        EXPECT_FALSE(view.scrollArea()->verticalScrollBar()->isVisible()) << width;
        EXPECT_FALSE(view.scrollArea()->horizontalScrollBar()->isVisible()) << width;
        view.hide();
    }
}

TEST_F(PageViewTest, PicturesAreDrawnAndAPageWiderThanTheWindowScrolls) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "kelvo_page_view_weit.bmp";
    WriteBitmap(file);
    FactFixture media({"G BILD (10.030) (2000.200)"});
    media.Set("BILD", "weit.bmp");
    source_.firstMediaLine = 1;
    FormEnvironment environment;
    environment.findFile = [&](std::string_view) { return file.string(); };
    environment.pictureLoads = [](const std::string&) { return true; };
    TForm6 model(source_, media.facts_, environment);
    ASSERT_TRUE(model.Pictures()[0].visible);
    PageView view(model, &clipboard_, nullptr);
    QLabel* picture = view.picture(1);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->geometry(), DesignRect(view, model.Pictures()[0].rect));
    ASSERT_FALSE(picture->pixmap().isNull());
    EXPECT_EQ(picture->pixmap().toImage().pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(view.picture(2), nullptr);
    view.show();
    QApplication::processEvents();
    EXPECT_TRUE(view.scrollArea()->horizontalScrollBar()->isVisible());
    view.hide();
}

TEST_F(PageViewTest, ToolbarAndMenuShowWhatTheModelShows) {
    QuestionPage();
    TForm6 model = Build();
    PageView view(model, &clipboard_, nullptr);
    EXPECT_EQ(view.formMenu()->title(), QStringLiteral("&Formular"));
    const std::array<QString, kToolButtonCount> captions{
        QStringLiteral("&Abbruch"),    QStringLiteral("&Drucken"),  QStringLiteral("Da&tenbasis"),
        QStringLiteral("&Weiter"),     QStringLiteral("&Kopieren"), QStringLiteral("&Einfügen"),
        QStringLiteral("&Video/Sound")};
    const std::array<QString, kToolButtonCount> keys{
        QStringLiteral("Ctrl+A"), QStringLiteral("Ctrl+D"), QStringLiteral("Ctrl+I"),
        QStringLiteral("Ctrl+W"), QStringLiteral("Ctrl+K"), QStringLiteral("Ctrl+E"),
        QStringLiteral("Ctrl+V")};
    for (int b = 0; b < kToolButtonCount; ++b) {
        const auto button = static_cast<ToolButton>(b);
        const std::size_t i = static_cast<std::size_t>(b);
        EXPECT_EQ(view.toolButton(button)->isVisibleTo(&view), model.Tool(button).visible) << b;
        EXPECT_EQ(view.menuAction(button)->isVisible(), model.Tool(button).visible) << b;
        EXPECT_EQ(view.toolButton(button)->x(), view.scale()(model.Tool(button).left)) << b;
        EXPECT_EQ(view.toolButton(button)->toolTip(), ToQString(ToolButtonHint(button)));
        EXPECT_FALSE(view.toolButton(button)->icon().isNull()) << b;
        EXPECT_EQ(view.menuAction(button)->text(), captions[i]);
        EXPECT_EQ(view.menuAction(button)->shortcut().toString(), keys[i]);
    }
    EXPECT_EQ(view.toolButton(ToolButton::Einfuegen)->toolTip(), QStringLiteral("Einfügen"));
    // The programming module has "Datenbasis"; the user module has not.
    TForm6 user = Build(1024, 768, false);
    PageView userView(user, &clipboard_, nullptr);
    EXPECT_FALSE(userView.toolButton(ToolButton::Datenbasis)->isVisibleTo(&userView));
    EXPECT_FALSE(userView.menuAction(ToolButton::Datenbasis)->isVisible());
}

TEST_F(PageViewTest, TypingTickingAndChoosingReachTheModelAndWeiterStoresThem) {
    QuestionPage();
    TForm6 model = Build();
    PageView view(model, &clipboard_, nullptr);
    auto* name = qobject_cast<QLineEdit*>(view.component(Pool::Edit, 1));
    name->clear();
    TypeText(name, QStringLiteral("Groß «€»"));
    EXPECT_EQ(model.Slot(Pool::Edit, 1).component.text, "Gro\xDF \xAB\x80\xBB");
    qobject_cast<QCheckBox*>(view.component(Pool::CheckBox, 1))->setChecked(false);
    qobject_cast<QListWidget*>(view.component(Pool::ListBox, 1))->setCurrentRow(2);
    auto* note = qobject_cast<QPlainTextEdit*>(view.component(Pool::Memo, 1));
    note->setPlainText(QStringLiteral("drei\nvier"));
    view.toolButton(ToolButton::Weiter)->click();
    const std::optional<PageAction> action = view.TakeAction();
    ASSERT_TRUE(action.has_value());
    EXPECT_EQ(action->kind, PageAction::Kind::Weiter);
    EXPECT_FALSE(view.TakeAction().has_value());  // taken once
    // What the page session does with it: the model stores what the view gave it.
    model.WeiterClick();
    EXPECT_EQ(fixture_.Value("NAME"), "Gro\xDF \xAB\x80\xBB");
    EXPECT_EQ(fixture_.Value("STADT"), "K\xF6ln");  // a display field stores nothing
    EXPECT_EQ(fixture_.Value("RAUCHER:"), "FALSCH");
    EXPECT_EQ(fixture_.Value("++LR{1}"), "blau");
    EXPECT_EQ(fixture_.Value("NOTIZ"), "drei\r\nvier");
}

TEST_F(PageViewTest, APageButtonEndsThePageAsThatButton) {
    Write(2, "<+ANTWORT<  <+NEIN    <");
    fixture_.Set("+ANTWORT", "Ja");
    fixture_.Set("+NEIN", "Nein");
    TForm6 model = Build();
    PageView view(model, &clipboard_, nullptr);
    EXPECT_FALSE(view.toolButton(ToolButton::Weiter)->isVisibleTo(&view));
    auto* no = qobject_cast<QPushButton*>(view.component(Pool::Button, 2));
    ASSERT_NE(no, nullptr);
    EXPECT_EQ(no->text(), QStringLiteral("NEIN"));
    no->click();
    const std::optional<PageAction> action = view.TakeAction();
    ASSERT_TRUE(action.has_value());
    EXPECT_EQ(action->kind, PageAction::Kind::PageButton);
    EXPECT_EQ(action->button, 2);
}

TEST_F(PageViewTest, TheFirstPageButtonGetsTheFocusWhenThePageShows) {
    Write(2, "]FELD  ]  <+ANTWORT<");
    fixture_.Set("+ANTWORT", "Ja");
    TForm6 model = Build();
    model.FormActivate();  // the page session activates the page before it shows
    PageView view(model, &clipboard_, nullptr);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QTest::qWait(20);
    EXPECT_EQ(QApplication::focusWidget(), view.component(Pool::Button, 1));
    view.hide();
}

struct CommandCase {
    std::string name;
    ToolButton button;
    PageAction::Kind kind;
};

class PageViewCommand : public PageViewTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(PageViewCommand, ToolbarAndMenuGiveTheCommandToThePageSession) {
    QuestionPage();
    TForm6 model = Build();
    PageView view(model, &clipboard_, nullptr);
    int told = 0;
    view.SetActionListener([&] { ++told; });
    view.toolButton(GetParam().button)->click();
    std::optional<PageAction> action = view.TakeAction();
    ASSERT_TRUE(action.has_value());
    EXPECT_EQ(action->kind, GetParam().kind);
    view.menuAction(GetParam().button)->trigger();
    action = view.TakeAction();
    ASSERT_TRUE(action.has_value());
    EXPECT_EQ(action->kind, GetParam().kind);
    EXPECT_EQ(told, 2);
    EXPECT_FALSE(model.Closed());  // the session, not the view, carries the command out
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PageViewCommand,
    ::testing::Values(CommandCase{"weiter", ToolButton::Weiter, PageAction::Kind::Weiter},
                      CommandCase{"abbruch", ToolButton::Abbruch, PageAction::Kind::Abbruch},
                      CommandCase{"drucken", ToolButton::Drucken, PageAction::Kind::Drucken},
                      CommandCase{"datenbasis", ToolButton::Datenbasis,
                                  PageAction::Kind::Datenbasis}),
    CaseName());

TEST_F(PageViewTest, TheCloseButtonIsACommandAndTheWindowStays) {
    QuestionPage();
    TForm6 model = Build();
    PageView view(model, &clipboard_, nullptr);
    view.show();
    EXPECT_FALSE(view.close());
    EXPECT_TRUE(view.isVisible());
    const std::optional<PageAction> action = view.TakeAction();
    ASSERT_TRUE(action.has_value());
    EXPECT_EQ(action->kind, PageAction::Kind::Close);
    view.hide();
}

TEST_F(PageViewTest, CopyAndPasteGoThroughTheModelAndTheClipboard) {
    QuestionPage();
    TForm6 model = Build();
    PageView view(model, &clipboard_, nullptr);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    auto* name = qobject_cast<QLineEdit*>(view.component(Pool::Edit, 1));
    name->setFocus();
    QApplication::processEvents();
    name->setSelection(1, 4);  // "üller"'s first four
    view.Command(ToolButton::Kopieren);
    EXPECT_EQ(clipboard_.text, "\xFClle");
    clipboard_.text = "\xDF\x80";
    name->setCursorPosition(1);
    view.Command(ToolButton::Einfuegen);
    EXPECT_EQ(model.Slot(Pool::Edit, 1).component.text, "M\xDF\x80\xFCller");
    EXPECT_EQ(name->text(), QStringLiteral("Mß€üller"));
    view.hide();
}

TEST_F(PageViewTest, ClosingPagesShowTheirTextAndWeiter) {
    source_.formMode = 3;
    TForm6 model = Build();
    PageView view(model, &clipboard_, nullptr);
    EXPECT_TRUE(
        view.bodyLabel(5)->text().contains(QStringLiteral("keine Lösung für Sie ermitteln!")));
    EXPECT_TRUE(view.toolButton(ToolButton::Weiter)->isVisibleTo(&view));
    EXPECT_FALSE(view.toolButton(ToolButton::Kopieren)->isVisibleTo(&view));
}

}  // namespace
}  // namespace kelvo
