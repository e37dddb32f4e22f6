// The seats of the members of seated parties: a party sits whole at one table, and its
// members take seats round that table, party by party in consecutive seats and in member
// order, unless a member has been given another seat of the table (kept in GuestsSeats).
//
//   std::map<MemberKey, int> seats = seating::assignSeats(10, {{a1, a2}, {b1, b2, b3}}, kept);
//   seating::giveSeats(db, {table});          // inside the change that seated parties there
//   seating::moveMemberToSeat(db, member, 4);  // swaps with whoever sits in seat 4
//
// Seats count from 0 round the table, so that seat n and seat n + 1 are neighbours, and the
// last seat is next to the first. Members who declined the reception take no seat, and a
// party takes no more seats than the people it has seated (the first members in order).
#pragma once

#include "seating/SeatPlan.h"

#include <map>
#include <set>
#include <vector>

namespace store {
class Database;
}

namespace seating {

using MemberKey = qint64;

// A member who sits with its party when the party is seated.
struct SeatPerson {
    MemberKey member = 0;
    PartyKey party = 0;
    QString name;            // "Guest of ..." for an unnamed place
    TableKey keptTable = 0;  // the table of its kept seat (0: none)
    int keptSeat = -1;
};

// Where a member sits.
struct MemberSeat {
    MemberKey member = 0;
    PartyKey party = 0;
    TableKey table = 0;
    int seat = 0;
    QString name;
};

// The seats of one table of `seats` seats: every kept seat that is one of the table's and not
// kept by an earlier member stays; then each party in turn (its members in order) takes the
// first run of free consecutive seats long enough for those still without one, or else the
// free seats from the start of the longest free run on. Members beyond the free seats get
// none (an overbooked table).
std::map<MemberKey, int> assignSeats(int seats, const std::vector<std::vector<MemberKey>>& parties,
                                     const std::map<MemberKey, int>& kept);

// Whether the file keeps members' seats (a file opened read-only and not yet upgraded has not).
bool hasSeatTable(store::Database& db);
// Every member of every party who would sit with it (not declined for the reception), party by
// party in member order, with their kept seats.
std::vector<SeatPerson> loadSeatPeople(store::Database& db);

// The seats of the members of the seated parties, table by table: `seated` lists the parties
// at each table in the order they take seats, each with the people it has seated.
struct SeatedParty {
    PartyKey party = 0;
    TableKey table = 0;
    int people = 0;
};
struct TableSeats {
    TableKey table = 0;
    int seats = 0;
};
std::vector<MemberSeat> memberSeats(const std::vector<TableSeats>& tables,
                                    const std::vector<SeatedParty>& seated,
                                    const std::vector<SeatPerson>& people);

// Writes the seats of every member at these tables as memberSeats gives them, so that each
// member seated there keeps a seat. Part of the caller's transaction (it opens none).
void giveSeats(store::Database& db, const std::set<TableKey>& tables);

// Moves a member to another seat of its party's table in one transaction; a member already in
// that seat takes the member's old one. False (nothing changed) when the member has no seat or
// the seat is not one of the table's or is its own.
bool moveMemberToSeat(store::Database& db, MemberKey member, int seat);

// The kept seats at some tables, to put back as they were (the floor plan's "Undo Seating").
struct KeptSeat {
    MemberKey member = 0;
    TableKey table = 0;
    int seat = 0;
};
std::vector<KeptSeat> loadKeptSeats(store::Database& db, const std::set<TableKey>& tables);
// Replaces the kept seats at these tables by those given, each only where its member's party
// sits at that table now (a member since removed, or whose party has moved on, gets none). Part
// of the caller's transaction.
void restoreKeptSeats(store::Database& db, const std::set<TableKey>& tables,
                      const std::vector<KeptSeat>& seats);

}  // namespace seating
