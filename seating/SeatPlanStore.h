// The seating plan's own data in the wedding file: the problem for automatic seating read
// from it, a plan applied to it in one transaction and undone again, the couple's rules,
// the pinned parties, and where each table stands on the floor plan.
//
//   seating::SeatProblem problem = seating::loadProblem(db, reseatEveryone);
//   seating::SeatPlan plan = seating::solveSeating(problem);
//   seating::SeatingSnapshot before = seating::applyPlan(db, problem, plan);
//   seating::restoreSnapshot(db, before);   // "Undo Seating"
//
// A party is named by its key: its Guests row's bookmark, which compaction and repair keep.
#pragma once

#include "seating/MemberSeats.h"
#include "seating/SeatPlan.h"

#include <QPointF>
#include <QVariant>

#include <map>
#include <optional>
#include <set>
#include <vector>

namespace store {
class Database;
class Recordset;
}  // namespace store

namespace seating {

// Parties invited to the reception with people to seat, every party already seated, the
// tables, the rules and the preferences.
SeatProblem loadProblem(store::Database& db, bool reseatEveryone);

// Where every party, table and member's seat stood, to put back exactly.
struct SeatingSnapshot {
    struct Party {
        PartyKey key;
        QVariant tableid, tabletot;
    };
    struct Table {
        TableKey key;
        QVariant assigned;
    };
    std::vector<Party> parties;
    std::vector<Table> tables;
    std::set<TableKey> seatTables;  // the tables the plan seated parties at or took them from
    std::vector<KeptSeat> seats;    // the members' seats kept there
    bool empty() const { return parties.empty() && tables.empty(); }
};

// Applies the plan in one transaction, with the seating manager's arithmetic: a party
// taken off a table gives back its seated people, a party seated adds its people; the
// members of the parties seated take seats side by side (giveSeats). Returns the state before. Throws
// store::StoreError; nothing is changed then.
SeatingSnapshot applyPlan(store::Database& db, const SeatProblem& problem, const SeatPlan& plan);
// Applies the plan as applyPlan does, after a backup of the file (a failure to make it is a
// StoreError saying the plan was not applied), and keeps the change for Undo (store/Undo.h).
struct KeptPlan {
    SeatingSnapshot before;
    QString backupPath;
};
KeptPlan applyPlanKept(store::Database& db, const SeatProblem& problem, const SeatPlan& plan);
// Puts a snapshot back in one transaction.
void restoreSnapshot(store::Database& db, const SeatingSnapshot& snapshot);

// Rules and preferences.
std::vector<SeatRule> loadRules(store::Database& db);
SeatPreferences loadPreferences(store::Database& db);
qint64 addRule(store::Database& db, const SeatRule& rule);
void removeRule(store::Database& db, qint64 ruleId);
void savePreferences(store::Database& db, const SeatPreferences& preferences);

// Pinned parties stay where they are when everyone is re-seated.
bool isPinned(store::Database& db, PartyKey party);
void setPinned(store::Database& db, PartyKey party, bool pinned);

// The floor plan.
enum class TableShape { Round, Rectangle };
struct TablePlace {
    QPointF centre;
    TableShape shape = TableShape::Round;
};
std::map<TableKey, TablePlace> loadPlaces(store::Database& db);
void savePlace(store::Database& db, TableKey table, const TablePlace& place);

// The name a party is shown under (its list text; a party without one is still named),
// from a set with Prefix, FirstName and LastName.
QString partyName(const store::Recordset& guest);

// The people of a party to seat: the confirmed number once the reply is in, else the
// number invited (Null counts as 0).
int partyPeople(const QVariant& confirmed, const QVariant& numberAttending, const QVariant& invited);

}  // namespace seating
