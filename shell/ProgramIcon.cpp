#include "shell/ProgramIcon.h"

#include <QColor>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QRectF>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace shell {

namespace {

const QColor LeftGold(201, 160, 72);
const QColor RightGold(214, 178, 96);
const QColor Shine(255, 250, 220, 160);
// The highlight runs counter-clockwise from 40 to 110 degrees on each ring.
constexpr int ShineStart = 40;
constexpr int ShineSpan = 70;

struct Ring {
    QPointF centre;
    QColor colour;
};

struct RingsGeometry {
    Ring rings[2];
    qreal radius;
    qreal width;
    bool shine;
};

RingsGeometry geometryFor(const QRectF& area)
{
    const qreal size = std::min(area.width(), area.height());
    const QPointF origin = area.center() - QPointF(size / 2, size / 2);
    RingsGeometry g;
    if (size >= 48) {
        g.rings[0] = {origin + QPointF(size * 0.37, size * 0.5), LeftGold};
        g.rings[1] = {origin + QPointF(size * 0.63, size * 0.5), RightGold};
        g.radius = size * 0.27;
        g.width = size * 0.07;
        g.shine = true;
        return g;
    }
    // Small icons: two-pixel strokes on whole-pixel centres and radii, so that the rings'
    // outer edges fall on pixel edges instead of blurring across two pixels.
    const qreal left = std::round(size * 0.37), middle = std::round(size / 2);
    g.rings[0] = {origin + QPointF(left, middle), LeftGold};
    g.rings[1] = {origin + QPointF(std::round(size) - left, middle), RightGold};
    g.radius = std::round(size * 0.27);
    g.width = 2;
    g.shine = false;
    return g;
}

class RingsIconEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        painter->save();
        paintRings(*painter, rect);
        painter->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        paintRings(p, QRectF(QPointF(0, 0), size));
        return pixmap;
    }
    // The sizes a window hands to the window manager when it is first shown, each drawn then;
    // larger pixmaps are drawn when asked for. (A 128-pixel one cost twice all the others
    // together at every start.)
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}};
    }
    QIconEngine* clone() const override { return new RingsIconEngine; }
    QString key() const override { return QStringLiteral("orvane-rings"); }
};

QString number(qreal value)
{
    return QString::number(value, 'f', 2);
}

}  // namespace

void paintRings(QPainter& p, const QRectF& area)
{
    const RingsGeometry g = geometryFor(area);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    for (const Ring& ring : g.rings) {
        p.setPen(QPen(ring.colour, g.width));
        p.drawEllipse(ring.centre, g.radius, g.radius);
        if (g.shine) {
            p.setPen(QPen(Shine, g.width / 4));
            p.drawArc(QRectF(ring.centre - QPointF(g.radius, g.radius), QSizeF(2 * g.radius, 2 * g.radius)),
                      ShineStart * 16, ShineSpan * 16);
        }
    }
}

QImage ringsImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintRings(p, QRectF(0, 0, size, size));
    p.end();
    return image;
}

QByteArray ringsSvg()
{
    constexpr int Size = 256;
    const RingsGeometry g = geometryFor(QRectF(0, 0, Size, Size));
    const qreal r = g.radius;
    QString svg = QStringLiteral(
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                      "viewBox=\"0 0 %1 %1\">\n")
                      .arg(Size);
    for (const Ring& ring : g.rings) {
        const QPointF c = ring.centre;
        svg += QStringLiteral(
                   "  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"none\" stroke=\"%4\" "
                   "stroke-width=\"%5\"/>\n")
                   .arg(number(c.x()), number(c.y()), number(r), ring.colour.name(), number(g.width));
        // Angles run counter-clockwise with y pointing up; SVG's y points down.
        const auto at = [&](int degrees) {
            const qreal a = qDegreesToRadians(qreal(degrees));
            return QPointF(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
        };
        const QPointF from = at(ShineStart), to = at(ShineStart + ShineSpan);
        svg += QStringLiteral(
                   "  <path d=\"M %1 %2 A %3 %3 0 0 0 %4 %5\" fill=\"none\" stroke=\"%6\" "
                   "stroke-opacity=\"%7\" stroke-width=\"%8\"/>\n")
                   .arg(number(from.x()), number(from.y()), number(r), number(to.x()), number(to.y()),
                        Shine.name(), number(Shine.alphaF()), number(g.width / 4));
    }
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

QIcon programIcon()
{
    return QIcon(new RingsIconEngine);
}

}  // namespace shell
