#include "ui/qt/editor_view.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include "platform/qt/qt_text.h"
#include "ui/qt/tool_icons.h"
#include "ui/qt/wheel_steps.h"

namespace kelvo {
namespace {

constexpr double kCell = 7.0;
/// The window's own font where a component names none.
constexpr int kWindowFontPixels = 11;
const QColor kSilver(192, 192, 192);

std::string RowName(int offset) {
    return "Text" + std::to_string(offset + 8);
}

void SetColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

ToolIcon PictureOf(std::string_view name) {
    if (name == "Anfang") {
        return ToolIcon::First;
    }
    if (name == "Minus_1") {
        return ToolIcon::Previous;
    }
    if (name == "Plus_1") {
        return ToolIcon::Next;
    }
    return ToolIcon::Last;
}

std::optional<EditorKey> KeyOf(int key) {
    switch (key) {
        case Qt::Key_Up:
            return EditorKey::Up;
        case Qt::Key_Down:
            return EditorKey::Down;
        case Qt::Key_PageUp:
            return EditorKey::PageUp;
        case Qt::Key_PageDown:
            return EditorKey::PageDown;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return EditorKey::Enter;
        case Qt::Key_F1:
            return EditorKey::F1;
        case Qt::Key_F5:
            return EditorKey::F5;
        case Qt::Key_F6:
            return EditorKey::F6;
        default:
            return std::nullopt;
    }
}

}  // namespace

EditorView::EditorView(TForm2& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      model_(model),
      scale_(model.ScaleFactor()) {
    setWindowTitle(ToQString(kEditorCaption));
    setModal(true);
    setAutoFillBackground(true);
    SetColour(this, QPalette::Window, Qt::white);
    setFont(scale_.Sans(kWindowFontPixels));
    Build();
    QRect client(0, 0, scale_(kEditorClientWidth), scale_(kEditorClientHeight));
    for (const auto& [name, widget] : components_) {
        client |= widget->geometry();  // the scroll bar reaches a pixel beyond the design
    }
    setFixedSize(client.size());
    move(model_.Window().left, model_.Window().top);
    Refresh();
    edit8_->setFocus();
}

void EditorView::Build() {
    const EditorComponent* scrollDesign = FindEditorComponent("ScrollBar1");
    for (const EditorComponent& design : TForm2::Components()) {
        const QString caption = ToQString(design.caption);
        QFont font =
            design.font.empty()
                ? scale_.Sans(kWindowFontPixels)
                : scale_.Courier(design.fontPixels, design.fontPixels * kCell / 12.0, design.bold);
        QWidget* widget = nullptr;
        switch (design.kind) {
            case EditorComponentKind::Label: {
                auto* label = new QLabel(caption, this);
                label->setTextFormat(Qt::PlainText);
                label->setFont(font);
                widget = label;
                if (design.name.starts_with("Text")) {
                    const int offset = std::stoi(std::string(design.name.substr(4))) - 8;
                    rowOffsets_[label] = offset;
                    label->installEventFilter(this);
                }
                if (design.name == "Zeilenanzeige") {
                    counter_ = label;
                }
                if (design.name == "Label7") {
                    label7_ = label;
                    label->setAutoFillBackground(true);
                }
                break;
            }
            case EditorComponentKind::Edit: {
                edit8_ = new QLineEdit(this);
                edit8_->setFrame(false);
                edit8_->setFont(font);
                edit8_->setMaxLength(static_cast<int>(TForm2::kEdit8MaxLength));
                edit8_->installEventFilter(this);
                SetColour(edit8_, QPalette::Base, kSilver);
                connect(edit8_, &QLineEdit::textEdited, this, [this](const QString& text) {
                    // The model puts the caret at the end of what was typed; the author's
                    // caret stays where the typing happened.
                    const int caret = edit8_->cursorPosition();
                    Forward([&] {
                        model_.TypeText(ToWindows1252(text));
                        model_.SetSelection(caret, 0);
                    });
                });
                auto selection = [this] {
                    if (refreshing_) {
                        return;
                    }
                    const int start = edit8_->hasSelectedText() ? edit8_->selectionStart()
                                                                : edit8_->cursorPosition();
                    model_.SetSelection(start, static_cast<int>(edit8_->selectedText().size()));
                };
                connect(edit8_, &QLineEdit::selectionChanged, this, selection);
                connect(edit8_, &QLineEdit::cursorPositionChanged, this, selection);
                widget = edit8_;
                break;
            }
            case EditorComponentKind::ScrollBar:
                scrollBar_ = new QScrollBar(Qt::Vertical, this);
                scrollBar_->setFocusPolicy(Qt::NoFocus);
                connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int position) {
                    if (!refreshing_) {
                        Forward([&] { model_.ScrollBar1Scroll(position); });
                    }
                });
                widget = scrollBar_;
                break;
            case EditorComponentKind::Button:
            case EditorComponentKind::PictureButton: {
                auto* button = new QPushButton(caption, this);
                button->setFont(font);
                button->setAutoDefault(false);
                button->setFocusPolicy(Qt::TabFocus);
                if (design.kind == EditorComponentKind::PictureButton) {
                    button->setIcon(ToolIconFor(PictureOf(design.name)));
                    button->setIconSize(QSize(scale_(19), scale_(19)));
                }
                if (const std::optional<EditorButton> which = EditorButtonNamed(design.name)) {
                    buttons_[*which] = button;
                    connect(button, &QPushButton::clicked, this,
                            [this, which] { Forward([&] { model_.Click(*which); }); });
                }
                widget = button;
                break;
            }
            case EditorComponentKind::CheckBox:
                checkBox_ = new QCheckBox(caption, this);
                checkBox_->setFont(font);
                checkBox_->setFocusPolicy(Qt::TabFocus);
                buttons_[EditorButton::CheckBox1] = checkBox_;
                connect(checkBox_, &QCheckBox::clicked, this,
                        [this] { Forward([&] { model_.Click(EditorButton::CheckBox1); }); });
                widget = checkBox_;
                break;
            case EditorComponentKind::FileDialog:
                continue;  // the desktop's file dialogs serve the transfer
        }
        int width = design.width;
        if (design.kind == EditorComponentKind::Edit && scrollDesign != nullptr) {
            // Edit8 ends where the scroll bar begins; its 82 characters need less.
            width = std::min(width, scrollDesign->left - design.left);
        }
        if (width < 0 || design.height < 0) {
            widget->adjustSize();
            const QSize natural = widget->sizeHint();
            widget->setGeometry(
                QRect(scale_.Point(design.left, design.top),
                      QSize(width < 0 ? natural.width() : scale_(width),
                            design.height < 0 ? natural.height() : scale_(design.height))));
        } else {
            widget->setGeometry(scale_.Rect(design.left, design.top, width, design.height));
        }
        if (rowOffsets_.contains(widget)) {
            widget->resize(scale_.CourierWidth(83, kCell), widget->height());
        }
        widget->installEventFilter(this);
        components_.emplace(std::string(design.name), widget);
    }
    scrollBar_->raise();
    // The design lets some buttons of a column overlap the next by a pixel; each ends where
    // the next begins, so that no frame is drawn over another.
    for (const auto& [which, upper] : buttons_) {
        for (const auto& [other, lower] : buttons_) {
            const QRect a = upper->geometry();
            const QRect b = lower->geometry();
            if (upper != lower && a.intersects(b) && a.top() < b.top()) {
                upper->resize(a.width(), b.top() - a.top());
            }
        }
    }
}

