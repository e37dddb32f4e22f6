#include "guests/MemberImport.h"

#include "guests/MemberStore.h"
#include "shell/TextFold.h"

#include <QHash>

namespace guests {

std::vector<shell::KnownPerson> MemberImport::knownPeople(store::Database& db) const
{
    std::vector<shell::KnownPerson> known;
    if (!hasMemberTables(db))
        return known;
    const WeddingPeople people = loadPeople(db);
    known.reserve(people.members.size());
    for (const Member& m : people.members)
        if (m.hasName())
            known.push_back({m.party, people.parties.value(m.party).name.simplified(), m.firstName.trimmed(),
                             m.lastName.trimmed()});
    return known;
}

QStringList MemberImport::unreadable(const shell::ImportedPerson& person) const
{
    QStringList captions;
    if (!ageGroupOf(person.ageGroup))
        captions << QStringLiteral("Age group");
    for (auto it = person.replies.cbegin(); it != person.replies.cend(); ++it)
        if (!eventOf(it.key()) || !replyOf(it.value()))
            captions << QStringLiteral("%1 reply").arg(it.key());
    return captions;
}

int MemberImport::sizeOf(const QString& field) const
{
    // The sizes of the members' and the menu's text fields in the wedding file.
    static const QHash<QString, int> sizes = {
        {QStringLiteral("FirstName"), 30}, {QStringLiteral("LastName"), 30}, {QStringLiteral("Meal"), 40},
        {QStringLiteral("Email"), 100},    {QStringLiteral("Mobile"), 30},   {QStringLiteral("Needs"), 255}};
    return sizes.value(field, 0);
}

namespace {

// The menu's meals by their name as compared (blind to case and accents); meals the people
// name that the menu lacks are appended to it. Returns the names added.
QStringList mealsFor(store::Database& db, const std::vector<shell::ImportedParty>& parties,
                     QHash<QString, qint64>& byName)
{
    std::vector<Meal> menu = loadMeals(db);
    QStringList added;
    const auto known = [&](const QString& name) {
        return std::any_of(menu.begin(), menu.end(),
                           [&](const Meal& m) { return shell::searchKey(m.name) == shell::searchKey(name); });
    };
    for (const shell::ImportedParty& party : parties)
        for (const shell::ImportedPerson& person : party.people)
            if (!shell::searchKey(person.meal).isEmpty() && !known(person.meal)) {
                menu.push_back({0, person.meal.trimmed(), {}});
                added << person.meal.trimmed();
            }
    if (!added.isEmpty()) {
        saveMeals(db, menu);
        menu = loadMeals(db);
    }
    for (const Meal& meal : menu)
        byName.insert(shell::searchKey(meal.name), meal.id);
    return added;
}

}  // namespace

QStringList MemberImport::write(store::Database& db, const std::vector<shell::ImportedParty>& parties) const
{
    QHash<QString, qint64> meals;
    const QStringList added = mealsFor(db, parties, meals);
    std::vector<Member> members;
    for (const shell::ImportedParty& party : parties) {
        const size_t first = members.size();
        for (const shell::ImportedPerson& person : party.people) {
            Member m;
            m.party = party.party;
            m.firstName = person.firstName;
            m.lastName = person.lastName;
            m.ageGroup = ageGroupOf(person.ageGroup).value_or(AgeGroup::Adult);
            if (person.plusOneOf)
                m.plusOneOf = qint64(first + *person.plusOneOf);
            if (const QString key = shell::searchKey(person.meal); !key.isEmpty())
                m.meal = meals.value(key);
            QStringList rest;
            m.needs = needsOf(person.needs, &rest);
            m.needsNote = rest.join(QStringLiteral(", "));
            m.email = person.email;
            m.mobile = person.mobile;
            for (auto it = person.replies.cbegin(); it != person.replies.cend(); ++it) {
                const std::optional<Event> event = eventOf(it.key());
                const std::optional<Reply> reply = replyOf(it.value());
                if (event && reply)
                    m.setReply(*event, *reply);
            }
            members.push_back(std::move(m));
        }
    }
    addMembers(db, std::move(members));
    if (added.isEmpty())
        return {};
    return {QStringLiteral("Added to the menu: %1.").arg(added.join(QStringLiteral(", ")))};
}

const MemberImport& memberImport()
{
    static const MemberImport people;
    return people;
}

}  // namespace guests
