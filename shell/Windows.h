// Small helpers the program's windows share.
#pragma once

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QWidget;

namespace shell {

// Top-left corner that centres a window on a screen: ((width - w) / 2, (height - h) / 2),
// measured from the screen's own top-left corner.
QPoint centredPosition(const QRect& screen, const QSize& window);
// Moves a window to the centre of its screen (small windows do this when they load).
void centreOnScreen(QWidget* window);

// ---- windows that fit their screen --------------------------------------------------------
// The smallest screen area every window must fit, frame included, in logical pixels: a
// 1920x1080 screen at twice the size (960x540) less a panel. Each window's minimum size plus
// a frame (assumedFrame) stays within it, so that no window is larger than such a screen.
constexpr QSize SmallestScreenArea{940, 480};
// The frame the window manager puts around a window, while the real one is not yet known
// (before the window is first mapped): a title bar and thin borders.
QMargins assumedFrame();

// Where a window goes so that all of it, frame included, lies in the screen's available area:
// geometry is its client area, frame the margins around it. The size shrinks to fit but never
// below minimum; the window then moves as little as needed to lie inside (its top-left
// corner first, so that the title bar stays reachable when even the minimum does not fit).
QRect fittedGeometry(const QRect& geometry, const QMargins& frame, const QSize& minimum,
                     const QRect& available);
// Fits a top-level window into the available area of its screen now.
void fitOnScreen(QWidget* window);
// From now on every top-level window (main window, dialog, message box) is fitted to its
// screen the first time it is shown. The program calls it once at start-up.
void fitWindowsWhenShown();

// Runs work once the window has painted for the first time, so that it does not delay the
// window's appearing: it waits one more turn of the event loop, so that whatever the first
// paint queued (the flush to the screen, an unattended start's quit) goes first. A window
// that is not visible when the event loop next runs (a start without a screen to show it on)
// gets the work then. The work is owned by the window: it never runs after the window is gone.
void runWhenPainted(QWidget* window, std::function<void()> work);

// The look of a caption: size in points, serif or not, italic, weight, colour (invalid =
// the palette's). Set through font and palette, which is cheap at start-up.
struct TextLook {
    qreal pointSize = 0;  // 0 = the default size
    bool serif = false;
    bool italic = false;
    int weight = QFont::Normal;
    QColor colour;
};
void setTextLook(QWidget* widget, const TextLook& look);

}  // namespace shell
