// Small helpers the program's windows share.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace shell {

// Top-left corner that centres a window on a screen: ((width - w) / 2, (height - h) / 2),
// measured from the screen's own top-left corner.
QPoint centredPosition(const QRect& screen, const QSize& window);
// Moves a window to the centre of its screen (small windows do this when they load).
void centreOnScreen(QWidget* window);

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