QWidget* EditorView::component(std::string_view name) const {
    const auto found = components_.find(name);
    return found == components_.end() ? nullptr : found->second;
}

QLabel* EditorView::row(int offset) const {
    return qobject_cast<QLabel*>(component(RowName(offset)));
}

QAbstractButton* EditorView::button(EditorButton which) const {
    const auto found = buttons_.find(which);
    return found == buttons_.end() ? nullptr : found->second;
}

template <class Action>
void EditorView::Forward(Action action) {
    action();
    Refresh();
    if (model_.Closed()) {
        done(QDialog::Accepted);
        return;
    }
    edit8_->setFocus();
}

void EditorView::Refresh() {
    refreshing_ = true;
    for (int offset = -TForm2::kRowsAround; offset <= TForm2::kRowsAround; ++offset) {
        if (offset == 0) {
            continue;
        }
        const TForm2::LineRow line = model_.Row(offset);
        QLabel* label = row(offset);
        label->setText(ToQString(line.text));
        SetColour(label, QPalette::WindowText, line.red ? Qt::red : Qt::black);
    }
    const QString text = ToQString(model_.Edit8Text());
    if (edit8_->text() != text) {
        edit8_->setText(text);
    }
    const TForm2::TextSelection selection = model_.Selection();
    if (selection.length > 0) {
        edit8_->setSelection(selection.start, selection.length);
    } else {
        edit8_->setCursorPosition(selection.start);
    }
    edit8_->setReadOnly(model_.Edit8ReadOnly());
    SetColour(edit8_, QPalette::Text, model_.Edit8Red() ? Qt::red : Qt::black);
    counter_->setText(ToQString(model_.Counter()));
    counter_->adjustSize();
    const TForm2::StatusLabel status = model_.Label7();
    label7_->setText(ToQString(status.text));
    SetColour(label7_, QPalette::Window, status.red ? Qt::red : Qt::white);
    SetColour(label7_, QPalette::WindowText, status.red ? Qt::white : Qt::black);
    label7_->adjustSize();
    const TForm2::ScrollBarState bar = model_.ScrollBar();
    scrollBar_->setRange(bar.minimum, bar.maximum);
    scrollBar_->setValue(bar.position);
    for (const auto& [which, widget] : buttons_) {
        widget->setEnabled(model_.Enabled(which));
    }
    checkBox_->setChecked(model_.Markierungszeichen());
    refreshing_ = false;
}

