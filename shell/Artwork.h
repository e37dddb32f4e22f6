// The program's pictures, drawn in code: two interlocking rings, the navigation pointer
// and the main window's background.
#pragma once

#include <QCursor>
#include <QPixmap>

class QPainter;
class QRect;

namespace shell {

QPixmap ringsPicture(int size);  // two gold rings on a transparent ground
QPixmap tipPicture();
QPixmap ornamentLine(
    int width);  // a thin gold line fading out at both ends                 // the tip window's picture
QCursor navigationCursorPicture();  // a small heart with its hot spot at the tip of the arrow
void paintHubBackground(QPainter& painter, const QRect& area);
// The ivory card with a gold border of the splash and welcome windows.
void paintCard(QPainter& painter, const QRect& area);

}  // namespace shell
