// Finding guest parties: a search by any part of any name, address, city or phone (blind to
// case, accents and punctuation) and the filters of the lists that need attention, combined
// (every filter must hold). Pure rules over rows read once, so that finding as the user types
// costs no reading.
//
//   const guests::PartyList list = guests::loadParties(db);
//   const auto filters = guests::parseFilters({"no-reply", "side:Bride"});   // nullopt: a bad one
//   for (int i : guests::findParties(list, "o'con", *filters)) ... list.rows[i] ...
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace store {
class Database;
}

namespace guests {

// The events a party can be invited to, in the order of the guest window's Details tab.
enum class Event { Ceremony, Reception, Shower, Rehearsal };
QString eventName(Event event);  // "ceremony", "reception", "shower", "rehearsal"
std::optional<Event> parseEvent(const QString& text);  // an event's name, any case

// The occasions a party gives a gift at, in the order of the guest window's Gifts tab.
enum class Occasion { Engagement, Shower, Wedding };
QString occasionName(Occasion occasion);                     // "engagement", "shower", "wedding"
std::optional<Occasion> parseOccasion(const QString& text);  // an occasion's name, any case

// One party as the finder lists it.
struct PartyRow {
    qint64 key = 0;    // the party's bookmark
    QString name;      // title, first and last name
    QString sortName;  // last name, first name
    QString side;      // "Bride", "Groom", "Both" or empty
    QString address, city, phone;
    bool invited[4] = {false, false, false, false};  // by Event
    int people = 0;                                  // invited to the wedding
    bool replied = false;                            // the reception's reply is in
    int attending = 0;                               // people attending the reception
    qint64 tableId = 0;                              // 0: not seated
    QString table;                                   // the table's name, empty when not seated
    int seats = 0;                                   // seats the party holds at its table
    int gifts = 0;                                   // gifts received (engagement, shower, reception)
    int cardsToSend = 0;                             // of those, thank-you cards not yet sent
    bool gift[3] = {false, false, false};            // by Occasion: a gift was received
    bool cardSent[3] = {false, false, false};        // by Occasion: its thank-you card is sent
    QStringList meals;   // the meals its members chose, by name
    QStringList needs;   // its members' dietary needs: each one ticked, and each written note
    QString searchText;  // every searchable text as shell::searchKey gives it, fields apart

    bool isInvited(Event e) const { return invited[int(e)]; }
    // The reception's reply in words: "attending", "declined", "no reply" or "" (not invited).
    QString reply() const;
};

struct PartyList {
    std::vector<PartyRow> rows;  // by last name, then first name
    QStringList menu;            // the couple's meal choices, in their order
};

// Reads every party once (Guests with the names of their tables, and the names, meals and
// needs of their members where there are members).
PartyList loadParties(store::Database& db);

// A filter; all of a search's filters must hold.
struct Filter {
    enum class Kind { NoReply, Attending, Declined, NotSeated, NoAddress, NoThankYou, Side, Invited, Meal, Need };
    Kind kind;
    QString side;                    // Side: "Bride", "Groom" or "Both"
    Event event = Event::Reception;  // Invited
    QString name;                    // Meal: a meal's name; Need: part of a need ("nut", "Vegan")
    bool holds(const PartyRow& row) const;
};

// no-reply, attending, declined, not-seated, no-address, no-thank-you, side:Bride|Groom|Both,
// invited:ceremony|reception|shower|rehearsal (any case), meal:NAME (a member chose that meal)
// and diet:NAME (a member's needs hold it, blind to case and accents); nullopt for any other text.
std::optional<Filter> parseFilter(const QString& text);
// Every filter, or nullopt with *bad set to the first text that is none.
std::optional<std::vector<Filter>> parseFilters(const QStringList& texts, QString* bad = nullptr);
// The words a user reads for the filters that exist (for help and messages).
QString filterNames();

// The rows (indexes into list.rows, in list order) whose texts contain the search (blind to
// case, accents and punctuation; an empty search finds every party) and that pass every filter.
std::vector<int> findParties(const PartyList& list, const QString& search,
                             const std::vector<Filter>& filters);

// What the rows found hold: parties, people invited, attending.
struct FoundCounts {
    int parties = 0;
    int people = 0;
    int attending = 0;
};
FoundCounts countFound(const PartyList& list, const std::vector<int>& found);

}  // namespace guests
