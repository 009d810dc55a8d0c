#include "ui/qt/page_view.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/clipboard.h"
#include "platform/qt/picture_image.h"
#include "platform/qt/qt_text.h"
#include "ui/qt/tool_icons.h"

namespace kelvo {
namespace {

constexpr double kCell = 7.0;
/// The side of a check box's box in design pixels (the height of a row less a margin).
constexpr int kCheckIndicator = 11;
const QColor kButtonFace(240, 240, 240);
const QColor kAqua(0, 255, 255);

constexpr std::array<ToolIcon, kToolButtonCount> kToolIcons{
    ToolIcon::Stop, ToolIcon::Print, ToolIcon::Database, ToolIcon::Forward,
    ToolIcon::Copy, ToolIcon::Paste, ToolIcon::Play};

/// The menu items' captions and shortcuts, in the order of ToolButton.
struct MenuItem {
    const char* caption;
    Qt::Key key;
};
constexpr std::array<MenuItem, kToolButtonCount> kMenuItems{{
    {"&Abbruch", Qt::Key_A},
    {"&Drucken", Qt::Key_D},
    {"Da&tenbasis", Qt::Key_I},
    {"&Weiter", Qt::Key_W},
    {"&Kopieren", Qt::Key_K},
    {"&Einfügen", Qt::Key_E},
    {"&Video/Sound", Qt::Key_V},
}};

void SetColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

/// A multi-line field's text as Qt shows it, and back: the core writes "\r\n" between lines.
QString MemoText(const std::string& windows1252) {
    return MessageToQString(windows1252);
}
std::string MemoBytes(const QString& text) {
    QString crlf = text;
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return ToWindows1252(crlf);
}
/// A position in a multi-line field's Qt text as a position in its "\r\n" bytes.
std::size_t MemoPosition(const QString& text, int position) {
    const int clamped = std::clamp(position, 0, static_cast<int>(text.size()));
    return static_cast<std::size_t>(clamped + text.left(clamped).count(QLatin1Char('\n')));
}

}  // namespace

PageView::PageView(TForm6& model, Clipboard* clipboard, QWidget* parent)
    : QDialog(parent),
      model_(model),
      clipboard_(clipboard),
      scale_(static_cast<double>(model.Window().scaleNumerator) / model.Window().scaleDenominator) {
    setModal(true);
    // An empty caption stays empty (Qt would show the program's name instead).
    const QString caption = ToQString(model_.Caption());
    setWindowTitle(caption.isEmpty() ? QStringLiteral(" ") : caption);
    setAutoFillBackground(true);
    SetColour(this, QPalette::Window, Qt::white);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    menuBar_ = new QMenuBar(this);
    layout->setMenuBar(menuBar_);
    auto* toolbar = new QWidget(this);
    toolbar->setFixedHeight(scale_(kToolbarHeight));
    toolbar->setAutoFillBackground(true);
    SetColour(toolbar, QPalette::Window, kButtonFace);
    layout->addWidget(toolbar);
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(false);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    SetColour(scroll_->viewport(), QPalette::Window, Qt::white);
    layout->addWidget(scroll_, 1);
    canvas_ = new QWidget;
    canvas_->setFont(scale_.System(13));
    canvas_->setAutoFillBackground(true);
    SetColour(canvas_, QPalette::Window, Qt::white);

    BuildToolbar(toolbar);
    BuildMenu(menuBar_);
    BuildBody();
    scroll_->setWidget(canvas_);
    BuildTabOrder();

    // The window's outer size is the model's; the desktop's frame and title bar take what
    // they take of it, the rest is the client area. Where the desktop's menu bar or fonts need
    // more room than the design reckoned with, the window grows so that the page's body shows
    // whole; only a screen too small for it leaves the rest to the scroll bars.
    const FormWindowSize& window = model_.Window();
    constexpr int kFrameWidth = 8;
    constexpr int kFrameHeight = 27;
    QSize client(window.width - kFrameWidth, window.height - kFrameHeight);
    const QSize body = bodyExtent_.size();
    client = client.expandedTo(
        QSize(body.width(), menuBar_->sizeHint().height() + toolbar->height() + body.height()));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        client = client.boundedTo(
            QSize(available.width() - kFrameWidth, available.height() - kFrameHeight));
    }
    resize(client);
    move(window.left, window.top);
}

PageView::~PageView() = default;

