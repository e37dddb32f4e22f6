#include "seating/FloorPlanScene.h"

#include "store/Store.h"

#include <QCursor>
#include <QFontMetricsF>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QTransform>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace seating {

namespace {

constexpr qreal Line = PartyItem::Height;
constexpr qreal GridStep = 400;  // room for the names beside the seats
constexpr int GridColumns = 8;

const QColor Ink(0x33, 0x2a, 0x26);
const QColor Linen(0xfd, 0xfa, 0xf4);
const QColor FullGreen(0x2e, 0x7d, 0x32);
const QColor OverRed(0xc6, 0x28, 0x28);
const QColor Proposed(0xff, 0xe0, 0x82);

// Sizes in scene units (pixels at 100%), so text scales with the tables when the plan is
// zoomed or printed.
QFont sized(qreal points, bool bold = false)
{
    QFont font;
    font.setPixelSize(qRound(points * 4 / 3));
    font.setBold(bold);
    return font;
}

}  // namespace

QPointF gridPlace(int index)
{
    return QPointF((index % GridColumns) * GridStep, (index / GridColumns) * GridStep);
}

FloorState loadFloorState(store::Database& db)
{
    FloorState state;
    const SeatProblem problem = loadProblem(db, false);
    const auto places = loadPlaces(db);
    int grid = 0;
    for (const SeatTable& t : problem.tables) {
        FloorState::Table table{t.key, t.name, t.number, t.seats, t.assigned, {}, false};
        const auto place = places.find(t.key);
        table.placed = place != places.end();
        table.place = table.placed ? place->second : TablePlace{gridPlace(grid), TableShape::Round};
        ++grid;
        state.tables.push_back(table);
    }
    for (const SeatParty& p : problem.parties)
        if (p.table != 0)
            state.seated.push_back({p.key, p.name, p.side, p.seated, p.table, p.pinned, p.sortName});
    state.people = loadSeatPeople(db);
    placeMembers(state);
    return state;
}

void placeMembers(FloorState& state)
{
    std::vector<TableSeats> tables;
    for (const FloorState::Table& table : state.tables)
        tables.push_back({table.key, table.seats});
    // Parties take seats in the order they were added to the guest list, as giveSeats has them.
    std::vector<SeatedParty> seated;
    for (const FloorState::Party& party : state.seated)
        seated.push_back({party.key, party.table, party.people});
    std::sort(seated.begin(), seated.end(),
              [](const SeatedParty& a, const SeatedParty& b) { return a.party < b.party; });
    state.seats = memberSeats(tables, seated, state.people);
}

FloorState previewState(const FloorState& now, const SeatProblem& problem, const SeatPlan& plan)
{
    FloorState next = now;
    const std::vector<int> taken = seatsTakenAfter(problem, plan);
    for (FloorState::Table& table : next.tables)
        for (size_t t = 0; t < problem.tables.size(); ++t)
            if (problem.tables[t].key == table.key)
                table.assigned = taken[t];
    for (const Placement& move : plan.moves) {
        std::erase_if(next.seated, [&](const FloorState::Party& p) { return p.key == move.party; });
        if (move.toTable == 0)
            continue;
        const auto party = std::find_if(problem.parties.begin(), problem.parties.end(),
                                        [&](const SeatParty& p) { return p.key == move.party; });
        if (party != problem.parties.end())
            next.seated.push_back({party->key, party->name, party->side, move.people, move.toTable,
                                   party->pinned, party->sortName});
    }
    placeMembers(next);
    return next;
}

// ---- scene ---------------------------------------------------------------------------------------

FloorPlanScene::FloorPlanScene(QObject* parent) : QGraphicsScene(parent)
{
    setBackgroundBrush(QColor(0xf3, 0xee, 0xe6));
}

