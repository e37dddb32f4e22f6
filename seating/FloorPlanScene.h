// The floor plan as a graphics scene: each reception table drawn round or rectangular,
// sized by its seats, with its name and number, its parties (name and people), its free
// seats and the named seats of the parties' members round it; full and overbooked tables
// stand out. Tables are dragged to place them, parties are dragged between tables or off a
// table, members to another seat of their table; the scene only reports what the user did
// (signals), the window decides what it means.
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
    std::vector<SeatPerson> people;  // the members of every party who sit with it
    std::vector<MemberSeat> seats;   // where the members of the seated parties sit
};

// Works out state.seats from its tables, seated parties and people.
void placeMembers(FloorState& state);

// Reads the tables, their places and the seated parties.
FloorState loadFloorState(store::Database& db);
// The state a plan would leave, for showing it before it is applied.
FloorState previewState(const FloorState& now, const SeatProblem& problem, const SeatPlan& plan);

// Where the n-th table of the grid of new tables stands.
QPointF gridPlace(int index);

class TableItem;
class PartyItem;
class SeatItem;

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
    SeatItem* seatItem(MemberKey member) const;
    // The table drawn at a scene point, or 0.
    TableKey tableAt(const QPointF& scenePoint) const;

signals:
    void tableMoved(TableKey table, QPointF centre);
    // A seated party was dropped on another table (or, with table 0, off every table).
    void partyDropped(PartyKey party, TableKey table);
    // A member was dropped on another seat of its table.
    void memberSeatDropped(MemberKey member, int seat);

private:
    friend class TableItem;
    friend class PartyItem;
    friend class SeatItem;
    FloorState state_;
    std::map<TableKey, TableItem*> tables_;
    std::map<PartyKey, PartyItem*> parties_;
    std::map<MemberKey, SeatItem*> seats_;
};

class TableItem : public QGraphicsObject {
    Q_OBJECT
public:
    // memberSeats: the seats members sit in (drawn by their SeatItems).
    TableItem(const FloorState::Table& table, int partyCount, std::set<int> memberSeats = {});
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    QPainterPath shape() const override;
    TableKey key() const { return table_.key; }
    const FloorState::Table& table() const { return table_; }
    QRectF body() const { return body_; }
    // Where seat n is drawn, in the item's coordinates, and the seat drawn at a point (or -1).
    QPointF seatPosition(int seat) const;
    int seatAt(const QPointF& point) const;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

private:
    FloorState::Table table_;
    QRectF body_;
    QPointF pressedAt_;
    std::set<int> memberSeats_;
    int partyCount_ = 0;
};

// What is dragged on a table of the plan (a party, a member's seat): it follows the mouse above
// the other tables and goes back to its place when let go, reporting where it was dropped.
class DragItem : public QGraphicsObject {
    Q_OBJECT
public:
    DragItem(QGraphicsItem* parent, qreal restingZ);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
    // After a drag, back in place: the scene point it was dropped on.
    virtual void droppedAt(FloorPlanScene& floor, const QPointF& scenePoint) = 0;

private:
    qreal restingZ_ = 0;
    QPointF home_;
    bool dragging_ = false;
};

class PartyItem : public DragItem {
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
    void droppedAt(FloorPlanScene& floor, const QPointF& scenePoint) override;

private:
    FloorState::Party party_;
    bool highlighted_ = false;
};

// A member's seat: a mark round its table with the member's name beside it, outside the table.
class SeatItem : public DragItem {
    Q_OBJECT
public:
    SeatItem(const MemberSeat& seat, bool highlighted, TableItem* table);
    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    const MemberSeat& seat() const { return seat_; }
    static constexpr qreal Radius = 5;
    static constexpr qreal LabelWidth = 84;

protected:
    void droppedAt(FloorPlanScene& floor, const QPointF& scenePoint) override;

private:
    // Where the name goes: beside the mark, on the side away from the table.
    enum class Label { Right, Left, Above, Below, Up, Down };
    QRectF labelRect() const;  // in the item's coordinates (Up and Down: before turning)
    MemberSeat seat_;
    bool highlighted_ = false;
    Label label_ = Label::Right;
};

}  // namespace seating
