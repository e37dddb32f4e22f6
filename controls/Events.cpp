#include "controls/Events.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTextEdit>
#include <QTimer>

namespace controls {

int keyCodeOf(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;  // Qt's codes of letters and digits are their upper-case characters
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return key::F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
        case Qt::Key_Backspace:
            return key::Back;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return key::Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return key::Return;
        case Qt::Key_Shift:
            return key::Shift;
        case Qt::Key_Control:
            return key::Control;
        case Qt::Key_Escape:
            return key::Escape;
        case Qt::Key_Space:
            return key::Space;
        case Qt::Key_PageUp:
            return key::PageUp;
        case Qt::Key_PageDown:
            return key::PageDown;
        case Qt::Key_End:
            return key::End;
        case Qt::Key_Home:
            return key::Home;
        case Qt::Key_Left:
            return key::Left;
        case Qt::Key_Up:
            return key::Up;
        case Qt::Key_Right:
            return key::Right;
        case Qt::Key_Down:
            return key::Down;
        case Qt::Key_Insert:
            return key::Insert;
        case Qt::Key_Delete:
            return key::Delete;
        default:
            return 0;
    }
}

int shiftStateOf(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? shift::Shift : 0) |
           (modifiers & Qt::ControlModifier ? shift::Ctrl : 0) |
           (modifiers & Qt::AltModifier ? shift::Alt : 0);
}

int buttonsOf(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? button::Left : 0) | (buttons & Qt::RightButton ? button::Right : 0) |
           (buttons & Qt::MiddleButton ? button::Middle : 0);
}

int keyAsciiOf(const QKeyEvent& event)
{
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return key::Return;
        case Qt::Key_Escape:
            return key::Escape;
        case Qt::Key_Backspace:
            return key::Back;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete:
            return 0;
        default:
            break;
    }
    const QString text = event.text();
    if (text.size() != 1 || event.modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return 0;
    const QChar c = text.at(0);
    return c.isPrint() ? int(c.unicode()) : 0;
}

namespace {

// Widgets that receive the mouse for a widget: its viewport or line edit.
QWidget* mouseChildOf(QWidget* widget)
{
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget))
        return area->viewport();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->lineEdit();
    return nullptr;
}

// Focus changes between windows or to a pop-up do not count as the control losing or
// getting the focus (the control keeps the focus of its window).
bool countsAsFocusChange(const QEvent* event)
{
    const auto reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

QPoint positionIn(QWidget* widget, QObject* watched, const QMouseEvent* event)
{
    const QPoint local = event->position().toPoint();
    auto* source = qobject_cast<QWidget*>(watched);
    return source && source != widget ? source->mapTo(widget, local) : local;
}

}  // namespace

EventRouter& on(QWidget* widget)
{
    Q_ASSERT(widget);
    if (auto* existing = widget->findChild<EventRouter*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new EventRouter(widget);
}

void selectAll(QWidget* widget)
{
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        line->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        plain->selectAll();
    else if (auto* rich = qobject_cast<QTextEdit*>(widget))
        rich->selectAll();
    else if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget))
        spin->selectAll();
}

void selectAllOnFocus(QWidget* widget)
{
    static const char* const Marker = "orvaneSelectAllOnFocus";
    if (widget->property(Marker).toBool())
        return;
    widget->setProperty(Marker, true);
    QPointer<QWidget> guard(widget);
    on(widget).gotFocus([guard] {
        if (!guard)
            return;
        selectAll(guard);
        // A focusing mouse press places the caret after the focus event: select again.
        QTimer::singleShot(0, guard, [guard] {
            if (guard && guard->hasFocus())
                selectAll(guard);
        });
    });
}

EventRouter::EventRouter(QWidget* widget) : QObject(widget), widget_(widget)
{
    watch(widget);
    if (QWidget* child = mouseChildOf(widget))
        watch(child);
}

void EventRouter::watch(QObject* object)
{
    object->installEventFilter(this);
}

EventRouter& EventRouter::gotFocus(Handler handler)
{
    return add(gotFocus_, std::move(handler));
}

EventRouter& EventRouter::lostFocus(Handler handler)
{
    return add(lostFocus_, std::move(handler));
}

EventRouter& EventRouter::keyDown(KeyDownHandler handler)
{
    return add(keyDown_, std::move(handler));
}

EventRouter& EventRouter::keyUp(KeyDownHandler handler)
{
    return add(keyUp_, std::move(handler));
}

EventRouter& EventRouter::keyPress(KeyPressHandler handler)
{
    return add(keyPress_, std::move(handler));
}

EventRouter& EventRouter::click(Handler handler)
{
    connectClick();
    return add(click_, std::move(handler));
}

EventRouter& EventRouter::dblClick(Handler handler)
{
    return add(dblClick_, std::move(handler));
}

EventRouter& EventRouter::change(Handler handler)
{
    connectChange();
    return add(change_, std::move(handler));
}

EventRouter& EventRouter::mouseDown(MouseHandler handler)
{
    return add(mouseDown_, std::move(handler));
}

EventRouter& EventRouter::mouseUp(MouseHandler handler)
{
    return add(mouseUp_, std::move(handler));
}

EventRouter& EventRouter::mouseMove(MouseHandler handler)
{
    widget_->setMouseTracking(true);
    if (QWidget* child = mouseChildOf(widget_))
        child->setMouseTracking(true);
    return add(mouseMove_, std::move(handler));
}

void EventRouter::fire(const std::vector<Handler>& handlers)
{
    // Copy: a handler may attach further handlers.
    const auto copy = handlers;
    for (const auto& h : copy)
        h();
}