void FloorPlanScene::show(const FloorState& state, const std::set<PartyKey>& highlight)
{
    clear();
    tables_.clear();
    parties_.clear();
    seats_.clear();
    state_ = state;
    std::map<TableKey, std::vector<const FloorState::Party*>> byTable;
    for (const FloorState::Party& party : state_.seated)
        byTable[party.table].push_back(&party);
    std::map<TableKey, std::vector<const MemberSeat*>> seatsAt;
    for (const MemberSeat& seat : state_.seats)
        seatsAt[seat.table].push_back(&seat);
    for (const FloorState::Table& table : state_.tables) {
        auto& seated = byTable[table.key];
        std::sort(seated.begin(), seated.end(),
                  [](auto* a, auto* b) { return a->name.compare(b->name, Qt::CaseInsensitive) < 0; });
        std::set<int> memberSeats;
        for (const MemberSeat* seat : seatsAt[table.key])
            memberSeats.insert(seat->seat);
        auto* item = new TableItem(table, int(seated.size()), memberSeats);
        addItem(item);
        tables_[table.key] = item;
        qreal y = item->body().top() + item->body().height() / 2 - (seated.size() * Line) / 2 + Line * 0.6;
        for (const FloorState::Party* party : seated) {
            auto* p = new PartyItem(*party, highlight.count(party->key) > 0, item);
            p->setPos(-PartyItem::Width / 2, y);
            parties_[party->key] = p;
            y += Line;
        }
        for (const MemberSeat* seat : seatsAt[table.key])
            seats_[seat->member] = new SeatItem(*seat, highlight.count(seat->party) > 0, item);
    }
    setSceneRect(itemsBoundingRect().adjusted(-60, -60, 60, 60));
}

TableItem* FloorPlanScene::tableItem(TableKey key) const
{
    const auto it = tables_.find(key);
    return it == tables_.end() ? nullptr : it->second;
}

PartyItem* FloorPlanScene::partyItem(PartyKey key) const
{
    const auto it = parties_.find(key);
    return it == parties_.end() ? nullptr : it->second;
}

SeatItem* FloorPlanScene::seatItem(MemberKey member) const
{
    const auto it = seats_.find(member);
    return it == seats_.end() ? nullptr : it->second;
}

TableKey FloorPlanScene::tableAt(const QPointF& scenePoint) const
{
    for (const auto& [key, item] : tables_)
        if (item->shape().contains(item->mapFromScene(scenePoint)))
            return key;
    return 0;
}

// ---- tables --------------------------------------------------------------------------------------

TableItem::TableItem(const FloorState::Table& table, int partyCount, std::set<int> memberSeats)
    : table_(table), memberSeats_(std::move(memberSeats)), partyCount_(partyCount)
{
    // Big enough for its seats and for the lines of its name, parties and free seats.
    const qreal needed = (partyCount + 4) * Line;
    if (table_.place.shape == TableShape::Round) {
        const qreal diameter = std::max({110.0, 60.0 + 9.0 * table_.seats, needed * 1.25});
        body_ = QRectF(-diameter / 2, -diameter / 2, diameter, diameter);
    } else {
        const qreal height = std::max({90.0, 40.0 + 6.0 * table_.seats, needed + 10});
        body_ = QRectF(-95, -height / 2, 190, height);
    }
    setPos(table_.place.centre);
    setFlags(ItemIsMovable | ItemIsSelectable | ItemIsFocusable);
    setToolTip(
        QStringLiteral("%1: %2 of %3 seats taken").arg(table_.name).arg(table_.assigned).arg(table_.seats));
}

QRectF TableItem::boundingRect() const
{
    return body_.adjusted(-12, -12, 12, 12);
}

QPainterPath TableItem::shape() const
{
    QPainterPath path;
    if (table_.place.shape == TableShape::Round)
        path.addEllipse(body_);
    else
        path.addRoundedRect(body_, 8, 8);
    return path;
}

void TableItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    painter->setRenderHint(QPainter::Antialiasing);
    const int free = table_.seats - table_.assigned;
    const bool over = free < 0;
    const bool full = free == 0 && table_.seats > 0;
    QColor edge = over ? OverRed : full ? FullGreen : QColor(0x8d, 0x7b, 0x68);
    painter->setPen(
        QPen(isSelected() ? QColor(0x1e, 0x63, 0xb4) : edge, isSelected() || over || full ? 3 : 1.5));
    painter->setBrush(over ? QColor(0xfd, 0xec, 0xea) : full ? QColor(0xed, 0xf6, 0xec) : Linen);
    painter->drawPath(shape());

    // One dot per seat around the edge, filled for a seat taken; members' seats are drawn by
    // their own items, and the people of parties without members fill the other seats in turn.
    if (table_.seats > 0 && table_.seats <= 40) {
        painter->setPen(QPen(edge, 1));
        int othersTaken = table_.assigned - int(memberSeats_.size());
        for (int s = 0; s < table_.seats; ++s) {
            if (memberSeats_.count(s))
                continue;
            painter->setBrush(othersTaken-- > 0 ? edge : QColor(Qt::white));
            painter->drawEllipse(seatPosition(s), 4, 4);
        }
    }

    painter->setPen(Ink);
    const qreal top = body_.top() + body_.height() / 2;
    painter->setFont(sized(9.5, true));
    const QString title = table_.name.isEmpty() ? QStringLiteral("Table %1").arg(table_.number) : table_.name;
    const int lines = partyCount_;
    const qreal first = top - (lines * Line) / 2 - 2.3 * Line;
    painter->drawText(QRectF(-90, first, 180, Line), Qt::AlignCenter,
                      QFontMetricsF(painter->font()).elidedText(title, Qt::ElideRight, 150));
    painter->setFont(sized(8));
    painter->drawText(QRectF(-90, first + Line, 180, Line), Qt::AlignCenter,
                      QStringLiteral("No. %1 · %2 seats").arg(table_.number).arg(table_.seats));
    painter->setFont(sized(8.5, over || full));
    painter->setPen(over ? OverRed : full ? FullGreen : Ink);
    const QString seats = over   ? QStringLiteral("%1 over its seats").arg(-free)
                          : full ? QStringLiteral("Full")
                                 : QStringLiteral("%1 free").arg(free);
    painter->drawText(QRectF(-90, top + (lines * Line) / 2 + 0.4 * Line, 180, Line), Qt::AlignCenter, seats);
}