bool EditorView::EditKey(QKeyEvent* key, bool press) {
    const std::optional<EditorKey> which = KeyOf(key->key());
    if (!which || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    if (press) {
        Forward([&] { model_.Edit8KeyDown(*which); });
    } else if (!key->isAutoRepeat()) {
        // Held keys repeat their presses; only the last release lets Enter go.
        Forward([&] { model_.Edit8KeyUp(*which); });
    }
    return true;
}

bool EditorView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit8_ && event->type() == QEvent::FocusIn) {
        // Edit8 selects nothing by itself when it gets the focus: the caret stays where the
        // model has it.
        QTimer::singleShot(0, this, [this] { Refresh(); });
    }
    if (watched == edit8_ &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        return EditKey(static_cast<QKeyEvent*>(event), event->type() == QEvent::KeyPress);
    }
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto offset = rowOffsets_.find(watched);
        if (mouse->button() == Qt::MiddleButton &&
            (offset != rowOffsets_.end() || watched == edit8_)) {
            Forward([&] { model_.FormMouseDown(MouseButton::Middle); });
            return true;
        }
        if (mouse->button() == Qt::LeftButton && offset != rowOffsets_.end()) {
            Forward([&] { model_.Text1Click(offset->second); });
            return true;
        }
    }
    if (event->type() == QEvent::Wheel && watched != scrollBar_) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void EditorView::wheelEvent(QWheelEvent* event) {
    for (const int delta : TakeWheelSteps(wheelRest_, event->angleDelta().y())) {
        Forward([&] { model_.MouseWheelHandler(delta); });
    }
    event->accept();
}

void EditorView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        Forward([&] { model_.FormMouseDown(MouseButton::Middle); });
    }
    QDialog::mousePressEvent(event);
}

void EditorView::closeEvent(QCloseEvent* event) {
    // The window has no close button: it closes through its own buttons.
    if (model_.Closed()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void EditorView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void EditorView::reject() {
    if (model_.Closed()) {
        QDialog::reject();
    }
}

}  // namespace kelvo
