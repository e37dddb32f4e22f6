#include "guests/PlaceCards.h"

#include "shell/TextFold.h"

#include <algorithm>

namespace guests {

QString notSeatedNote(const Cards& cards)
{
    if (cards.notSeated == 0)
        return {};
    if (cards.notSeated == 1)
        return QStringLiteral("1 person expected at the reception is not seated at a table and has no card.");
    return QStringLiteral("%1 people expected at the reception are not seated at a table and have no card.")
        .arg(cards.notSeated);
}

QString tableLine(const TableInfo& table)
{
    const QString name = table.name.simplified();
    const QString number = QStringLiteral("Table %1").arg(table.number);
    // A name that only says the number ("4", "Table #4") is not said twice.
    const QString folded = shell::plainText(name).simplified();
    if (name.isEmpty() || folded == QString::number(table.number))
        return number;
    if (folded == shell::plainText(number))
        return name;
    return QStringLiteral("%1 · %2").arg(name, number);
}

namespace {

// Each expected member who is seated with their table's place in number order; the others
// only counted.
struct Seated {
    const Member* member;
    const TableInfo* table;
    size_t tableIndex;
};

std::vector<Seated> expectedSeated(const WeddingPeople& people, int* notSeated)
{
    std::vector<Seated> seated;
    *notSeated = 0;
    for (const Member& m : people.members) {
        if (!expectedAtReception(m, people.parties.value(m.party).invited))
            continue;
        const TableInfo* table = people.tableOf(m);
        if (!table) {
            ++*notSeated;
            continue;
        }
        seated.push_back({&m, table, size_t(table - people.tables.data())});
    }
    return seated;
}

}  // namespace

Cards placeCardsOf(const WeddingPeople& people)
{
    Cards out;
    std::vector<Seated> seated = expectedSeated(people, &out.notSeated);
    // The tables are in number order already; the members keep the guest list's order.
    std::stable_sort(seated.begin(), seated.end(),
                     [](const Seated& a, const Seated& b) { return a.tableIndex < b.tableIndex; });
    out.cards.reserve(seated.size());
    for (const Seated& s : seated) {
        const Meal* meal = people.mealOf(*s.member);
        out.cards.push_back(
            {people.nameOf(*s.member), tableLine(*s.table), meal ? meal->mark.simplified() : QString()});
    }
    return out;
}

Cards escortCardsOf(const WeddingPeople& people)
{
    Cards out;
    const std::vector<Seated> seated = expectedSeated(people, &out.notSeated);
    QHash<qint64, const Member*> byId;
    for (const Member& m : people.members)
        byId.insert(m.id, &m);
    // A person sorts by last name, then first name, both folded (blind to case and accents); an
    // unnamed guest right after the member who brings them, an unnamed place of the party after
    // the party's last name; names without a letter or digit last; the name as printed settles
    // the rest.
    struct Keyed {
        bool blank = false;  // no letter or digit in the name: after everyone else
        QString last, first;
        int unnamed = 0;
        PlaceCard card;
    };
    auto fold = [](const QString& text) { return shell::plainText(text).simplified(); };
    std::vector<Keyed> keyed;
    keyed.reserve(seated.size());
    for (const Seated& s : seated) {
        const Member& m = *s.member;
        const Member* named = &m;
        if (!m.hasName())
            named = m.plusOneOf ? byId.value(*m.plusOneOf) : nullptr;
        Keyed k;
        if (named && named->hasName()) {
            k.last = fold(named->lastName);
            k.first = fold(named->firstName);
        } else {
            k.last = fold(people.parties.value(m.party).lastName);
        }
        k.blank = k.last.isEmpty() && k.first.isEmpty();
        k.unnamed = m.hasName() ? 0 : 1;
        k.card = {people.nameOf(m), tableLine(*s.table), {}};
        keyed.push_back(std::move(k));
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.blank != b.blank)
            return b.blank;
        if (a.last != b.last)
            return a.last < b.last;
        if (a.first != b.first)
            return a.first < b.first;
        if (a.unnamed != b.unnamed)
            return a.unnamed < b.unnamed;
        return a.card.name.localeAwareCompare(b.card.name) < 0;
    });
    out.cards.reserve(keyed.size());
    for (Keyed& k : keyed)
        out.cards.push_back(std::move(k.card));
    return out;
}

}  // namespace guests