QPointF TableItem::seatPosition(int seat) const
{
    const int n = std::max(1, table_.seats);
    if (table_.place.shape == TableShape::Round) {
        const qreal angle = 2 * M_PI * seat / n - M_PI / 2;
        return QPointF(std::cos(angle) * (body_.width() / 2 + 7), std::sin(angle) * (body_.height() / 2 + 7));
    }
    // Along the top from the left, then back along the bottom from the right: round the table.
    const int top = (n + 1) / 2, bottom = std::max(1, n / 2);
    if (seat < top)
        return QPointF(body_.left() + body_.width() * (seat + 0.5) / top, body_.top() - 7);
    return QPointF(body_.right() - body_.width() * (seat - top + 0.5) / bottom, body_.bottom() + 7);
}

int TableItem::seatAt(const QPointF& point) const
{
    int best = -1;
    qreal bestDistance = 12;  // a drop this close to a seat's mark lands on it
    for (int s = 0; s < table_.seats; ++s) {
        const qreal distance = QLineF(point, seatPosition(s)).length();
        if (distance < bestDistance) {
            best = s;
            bestDistance = distance;
        }
    }
    return best;
}

void TableItem::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    pressedAt_ = pos();
    QGraphicsObject::mousePressEvent(event);
}

void TableItem::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    QGraphicsObject::mouseReleaseEvent(event);
    if (pos() != pressedAt_)
        if (auto* floor = qobject_cast<FloorPlanScene*>(scene()))
            emit floor->tableMoved(table_.key, pos());
}

// ---- parties -------------------------------------------------------------------------------------

PartyItem::PartyItem(const FloorState::Party& party, bool highlighted, QGraphicsItem* parent)
    : DragItem(parent, 0), party_(party), highlighted_(highlighted)
{
    setFlags(ItemIsSelectable | ItemIsFocusable);
    setCursor(Qt::OpenHandCursor);
    setToolTip(QStringLiteral("%1: %2 seated%3")
                   .arg(party_.name)
                   .arg(party_.people)
                   .arg(party_.pinned ? QStringLiteral(", pinned") : QString()));
}

QRectF PartyItem::boundingRect() const
{
    return QRectF(0, 0, Width, Height);
}

void PartyItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    if (highlighted_ || isSelected()) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(isSelected() ? QColor(0xbb, 0xd6, 0xf5) : Proposed);
        painter->drawRoundedRect(boundingRect().adjusted(0, 1, 0, -1), 4, 4);
    }
    painter->setPen(Ink);
    painter->setFont(sized(8));
    const QString text = QStringLiteral("%1%2 (%3)")
                             .arg(party_.pinned ? QStringLiteral("\u25cf ") : QString(), party_.name)
                             .arg(party_.people);
    painter->drawText(boundingRect(), Qt::AlignCenter,
                      QFontMetricsF(painter->font()).elidedText(text, Qt::ElideMiddle, Width - 6));
}

void PartyItem::droppedAt(FloorPlanScene& floor, const QPointF& scenePoint)
{
    const TableKey target = floor.tableAt(scenePoint);
    if (target != party_.table)
        emit floor.partyDropped(party_.key, target);
}

// ---- dragging ------------------------------------------------------------------------------------

DragItem::DragItem(QGraphicsItem* parent, qreal restingZ) : QGraphicsObject(parent), restingZ_(restingZ)
{
    setZValue(restingZ_);
}

