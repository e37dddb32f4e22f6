#include "guests/MemberStore.h"

#include "guests/GuestRules.h"
#include "shell/TextFold.h"
#include "store/ReadQuery.h"
#include "store/Transaction.h"

#include <QSet>

#include <algorithm>

using store::FieldType;
using store::ReadQuery;

namespace guests {

namespace {

// Runs a change in one transaction of the default workspace: all of it or nothing.
template <typename Change>
auto inTransaction(Change change)
{
    store::Transaction writing;
    if constexpr (std::is_void_v<decltype(change())>) {
        change();
        writing.commit();
    } else {
        auto result = change();
        writing.commit();
        return result;
    }
}

QVariant textValue(const QString& text)
{
    const QString trimmed = text.trimmed();
    return trimmed.isEmpty() ? QVariant() : QVariant(trimmed);
}

QVariant keyValue(const std::optional<qint64>& key)
{
    return key ? QVariant(*key) : QVariant();
}

std::optional<qint64> keyOf(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    return value.toLongLong();
}

const char* const MemberColumns =
    "m.MemberId, m.PartyKey, m.SortOrder, m.FirstName, m.LastName, m.AgeGroup, m.PlusOneOf, m.MealId, "
    "m.Needs, m.NeedsNote, m.Email, m.Mobile, m.Note";

Member memberOf(const ReadQuery& q)
{
    Member m;
    m.id = q.value(0, FieldType::Number).toLongLong();
    m.party = q.value(1, FieldType::Number).toLongLong();
    m.order = q.value(2, FieldType::Number).toInt();
    m.firstName = q.value(3, FieldType::Text).toString();
    m.lastName = q.value(4, FieldType::Text).toString();
    m.ageGroup = ageGroupOf(q.value(5, FieldType::Text).toString()).value_or(AgeGroup::Adult);
    m.plusOneOf = keyOf(q.value(6, FieldType::Number));
    m.meal = keyOf(q.value(7, FieldType::Number));
    m.needs = needsOf(q.value(8, FieldType::Text).toString());
    m.needsNote = q.value(9, FieldType::Text).toString();
    m.email = q.value(10, FieldType::Text).toString();
    m.mobile = q.value(11, FieldType::Text).toString();
    m.note = q.value(12, FieldType::Text).toString();
    return m;
}

// The replies of the members read, by MemberId.
void readReplies(store::Database& db, std::vector<Member>& members, const QString& where,
                 const QVariantList& params)
{
    QHash<qint64, size_t> index;
    for (size_t i = 0; i < members.size(); ++i)
        index.insert(members[i].id, i);
    ReadQuery q(db,
                QStringLiteral("SELECT r.MemberId, r.Event, r.Reply FROM GuestsMemberReplies r "
                               "JOIN GuestsMembers m ON m.MemberId = r.MemberId ") +
                    where,
                params);
    while (q.next()) {
        const auto at = index.find(q.value(0, FieldType::Number).toLongLong());
        const auto event = eventOf(q.value(1, FieldType::Text).toString());
        if (at == index.end() || !event)
            continue;
        members[*at].setReply(*event, q.value(2, FieldType::Text).toString() == QLatin1String("Declined")
                                          ? Reply::Declined
                                          : Reply::Attending);
    }
}

std::optional<Member> memberById(store::Database& db, qint64 memberId)
{
    std::vector<Member> found;
    ReadQuery q(db,
                QStringLiteral("SELECT %1 FROM GuestsMembers m WHERE m.MemberId = ?")
                    .arg(QLatin1String(MemberColumns)),
                {memberId});
    if (q.next())
        found.push_back(memberOf(q));
    if (found.empty())
        return std::nullopt;
    readReplies(db, found, QStringLiteral("WHERE m.MemberId = ?"), {memberId});
    return found.front();
}

Member requireMember(store::Database& db, qint64 memberId)
{
    std::optional<Member> m = memberById(db, memberId);
    if (!m)
        throw store::StoreError(store::err::NoCurrentRecord,
                                QStringLiteral("That member is no longer in the guest list."));
    return *m;
}

void writeReplies(store::Database& db, const Member& member)
{
    db.execute(QStringLiteral("DELETE FROM GuestsMemberReplies WHERE MemberId = ?"), {member.id});
    for (Event event : AllEvents)
        if (member.reply(event) != Reply::None)
            db.execute(
                QStringLiteral("INSERT INTO GuestsMemberReplies (MemberId, Event, Reply) VALUES (?, ?, ?)"),
                {member.id, eventTitle(event), replyName(member.reply(event))});
}

void writeFields(store::Database& db, const Member& m)
{
    db.execute(
        QStringLiteral("UPDATE GuestsMembers SET FirstName = ?, LastName = ?, AgeGroup = ?, PlusOneOf = ?, "
                       "MealId = ?, Needs = ?, NeedsNote = ?, Email = ?, Mobile = ?, Note = ? "
                       "WHERE MemberId = ?"),
        {textValue(m.firstName), textValue(m.lastName), ageGroupName(m.ageGroup), keyValue(m.plusOneOf),
         keyValue(m.meal), textValue(needsText(m.needs)), textValue(m.needsNote), textValue(m.email),
         textValue(m.mobile), m.note.trimmed().isEmpty() ? QVariant() : QVariant(m.note), m.id});
}

qint64 insertMember(store::Database& db, const Member& m)
{
    ReadQuery last(db,
                   QStringLiteral("SELECT coalesce(max(SortOrder), 0) FROM GuestsMembers WHERE PartyKey = ?"),
                   {m.party});
    last.next();
    db.execute(QStringLiteral("INSERT INTO GuestsMembers (PartyKey, SortOrder) VALUES (?, ?)"),
               {m.party, last.value(0, FieldType::Number).toLongLong() + 1});
    ReadQuery q(db, QStringLiteral("SELECT max(MemberId) FROM GuestsMembers"));
    q.next();
    Member stored = m;
    stored.id = q.value(0, FieldType::Number).toLongLong();
    writeFields(db, stored);
    writeReplies(db, stored);
    return stored.id;
}

// Runs one statement for each row of values.
void executeEach(store::Database& db, const char* sql, const std::vector<QVariantList>& rows)
{
    const QString text = QString::fromLatin1(sql);
    for (const QVariantList& values : rows)
        db.execute(text, values);
}

// Writes the counts that follow from each party's members into its row. A party whose last
// member has gone keeps the counts it had: they are the typed counts again.
void writeCounts(store::Database& db, const QList<qint64>& parties)
{
    std::vector<QVariantList> reception, shower;
    for (qint64 party : parties) {
        const std::vector<Member> members = loadMembers(db, party);
        if (members.empty())
            continue;
        const PartyCounts c = countsOf(members);
        reception.push_back({c.invited, c.attending, c.confirmed, party});
        if (invitationsOf(db, party).shower)
            shower.push_back({c.showerInvited, c.showerComing, c.showerReplied, party});
    }
    executeEach(db, "UPDATE Guests SET Invited = ?, NumberAttending = ?, Confirmed = ? WHERE rowid = ?",
                reception);
    executeEach(db,
                "UPDATE Guests SET ShowerInvited = ?, ShowerComing = ?, ShowerReplied = ? WHERE rowid = ?",
                shower);
}

void writeCounts(store::Database& db, qint64 party)
{
    writeCounts(db, QList<qint64>{party});
}

int numberOf(const QVariant& value)
{
    return value.isNull() ? 0 : value.toInt();
}

}  // namespace

bool hasMemberTables(store::Database& db)
{
    const QStringList tables = db.tableNames();
    for (const char* table : {"GuestsMembers", "GuestsMeals", "GuestsMemberReplies"})
        if (!tables.contains(QLatin1String(table), Qt::CaseInsensitive))
            return false;
    return true;
}

bool hasMembers(store::Database& db)
{
    if (!hasMemberTables(db))
        return false;
    ReadQuery any(db, QStringLiteral("SELECT EXISTS (SELECT 1 FROM GuestsMembers)"));
    return any.next() && any.value(0, FieldType::Number).toBool();
}

std::vector<Member> loadMembers(store::Database& db, qint64 party)
{
    std::vector<Member> members;
    if (!hasMemberTables(db))
        return members;
    ReadQuery q(
        db,
        QStringLiteral("SELECT %1 FROM GuestsMembers m WHERE m.PartyKey = ? ORDER BY m.SortOrder, m.MemberId")
            .arg(QLatin1String(MemberColumns)),
        {party});
    while (q.next())
        members.push_back(memberOf(q));
    if (!members.empty())
        readReplies(db, members, QStringLiteral("WHERE m.PartyKey = ?"), {party});
    return members;
}

std::vector<Meal> loadMeals(store::Database& db)
{
    std::vector<Meal> meals;
    if (!hasMemberTables(db))
        return meals;
    ReadQuery q(db,
                QStringLiteral("SELECT MealId, Name, Mark FROM GuestsMeals ORDER BY SortOrder, MealId"));
    while (q.next())
        meals.push_back({q.value(0, FieldType::Number).toLongLong(), q.value(1, FieldType::Text).toString(),
                         q.value(2, FieldType::Text).toString()});
    return meals;
}

PartyCounts storedCounts(store::Database& db, qint64 party)
{
    ReadQuery q(db,
                QStringLiteral("SELECT Invited, NumberAttending, Confirmed, ShowerInvited, ShowerComing, "
                               "ShowerReplied FROM Guests WHERE rowid = ?"),
                {party});
    PartyCounts c;
    if (q.next()) {
        c.invited = numberOf(q.value(0, FieldType::Number));
        c.attending = numberOf(q.value(1, FieldType::Number));
        c.confirmed = q.value(2, FieldType::YesNo).toBool();
        c.showerInvited = numberOf(q.value(3, FieldType::Number));
        c.showerComing = numberOf(q.value(4, FieldType::Number));
        c.showerReplied = q.value(5, FieldType::YesNo).toBool();
    }
    return c;
}

Invitations invitationsOf(store::Database& db, qint64 party)
{
    ReadQuery q(
        db,
        QStringLiteral(
            "SELECT InvCeremony, InvReception, ShowerGuest, InvRehearsal FROM Guests WHERE rowid = ?"),
        {party});
    Invitations inv;
    if (q.next())
        inv = {q.value(0, FieldType::YesNo).toBool(), q.value(1, FieldType::YesNo).toBool(),
               q.value(2, FieldType::YesNo).toBool(), q.value(3, FieldType::YesNo).toBool()};
    return inv;
}

qint64 addMember(store::Database& db, Member member)
{
    return inTransaction([&] {
        const qint64 id = insertMember(db, member);
        writeCounts(db, member.party);
        return id;
    });
}

std::vector<qint64> addMembers(store::Database& db, std::vector<Member> members)
{
    return inTransaction([&] {
        // The keys are given here, after every key ever used (the table's sequence included),
        // so that the whole list is written by two prepared statements.
        ReadQuery last(
            db,
            QStringLiteral("SELECT max(coalesce((SELECT seq FROM sqlite_sequence WHERE name = "
                           "'GuestsMembers'), 0), coalesce((SELECT max(MemberId) FROM GuestsMembers), 0))"));
        last.next();
        const qint64 base = last.value(0, FieldType::Number).toLongLong();
        QHash<qint64, qint64> order;  // party -> the last SortOrder given
        QList<qint64> parties;
        std::vector<qint64> ids;
        ids.reserve(members.size());
        std::vector<QVariantList> rows, replies;
        rows.reserve(members.size());
        for (size_t i = 0; i < members.size(); ++i) {
            const Member& m = members[i];
            if (!order.contains(m.party)) {
                ReadQuery sort(
                    db,
                    QStringLiteral(
                        "SELECT coalesce(max(SortOrder), 0) FROM GuestsMembers WHERE PartyKey = ?"),
                    {m.party});
                sort.next();
                order.insert(m.party, sort.value(0, FieldType::Number).toLongLong());
                parties << m.party;
            }
            ids.push_back(base + qint64(i) + 1);
        }
        for (size_t i = 0; i < members.size(); ++i) {
            const Member& m = members[i];
            const std::optional<qint64> by = m.plusOneOf;
            const bool brought = by && *by >= 0 && *by < qint64(ids.size()) && size_t(*by) != i &&
                                 members[size_t(*by)].party == m.party;
            rows.push_back({ids[i], m.party, ++order[m.party], textValue(m.firstName), textValue(m.lastName),
                            ageGroupName(m.ageGroup), brought ? QVariant(ids[size_t(*by)]) : QVariant(),
                            keyValue(m.meal), textValue(needsText(m.needs)), textValue(m.needsNote),
                            textValue(m.email), textValue(m.mobile),
                            m.note.trimmed().isEmpty() ? QVariant() : QVariant(m.note)});
            for (Event event : AllEvents)
                if (m.reply(event) != Reply::None)
                    replies.push_back({ids[i], eventTitle(event), replyName(m.reply(event))});
        }
        db.executeEach(
            QStringLiteral("INSERT INTO GuestsMembers (MemberId, PartyKey, SortOrder, FirstName, LastName, "
                           "AgeGroup, PlusOneOf, MealId, Needs, NeedsNote, Email, Mobile, Note) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            rows);
        db.executeEach(
            QStringLiteral("INSERT INTO GuestsMemberReplies (MemberId, Event, Reply) VALUES (?, ?, ?)"),
            replies);
        writeCounts(db, parties);
        return ids;
    });
}

void saveMember(store::Database& db, const Member& member)
{
    inTransaction([&] {
        const Member stored = requireMember(db, member.id);
        Member changed = member;
        changed.party = stored.party;
        writeFields(db, changed);
        writeReplies(db, changed);
        writeCounts(db, stored.party);
    });
}

void removeMember(store::Database& db, qint64 memberId)
{
    inTransaction([&] {
        const Member stored = requireMember(db, memberId);
        db.execute(QStringLiteral("DELETE FROM GuestsMembers WHERE MemberId = ?"), {memberId});
        writeCounts(db, stored.party);
    });
}

void moveMember(store::Database& db, qint64 memberId, int step)
{
    inTransaction([&] {
        const Member stored = requireMember(db, memberId);
        std::vector<Member> members = loadMembers(db, stored.party);
        const auto at =
            std::find_if(members.begin(), members.end(), [&](const Member& m) { return m.id == memberId; });
        const long to = long(at - members.begin()) + step;
        if (at == members.end() || to < 0 || to >= long(members.size()))
            return;
        std::iter_swap(at, members.begin() + to);
        for (size_t i = 0; i < members.size(); ++i)
            db.execute(QStringLiteral("UPDATE GuestsMembers SET SortOrder = ? WHERE MemberId = ?"),
                       {int(i + 1), members[i].id});
    });
}

void setReply(store::Database& db, qint64 memberId, Event event, Reply reply)
{
    MemberChange change;
    change.memberId = memberId;
    change.replies[size_t(event)] = reply;
    applyChanges(db, {change});
}

int addUnnamedPlaces(store::Database& db, qint64 party)
{
    return inTransaction([&] {
        const std::vector<Member> members = loadMembers(db, party);
        std::vector<Member> places =
            unnamedPlaces(members, storedCounts(db, party), invitationsOf(db, party).shower);
        for (Member& place : places) {
            place.party = party;
            insertMember(db, place);
        }
        writeCounts(db, party);
        return int(places.size());
    });
}

void correctCounts(store::Database& db, qint64 party)
{
    inTransaction([&] { writeCounts(db, party); });
}

void saveMeals(store::Database& db, const std::vector<Meal>& meals)
{
    inTransaction([&] {
        QStringList kept;
        for (const Meal& meal : meals)
            if (meal.id)
                kept << QString::number(meal.id);
        db.execute(QStringLiteral("DELETE FROM GuestsMeals WHERE MealId NOT IN (%1)")
                       .arg(kept.isEmpty() ? QStringLiteral("0") : kept.join(QLatin1Char(','))));
        // Names move through a placeholder first, so that two meals may swap their names.
        for (const Meal& meal : meals)
            if (meal.id)
                db.execute(QStringLiteral("UPDATE GuestsMeals SET Name = ? WHERE MealId = ?"),
                           {QStringLiteral("\x01%1").arg(meal.id), meal.id});
        int order = 0;
        for (const Meal& meal : meals) {
            const QVariantList values = {meal.name.trimmed(), textValue(meal.mark), ++order};
            if (meal.id)
                db.execute(QStringLiteral(
                               "UPDATE GuestsMeals SET Name = ?, Mark = ?, SortOrder = ? WHERE MealId = ?"),
                           values + QVariantList{meal.id});
            else
                db.execute(QStringLiteral("INSERT INTO GuestsMeals (Name, Mark, SortOrder) VALUES (?, ?, ?)"),
                           values);
        }
    });
}

// ---- the whole wedding ------------------------------------------------------------------------

QString TableInfo::label() const
{
    return name.trimmed().isEmpty() ? QStringLiteral("Table %1").arg(number) : name.trimmed();
}

QString WeddingPeople::nameOf(const Member& member) const
{
    if (member.hasName())
        return memberName(member, {}, {});
    const PartyInfo party = parties.value(member.party);
    std::vector<Member> host;
    if (member.plusOneOf) {
        const auto found = std::find_if(members.begin(), members.end(),
                                        [&](const Member& m) { return m.id == *member.plusOneOf; });
        if (found != members.end())
            host.push_back(*found);
    }
    return memberName(member, host, party.name);
}

const Meal* WeddingPeople::mealOf(const Member& member) const
{
    if (!member.meal)
        return nullptr;
    const auto found =
        std::find_if(meals.begin(), meals.end(), [&](const Meal& m) { return m.id == *member.meal; });
    return found == meals.end() ? nullptr : &*found;
}

const TableInfo* WeddingPeople::tableOf(const Member& member) const
{
    const qint64 table = parties.value(member.party).tableId;
    if (table == 0)
        return nullptr;
    const auto found =
        std::find_if(tables.begin(), tables.end(), [&](const TableInfo& t) { return t.id == table; });
    return found == tables.end() ? nullptr : &*found;
}

WeddingPeople loadPeople(store::Database& db)
{
    WeddingPeople people;
    ReadQuery tables(
        db,
        QStringLiteral("SELECT TableId, tablename, tablenumber FROM Tables ORDER BY tablenumber, TableId"));
    while (tables.next())
        people.tables.push_back({tables.value(0, FieldType::Number).toLongLong(),
                                 tables.value(1, FieldType::Text).toString(),
                                 tables.value(2, FieldType::Number).toLongLong()});
    if (!hasMemberTables(db))
        return people;
    people.meals = loadMeals(db);
    ReadQuery q(db,
                QStringLiteral("SELECT %1 FROM GuestsMembers m JOIN Guests g ON g.rowid = m.PartyKey "
                               "ORDER BY g.LastName, m.PartyKey, m.SortOrder, m.MemberId")
                    .arg(QLatin1String(MemberColumns)));
    while (q.next())
        people.members.push_back(memberOf(q));
    readReplies(db, people.members, {}, {});
    ReadQuery parties(db,
                      QStringLiteral("SELECT rowid, Prefix, FirstName, LastName, InvCeremony, "
                                     "InvReception, ShowerGuest, InvRehearsal, tableid FROM Guests "
                                     "WHERE rowid IN (SELECT PartyKey FROM GuestsMembers)"));
    while (parties.next()) {
        PartyInfo p;
        p.key = parties.value(0, FieldType::Number).toLongLong();
        p.lastName = parties.value(3, FieldType::Text).toString();
        p.name = partyName(parties.value(1, FieldType::Text), parties.value(2, FieldType::Text),
                           parties.value(3, FieldType::Text))
                     .simplified();
        p.invited = {parties.value(4, FieldType::YesNo).toBool(), parties.value(5, FieldType::YesNo).toBool(),
                     parties.value(6, FieldType::YesNo).toBool(),
                     parties.value(7, FieldType::YesNo).toBool()};
        p.tableId = parties.value(8, FieldType::Number).toLongLong();
        people.parties.insert(p.key, p);
    }
    return people;
}

std::vector<MemberHit> findMembersByName(store::Database& db, const QString& text)
{
    std::vector<MemberHit> hits;
    const QString key = shell::searchKey(text);
    if (key.isEmpty() || !hasMemberTables(db))
        return hits;
    ReadQuery q(db,
                QStringLiteral("SELECT MemberId, PartyKey, FirstName, LastName FROM GuestsMembers "
                               "ORDER BY PartyKey, SortOrder, MemberId"));
    while (q.next()) {
        const QString name = (q.value(2, FieldType::Text).toString() + QLatin1Char(' ') +
                              q.value(3, FieldType::Text).toString())
                                 .trimmed();
        if (shell::searchKey(name).contains(key))
            hits.push_back({q.value(0, FieldType::Number).toLongLong(),
                            q.value(1, FieldType::Number).toLongLong(), name});
    }
    return hits;
}

void applyChanges(store::Database& db, const std::vector<MemberChange>& changes)
{
    // Many changes at once (an import of replies): each kind of statement is written once for
    // all the rows it changes.
    inTransaction([&] {
        QList<qint64> parties;
        QSet<qint64> seen;
        std::vector<QVariantList> dropped, replies, meals, needs;
        for (const MemberChange& change : changes) {
            ReadQuery q(db, QStringLiteral("SELECT PartyKey FROM GuestsMembers WHERE MemberId = ?"),
                        {change.memberId});
            if (!q.next())
                throw store::StoreError(store::err::NoCurrentRecord,
                                        QStringLiteral("That member is no longer in the guest list."));
            const qint64 party = q.value(0, FieldType::Number).toLongLong();
            for (Event event : AllEvents)
                if (const auto reply = change.replies[size_t(event)]) {
                    dropped.push_back({change.memberId, eventTitle(event)});
                    if (*reply != Reply::None)
                        replies.push_back({change.memberId, eventTitle(event), replyName(*reply)});
                }
            if (change.meal)
                meals.push_back({keyValue(*change.meal), change.memberId});
            if (change.needs || change.needsNote) {
                Member m = requireMember(db, change.memberId);
                needs.push_back({textValue(needsText(change.needs.value_or(m.needs))),
                                 textValue(change.needsNote.value_or(m.needsNote)), change.memberId});
            }
            if (!seen.contains(party)) {
                seen.insert(party);
                parties << party;
            }
        }
        auto each = [&db](const char* sql, const std::vector<QVariantList>& rows) {
            executeEach(db, sql, rows);
        };
        each("DELETE FROM GuestsMemberReplies WHERE MemberId = ? AND Event = ?", dropped);
        each("INSERT INTO GuestsMemberReplies (MemberId, Event, Reply) VALUES (?, ?, ?)", replies);
        each("UPDATE GuestsMembers SET MealId = ? WHERE MemberId = ?", meals);
        each("UPDATE GuestsMembers SET Needs = ?, NeedsNote = ? WHERE MemberId = ?", needs);
        writeCounts(db, parties);
    });
}

}  // namespace guests
