// The program's icon: two interlocking gold rings, drawn from one geometry at any size, for
// the windows (a QIcon that draws each size when it is asked for), the installed PNG icons
// and the scalable SVG icon.
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>

class QPainter;
class QRectF;

namespace shell {

// Draws the rings into the square area (antialiased; below 48 pixels with two-pixel strokes
// aligned to the pixel grid and no highlight, so a 16-pixel icon stays sharp).
void paintRings(QPainter& painter, const QRectF& area);
// The rings on a transparent square image.
QImage ringsImage(int size);
// The same drawing as an SVG document (256 units square).
QByteArray ringsSvg();
// The icon every window shows.
QIcon programIcon();

}  // namespace shell