void DragItem::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    home_ = pos();
    dragging_ = false;
    setSelected(true);
    event->accept();
}

void DragItem::mouseMoveEvent(QGraphicsSceneMouseEvent* event)
{
    dragging_ = true;
    setZValue(10);
    parentItem()->setZValue(10);
    setPos(pos() + (event->scenePos() - event->lastScenePos()));
}

void DragItem::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    if (!dragging_)
        return;
    dragging_ = false;
    setPos(home_);
    setZValue(restingZ_);
    parentItem()->setZValue(0);
    if (auto* floor = qobject_cast<FloorPlanScene*>(scene()))
        droppedAt(*floor, event->scenePos());
}

// ---- members' seats ------------------------------------------------------------------------------

SeatItem::SeatItem(const MemberSeat& seat, bool highlighted, TableItem* table)
    : DragItem(table, 1), seat_(seat), highlighted_(highlighted)
{
    const QPointF at = table->seatPosition(seat.seat);
    setPos(at);
    if (table->table().place.shape == TableShape::Rectangle) {
        label_ = at.y() < 0 ? Label::Up : Label::Down;
    } else {
        const qreal length = std::max<qreal>(1, QLineF(QPointF(), at).length());
        const qreal across = at.x() / length;
        label_ = across > 0.35    ? Label::Right
                 : across < -0.35 ? Label::Left
                 : at.y() < 0     ? Label::Above
                                  : Label::Below;
    }
    setFlags(ItemIsSelectable);
    setCursor(Qt::OpenHandCursor);
    setToolTip(QStringLiteral("%1: seat %2").arg(seat_.name).arg(seat_.seat + 1));
}

QRectF SeatItem::labelRect() const
{
    constexpr qreal h = 12, gap = Radius + 3;
    switch (label_) {
        case Label::Left:
            return QRectF(-gap - LabelWidth, -h / 2, LabelWidth, h);
        case Label::Above:
            return QRectF(-LabelWidth / 2, -gap - h, LabelWidth, h);
        case Label::Below:
            return QRectF(-LabelWidth / 2, gap, LabelWidth, h);
        case Label::Right:
        case Label::Up:
        case Label::Down:
            break;
    }
    return QRectF(gap, -h / 2, LabelWidth, h);  // Up and Down are this one, turned
}

QRectF SeatItem::boundingRect() const
{
    const QRectF mark(-Radius - 1, -Radius - 1, 2 * Radius + 2, 2 * Radius + 2);
    QTransform turn;
    turn.rotate(label_ == Label::Up ? -90 : label_ == Label::Down ? 90 : 0);
    return mark.united(turn.mapRect(labelRect()));
}

QPainterPath SeatItem::shape() const
{
    QPainterPath path;
    path.addEllipse(QPointF(), Radius + 2, Radius + 2);
    QTransform turn;
    turn.rotate(label_ == Label::Up ? -90 : label_ == Label::Down ? 90 : 0);
    path.addRect(turn.mapRect(labelRect()));
    return path;
}

void SeatItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(Ink, 1));
    painter->setBrush(isSelected()   ? QColor(0x1e, 0x63, 0xb4)
                      : highlighted_ ? QColor(0xf5, 0xb0, 0x41)
                                     : QColor(0x8d, 0x7b, 0x68));
    painter->drawEllipse(QPointF(), Radius, Radius);
    painter->save();
    if (label_ == Label::Up)
        painter->rotate(-90);
    else if (label_ == Label::Down)
        painter->rotate(90);
    const QRectF rect = labelRect();
    if (highlighted_) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(Proposed);
        painter->drawRoundedRect(rect, 3, 3);
    }
    painter->setPen(Ink);
    painter->setFont(sized(7.5));
    const Qt::Alignment align = label_ == Label::Left                              ? Qt::AlignRight
                                : label_ == Label::Above || label_ == Label::Below ? Qt::AlignHCenter
                                                                                   : Qt::AlignLeft;
    painter->drawText(rect, align | Qt::AlignVCenter,
                      QFontMetricsF(painter->font()).elidedText(seat_.name, Qt::ElideRight, LabelWidth));
    painter->restore();
}

void SeatItem::droppedAt(FloorPlanScene& floor, const QPointF& scenePoint)
{
    auto* table = static_cast<TableItem*>(parentItem());
    const int target = table->seatAt(table->mapFromScene(scenePoint));
    if (target >= 0 && target != seat_.seat)
        emit floor.memberSeatDropped(seat_.member, target);
}

}  // namespace seating
