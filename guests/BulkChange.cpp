#include "guests/BulkChange.h"

#include "store/Backup.h"
#include "store/Store.h"
#include "store/Transaction.h"
#include "store/Undo.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <map>

namespace guests {

namespace {

const char* const InvitedField[] = {"InvCeremony", "InvReception", "ShowerGuest", "InvRehearsal"};
const char* const CardSentField[] = {"EngageNoteSent", "ShowerNoteSent", "WeddingNoteSent"};

QString parties(int n)
{
    return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? "party" : "parties");
}

// The reply a party holds now, as a change would set it.
Reply replyOf(const PartyRow& r)
{
    if (!r.replied)
        return Reply::None;
    return r.attending > 0 ? Reply::Attending : Reply::Declined;
}

// Whether the change leaves the row as it is, counting why in the plan.
bool leftAsItIs(const PartyRow& r, const BulkChange& c, BulkPlan& plan)
{
    using K = BulkChange::Kind;
    switch (c.kind) {
        case K::Invite:
            return r.isInvited(c.event) && ++plan.alreadySo;
        case K::Uninvite:
            return !r.isInvited(c.event) && ++plan.alreadySo;
        case K::Side:
            return r.side == c.side && ++plan.alreadySo;
        case K::Reply:
            if (!r.isInvited(Event::Reception))
                return ++plan.notAtReception;
            if (c.reply == Reply::Attending && r.people <= 0)
                return ++plan.noPeople;
            return replyOf(r) == c.reply && (c.reply != Reply::Attending || r.attending == r.people) &&
                   ++plan.alreadySo;
        case K::ThankYouSent:
            if (!r.gift[int(c.occasion)])
                return ++plan.noGift;
            return r.cardSent[int(c.occasion)] && ++plan.alreadySo;
        case K::Delete:
            return false;
    }
    return true;
}

// Whether the change takes the party off its reception table.
bool releasesSeats(const PartyRow& r, const BulkChange& c)
{
    const bool leaves = c.kind == BulkChange::Kind::Delete ||
                        (c.kind == BulkChange::Kind::Uninvite && c.event == Event::Reception);
    return leaves && r.tableId != 0;
}

// The statement that writes a party's row, and its values.
QString statementFor(const BulkChange& c)
{
    using K = BulkChange::Kind;
    switch (c.kind) {
        case K::Invite:
        case K::Uninvite:
            return QStringLiteral("UPDATE Guests SET %1 = ? WHERE rowid = ?").arg(InvitedField[int(c.event)]);
        case K::Side:
            return QStringLiteral("UPDATE Guests SET guestof = ? WHERE rowid = ?");
        case K::Reply:
            return QStringLiteral("UPDATE Guests SET Confirmed = ?, NumberAttending = ? WHERE rowid = ?");
        case K::ThankYouSent:
            return QStringLiteral("UPDATE Guests SET %1 = ? WHERE rowid = ?").arg(CardSentField[int(c.occasion)]);
        case K::Delete:
            return QStringLiteral("DELETE FROM Guests WHERE rowid = ?");
    }
    return {};
}

QVariantList valuesFor(const BulkChange& c, const PartyRow& r)
{
    using K = BulkChange::Kind;
    switch (c.kind) {
        case K::Invite:
            return {true, r.key};
        case K::Uninvite:
            return {false, r.key};
        case K::Side:
            return {c.side, r.key};
        case K::Reply:
            return {c.reply != Reply::None, c.reply == Reply::Attending ? r.people : 0, r.key};
        case K::ThankYouSent:
            return {true, r.key};
        case K::Delete:
            return {r.key};
    }
    return {};
}

// Gives the seats of the parties leaving their tables back: each table's `assigned` drops by
// the seats its parties held (never below 0), as removing one party does.
void releaseSeats(store::Database& db, const std::vector<PartyUpdate>& updates)
{
    std::map<qint64, qint64> released;
    for (const PartyUpdate& u : updates)
        if (u.releasedTable != 0) {
            released[u.releasedTable] += u.releasedSeats;
        }
    if (released.empty())
        return;
    std::vector<QVariantList> rows;
    std::vector<QVariantList> unseat;
    auto tables = db.openRecordset(QStringLiteral("Tables"), store::RecordsetType::Snapshot);
    const int id = tables->fieldIndex(QStringLiteral("TableId"));
    const int assigned = tables->fieldIndex(QStringLiteral("assigned"));
    for (; !tables->eof(); tables->moveNext()) {
        const auto it = released.find(tables->value(id).toLongLong());
        if (it != released.end())
            rows.push_back({std::max<qint64>(0, tables->value(assigned).toLongLong() - it->second), it->first});
    }
    tables->close();
    for (const PartyUpdate& u : updates)
        if (u.releasedTable != 0)
            unseat.push_back({u.key});
    db.executeEach(QStringLiteral("UPDATE Tables SET assigned = ? WHERE TableId = ?"), rows);
    db.executeEach(QStringLiteral("UPDATE Guests SET tableid = 0, tabletot = 0 WHERE rowid = ?"), unseat);
}

}  // namespace