QRect PageView::CanvasRect(const FormRect& rect) const {
    return scale_.Rect(rect.left, rect.top - kToolbarHeight, rect.width, rect.height);
}

void PageView::BuildToolbar(QWidget* toolbar) {
    for (int b = 0; b < kToolButtonCount; ++b) {
        const auto button = static_cast<ToolButton>(b);
        auto* tool = new QToolButton(toolbar);
        tool->setAutoRaise(true);
        tool->setFocusPolicy(Qt::NoFocus);
        tool->setIcon(ToolIconFor(kToolIcons[static_cast<std::size_t>(b)]));
        tool->setIconSize(QSize(scale_(19), scale_(19)));
        tool->setToolTip(ToQString(ToolButtonHint(button)));
        tool->setGeometry(scale_.Rect(model_.Tool(button).left, 0, 25, 25));
        tool->setVisible(model_.Tool(button).visible);
        connect(tool, &QToolButton::clicked, this, [this, button] { Command(button); });
        tools_[static_cast<std::size_t>(b)] = tool;
    }
}

void PageView::BuildMenu(QMenuBar* bar) {
    menu_ = bar->addMenu(QStringLiteral("&Formular"));
    for (int b = 0; b < kToolButtonCount; ++b) {
        const auto button = static_cast<ToolButton>(b);
        const MenuItem& item = kMenuItems[static_cast<std::size_t>(b)];
        QAction* action = menu_->addAction(QString::fromUtf8(item.caption));
        action->setShortcut(QKeySequence(Qt::CTRL | item.key));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setVisible(model_.Tool(button).visible);
        connect(action, &QAction::triggered, this, [this, button] { Command(button); });
        actions_[static_cast<std::size_t>(b)] = action;
    }
    // The menu's own shortcut opens it.
    auto* open = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(open, &QShortcut::activated, this,
            [this] { menuBar_->setActiveAction(menu_->menuAction()); });
}

void PageView::BuildBody() {
    QRect extent(0, 0, scale_(TForm6::kClientWidth),
                 scale_(TForm6::kClientHeight - kToolbarHeight));
    const QFont courier = scale_.Courier(12, kCell);
    for (int k = 1; k <= TForm6::kBodyLines; ++k) {
        auto* label = new QLabel(canvas_);
        label->setFont(courier);
        label->setTextFormat(Qt::PlainText);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setText(ToQString(model_.Labels()[static_cast<std::size_t>(k - 1)]));
        label->setGeometry(QRect(scale_.Point(5, 30 + 15 * (k - 1) - kToolbarHeight),
                                 QSize(scale_.CourierWidth(TForm6::kColumns, kCell), scale_(15))));
        labels_[static_cast<std::size_t>(k - 1)] = label;
        extent |= label->geometry();
    }
    bodyExtent_ = extent;
    for (int k = 1; k <= TForm6::kPictures; ++k) {
        const FormPicture& picture = model_.Pictures()[static_cast<std::size_t>(k - 1)];
        if (!picture.visible) {
            continue;
        }
        auto* box = new QLabel(canvas_);
        box->setScaledContents(true);
        box->setPixmap(QPixmap::fromImage(LoadPictureImage(picture.file)));
        box->setGeometry(CanvasRect(picture.rect));
        box->lower();
        pictures_[static_cast<std::size_t>(k - 1)] = box;
        extent |= box->geometry();
    }
    for (int p = 0; p < kPoolCount; ++p) {
        const auto pool = static_cast<Pool>(p);
        for (int slot = 1; slot <= kPoolSlots[static_cast<std::size_t>(p)]; ++slot) {
            const FormComponent& shown = model_.Slot(pool, slot).component;
            if (shown.visible) {
                BuildComponent(pool, slot, shown);
                extent |= this->component(pool, slot)->geometry();
                bodyExtent_ |= this->component(pool, slot)->geometry();
            }
        }
    }
    canvas_->resize(extent.right() + 1, extent.bottom() + 1);
}

