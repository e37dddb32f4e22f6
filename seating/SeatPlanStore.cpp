#include "seating/SeatPlanStore.h"

#include "seating/MemberSeats.h"
#include "seating/SeatRules.h"
#include "store/Backup.h"
#include "store/Store.h"
#include "store/Transaction.h"
#include "store/Undo.h"

#include <algorithm>
#include <set>

namespace seating {

namespace {

const QString PartySql = QStringLiteral(
    "SELECT Prefix, FirstName, LastName, guestof, InvReception, Invited, Confirmed, NumberAttending, "
    "tableid, "
    "tabletot FROM Guests ORDER BY LastName");

}  // namespace

QString partyName(const store::Recordset& rs)
{
    const auto text =
        partyDisplayText(rs.value(QStringLiteral("Prefix")), rs.value(QStringLiteral("FirstName")),
                         rs.value(QStringLiteral("LastName")));
    if (text)
        return *text;
    const QString first = rs.value(QStringLiteral("FirstName")).toString().trimmed();
    return first.isEmpty() ? QStringLiteral("(no name)") : first;
}

namespace {

std::vector<PartyKey> pinnedParties(store::Database& db)
{
    std::vector<PartyKey> keys;
    auto rs =
        db.openRecordset(QStringLiteral("SELECT PartyKey FROM SeatingPins"), store::RecordsetType::Snapshot);
    for (; !rs->eof(); rs->moveNext())
        keys.push_back(rs->value(0).toLongLong());
    return keys;
}

void writeParty(store::Recordset& guests, PartyKey key, const QVariant& tableid, const QVariant& tabletot)
{
    guests.setBookmark(key);
    guests.edit();
    guests.setValue(QStringLiteral("tableid"), tableid);
    if (tabletot.isValid())
        guests.setValue(QStringLiteral("tabletot"), tabletot);
    guests.update();
}

}  // namespace

int partyPeople(const QVariant& confirmed, const QVariant& numberAttending, const QVariant& invited)
{
    return std::max(0, countOf(confirmed.toBool() ? numberAttending : invited));
}

SeatProblem loadProblem(store::Database& db, bool reseatEveryone)
{
    SeatProblem problem;
    problem.reseatEveryone = reseatEveryone;
    auto tables = db.openRecordset(QStringLiteral("SELECT * FROM Tables ORDER BY tablenumber, TableId"),
                                   store::RecordsetType::Snapshot);
    for (; !tables->eof(); tables->moveNext())
        problem.tables.push_back({tables->value(QStringLiteral("TableId")).toLongLong(),
                                  tables->value(QStringLiteral("tablename")).toString(),
                                  countOf(tables->value(QStringLiteral("tablenumber"))),
                                  countOf(tables->value(QStringLiteral("max"))),
                                  countOf(tables->value(QStringLiteral("assigned")))});
    const std::vector<PartyKey> pins = pinnedParties(db);
    auto guests = db.openRecordset(PartySql, store::RecordsetType::Dynaset);
    for (; !guests->eof(); guests->moveNext()) {
        SeatParty party;
        party.key = guests->bookmark();
        party.name = partyName(*guests);
        party.side = guests->value(QStringLiteral("guestof")).toString();
        party.people = partyPeople(guests->value(QStringLiteral("Confirmed")),
                                   guests->value(QStringLiteral("NumberAttending")),
                                   guests->value(QStringLiteral("Invited")));
        party.table = guests->value(QStringLiteral("tableid")).toLongLong();
        party.seated = countOf(guests->value(QStringLiteral("tabletot")));
        party.pinned = std::count(pins.begin(), pins.end(), party.key) > 0;
        party.sortName = guests->value(QStringLiteral("LastName")).toString().trimmed() + QLatin1Char(' ') +
                         guests->value(QStringLiteral("FirstName")).toString().trimmed();
        const bool invited = guests->value(QStringLiteral("InvReception")).toBool() && party.people > 0;
        if (!invited && party.table == 0)
            continue;
        if (!invited)
            party.pinned = true;  // seated by hand though not expected: left where it is
        problem.parties.push_back(party);
    }
    problem.rules = loadRules(db);
    problem.preferences = loadPreferences(db);
    return problem;
}

SeatingSnapshot applyPlan(store::Database& db, const SeatProblem& problem, const SeatPlan& plan)
{
    SeatingSnapshot before;
    auto guests = db.openRecordset(QStringLiteral("Guests"), store::RecordsetType::Dynaset);
    auto tables = db.openRecordset(QStringLiteral("Tables"), store::RecordsetType::Dynaset);
    for (; !tables->eof(); tables->moveNext())
        before.tables.push_back({tables->value(QStringLiteral("TableId")).toLongLong(),
                                 tables->value(QStringLiteral("assigned"))});
    for (const Placement& move : plan.moves) {
        guests->setBookmark(move.party);
        before.parties.push_back({move.party, guests->value(QStringLiteral("tableid")),
                                  guests->value(QStringLiteral("tabletot"))});
    }
    for (const Placement& move : plan.moves)
        for (TableKey table : {move.fromTable, move.toTable})
            if (table != 0)
                before.seatTables.insert(table);
    before.seats = loadKeptSeats(db, before.seatTables);
    const std::vector<int> taken = seatsTakenAfter(problem, plan);
    store::Transaction change;
    std::set<TableKey> seatedAt;
    for (const Placement& move : plan.moves) {
        writeParty(*guests, move.party, move.toTable, move.toTable ? QVariant(move.people) : QVariant());
        seatedAt.insert(move.toTable);
    }
    for (size_t t = 0; t < problem.tables.size(); ++t) {
        if (taken[t] == problem.tables[t].assigned)
            continue;
        tables->findFirst(QStringLiteral("TableId = ?"), {problem.tables[t].key});
        tables->edit();
        tables->setValue(QStringLiteral("assigned"), taken[t]);
        tables->update();
    }
    // The members of the parties seated now take seats side by side at their tables.
    giveSeats(db, seatedAt);
    change.commit();
    return before;
}

KeptPlan applyPlanKept(store::Database& db, const SeatProblem& problem, const SeatPlan& plan)
{
    KeptPlan kept;
    try {
        kept.backupPath = store::backup::make(db.path(), store::backup::Reason::Seating);
    } catch (const store::StoreError& e) {
        throw store::StoreError(
            e.number(),
            QStringLiteral("No backup of the wedding file could be made, so the plan was not applied.\n%1")
                .arg(e.description()));
    }
    kept.before = applyPlan(db, problem, plan);
    const int n = int(plan.moves.size());
    store::undo::remember(
        db, kept.backupPath,
        QStringLiteral("Apply a seating plan for %1 %2").arg(n).arg(n == 1 ? "party" : "parties"));
    return kept;
}

void restoreSnapshot(store::Database& db, const SeatingSnapshot& snapshot)
{
    auto guests = db.openRecordset(QStringLiteral("Guests"), store::RecordsetType::Dynaset);
    auto tables = db.openRecordset(QStringLiteral("Tables"), store::RecordsetType::Dynaset);
    store::Transaction change;
    for (const SeatingSnapshot::Party& party : snapshot.parties)
        if (guests->hasBookmark(party.key))
            writeParty(*guests, party.key, party.tableid, party.tabletot);
    for (const SeatingSnapshot::Table& table : snapshot.tables) {
        tables->findFirst(QStringLiteral("TableId = ?"), {table.key});
        if (tables->noMatch())
            continue;
        tables->edit();
        tables->setValue(QStringLiteral("assigned"), table.assigned);
        tables->update();
    }
    // After the parties: moving a party back takes its members' seats away.
    restoreKeptSeats(db, snapshot.seatTables, snapshot.seats);
    change.commit();
}

// ---- rules -------------------------------------------------------------------------------------

std::vector<SeatRule> loadRules(store::Database& db)
{
    std::vector<SeatRule> rules;
    auto rs =
        db.openRecordset(QStringLiteral("SELECT * FROM SeatingRules WHERE Kind IN ('Together', 'Apart', "
                                        "'Reserved') ORDER BY RuleId"),
                         store::RecordsetType::Snapshot);
    for (; !rs->eof(); rs->moveNext()) {
        SeatRule rule;
        rule.id = rs->value(QStringLiteral("RuleId")).toLongLong();
        const QString kind = rs->value(QStringLiteral("Kind")).toString();
        rule.kind = kind.compare(QStringLiteral("Together"), Qt::CaseInsensitive) == 0 ? RuleKind::Together
                    : kind.compare(QStringLiteral("Apart"), Qt::CaseInsensitive) == 0  ? RuleKind::Apart
                                                                                       : RuleKind::Reserved;
        rule.table = rs->value(QStringLiteral("TableId")).toLongLong();
        rule.side = rs->value(QStringLiteral("Side")).toString();
        rules.push_back(rule);
    }
    auto members =
        db.openRecordset(QStringLiteral("SELECT RuleId, PartyKey FROM SeatingRuleParties ORDER BY RuleId"),
                         store::RecordsetType::Snapshot);
    for (; !members->eof(); members->moveNext()) {
        const qint64 id = members->value(0).toLongLong();
        auto it = std::find_if(rules.begin(), rules.end(), [id](const SeatRule& r) { return r.id == id; });
        if (it != rules.end())
            it->parties.push_back(members->value(1).toLongLong());
    }
    return rules;
}

SeatPreferences loadPreferences(store::Database& db)
{
    SeatPreferences preferences;
    auto rs =
        db.openRecordset(QStringLiteral("SELECT Kind FROM SeatingRules"), store::RecordsetType::Snapshot);
    for (; !rs->eof(); rs->moveNext()) {
        const QString kind = rs->value(0).toString().toLower();
        if (kind == QLatin1String("sidestogether"))
            preferences.sidesTogether = true;
        else if (kind == QLatin1String("fillevenly"))
            preferences.balance = Balance::FillEvenly;
        else if (kind == QLatin1String("fewesttables"))
            preferences.balance = Balance::FewestTables;
    }
    return preferences;
}

qint64 addRule(store::Database& db, const SeatRule& rule)
{
    static const char* const kinds[] = {"Together", "Apart", "Reserved"};
    store::Transaction change;
    auto rules = db.openRecordset(QStringLiteral("SeatingRules"), store::RecordsetType::Dynaset);
    rules->addNew();
    rules->setValue(QStringLiteral("Kind"), QString::fromLatin1(kinds[int(rule.kind)]));
    if (rule.table)
        rules->setValue(QStringLiteral("TableId"), rule.table);
    if (!rule.side.isEmpty())
        rules->setValue(QStringLiteral("Side"), rule.side);
    rules->update();
    rules->setBookmark(rules->lastModified());
    const qint64 id = rules->value(QStringLiteral("RuleId")).toLongLong();
    for (PartyKey party : rule.parties)
        db.execute(QStringLiteral("INSERT INTO SeatingRuleParties (RuleId, PartyKey) VALUES (?, ?)"),
                   {id, party});
    change.commit();
    return id;
}

void removeRule(store::Database& db, qint64 ruleId)
{
    db.execute(QStringLiteral("DELETE FROM SeatingRules WHERE RuleId = ?"), {ruleId});
}

void savePreferences(store::Database& db, const SeatPreferences& preferences)
{
    store::Transaction change;
    db.execute(QStringLiteral(
        "DELETE FROM SeatingRules WHERE Kind IN ('SidesTogether', 'FillEvenly', 'FewestTables')"));
    if (preferences.sidesTogether)
        db.execute(QStringLiteral("INSERT INTO SeatingRules (Kind) VALUES ('SidesTogether')"));
    if (preferences.balance == Balance::FillEvenly)
        db.execute(QStringLiteral("INSERT INTO SeatingRules (Kind) VALUES ('FillEvenly')"));
    if (preferences.balance == Balance::FewestTables)
        db.execute(QStringLiteral("INSERT INTO SeatingRules (Kind) VALUES ('FewestTables')"));
    change.commit();
}

// ---- pins and places ---------------------------------------------------------------------------

bool isPinned(store::Database& db, PartyKey party)
{
    auto rs = db.openRecordset(QStringLiteral("SELECT PartyKey FROM SeatingPins WHERE PartyKey = ?"), {party},
                               store::RecordsetType::Snapshot);
    return !rs->eof();
}

void setPinned(store::Database& db, PartyKey party, bool pinned)
{
    db.execute(QStringLiteral("DELETE FROM SeatingPins WHERE PartyKey = ?"), {party});
    if (pinned)
        db.execute(QStringLiteral("INSERT INTO SeatingPins (PartyKey) VALUES (?)"), {party});
}

std::map<TableKey, TablePlace> loadPlaces(store::Database& db)
{
    std::map<TableKey, TablePlace> places;
    auto rs = db.openRecordset(QStringLiteral("SELECT TableId, X, Y, Shape FROM TablePlaces"),
                               store::RecordsetType::Snapshot);
    for (; !rs->eof(); rs->moveNext()) {
        TablePlace place;
        place.centre = QPointF(rs->value(1).toDouble(), rs->value(2).toDouble());
        place.shape = rs->value(3).toString().compare(QStringLiteral("Rectangle"), Qt::CaseInsensitive) == 0
                          ? TableShape::Rectangle
                          : TableShape::Round;
        places[rs->value(0).toLongLong()] = place;
    }
    return places;
}

void savePlace(store::Database& db, TableKey table, const TablePlace& place)
{
    store::Transaction change;
    db.execute(QStringLiteral("DELETE FROM TablePlaces WHERE TableId = ?"), {table});
    db.execute(
        QStringLiteral("INSERT INTO TablePlaces (TableId, X, Y, Shape) VALUES (?, ?, ?, ?)"),
        {table, qRound(place.centre.x()), qRound(place.centre.y()),
         place.shape == TableShape::Rectangle ? QStringLiteral("Rectangle") : QStringLiteral("Round")});
    change.commit();
}

}  // namespace seating