QString replyWords(Reply reply)
{
    switch (reply) {
        case Reply::Attending:
            return QStringLiteral("attending");
        case Reply::Declined:
            return QStringLiteral("declined");
        case Reply::None:
            return QStringLiteral("no reply");
    }
    return {};
}

std::optional<Reply> parseReplyWords(const QString& text)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("attending"))
        return Reply::Attending;
    if (t == QLatin1String("declined"))
        return Reply::Declined;
    if (t == QLatin1String("no-reply") || t == QLatin1String("no reply"))
        return Reply::None;
    return std::nullopt;
}

QString describe(const BulkChange& c, int n)
{
    using K = BulkChange::Kind;
    switch (c.kind) {
        case K::Invite:
            return QStringLiteral("Invite %1 to the %2").arg(parties(n), eventName(c.event));
        case K::Uninvite:
            return QStringLiteral("Remove %1 from the %2").arg(parties(n), eventName(c.event));
        case K::Side:
            return QStringLiteral("Set the side of %1 to %2").arg(parties(n), c.side);
        case K::Reply:
            return QStringLiteral("Set the reply of %1 to %2").arg(parties(n), replyWords(c.reply));
        case K::ThankYouSent:
            return QStringLiteral("Mark the %1 thank-you cards of %2 as sent").arg(occasionName(c.occasion), parties(n));
        case K::Delete:
            return QStringLiteral("Delete %1").arg(parties(n));
    }
    return {};
}

BulkPlan planChange(const PartyList& list, const std::vector<qint64>& keys, const BulkChange& change)
{
    QHash<qint64, int> rowOf;
    rowOf.reserve(qsizetype(list.rows.size()));
    for (int i = 0; i < int(list.rows.size()); ++i)
        rowOf.insert(list.rows[size_t(i)].key, i);
    BulkPlan plan;
    QSet<qint64> seen;
    for (qint64 key : keys) {
        const auto it = rowOf.constFind(key);
        if (it == rowOf.constEnd() || seen.contains(key))
            continue;
        seen.insert(key);
        ++plan.picked;
        const PartyRow& r = list.rows[size_t(*it)];
        if (leftAsItIs(r, change, plan))
            continue;
        PartyUpdate u;
        u.key = key;
        if (releasesSeats(r, change)) {
            u.releasedTable = r.tableId;
            u.releasedSeats = r.seats;
        }
        plan.updates.push_back(u);
    }
    return plan;
}

QString BulkOutcome::summary() const
{
    using K = BulkChange::Kind;
    const int n = changed();
    QString done;
    switch (change.kind) {
        case K::Invite:
            done = QStringLiteral("Invited %1 to the %2.").arg(parties(n), eventName(change.event));
            break;
        case K::Uninvite:
            done = QStringLiteral("Removed %1 from the %2.").arg(parties(n), eventName(change.event));
            break;
        case K::Side:
            done = QStringLiteral("Set the side of %1 to %2.").arg(parties(n), change.side);
            break;
        case K::Reply:
            done = QStringLiteral("Set the reply of %1 to %2.").arg(parties(n), replyWords(change.reply));
            break;
        case K::ThankYouSent:
            done = QStringLiteral("Marked the %1 thank-you cards of %2 as sent.")
                       .arg(occasionName(change.occasion), parties(n));
            break;
        case K::Delete:
            done = QStringLiteral("Deleted %1.").arg(parties(n));
            break;
    }
    QStringList lines{done};
    if (seatsReleased > 0)
        lines << QStringLiteral("%1 gave back their seats at the reception tables.").arg(parties(seatsReleased));
    if (plan.alreadySo > 0)
        lines << QStringLiteral("%1 needed no change.").arg(parties(plan.alreadySo));
    if (plan.notAtReception > 0)
        lines << QStringLiteral("%1 not invited to the reception kept their reply.").arg(parties(plan.notAtReception));
    if (plan.noPeople > 0)
        lines << QStringLiteral("%1 with no people invited cannot be attending.").arg(parties(plan.noPeople));
    if (plan.noGift > 0)
        lines << QStringLiteral("%1 gave no %2 gift.").arg(parties(plan.noGift), occasionName(change.occasion));
    return lines.join(QLatin1Char(' '));
}

BulkOutcome applyChange(store::Database& db, const std::vector<qint64>& keys, const BulkChange& change)
{
    const PartyList list = loadParties(db);
    BulkOutcome outcome;
    outcome.change = change;
    outcome.plan = planChange(list, keys, change);
    if (outcome.plan.updates.empty())
        return outcome;
    QHash<qint64, const PartyRow*> rows;
    for (const PartyRow& r : list.rows)
        rows.insert(r.key, &r);
    std::vector<QVariantList> values;
    values.reserve(outcome.plan.updates.size());
    for (const PartyUpdate& u : outcome.plan.updates) {
        values.push_back(valuesFor(change, *rows.value(u.key)));
        outcome.seatsReleased += u.releasedTable != 0 ? 1 : 0;
    }
    outcome.backupPath = store::backup::make(db.path(), store::backup::Reason::Change);
    store::Transaction writing;
    releaseSeats(db, outcome.plan.updates);
    db.executeEach(statementFor(change), values);
    writing.commit();
    store::undo::remember(db, outcome.backupPath, describe(change, outcome.changed()));
    return outcome;
}

}  // namespace guests
