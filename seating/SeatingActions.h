// Seating and unseating one party, with the seating manager's questions and messages.
// The seating manager's "Add Guest" and "Remove Guest" buttons and the floor plan's drops
// both come here, so the two always ask the same and write the same.
//
//   if (seating::seatParty(db, partyKey, tableKey, window)) refresh();
//
// Every change is one transaction: the party's table and seated people and the tables'
// seats taken move together or not at all. Store errors are thrown to the caller.
#pragma once

#include "seating/SeatPlan.h"

class QWidget;

namespace store {
class Database;
}

namespace seating {

// Seats the party at the table, or moves it there when it sits elsewhere. A full table
// says "You have no more seats available at this table."; otherwise the user is asked how
// many of the party's people take seats (refused: 0, more than the free seats, "Not
// Enough Room"); an empty answer or Cancel changes nothing. True when it was seated.
bool seatParty(store::Database& db, PartyKey party, TableKey table, QWidget* parent);

// Takes the party off its table: its table is 0 and the table's seats taken drop by its
// seated people (which the party keeps). True when it was seated and now is not.
bool unseatParty(store::Database& db, PartyKey party);

// Asks "Remove ... from ...?" first; true when the user agreed and it was unseated.
bool unseatPartyAsking(store::Database& db, PartyKey party, QWidget* parent);

}  // namespace seating
