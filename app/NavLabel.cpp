#include "app/NavLabel.h"

#include <QMouseEvent>
#include <QPainter>

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

void NavShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor fill = app::colourFromValue(fill_);
    p.setPen(QPen(fill.darker(135), 1.2));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 10, 10);
}

NavLabel::NavLabel(const QString& name, const QString& caption, QWidget* parent) : QLabel(caption, parent)
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
