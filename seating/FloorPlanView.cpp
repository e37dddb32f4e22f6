#include "seating/FloorPlanView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace seating {

FloorPlanView::FloorPlanView(QWidget* parent) : QGraphicsView(parent)
{
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    setDragMode(QGraphicsView::RubberBandDrag);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setFocusPolicy(Qt::StrongFocus);
}

void FloorPlanView::zoomBy(qreal factor)
{
    followSize_ = false;
    const qreal now = transform().m11();
    if ((factor > 1 && now > 4) || (factor < 1 && now < 0.1))
        return;
    scale(factor, factor);
}

void FloorPlanView::fitAll()
{
    followSize_ = true;
    if (scene())
        fitInView(scene()->itemsBoundingRect().adjusted(-30, -30, 30, 30), Qt::KeepAspectRatio);
}

void FloorPlanView::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    if (followSize_)
        fitAll();
}

void FloorPlanView::wheelEvent(QWheelEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        zoomBy(event->angleDelta().y() > 0 ? 1.15 : 1 / 1.15);
        event->accept();
        return;
    }
    QGraphicsView::wheelEvent(event);
}

void FloorPlanView::keyPressEvent(QKeyEvent* event)
{
    const qreal step = event->modifiers() & Qt::ShiftModifier ? 50 : 10;
    switch (event->key()) {
        case Qt::Key_Left:
            emit moveSelectedTable({-step, 0});
            return;
        case Qt::Key_Right:
            emit moveSelectedTable({step, 0});
            return;
        case Qt::Key_Up:
            emit moveSelectedTable({0, -step});
            return;
        case Qt::Key_Down:
            emit moveSelectedTable({0, step});
            return;
        case Qt::Key_Delete:
            emit unseatSelectedParty();
            return;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            zoomBy(1.15);
            return;
        case Qt::Key_Minus:
            zoomBy(1 / 1.15);
            return;
        default:
            QGraphicsView::keyPressEvent(event);
    }
}

// ---- the list of unseated parties ------------------------------------------------------------------

PartyDragList::PartyDragList(QWidget* parent) : QListWidget(parent)
{
    setDragEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void PartyDragList::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    const QListWidgetItem* item = itemAt(event->position().toPoint());
    pressedParty_ = event->button() == Qt::LeftButton && item ? item->data(PartyKeyRole).toLongLong() : 0;
    pressedAt_ = event->position().toPoint();
    dragging_ = false;
}

void PartyDragList::mouseMoveEvent(QMouseEvent* event)
{
    if (pressedParty_ && (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - pressedAt_).manhattanLength() >= QApplication::startDragDistance()) {
        if (!dragging_)
            viewport()->setCursor(Qt::ClosedHandCursor);
        dragging_ = true;
        return;
    }
    if (!dragging_)
        QListWidget::mouseMoveEvent(event);
}

void PartyDragList::mouseReleaseEvent(QMouseEvent* event)
{
    const bool dropped = dragging_;
    const PartyKey party = pressedParty_;
    dragging_ = false;
    pressedParty_ = 0;
    viewport()->unsetCursor();
    if (!dropped) {
        QListWidget::mouseReleaseEvent(event);
        return;
    }
    emit partyDropped(party, viewport()->mapToGlobal(event->position().toPoint()));
}

}  // namespace seating
