#include "shell/Windows.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace shell {

QPoint centredPosition(const QRect& screen, const QSize& window)
{
    return screen.topLeft() +
           QPoint((screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2);
}

void centreOnScreen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window->move(centredPosition(screen->geometry(), window->frameGeometry().size()));
}

QMargins assumedFrame()
{
    return {4, 32, 4, 4};
}

QRect fittedGeometry(const QRect& geometry, const QMargins& frame, const QSize& minimum,
                     const QRect& available)
{
    const QSize room(available.width() - frame.left() - frame.right(),
                     available.height() - frame.top() - frame.bottom());
    const QSize size = geometry.size().boundedTo(room).expandedTo(minimum);
    // Frame corners: keep the position when it already lies inside, else move in.
    const int frameWidth = size.width() + frame.left() + frame.right();
    const int frameHeight = size.height() + frame.top() + frame.bottom();
    int left = geometry.x() - frame.left();
    int top = geometry.y() - frame.top();
    left = std::max(available.left(), std::min(left, available.left() + available.width() - frameWidth));
    top = std::max(available.top(), std::min(top, available.top() + available.height() - frameHeight));
    return {QPoint(left + frame.left(), top + frame.top()), size};
}

namespace {

// The frame around a top-level window: the real one once the window manager has told it,
// else the assumed one (none for frameless windows such as the splash).
QMargins frameOf(const QWidget* window)
{
    if (window->windowFlags() & Qt::FramelessWindowHint)
        return {};
    const QRect outer = window->frameGeometry(), inner = window->geometry();
    const QMargins known(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const QMargins assumed = assumedFrame();
    return {std::max(known.left(), assumed.left()), std::max(known.top(), assumed.top()),
            std::max(known.right(), assumed.right()), std::max(known.bottom(), assumed.bottom())};
}

bool isFittedWindow(const QWidget* widget)
{
    if (!widget->isWindow())
        return false;
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Sheet || type == Qt::SplashScreen;
}

// Fits every top-level window once, when it is first shown.
class FitWhenShown : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (isFittedWindow(widget) && !widget->property(FittedProperty).toBool()) {
                widget->setProperty(FittedProperty, true);
                fitOnScreen(widget);
            }
        }
        return false;
    }
    static constexpr const char* FittedProperty = "orvaneFittedOnScreen";
};

// Runs a piece of work once the watched window has painted for the first time (see
// runWhenPainted).
class RunWhenPainted : public QObject {
public:
    RunWhenPainted(QWidget* window, std::function<void()> work)
        : QObject(window), window_(window), work_(std::move(work))
    {
        window->installEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            if (!window_->isVisible())
                run();
        });
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, this, [this] { QTimer::singleShot(0, this, [this] { run(); }); });
        return false;
    }

private:
    void run()
    {
        if (!work_)
            return;
        window_->removeEventFilter(this);
        const std::function<void()> work = std::move(work_);
        work_ = nullptr;
        deleteLater();
        work();
    }

    QWidget* window_;
    std::function<void()> work_;
};

}  // namespace

void fitOnScreen(QWidget* window)
{
    if (window->isMaximized() || window->isFullScreen())
        return;
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QMargins frame = frameOf(window);
    const QSize minimum = window->minimumSize().expandedTo(window->minimumSizeHint());
    QRect fitted = fittedGeometry(window->geometry(), frame, minimum, available);
    if (fitted.size() != window->size())
        window->resize(fitted.size());
    if (!window->testAttribute(Qt::WA_Moved)) {
        // A dialog nobody placed is placed over its owner, inside the screen, by the dialog
        // itself right after this (with the size fitted here).
        if (qobject_cast<QDialog*>(window))
            return;
        // Another window nobody placed is centred rather than left to the window manager,
        // which may put it partly off the screen.
        const QPoint corner = centredPosition(available, fitted.size().grownBy(frame));
        fitted.moveTopLeft(
            QPoint(std::max(corner.x(), available.left()), std::max(corner.y(), available.top())) +
            QPoint(frame.left(), frame.top()));
    }
    // move() places the frame as far as it is known: before the window manager has framed the
    // window, the window itself (and the window manager puts its frame around that).
    if (fitted.topLeft() != window->geometry().topLeft())
        window->move(fitted.topLeft() - (window->geometry().topLeft() - window->pos()));
}

void fitWindowsWhenShown()
{
    static FitWhenShown* filter = nullptr;
    if (filter || !qApp)
        return;
    filter = new FitWhenShown(qApp);
    qApp->installEventFilter(filter);
}

void runWhenPainted(QWidget* window, std::function<void()> work)
{
    new RunWhenPainted(window, std::move(work));
}

void setTextLook(QWidget* widget, const TextLook& look)
{
    QFont font = widget->font();
    if (look.pointSize > 0)
        font.setPointSizeF(look.pointSize);
    if (look.serif) {
        font.setFamily(QStringLiteral("serif"));  // the desktop's serif face
        font.setStyleHint(QFont::Serif);
        font.setHintingPreference(QFont::PreferNoHinting);
    }
    font.setItalic(look.italic);
    font.setWeight(QFont::Weight(look.weight));
    widget->setFont(font);
    if (look.colour.isValid()) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, look.colour);
        widget->setPalette(palette);
    }
}

}  // namespace shell