void EventRouter::connectClick()
{
    if (clickConnected_)
        return;
    clickConnected_ = true;
    auto fireClick = [this] { fire(click_); };
    if (qobject_cast<QCheckBox*>(widget_)) {
        connect(static_cast<QAbstractButton*>(widget_), &QAbstractButton::toggled, this, fireClick);
    } else if (auto* radio = qobject_cast<QRadioButton*>(widget_)) {
        connect(radio, &QAbstractButton::toggled, this, [this](bool on) {
            if (on)
                fire(click_);
        });
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget_)) {
        connect(button, &QAbstractButton::clicked, this, fireClick);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget_)) {
        // An editable combo left with a text that matches an entry selects that entry and
        // reports it as activated: that is not a pick.
        connect(combo, &QComboBox::activated, this, [this] {
            if (!leaving_)
                fire(click_);
        });
    } else if (auto* view = qobject_cast<QAbstractItemView*>(widget_)) {
        connect(view, &QAbstractItemView::clicked, this, fireClick);
        if (view->selectionModel())
            connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
                    [this, view](const QModelIndex& current) {
                        // A pick by keyboard; mouse picks are reported by clicked().
                        if (current.isValid() && view->hasFocus() && !mousePressed_)
                            fire(click_);
                    });
    }
}

void EventRouter::connectChange()
{
    if (changeConnected_)
        return;
    changeConnected_ = true;
    auto fireChange = [this] { fire(change_); };
    if (auto* line = qobject_cast<QLineEdit*>(widget_))
        connect(line, &QLineEdit::textChanged, this, fireChange);
    else if (auto* combo = qobject_cast<QComboBox*>(widget_); combo && combo->isEditable())
        connect(combo, &QComboBox::editTextChanged, this, fireChange);
    else if (combo)
        connect(combo, &QComboBox::currentTextChanged, this, fireChange);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget_))
        connect(plain, &QPlainTextEdit::textChanged, this, fireChange);
    else if (auto* rich = qobject_cast<QTextEdit*>(widget_))
        connect(rich, &QTextEdit::textChanged, this, fireChange);
}

bool EventRouter::routeKeyPress(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        return false;
    int code = keyCodeOf(event->key());
    if (code != 0) {
        const int state = shiftStateOf(event->modifiers());
        const QScopedValueRollback text(keyText_, event->text());
        for (const auto& h : std::vector(keyDown_)) {
            h(code, state);
            if (code == 0)
                return true;  // consumed
        }
    }
    int ascii = keyAsciiOf(*event);
    if (ascii == 0 || keyPress_.empty())
        return false;
    const int typed = ascii;
    for (const auto& h : std::vector(keyPress_)) {
        h(ascii);
        if (ascii == 0)
            return true;  // discarded
    }
    if (ascii == typed)
        return false;
    // The handler changed the character: the widget gets the new one instead.
    const QChar c{char16_t(ascii)};
    const int qtKey = ascii == key::Return   ? Qt::Key_Return
                      : ascii == key::Escape ? Qt::Key_Escape
                      : ascii == key::Back   ? Qt::Key_Backspace
                                             : int(c.toUpper().unicode());
    QKeyEvent replacement(QEvent::KeyPress, qtKey, event->modifiers(), QString(c));
    retyping_ = true;
    QCoreApplication::sendEvent(widget_, &replacement);
    retyping_ = false;
    return true;
}

bool EventRouter::routeKeyRelease(QKeyEvent* event)
{
    int code = keyCodeOf(event->key());
    if (code == 0 || keyUp_.empty() || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        return false;
    const int state = shiftStateOf(event->modifiers());
    for (const auto& h : std::vector(keyUp_)) {
        h(code, state);
        if (code == 0)
            return true;
    }
    return false;
}

bool EventRouter::eventFilter(QObject* watched, QEvent* event)
{
    const bool onWidget = watched == widget_;
    switch (event->type()) {
        case QEvent::FocusIn:
            if (onWidget && countsAsFocusChange(event))
                fire(gotFocus_);
            break;
        case QEvent::FocusOut:
            if (onWidget) {
                leaving_ = true;
                QTimer::singleShot(0, this, [this] { leaving_ = false; });
            }
            if (onWidget && countsAsFocusChange(event))
                fire(lostFocus_);
            break;
        case QEvent::KeyPress:
            if (onWidget && !retyping_)
                return routeKeyPress(static_cast<QKeyEvent*>(event));
            break;
        case QEvent::KeyRelease:
            if (onWidget)
                return routeKeyRelease(static_cast<QKeyEvent*>(event));
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint pos = positionIn(widget_, watched, me);
            const int shift = shiftStateOf(me->modifiers());
            const auto type = event->type();
            if (type == QEvent::MouseButtonPress) {
                mousePressed_ = true;
                if (qobject_cast<QComboBox*>(widget_) && clickConnected_)
                    fire(click_);
                for (const auto& h : std::vector(mouseDown_))
                    h(buttonsOf(me->button()), shift, pos);
            } else if (type == QEvent::MouseButtonRelease) {
                mousePressed_ = false;
                for (const auto& h : std::vector(mouseUp_))
                    h(buttonsOf(me->button()), shift, pos);
                const bool plainWidget = !qobject_cast<QAbstractButton*>(widget_) &&
                                         !qobject_cast<QComboBox*>(widget_) &&
                                         !qobject_cast<QAbstractItemView*>(widget_);
                if (plainWidget && me->button() == Qt::LeftButton && widget_->rect().contains(pos))
                    fire(click_);
            } else if (type == QEvent::MouseButtonDblClick) {
                fire(dblClick_);
            } else {
                for (const auto& h : std::vector(mouseMove_))
                    h(buttonsOf(me->buttons()), shift, pos);
            }
            break;
        }
        default:
            break;
    }
    return false;
}

}  // namespace controls