void PageView::BuildComponent(Pool pool, int slot, const FormComponent& component) {
    const FormControl control{pool, slot};
    const QFont courier = scale_.Courier(12, kCell);
    QWidget* widget = nullptr;
    switch (component.kind) {
        case FieldKind::Input:
        case FieldKind::Display: {
            auto* edit = new QLineEdit(canvas_);
            edit->setFrame(false);
            edit->setReadOnly(component.readOnly);
            edit->setText(ToQString(component.text));
            edit->setCursorPosition(0);
            SetColour(edit, QPalette::Base, component.readOnly ? kAqua : kButtonFace);
            connect(edit, &QLineEdit::textEdited, this, [this, control](const QString& text) {
                model_.SetFieldText(control, ToWindows1252(text));
            });
            auto selection = [this, edit, control] {
                if (syncing_ || !(model_.Focus() == control)) {
                    return;
                }
                const int start =
                    edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
                model_.SetSelection(static_cast<std::size_t>(start),
                                    static_cast<std::size_t>(edit->selectedText().size()));
            };
            connect(edit, &QLineEdit::selectionChanged, this, selection);
            connect(edit, &QLineEdit::cursorPositionChanged, this, selection);
            widget = edit;
            break;
        }
        case FieldKind::MemoInput:
        case FieldKind::MemoDisplay: {
            auto* memo = new QPlainTextEdit(canvas_);
            memo->setFrameShape(QFrame::NoFrame);
            memo->setReadOnly(component.readOnly);
            memo->setLineWrapMode(QPlainTextEdit::NoWrap);
            memo->setTabChangesFocus(false);
            memo->setPlainText(MemoText(component.text));
            memo->document()->setDocumentMargin(1);
            SetColour(memo, QPalette::Base, component.readOnly ? kAqua : kButtonFace);
            connect(memo, &QPlainTextEdit::textChanged, this, [this, memo, control] {
                if (!syncing_) {
                    model_.SetFieldText(control, MemoBytes(memo->toPlainText()));
                }
            });
            connect(memo, &QPlainTextEdit::cursorPositionChanged, this, [this, memo, control] {
                if (syncing_ || !(model_.Focus() == control)) {
                    return;
                }
                const QTextCursor cursor = memo->textCursor();
                const QString text = memo->toPlainText();
                const std::size_t start = MemoPosition(text, cursor.selectionStart());
                model_.SetSelection(start, MemoPosition(text, cursor.selectionEnd()) - start);
            });
            widget = memo;
            break;
        }
        case FieldKind::Button: {
            auto* button = new QPushButton(canvas_);
            const QRect rect = CanvasRect(component.rect);
            if (!component.picture.empty()) {
                const QImage image = LoadPictureImage(component.picture);
                if (!image.isNull()) {
                    button->setIcon(QIcon(QPixmap::fromImage(image)));
                    button->setIconSize(rect.size() - QSize(4, 4));
                }
            } else {
                button->setText(ToQString(component.text));
            }
            connect(button, &QPushButton::clicked, this, [this, slot] {
                Give({PageAction::Kind::PageButton, slot});
            });
            widget = button;
            break;
        }
        case FieldKind::CheckBox: {
            auto* box = new QCheckBox(ToQString(component.text), canvas_);
            box->setChecked(component.checked);
            box->setAutoFillBackground(true);
            SetColour(box, QPalette::Window, kButtonFace);
            // The box grows with the page's scale like the text beside it.
            const int indicator = scale_(kCheckIndicator);
            box->setStyleSheet(QStringLiteral("QCheckBox::indicator { width: %1px; height: %1px; }")
                                   .arg(indicator));
            connect(box, &QCheckBox::toggled, this,
                    [this, slot](bool checked) { model_.SetChecked(slot, checked); });
            widget = box;
            break;
        }
        case FieldKind::ListBox: {
            auto* list = new QListWidget(canvas_);
            list->setFrameShape(QFrame::NoFrame);
            list->setUniformItemSizes(true);
            SetColour(list, QPalette::Base, kButtonFace);
            // A list box shows its items in its width; a longer item is cut, not scrolled.
            list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            for (const std::string& item : component.items) {
                auto* entry = new QListWidgetItem(ToQString(item), list);
                entry->setSizeHint(QSize(CanvasRect(component.rect).width(), scale_(15)));
            }
            if (component.selected > 0) {
                list->setCurrentRow(component.selected - 1);
            }
            connect(list, &QListWidget::currentRowChanged, this,
                    [this, slot](int row) { model_.Select(slot, row + 1); });
            widget = list;
            break;
        }
    }
    widget->setFont(courier);
    widget->setGeometry(CanvasRect(component.rect));
    widget->installEventFilter(this);
    widget->show();
    components_[{static_cast<int>(pool), slot}] = widget;
    controlOf_[widget] = control;
}

