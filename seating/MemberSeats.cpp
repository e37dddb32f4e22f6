#include "seating/MemberSeats.h"

#include "seating/SeatRules.h"
#include "store/ReadQuery.h"
#include "store/Store.h"
#include "store/Transaction.h"

#include <QHash>

#include <algorithm>

namespace seating {

using store::FieldType;
using store::ReadQuery;

namespace {

// The first seat of the first run of `length` free consecutive seats (round the table), or -1.
int firstRun(const std::vector<bool>& taken, int length)
{
    const int n = int(taken.size());
    if (length > n)
        return -1;
    for (int start = 0; start < n; ++start) {
        int run = 0;
        while (run < length && !taken[size_t((start + run) % n)])
            ++run;
        if (run == length)
            return start;
    }
    return -1;
}

// The first seat of the longest run of free seats (round the table), or -1 when every seat is
// taken.
int longestRunStart(const std::vector<bool>& taken)
{
    const int n = int(taken.size());
    int best = -1, bestLength = 0;
    for (int start = 0; start < n; ++start) {
        if (taken[size_t(start)] || !taken[size_t((start + n - 1) % n)])
            continue;  // only where a run begins, after a taken seat
        int run = 0;
        while (run < n && !taken[size_t((start + run) % n)])
            ++run;
        if (run > bestLength) {
            best = start;
            bestLength = run;
        }
    }
    if (best < 0 && std::find(taken.begin(), taken.end(), false) != taken.end())
        best = 0;  // no seat taken at all
    return best;
}

// The next free seat from `from` on, round the table, or -1.
int nextFree(const std::vector<bool>& taken, int from)
{
    const int n = int(taken.size());
    for (int step = 0; step < n; ++step)
        if (!taken[size_t((from + step) % n)])
            return (from + step) % n;
    return -1;
}

QString plainName(const QVariant& first, const QVariant& last)
{
    return (first.toString().trimmed() + QLatin1Char(' ') + last.toString().trimmed()).trimmed();
}

}  // namespace

std::map<MemberKey, int> assignSeats(int seats, const std::vector<std::vector<MemberKey>>& parties,
                                     const std::map<MemberKey, int>& kept)
{
    std::map<MemberKey, int> given;
    if (seats <= 0)
        return given;
    std::vector<bool> taken(size_t(seats), false);
    for (const auto& party : parties)
        for (MemberKey member : party) {
            const auto it = kept.find(member);
            if (it != kept.end() && it->second >= 0 && it->second < seats && !taken[size_t(it->second)]) {
                taken[size_t(it->second)] = true;
                given[member] = it->second;
            }
        }
    for (const auto& party : parties) {
        std::vector<MemberKey> waiting;
        for (MemberKey member : party)
            if (!given.count(member))
                waiting.push_back(member);
        if (waiting.empty())
            continue;
        int at = firstRun(taken, int(waiting.size()));
        if (at < 0)
            at = longestRunStart(taken);
        for (MemberKey member : waiting) {
            at = at < 0 ? -1 : nextFree(taken, at);
            if (at < 0)
                break;  // the table is full: the rest have no seat
            given[member] = at;
            taken[size_t(at)] = true;
        }
    }
    return given;
}

bool hasSeatTable(store::Database& db)
{
    return db.tableNames().contains(QStringLiteral("GuestsSeats"), Qt::CaseInsensitive);
}

std::vector<SeatPerson> loadSeatPeople(store::Database& db)
{
    std::vector<SeatPerson> people;
    if (!hasSeatTable(db))
        return people;
    ReadQuery q(
        db,
        QStringLiteral("SELECT m.MemberId, m.PartyKey, m.FirstName, m.LastName, m.PlusOneOf, g.Prefix, "
                       "g.FirstName, g.LastName, s.TableId, s.Seat FROM GuestsMembers m "
                       "JOIN Guests g ON g.rowid = m.PartyKey "
                       "LEFT JOIN GuestsSeats s ON s.MemberId = m.MemberId "
                       "WHERE NOT EXISTS (SELECT 1 FROM GuestsMemberReplies r WHERE r.MemberId = m.MemberId "
                       "AND r.Event = 'Reception' AND r.Reply = 'Declined') "
                       "ORDER BY m.PartyKey, m.SortOrder, m.MemberId"));
    QHash<MemberKey, QString> named;  // members with a name, for the unnamed guests they bring
    std::vector<std::pair<size_t, MemberKey>> broughtBy;
    while (q.next()) {
        SeatPerson person;
        person.member = q.value(0, FieldType::Number).toLongLong();
        person.party = q.value(1, FieldType::Number).toLongLong();
        person.name = plainName(q.value(2, FieldType::Text), q.value(3, FieldType::Text));
        if (!person.name.isEmpty()) {
            named.insert(person.member, person.name);
        } else {
            const QString party = partyDisplayText(q.value(5, FieldType::Text), q.value(6, FieldType::Text),
                                                   q.value(7, FieldType::Text))
                                      .value_or(QString());
            person.name = QStringLiteral("Guest of ") + party.simplified();
            const QVariant host = q.value(4, FieldType::Number);
            if (!host.isNull())
                broughtBy.emplace_back(people.size(), host.toLongLong());
        }
        const QVariant table = q.value(8, FieldType::Number);
        if (!table.isNull()) {
            person.keptTable = table.toLongLong();
            person.keptSeat = q.value(9, FieldType::Number).toInt();
        }
        people.push_back(person);
    }
    // Unnamed plus-ones are named after the member who brings them (who may come later).
    for (const auto& [index, host] : broughtBy)
        if (named.contains(host))
            people[index].name = QStringLiteral("Guest of ") + named.value(host);
    return people;
}

std::vector<MemberSeat> memberSeats(const std::vector<TableSeats>& tables,
                                    const std::vector<SeatedParty>& seated,
                                    const std::vector<SeatPerson>& people)
{
    QHash<PartyKey, std::vector<const SeatPerson*>> byParty;
    for (const SeatPerson& person : people)
        byParty[person.party].push_back(&person);
    std::vector<MemberSeat> result;
    for (const TableSeats& table : tables) {
        std::vector<std::vector<MemberKey>> parties;
        std::map<MemberKey, int> kept;
        QHash<MemberKey, const SeatPerson*> who;
        for (const SeatedParty& party : seated) {
            if (party.table != table.table)
                continue;
            const auto& members = byParty.value(party.party);
            std::vector<MemberKey> sitting;
            for (const SeatPerson* person : members) {
                if (int(sitting.size()) >= party.people)
                    break;
                sitting.push_back(person->member);
                who.insert(person->member, person);
                if (person->keptTable == table.table)
                    kept[person->member] = person->keptSeat;
            }
            if (!sitting.empty())
                parties.push_back(std::move(sitting));
        }
        const std::map<MemberKey, int> given = assignSeats(table.seats, parties, kept);
        for (const auto& party : parties)
            for (MemberKey member : party) {
                const auto it = given.find(member);
                if (it == given.end())
                    continue;
                const SeatPerson* person = who.value(member);
                result.push_back({member, person->party, table.table, it->second, person->name});
            }
    }
    return result;
}

namespace {

// The tables, and the seated parties in the order they take seats: as they were added to the
// guest list (placeMembers orders the floor plan's the same way).
void readSeating(store::Database& db, std::vector<TableSeats>& tables, std::vector<SeatedParty>& seated)
{
    ReadQuery t(db,
                QStringLiteral("SELECT TableId, [max] FROM Tables ORDER BY tablenumber, TableId"));
    while (t.next())
        tables.push_back({t.value(0, FieldType::Number).toLongLong(), t.value(1, FieldType::Number).toInt()});
    ReadQuery g(db, QStringLiteral("SELECT rowid, tableid, tabletot FROM Guests WHERE tableid <> 0 "
                                            "ORDER BY rowid"));
    while (g.next())
        seated.push_back({g.value(0, FieldType::Number).toLongLong(),
                          g.value(1, FieldType::Number).toLongLong(), g.value(2, FieldType::Number).toInt()});
}

std::vector<MemberSeat> currentSeats(store::Database& db)
{
    std::vector<TableSeats> tables;
    std::vector<SeatedParty> seated;
    readSeating(db, tables, seated);
    return memberSeats(tables, seated, loadSeatPeople(db));
}

void writeTableSeats(store::Database& db, TableKey table, const std::vector<MemberSeat>& seats)
{
    db.execute(QStringLiteral("DELETE FROM GuestsSeats WHERE TableId = ?"), {table});
    for (const MemberSeat& seat : seats)
        if (seat.table == table) {
            db.execute(QStringLiteral("DELETE FROM GuestsSeats WHERE MemberId = ?"), {seat.member});
            db.execute(QStringLiteral("INSERT INTO GuestsSeats (MemberId, TableId, Seat) VALUES (?, ?, ?)"),
                       {seat.member, table, seat.seat});
        }
}

}  // namespace

void giveSeats(store::Database& db, const std::set<TableKey>& tables)
{
    if (tables.empty() || !hasSeatTable(db))
        return;
    const std::vector<MemberSeat> seats = currentSeats(db);
    for (TableKey table : tables)
        if (table != 0)
            writeTableSeats(db, table, seats);
}

bool moveMemberToSeat(store::Database& db, MemberKey member, int seat)
{
    if (!hasSeatTable(db))
        return false;
    std::vector<MemberSeat> seats = currentSeats(db);
    const auto mover =
        std::find_if(seats.begin(), seats.end(), [&](const MemberSeat& s) { return s.member == member; });
    if (mover == seats.end() || mover->seat == seat || seat < 0)
        return false;
    ReadQuery t(db, QStringLiteral("SELECT [max] FROM Tables WHERE TableId = ?"), {mover->table});
    if (!t.next() || seat >= t.value(0, FieldType::Number).toInt())
        return false;
    const TableKey table = mover->table;
    const int from = mover->seat;
    for (MemberSeat& other : seats)
        if (other.table == table && other.seat == seat)
            other.seat = from;
    mover->seat = seat;
    store::Transaction change;
    writeTableSeats(db, table, seats);
    change.commit();
    return true;
}

std::vector<KeptSeat> loadKeptSeats(store::Database& db, const std::set<TableKey>& tables)
{
    std::vector<KeptSeat> seats;
    if (!hasSeatTable(db))
        return seats;
    for (TableKey table : tables) {
        ReadQuery q(
            db,
            QStringLiteral("SELECT MemberId, Seat FROM GuestsSeats WHERE TableId = ? ORDER BY MemberId"),
            {table});
        while (q.next())
            seats.push_back(
                {q.value(0, FieldType::Number).toLongLong(), table, q.value(1, FieldType::Number).toInt()});
    }
    return seats;
}

void restoreKeptSeats(store::Database& db, const std::set<TableKey>& tables,
                      const std::vector<KeptSeat>& seats)
{
    if (!hasSeatTable(db))
        return;
    for (TableKey table : tables)
        db.execute(QStringLiteral("DELETE FROM GuestsSeats WHERE TableId = ?"), {table});
    for (const KeptSeat& seat : seats)
        if (tables.count(seat.table))
            db.execute(
                QStringLiteral("INSERT INTO GuestsSeats (MemberId, TableId, Seat) SELECT ?, ?, ? "
                               "WHERE EXISTS (SELECT 1 FROM GuestsMembers m JOIN Guests g ON g.rowid = "
                               "m.PartyKey WHERE m.MemberId = ? AND g.tableid = ?) "
                               "AND NOT EXISTS (SELECT 1 FROM GuestsSeats WHERE MemberId = ?)"),
                {seat.member, seat.table, seat.seat, seat.member, seat.table, seat.member});
}

}  // namespace seating
