#include "shell/Artwork.h"

#include "shell/ProgramIcon.h"

#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace shell {

namespace {

QPainterPath heartPath(const QRectF& r)
{
    QPainterPath path;
    const qreal w = r.width(), h = r.height();
    path.moveTo(r.left() + w / 2, r.top() + h);
    path.cubicTo(r.left() - w * 0.1, r.top() + h * 0.55, r.left() + w * 0.05, r.top() - h * 0.1,
                 r.left() + w / 2, r.top() + h * 0.28);
    path.cubicTo(r.right() - w * 0.05, r.top() - h * 0.1, r.right() + w * 0.1, r.top() + h * 0.55,
                 r.left() + w / 2, r.top() + h);
    return path;
}

// The colour of the background gradient at a fraction of its height, between its stops.
QColor hubGroundAt(double at)
{
    struct Stop {
        double at;
        int r, g, b;
    };
    static constexpr Stop stops[] = {{0.0, 255, 251, 245}, {0.6, 252, 236, 236}, {1.0, 246, 222, 228}};
    const Stop* low = &stops[0];
    const Stop* high = &stops[1];
    if (at > stops[1].at) {
        low = &stops[1];
        high = &stops[2];
    }
    const double t = qBound(0.0, (at - low->at) / (high->at - low->at), 1.0);
    auto mix = [t](int a, int b) { return int(a + (b - a) * t + 0.5); };
    return QColor(mix(low->r, high->r), mix(low->g, high->g), mix(low->b, high->b));
}

}  // namespace

QPixmap ringsPicture(int size)
{
    // Drawn once per size: the splash and the main window show the same picture.
    static QHash<int, QPixmap> drawn;
    if (const auto it = drawn.constFind(size); it != drawn.constEnd())
        return *it;
    const QPixmap pixmap = QPixmap::fromImage(ringsImage(size));
    drawn.insert(size, pixmap);
    return pixmap;
}

QPixmap tipPicture()
{
    return ringsPicture(64);
}

QPixmap ornamentLine(int width)
{
    QPixmap pixmap(width, 6);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    QLinearGradient gold(0, 0, width, 0);
    gold.setColorAt(0.0, QColor(201, 160, 72, 0));
    gold.setColorAt(0.5, QColor(201, 160, 72, 255));
    gold.setColorAt(1.0, QColor(201, 160, 72, 0));
    p.fillRect(QRect(0, 2, width, 2), gold);
    return pixmap;
}

QCursor navigationCursorPicture()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // An arrow with a small heart at its tail.
    QPainterPath arrow;
    arrow.moveTo(1, 1);
    arrow.lineTo(1, 17);
    arrow.lineTo(5, 13);
    arrow.lineTo(8, 20);
    arrow.lineTo(11, 19);
    arrow.lineTo(8, 12);
    arrow.lineTo(13, 12);
    arrow.closeSubpath();
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(QColor(60, 20, 40));
    p.drawPath(arrow);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(QColor(200, 30, 60));
    p.drawPath(heartPath(QRectF(15, 16, 14, 13)));
    p.end();
    return QCursor(pixmap, 1, 1);
}

// A soft top-to-bottom gradient, drawn as bands of one colour each: its colours change only
// every dozen rows or so, so the bands give the same picture as a gradient brush, and solid
// fills are the one kind the raster engine neither computes pixel by pixel nor hands to
// helper threads (a gradient or tiled fill of the whole window does both, and at start-up
// costs more than the rest of the main window together).
void paintHubBackground(QPainter& p, const QRect& area)
{
    const int height = qMax(1, area.height());
    int bandTop = 0;
    // Each row takes the gradient's colour at its middle, as a gradient brush does.
    auto rowColour = [height](int row) { return hubGroundAt((row + 0.5) / height); };
    QColor band = rowColour(0);
    for (int row = 1; row <= height; ++row) {
        const QColor next = row < height ? rowColour(row) : QColor();
        if (next == band)
            continue;
        p.fillRect(QRect(area.left(), area.top() + bandTop, area.width(), row - bandTop), band);
        bandTop = row;
        band = next;
    }
}

void paintCard(QPainter& p, const QRect& area)
{
    p.save();
    p.fillRect(area, QColor(255, 248, 243));
    p.setPen(QPen(QColor(201, 160, 72), 2));
    p.drawRect(QRectF(area).adjusted(1, 1, -1, -1));
    p.restore();
}

}  // namespace shell
