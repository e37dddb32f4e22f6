#include "app/NavLabel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>

namespace app {

QColor colourFromValue(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
int colourValue(const QColor& colour)
{
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

}  // namespace app

NavShape::NavShape(const QString& name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
}

void NavShape::setFillColor(int value)
{
    if (fill_ == value)
        return;
    fill_ = value;
    update();
}

// The shapes of one size and colour look alike, so each look is drawn once (an antialiased
// rounded rectangle costs as much as the rest of a shape's paint) and copied after that.
void NavShape::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    const QString key = QStringLiteral("orvane-navshape-%1x%2-%3-%4")
                            .arg(width())
                            .arg(height())
                            .arg(fill_)
                            .arg(ratio);
    QPixmap look;
    if (!QPixmapCache::find(key, &look)) {
        look = QPixmap((QSizeF(size()) * ratio).toSize());
        look.setDevicePixelRatio(ratio);
        look.fill(Qt::transparent);
        QPainter p(&look);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor fill = app::colourFromValue(fill_);
        p.setPen(QPen(fill.darker(135), 1.2));
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 10, 10);
        p.end();
        QPixmapCache::insert(key, look);
    }
    QPainter p(this);
    p.drawPixmap(0, 0, look);
}

NavLabel::NavLabel(const QString& name, const QString& caption, QWidget* parent) : shell::CaptionLabel(caption, parent)
{
    setObjectName(name);
    setMouseTracking(true);
    setAlignment(Qt::AlignCenter);
    highlighted_ = true;
    setHighlighted(false);
}

void NavLabel::setHighlighted(bool highlighted)
{
    if (highlighted_ == highlighted)
        return;
    highlighted_ = highlighted;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, highlighted ? QColor(Qt::white) : QColor(0x4a, 0x1f, 0x2e));
    setPalette(p);
}

void NavLabel::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved();
    event->accept();
}

void NavLabel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void NavLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked();
}
