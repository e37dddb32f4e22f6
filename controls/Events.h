// Event routing in the style the windows are written in: a window attaches handlers to
// a widget by event name (GotFocus, KeyPress, ...) and names its handler member
// functions control + "_" + event:
//
//     controls::on(txtweddingdate)
//         .gotFocus([this] { txtweddingdate_GotFocus(); })
//         .keyDown([this](int& keyCode, int shift) { txtweddingdate_KeyDown(keyCode, shift); })
//         .dblClick([this] { txtweddingdate_DblClick(); });
//
// Routing is done by one event filter per widget (created on first use, a child of the
// widget, so it dies with it). It works with QTest key and mouse events on an offscreen
// window. Several handlers for one event run in the order they were attached.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <vector>

class QWidget;
class QKeyEvent;

namespace controls {

// Key codes as the handlers know them (the codes the windows compare against).
namespace key {
constexpr int Back = 8;
constexpr int Tab = 9;
constexpr int Return = 13;
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int F1 = 112;  // F1..F12 are 112..123
}  // namespace key

// Shift state bits of KeyDown/MouseDown/MouseUp/MouseMove.
namespace shift {
constexpr int Shift = 1;
constexpr int Ctrl = 2;
constexpr int Alt = 4;
}  // namespace shift

// Mouse button bits of MouseDown/MouseUp/MouseMove.
namespace button {
constexpr int Left = 1;
constexpr int Right = 2;
constexpr int Middle = 4;
}  // namespace button

// Key code of a Qt key (letters 'A'..'Z' and digits '0'..'9' map to their upper-case
// character codes; F1 -> 112; Enter -> 13; ...). 0 for keys without a code.
int keyCodeOf(int qtKey);
// Shift state of Qt modifiers (Shift 1, Ctrl 2, Alt 4).
int shiftStateOf(Qt::KeyboardModifiers modifiers);
// Button bits of Qt mouse buttons (Left 1, Right 2, Middle 4).
int buttonsOf(Qt::MouseButtons buttons);
// The character code a key event types (Enter 13, Esc 27, Backspace 8, printable
// characters their code); 0 when the key types nothing.
int keyAsciiOf(const QKeyEvent& event);

class EventRouter;

// The router of a widget (created on first use).
EventRouter& on(QWidget* widget);

// Selects the whole text of a text box (QLineEdit, editable QComboBox, QPlainTextEdit,
// QTextEdit, QAbstractSpinBox) every time it receives the focus: the convention of the
// windows' text boxes. Safe to call more than once.
void selectAllOnFocus(QWidget* widget);
// Selects the whole text now (the same rule as selectAllOnFocus, for handlers).
void selectAll(QWidget* widget);

class EventRouter : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void()>;
    // keyCode: see keyCodeOf; set it to 0 to consume the key (no KeyPress follows and
    // the widget does not see the key). shift: shift state bits.
    using KeyDownHandler = std::function<void(int& keyCode, int shift)>;
    // keyAscii: the typed character's code. Set it to 0 to discard the key, or change
    // it to type another character instead (for example upper-case letters).
    using KeyPressHandler = std::function<void(int& keyAscii)>;
    // button and shift: bit sets; pos: in the widget's coordinates.
    using MouseHandler = std::function<void(int button, int shift, QPoint pos)>;

    explicit EventRouter(QWidget* widget);

    // Focus arrives / leaves (any reason, including a window becoming active again).
    EventRouter& gotFocus(Handler handler);
    EventRouter& lostFocus(Handler handler);
    // A key goes down (before KeyPress; Tab and Shift+Tab are not routed).
    EventRouter& keyDown(KeyDownHandler handler);
    EventRouter& keyUp(KeyDownHandler handler);
    // A key that types a character (printable characters, Enter, Esc, Backspace).
    EventRouter& keyPress(KeyPressHandler handler);
    // Click: buttons and check boxes when clicked; a check box also whenever its value
    // changes, and a radio button whenever it becomes checked (also when set by code, as
    // bound controls are on every record change); combo boxes on a mouse press on any
    // part and on a pick from the list; item views when the user picks an item (mouse or
    // keyboard); other widgets on a left-button release inside them.
    EventRouter& click(Handler handler);
    EventRouter& dblClick(Handler handler);
    // Change: the text of a line edit, editable combo, text edit or spin box changed
    // (by the user or by code, including when a bound control is loaded); for a
    // non-editable combo, its current text changed.
    EventRouter& change(Handler handler);
    EventRouter& mouseDown(MouseHandler handler);
    EventRouter& mouseUp(MouseHandler handler);
    EventRouter& mouseMove(MouseHandler handler);

    QWidget* widget() const { return widget_; }
    // While a KeyDown handler runs: the text the key types ("" for keys that type nothing).
    QString keyText() const { return keyText_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <typename H>
    EventRouter& add(std::vector<H>& handlers, H handler)
    {
        handlers.push_back(std::move(handler));
        return *this;
    }
    bool routeKeyPress(QKeyEvent* event);
    bool routeKeyRelease(QKeyEvent* event);
    void watch(QObject* object);
    void connectClick();
    void connectChange();
    void fire(const std::vector<Handler>& handlers);

    QWidget* widget_;
    std::vector<Handler> gotFocus_, lostFocus_, click_, dblClick_, change_;
    std::vector<KeyDownHandler> keyDown_, keyUp_;
    std::vector<KeyPressHandler> keyPress_;
    std::vector<MouseHandler> mouseDown_, mouseUp_, mouseMove_;
    bool clickConnected_ = false;
    bool changeConnected_ = false;
    bool mousePressed_ = false;  // item views: a current change under the mouse is a click
    bool retyping_ = false;      // a KeyPress handler changed the character: resent event
    bool leaving_ = false;       // the focus is leaving the widget (until the event has run)
    QString keyText_;            // the text of the key being routed
};

}  // namespace controls
