// The cards for the tables: a place card for each person expected at the reception
// (expectedAtReception) whose party is seated, and the escort cards by which the guests find
// their table. People not seated get no card (a card without a table helps no one); how many
// they are is counted, so that the couple can be told.
#pragma once

#include "guests/MemberStore.h"

#include <QStringList>

#include <vector>

namespace guests {

struct PlaceCard {
    QString name;   // as nameOf gives it ("Guest of Ann Lee" for an unnamed plus-one)
    QString table;  // as tableLine gives it: "Oak · Table 3"
    QString mark;   // the meal's short mark; empty without a meal or a mark
    // The lines printed on the card, the name first.
    QStringList lines() const { return {name, table, mark}; }
};

struct Cards {
    std::vector<PlaceCard> cards;
    int notSeated = 0;  // expected people left without a card
};

// What the couple is told of the people left without a card: "3 people expected at the
// reception are not seated at a table and have no card."; empty when everyone has one.
QString notSeatedNote(const Cards& cards);

// "Oak · Table 3"; "Table 3" when the table has no name; the name alone when it only says the
// number ("Table #3").
QString tableLine(const TableInfo& table);

// By table number, then parties in the order the guest list keeps them, then the members in
// their order within the party.
Cards placeCardsOf(const WeddingPeople& people);
// Alphabetically by last then first name, blind to case and accents; an unnamed guest follows
// the member who brings them. Escort cards carry no meal mark.
Cards escortCardsOf(const WeddingPeople& people);

}  // namespace guests
