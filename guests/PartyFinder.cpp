#include "guests/PartyFinder.h"

#include "guests/MemberStore.h"
#include "shell/LabelLines.h"
#include "shell/TextFold.h"
#include "store/Currency.h"
#include "store/Store.h"

#include <QHash>

#include <algorithm>

namespace guests {

namespace {

// Between the fields of a row's search text: no search key holds it, so no match runs from
// one field into the next.
constexpr QChar FieldBreak(0x1F);

const char* const EventNames[] = {"ceremony", "reception", "shower", "rehearsal"};
const char* const OccasionNames[] = {"engagement", "shower", "wedding"};

QString text(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString().trimmed();
}

int count(const QVariant& v)
{
    return v.isNull() ? 0 : v.toInt();
}

// Adds what the members of each party hold to its row: their names to its search text, their
// meals and needs to its lists.
void addMembers(store::Database& db, PartyList& list)
{
    if (!hasMemberTables(db))
        return;
    const WeddingPeople people = loadPeople(db);
    for (const Meal& meal : people.meals)
        list.menu << meal.name;
    QHash<qint64, PartyRow*> rows;
    for (PartyRow& r : list.rows)
        rows.insert(r.key, &r);
    for (const Member& m : people.members) {
        PartyRow* row = rows.value(m.party);
        if (!row)
            continue;
        if (m.hasName())
            row->searchText += shell::searchKey(m.firstName + QLatin1Char(' ') + m.lastName) + FieldBreak;
        if (const Meal* meal = people.mealOf(m); meal && !row->meals.contains(meal->name))
            row->meals << meal->name;
        for (const QString& need : m.needs)
            if (!row->needs.contains(need))
                row->needs << need;
        if (!m.needsNote.trimmed().isEmpty())
            row->needs << m.needsNote.trimmed();
    }
}

bool anySame(const QStringList& texts, const QString& name)
{
    const QString key = shell::searchKey(name);
    return std::any_of(texts.begin(), texts.end(), [&](const QString& t) { return shell::searchKey(t) == key; });
}

bool anyHolds(const QStringList& texts, const QString& part)
{
    const QString key = shell::searchKey(part);
    return std::any_of(texts.begin(), texts.end(),
                       [&](const QString& t) { return shell::searchKey(t).contains(key); });
}

bool hasGift(const QVariant& description, const QVariant& amount)
{
    return !text(description).isEmpty() || (!amount.isNull() && amount.value<store::Currency>().raw() != 0);
}

}  // namespace

QString eventName(Event event)
{
    return QString::fromLatin1(EventNames[int(event)]);
}

std::optional<Event> parseEvent(const QString& text)
{
    for (int e = 0; e < 4; ++e)
        if (text.trimmed().compare(QLatin1String(EventNames[e]), Qt::CaseInsensitive) == 0)
            return Event(e);
    return std::nullopt;
}

QString occasionName(Occasion occasion)
{
    return QString::fromLatin1(OccasionNames[int(occasion)]);
}

std::optional<Occasion> parseOccasion(const QString& text)
{
    for (int o = 0; o < 3; ++o)
        if (text.trimmed().compare(QLatin1String(OccasionNames[o]), Qt::CaseInsensitive) == 0)
            return Occasion(o);
    return std::nullopt;
}

QString PartyRow::reply() const
{
    if (!isInvited(Event::Reception))
        return QString();
    if (!replied)
        return QStringLiteral("no reply");
    return attending > 0 ? QStringLiteral("attending") : QStringLiteral("declined");
}

PartyList loadParties(store::Database& db)
{
    QHash<qint64, QString> tables;
    {
        auto set = db.openRecordset(QStringLiteral("Tables"), store::RecordsetType::Snapshot);
        const int id = set->fieldIndex(QStringLiteral("TableId"));
        const int name = set->fieldIndex(QStringLiteral("tablename"));
        for (; !set->eof(); set->moveNext())
            tables.insert(set->value(id).toLongLong(), text(set->value(name)));
    }
    auto set = db.openRecordset(QStringLiteral("SELECT * FROM Guests ORDER BY LastName, FirstName"),
                                store::RecordsetType::Snapshot);
    const auto field = [&set](const char* name) { return set->fieldIndex(QLatin1String(name)); };
    const int prefix = field("Prefix"), first = field("FirstName"), last = field("LastName");
    const int wedding = field("wedlbl"), shower = field("showlbl"), address = field("Address");
    const int city = field("City"), phone = field("HomePhone"), side = field("guestof");
    const int invitedTo[] = {field("InvCeremony"), field("InvReception"), field("ShowerGuest"),
                             field("InvRehearsal")};
    const int invited = field("Invited"), confirmed = field("Confirmed"),
              attending = field("NumberAttending");
    const int table = field("tableid"), seats = field("tabletot");
    const int gifts[][3] = {{field("EngageGift"), field("engamt"), field("EngageNoteSent")},
                            {field("ShowerGift"), field("showamt"), field("ShowerNoteSent")},
                            {field("WeddingGift"), field("wedamt"), field("WeddingNoteSent")}};
    PartyList list;
    list.rows.reserve(size_t(set->recordCount()));
    for (; !set->eof(); set->moveNext()) {
        PartyRow r;
        r.key = set->bookmark();
        r.name = shell::partyName(set->value(prefix), set->value(first), set->value(last)).trimmed();
        r.sortName = text(set->value(last)) + QStringLiteral(", ") + text(set->value(first));
        r.side = text(set->value(side));
        r.address = text(set->value(address));
        r.city = text(set->value(city));
        r.phone = text(set->value(phone));
        for (int e = 0; e < 4; ++e)
            r.invited[e] = set->value(invitedTo[e]).toBool();
        r.people = count(set->value(invited));
        r.replied = set->value(confirmed).toBool();
        r.attending = count(set->value(attending));
        r.tableId = set->value(table).toLongLong();
        r.table = r.tableId ? tables.value(r.tableId) : QString();
        r.seats = count(set->value(seats));
        for (int o = 0; o < 3; ++o) {
            r.gift[o] = hasGift(set->value(gifts[o][0]), set->value(gifts[o][1]));
            r.cardSent[o] = set->value(gifts[o][2]).toBool();
            r.gifts += r.gift[o] ? 1 : 0;
            r.cardsToSend += r.gift[o] && !r.cardSent[o] ? 1 : 0;
        }
        for (const QString& t :
             {r.name, text(set->value(wedding)), text(set->value(shower)), r.address, r.city, r.phone})
            r.searchText += shell::searchKey(t) + FieldBreak;
        list.rows.push_back(std::move(r));
    }
    addMembers(db, list);
    return list;
}

bool Filter::holds(const PartyRow& r) const
{
    switch (kind) {
        case Kind::NoReply:
            return r.isInvited(Event::Reception) && !r.replied;
        case Kind::Attending:
            return r.replied && r.attending > 0;
        case Kind::Declined:
            return r.isInvited(Event::Reception) && r.replied && r.attending == 0;
        case Kind::NotSeated:
            return r.isInvited(Event::Reception) && r.tableId == 0;
        case Kind::NoAddress:
            return r.address.isEmpty();
        case Kind::NoThankYou:
            return r.cardsToSend > 0;
        case Kind::Side:
            return r.side.compare(side, Qt::CaseInsensitive) == 0;
        case Kind::Invited:
            return r.isInvited(event);
        case Kind::Meal:
            return anySame(r.meals, name);
        case Kind::Need:
            return anyHolds(r.needs, name);
    }
    return false;
}

std::optional<Filter> parseFilter(const QString& given)
{
    using K = Filter::Kind;
    const QString t = given.trimmed().toLower();
    const struct {
        const char* word;
        K kind;
    } plain[] = {{"no-reply", K::NoReply},     {"attending", K::Attending},  {"declined", K::Declined},
                 {"not-seated", K::NotSeated}, {"no-address", K::NoAddress}, {"no-thank-you", K::NoThankYou}};
    for (const auto& p : plain)
        if (t == QLatin1String(p.word))
            return Filter{.kind = p.kind};
    if (t.startsWith(QLatin1String("side:"))) {
        const QString side = t.mid(5);
        for (const char* s : {"Bride", "Groom", "Both"})
            if (side == QString::fromLatin1(s).toLower())
                return Filter{.kind = K::Side, .side = QString::fromLatin1(s)};
    }
    if (t.startsWith(QLatin1String("invited:")))
        if (const std::optional<Event> e = parseEvent(t.mid(8)))
            return Filter{.kind = K::Invited, .event = *e};
    const QString named = given.trimmed();
    for (const auto& [word, kind] : {std::pair{"meal:", K::Meal}, std::pair{"diet:", K::Need}})
        if (t.startsWith(QLatin1String(word)) && !shell::searchKey(named.mid(5)).isEmpty())
            return Filter{.kind = kind, .name = named.mid(5).trimmed()};
    return std::nullopt;
}

std::optional<std::vector<Filter>> parseFilters(const QStringList& texts, QString* bad)
{
    std::vector<Filter> filters;
    for (const QString& t : texts) {
        const std::optional<Filter> f = parseFilter(t);
        if (!f) {
            if (bad)
                *bad = t;
            return std::nullopt;
        }
        filters.push_back(*f);
    }
    return filters;
}

QString filterNames()
{
    return QStringLiteral(
        "no-reply, attending, declined, not-seated, no-address, no-thank-you, "
        "side:Bride|Groom|Both, invited:ceremony|reception|shower|rehearsal, meal:NAME, diet:NAME");
}

std::vector<int> findParties(const PartyList& list, const QString& search, const std::vector<Filter>& filters)
{
    const QString key = shell::searchKey(search);
    std::vector<int> found;
    for (int i = 0; i < int(list.rows.size()); ++i) {
        const PartyRow& r = list.rows[size_t(i)];
        if (!key.isEmpty() && !r.searchText.contains(key))
            continue;
        bool passes = true;
        for (const Filter& f : filters)
            passes = passes && f.holds(r);
        if (passes)
            found.push_back(i);
    }
    return found;
}

FoundCounts countFound(const PartyList& list, const std::vector<int>& found)
{
    FoundCounts c;
    for (int i : found) {
        const PartyRow& r = list.rows[size_t(i)];
        ++c.parties;
        c.people += r.people;
        c.attending += r.replied ? r.attending : 0;
    }
    return c;
}

}  // namespace guests