QWidget* PageView::component(Pool pool, int slot) const {
    const auto found = components_.find({static_cast<int>(pool), slot});
    return found == components_.end() ? nullptr : found->second;
}

QLabel* PageView::picture(int k) const {
    return pictures_[static_cast<std::size_t>(k - 1)];
}

void PageView::BuildTabOrder() {
    std::vector<QWidget*> order;
    auto add = [&](Pool pool, int from, int to) {
        for (int slot = from; slot <= to; ++slot) {
            if (QWidget* widget = component(pool, slot)) {
                order.push_back(widget);
            }
        }
    };
    add(Pool::Edit, 1, 30);
    add(Pool::CheckBox, 1, 30);
    add(Pool::ListBox, 1, 5);
    add(Pool::Button, 1, 30);
    add(Pool::Memo, 1, 10);
    add(Pool::Edit, 31, 80);
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    if (QWidget* first = component(Pool::Edit, 1)) {
        first->setFocus();  // the design focus
    }
}

void PageView::ApplyFocus() {
    const FormControl focus = model_.Focus();
    if (QWidget* widget = component(focus.pool, focus.slot)) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

void PageView::ShowFieldText(FormControl control) {
    QWidget* widget = component(control.pool, control.slot);
    const FormComponent& model = model_.Slot(control.pool, control.slot).component;
    syncing_ = true;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(ToQString(model.text));
        edit->setCursorPosition(static_cast<int>(model.selectionStart));
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
        memo->setPlainText(MemoText(model.text));
        QTextCursor cursor = memo->textCursor();
        cursor.movePosition(QTextCursor::End);
        memo->setTextCursor(cursor);
    }
    syncing_ = false;
}

void PageView::Command(ToolButton button) {
    if (!model_.Tool(button).visible || model_.Closed()) {
        return;
    }
    switch (button) {
        case ToolButton::Weiter:
            Give({PageAction::Kind::Weiter, 0});
            return;
        case ToolButton::Abbruch:
            Give({PageAction::Kind::Abbruch, 0});
            return;
        case ToolButton::Drucken:
            Give({PageAction::Kind::Drucken, 0});
            return;
        case ToolButton::Datenbasis:
            Give({PageAction::Kind::Datenbasis, 0});
            return;
        case ToolButton::VideoSound:
            Give({PageAction::Kind::VideoSound, 0});
            return;
        case ToolButton::Kopieren:
            if (const std::optional<std::string> text = model_.In_AblageClick();
                text && clipboard_ != nullptr) {
                clipboard_->SetText(*text);
            }
            break;
        case ToolButton::Einfuegen:
            if (clipboard_ != nullptr) {
                model_.Aus_AblageClick(clipboard_->Text());
                ShowFieldText(model_.Focus());
            }
            break;
    }
    ApplyFocus();
}

void PageView::Give(PageAction action) {
    pending_ = action;
    if (listener_) {
        listener_();
    }
}

std::optional<PageAction> PageView::TakeAction() {
    std::optional<PageAction> action = pending_;
    pending_.reset();
    return action;
}

void PageView::ShowModelState() {
    ApplyFocus();
}

void PageView::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ApplyFocus();  // the focus the page's activation chose
}

bool PageView::eventFilter(QObject* watched, QEvent* event) {
    const auto control = controlOf_.find(watched);
    if (control != controlOf_.end()) {
        if (event->type() == QEvent::FocusIn) {
            model_.SetFocus(control->second);
        } else if (event->type() == QEvent::ShortcutOverride) {
            // The menu's shortcuts come before the fields' own keys (Ctrl+V plays the media
            // file while "Video/Sound" shows, instead of pasting).
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->modifiers() == Qt::ControlModifier) {
                for (int b = 0; b < kToolButtonCount; ++b) {
                    if (key->key() == kMenuItems[static_cast<std::size_t>(b)].key &&
                        model_.Tool(static_cast<ToolButton>(b)).visible) {
                        event->ignore();
                        return true;
                    }
                }
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PageView::closeEvent(QCloseEvent* event) {
    if (model_.Closed()) {
        event->accept();
        return;
    }
    // The page session asks and decides; the window goes when the model has closed.
    event->ignore();
    Give({PageAction::Kind::Close, 0});
}

void PageView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            event->accept();  // a page is left only by its commands
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
                button->click();
            }
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void PageView::reject() {
    if (model_.Closed()) {
        QDialog::reject();
    }
}

}  // namespace kelvo
