// Changing many parties at once: invite them to an event or take them off it, set their side or
// their reception reply, mark the thank-you cards of an occasion sent, or delete them. A change
// is planned from the rows as read (pure: which parties it touches and how), then written in one
// transaction after a backup, and kept so that Undo can take it back (store/Undo.h).
//
//   guests::BulkChange change{guests::BulkChange::Kind::Invite};
//   change.event = guests::Event::Reception;
//   const guests::BulkOutcome done = guests::applyChange(db, keys, change);
//   show(done.summary());   // "Invited 12 parties to the reception. 3 needed no change."
#pragma once

#include "guests/MemberRules.h"
#include "guests/PartyFinder.h"

#include <QString>

#include <vector>

namespace store {
class Database;
}

namespace guests {

// A reception reply as a change names it (Reply::None is "no reply").
QString replyWords(Reply reply);                            // "attending", "declined", "no reply"
std::optional<Reply> parseReplyWords(const QString& text);  // attending, declined, no-reply (any case)

struct BulkChange {
    enum class Kind { Invite, Uninvite, Side, Reply, ThankYouSent, Delete };
    Kind kind = Kind::Invite;
    Event event = Event::Reception;         // Invite, Uninvite
    QString side;                           // Side: "Bride", "Groom" or "Both"
    Reply reply = Reply::Attending;         // Reply
    Occasion occasion = Occasion::Wedding;  // ThankYouSent
};

// The change in words, for the undo command and the backup list: "Invite 12 parties to the
// reception", "Delete 1 party".
QString describe(const BulkChange& change, int parties);

// What one party's row becomes.
struct PartyUpdate {
    qint64 key = 0;
    qint64 releasedTable = 0;  // a table the party gives its seats back to (0: none)
    int releasedSeats = 0;
};

// What a change does to the parties picked: the parties it changes, and why the others are left.
struct BulkPlan {
    std::vector<PartyUpdate> updates;
    int picked = 0;
    int alreadySo = 0;     // already as the change would make them
    int notAtReception = 0;  // a reply for a party not invited to the reception
    int noPeople = 0;      // "attending" for a party with no people invited
    int noGift = 0;        // thank-you cards for a party without a gift at that occasion
};
BulkPlan planChange(const PartyList& list, const std::vector<qint64>& keys, const BulkChange& change);

struct BulkOutcome {
    BulkChange change;
    BulkPlan plan;
    int seatsReleased = 0;  // parties that gave their seats back
    QString backupPath;     // empty when nothing changed
    int changed() const { return int(plan.updates.size()); }
    // "Invited 12 parties to the reception. 3 needed no change." and why others were left.
    QString summary() const;
};

// Plans the change on the parties (bookmarks; unknown ones are passed over) and writes it: a
// backup first, then one transaction; then it is kept for Undo. Nothing is written (and no
// backup made) when nothing would change. Throws store::StoreError, having changed nothing.
BulkOutcome applyChange(store::Database& db, const std::vector<qint64>& keys, const BulkChange& change);

}  // namespace guests
