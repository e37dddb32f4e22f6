// The floor plan as a graphics scene: each reception table drawn round or rectangular,
// sized by its seats, with its name and number, its parties (name and people) and its
// free seats; full and overbooked tables stand out. Tables are dragged to place them,
// parties are dragged between tables or off a table; the scene only reports what the
// user did (signals), the window decides what it means.
#pragma once

#include "seating/SeatPlanStore.h"

#include <QGraphicsObject>
#include <QGraphicsScene>

#include <map>
#include <set>
#include <vector>

namespace seating {

// What the floor plan shows: tables with their places, and every seated party.
struct FloorState {
    struct Table {
        TableKey key = 0;
        QString name;
        int number = 0;
        int seats = 0;
        int assigned = 0;
        TablePlace place;
        bool placed = false;  // has a saved place (else it sits in the grid of new tables)
    };
    struct Party {
        PartyKey key = 0;
        QString name;
        QString side;
        int people = 0;  // seated people at its table (tabletot)
        TableKey table = 0;
        bool pinned = false;
        QString sortName;
    };
    std::vector<Table> tables;
    std::vector<Party> seated;
};

// Reads the tables, their places and the seated parties.
FloorState loadFloorState(store::Database& db);
// The state a plan would leave, for showing it before it is applied.
FloorState previewState(const FloorState& now, const SeatProblem& problem, const SeatPlan& plan);

// Where the n-th table of the grid of new tables stands.
QPointF gridPlace(int index);

class TableItem;
class PartyItem;

class FloorPlanScene : public QGraphicsScene {
    Q_OBJECT
public:
    explicit FloorPlanScene(QObject* parent = nullptr);

    // Rebuilds every item; the parties in highlight are drawn as proposed.
    void show(const FloorState& state, const std::set<PartyKey>& highlight = {});
    const FloorState& state() const { return state_; }

    TableItem* tableItem(TableKey key) const;
    bool hasTables() const { return !tables_.empty(); }
    PartyItem* partyItem(PartyKey key) const;
    // The table drawn at a scene point, or 0.
    TableKey tableAt(const QPointF& scenePoint) const;

signals:
    void tableMoved(TableKey table, QPointF centre);
    // A seated party was dropped on another table (or, with table 0, off every table).
    void partyDropped(PartyKey party, TableKey table);

private:
    friend class TableItem;
    friend class PartyItem;
    FloorState state_;
    std::map<TableKey, TableItem*> tables_;
    std::map<PartyKey, PartyItem*> parties_;
};

class TableItem : public QGraphicsObject {
    Q_OBJECT
public:
    TableItem(const FloorState::Table& table, int partyCount);
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    QPainterPath shape() const override;
    TableKey key() const { return table_.key; }
    const FloorState::Table& table() const { return table_; }
    QRectF body() const { return body_; }

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

private:
    FloorState::Table table_;
    QRectF body_;
    QPointF pressedAt_;
};

class PartyItem : public QGraphicsObject {
    Q_OBJECT
public:
    PartyItem(const FloorState::Party& party, bool highlighted, QGraphicsItem* parent);
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    PartyKey key() const { return party_.key; }
    const FloorState::Party& party() const { return party_; }
    bool highlighted() const { return highlighted_; }
    static constexpr qreal Height = 15;
    static constexpr qreal Width = 150;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

private:
    FloorState::Party party_;
    bool highlighted_ = false;
    QPointF home_;
    bool dragging_ = false;
};

}  // namespace seating
