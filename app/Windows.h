// Small helpers the program's windows share.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace app {

// Top-left corner that centres a window on a screen: ((width - w) / 2, (height - h) / 2),
// measured from the screen's own top-left corner.
QPoint centredPosition(const QRect& screen, const QSize& window);
// Moves a window to the centre of its screen (small windows do this when they load).
void centreOnScreen(QWidget* window);

}  // namespace app
