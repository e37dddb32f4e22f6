// The widgets of the floor plan window: the view of the plan (zoom with Ctrl and the
// wheel, arrows move the selected table, Delete takes the selected party off its table)
// and the list of unseated parties, whose entries are dragged onto a table.
#pragma once

#include "seating/SeatPlan.h"

#include <QGraphicsView>
#include <QListWidget>

namespace seating {

class FloorPlanView : public QGraphicsView {
    Q_OBJECT
public:
    explicit FloorPlanView(QWidget* parent = nullptr);
    void zoomBy(qreal factor);
    // Shows the whole plan; until the user zooms, the plan keeps filling the view as the
    // window changes size (also when the window is first laid out or fitted to its screen).
    void fitAll();

signals:
    void moveSelectedTable(QPointF by);
    void unseatSelectedParty();

protected:
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool followSize_ = true;
};

// The key of the party an entry stands for.
constexpr int PartyKeyRole = Qt::UserRole;

// Drags without the platform's drag and drop: a press on an entry and a move beyond the
// drag distance start it, the release reports where (in global coordinates) it ended.
class PartyDragList : public QListWidget {
    Q_OBJECT
public:
    explicit PartyDragList(QWidget* parent = nullptr);

signals:
    void partyDropped(PartyKey party, QPoint globalPosition);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPoint pressedAt_;
    PartyKey pressedParty_ = 0;
    bool dragging_ = false;
};

}  // namespace seating
