#include "ui/qt/inspector_view.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include "platform/qt/qt_text.h"
#include "ui/qt/explanation_view.h"
#include "ui/qt/wheel_steps.h"

namespace kelvo {
namespace {

constexpr double kCell = 7.0;

QLabel* MakeLabel(QWidget* parent, const QFont& font, const QRect& rect) {
    auto* label = new QLabel(parent);
    label->setFont(font);
    label->setGeometry(rect);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

}  // namespace

InspectorView::InspectorView(TForm7& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      model_(model),
      scale_(model.Scale() / 10000.0) {
    setWindowTitle(QStringLiteral("Datenbasis"));
    setModal(true);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setFixedSize(scale_(kClientWidth), scale_(kClientHeight));
    move(25, 0);

    QFont titleFont = scale_.Courier(16, 16 * 0.6, true);
    titleFont.setUnderline(true);
    title_ = MakeLabel(this, titleFont, scale_.Rect(128, 2, 400, 20));

    const QFont rowFont = scale_.Courier(12, kCell, true);
    for (int k = 1; k <= TForm7::kRows; ++k) {
        QLabel* row = MakeLabel(
            this, rowFont,
            QRect(scale_.Point(5, 30 + 15 * (k - 1)),
                  // The rows end at the window's edge; what lies beyond is trailing blanks.
                  QSize(scale_(kClientWidth - 5), scale_(15))));
        row->setCursor(Qt::PointingHandCursor);
        row->installEventFilter(this);
        rows_[static_cast<std::size_t>(k - 1)] = row;
    }

    // The scroll bar lies over the rows' trailing blanks, as it does in the design.
    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setGeometry(scale_.Rect(555, 24, 17, 264));
    scrollBar_->setPageStep(6);
    scrollBar_->raise();
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int position) {
        if (!refreshing_) {
            Forward([&] { model_.ScrollBar1Scroll(position); });
        }
    });

    QPalette silver = palette;
    silver.setColor(QPalette::Window, QColor(192, 192, 192));
    for (int k = 0; k < TForm7::kWatched; ++k) {
        const int top = 310 + 15 * k;
        for (QLabel** label : {&watchedNames_[static_cast<std::size_t>(k)],
                               &watchedValues_[static_cast<std::size_t>(k)]}) {
            const int left = label == &watchedNames_[static_cast<std::size_t>(k)] ? 25 : 250;
            *label = MakeLabel(
                this, rowFont,
                QRect(scale_.Point(left, top), QSize(scale_.CourierWidth(30, kCell), scale_(15))));
            (*label)->setAutoFillBackground(true);
            (*label)->setPalette(silver);
        }
    }

    const QFont buttonFont = scale_.Sans(12);
    auto makeButton = [&](const QString& caption, const QRect& rect) {
        auto* button = new QPushButton(caption, this);
        button->setFont(buttonFont);
        button->setGeometry(rect);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        return button;
    };
    switch_ = makeButton(QStringLiteral("Umschalten"), scale_.Rect(5, 400, 185, 34));
    breakpoint_ = makeButton(QStringLiteral("Haltepunkt löschen"), scale_.Rect(196, 400, 185, 34));
    back_ = makeButton(QStringLiteral("Zurück zum Programm"), scale_.Rect(387, 400, 185, 31));
    connect(switch_, &QPushButton::clicked, this,
            [this] { Forward([&] { model_.UmschaltenClick(); }); });
    connect(breakpoint_, &QPushButton::clicked, this,
            [this] { Forward([&] { model_.Haltepunkt_loeschenClick(); }); });
    connect(back_, &QPushButton::clicked, this, &QDialog::accept);
    // Our own button, in the free space above "Zurück zum Programm", as wide as it and as far
    // from it as the buttons of the bottom row are from each other.
    explain_ = makeButton(QStringLiteral("Begründung"), scale_.Rect(387, 363, 185, 31));
    connect(explain_, &QPushButton::clicked, this, &InspectorView::ShowExplanation);

    keyBox_ = new QLineEdit(this);
    keyBox_->setGeometry(0, 0, 0, 0);
    keyBox_->installEventFilter(this);

    for (int k = 0; k < TForm7::kWatched; ++k) {
        const TForm7::Watched& watched = model_.WatchedVariables()[static_cast<std::size_t>(k)];
        watchedNames_[static_cast<std::size_t>(k)]->setText(ToQString(watched.name));
        watchedValues_[static_cast<std::size_t>(k)]->setText(ToQString(watched.value));
    }
    Refresh();
    keyBox_->setFocus();
}

template <class Action>
void InspectorView::Forward(Action action) {
    action();
    Refresh();
    keyBox_->setFocus();
}

void InspectorView::Refresh() {
    refreshing_ = true;
    title_->setText(ToQString(model_.Title()));
    title_->adjustSize();
    for (int k = 0; k < TForm7::kRows; ++k) {
        rows_[static_cast<std::size_t>(k)]->setText(
            ToQString(model_.Rows()[static_cast<std::size_t>(k)]));
    }
    scrollBar_->setRange(model_.ScrollMin(), model_.ScrollMax());
    scrollBar_->setValue(model_.ScrollPosition());
    breakpoint_->setEnabled(model_.BreakpointButtonEnabled());
    explain_->setEnabled(model_.BegruendungEnabled());
    refreshing_ = false;
}

void InspectorView::ShowExplanation() {
    const std::vector<std::string> lines = model_.BegruendungClick();
    if (!lines.empty()) {
        ExplanationView window(lines, scale_, this);
        window.exec();
    }
    keyBox_->setFocus();
}

bool InspectorView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == keyBox_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Up:
                Forward([&] { model_.Edit_HilfKeyDown(InspectorKey::Up); });
                return true;
            case Qt::Key_Down:
                Forward([&] { model_.Edit_HilfKeyDown(InspectorKey::Down); });
                return true;
            case Qt::Key_PageUp:
                Forward([&] { model_.Edit_HilfKeyDown(InspectorKey::PageUp); });
                return true;
            case Qt::Key_PageDown:
                Forward([&] { model_.Edit_HilfKeyDown(InspectorKey::PageDown); });
                return true;
            default:
                return false;
        }
    }
    if (event->type() == QEvent::MouseButtonPress) {
        for (int k = 0; k < TForm7::kRows; ++k) {
            if (watched == rows_[static_cast<std::size_t>(k)]) {
                Forward([&] { model_.text1Click(k + 1); });
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void InspectorView::wheelEvent(QWheelEvent* event) {
    for (const int delta : TakeWheelSteps(wheelRest_, event->angleDelta().y())) {
        Forward([&] { model_.MouseWheelHandler(delta); });
    }
    event->accept();
}

}  // namespace kelvo
