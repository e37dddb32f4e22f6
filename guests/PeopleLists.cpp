#include "guests/PeopleLists.h"

#include <algorithm>

namespace guests {

const QStringList& memberListColumns()
{
    static const QStringList columns = {QStringLiteral("Party"),     QStringLiteral("Name"),
                                        QStringLiteral("Age Group"), QStringLiteral("Plus-One Of"),
                                        QStringLiteral("Meal"),      QStringLiteral("Dietary Needs"),
                                        QStringLiteral("E-mail"),    QStringLiteral("Mobile"),
                                        QStringLiteral("Reception"), QStringLiteral("Table")};
    return columns;
}

namespace {

const Member* memberById(const WeddingPeople& people, qint64 id)
{
    const auto found = std::find_if(people.members.begin(), people.members.end(),
                                    [&](const Member& m) { return m.id == id; });
    return found == people.members.end() ? nullptr : &*found;
}

}  // namespace

std::vector<QStringList> memberListRows(const WeddingPeople& people)
{
    std::vector<QStringList> rows;
    rows.reserve(people.members.size());
    for (const Member& m : people.members) {
        const PartyInfo party = people.parties.value(m.party);
        const Member* host = m.plusOneOf ? memberById(people, *m.plusOneOf) : nullptr;
        const Meal* meal = people.mealOf(m);
        const TableInfo* table = people.tableOf(m);
        rows.push_back({party.name, people.nameOf(m), ageGroupName(m.ageGroup),
                        host ? people.nameOf(*host) : QString(), meal ? meal->name : QString(), m.allNeeds(),
                        m.email, m.mobile,
                        party.invited.reception ? replyName(m.reply(Event::Reception)) : QString(),
                        table ? table->label() : QString()});
    }
    return rows;
}

QStringList CateringSummary::cells(const CateringRow& row)
{
    QStringList out = {row.label, QString::number(row.adults), QString::number(row.children),
                       QString::number(row.infants)};
    for (int n : row.meals)
        out << QString::number(n);
    out << QString::number(row.noMeal);
    return out;
}

CateringSummary cateringOf(const WeddingPeople& people)
{
    CateringSummary summary;
    summary.columns = {QStringLiteral("Table"), QStringLiteral("Adults"), QStringLiteral("Children"),
                       QStringLiteral("Infants")};
    for (const Meal& meal : people.meals)
        summary.columns << meal.name;
    summary.columns << QStringLiteral("No meal chosen");

    auto emptyRow = [&](const QString& label) {
        CateringRow row;
        row.label = label;
        row.meals.assign(people.meals.size(), 0);
        return row;
    };
    QHash<qint64, size_t> rowOfTable;
    for (const TableInfo& table : people.tables) {
        rowOfTable.insert(table.id, summary.rows.size());
        summary.rows.push_back(emptyRow(table.label()));
    }
    const size_t notSeated = summary.rows.size();
    summary.rows.push_back(emptyRow(QStringLiteral("Not seated")));
    CateringRow total = emptyRow(QStringLiteral("Total"));

    auto count = [&](CateringRow& row, const Member& m) {
        (m.ageGroup == AgeGroup::Child    ? row.children
         : m.ageGroup == AgeGroup::Infant ? row.infants
                                          : row.adults)++;
        const Meal* meal = people.mealOf(m);
        if (meal)
            row.meals[size_t(std::find_if(people.meals.begin(), people.meals.end(),
                                          [&](const Meal& x) { return x.id == meal->id; }) -
                             people.meals.begin())]++;
        else
            row.noMeal++;
    };
    for (const Member& m : people.members) {
        if (!expectedAtReception(m, people.parties.value(m.party).invited))
            continue;
        const TableInfo* table = people.tableOf(m);
        const size_t at = table ? rowOfTable.value(table->id, notSeated) : notSeated;
        count(summary.rows[at], m);
        count(total, m);
        if (!m.allNeeds().isEmpty())
            summary.needs.push_back({summary.rows[at].label, people.nameOf(m), m.allNeeds(), at});
    }
    std::stable_sort(summary.needs.begin(), summary.needs.end(),
                     [](const NeedAtTable& a, const NeedAtTable& b) {
                         return a.row != b.row ? a.row < b.row : a.name.localeAwareCompare(b.name) < 0;
                     });
    summary.rows.push_back(total);
    return summary;
}

PeopleFigures peopleFiguresOf(const WeddingPeople& people)
{
    PeopleFigures f;
    for (const Meal& meal : people.meals)
        f.meals.emplace_back(meal.name, 0);
    for (const QString& need : commonNeeds())
        f.needs.emplace_back(need, 0);
    f.needs.emplace_back(QStringLiteral("Other"), 0);
    for (const Member& m : people.members) {
        const Invitations invited = people.parties.value(m.party).invited;
        ++f.members;
        (m.ageGroup == AgeGroup::Child    ? f.children
         : m.ageGroup == AgeGroup::Infant ? f.infants
                                          : f.adults)++;
        const Reply reply = m.reply(Event::Reception);
        f.attending += reply == Reply::Attending;
        f.declined += reply == Reply::Declined;
        f.noReply += reply == Reply::None && invited.reception;
        if (!expectedAtReception(m, invited))
            continue;
        if (const Meal* meal = people.mealOf(m)) {
            for (auto& [name, n] : f.meals)
                n += name == meal->name;
        } else {
            ++f.noMeal;
        }
        for (size_t i = 0; i < size_t(commonNeeds().size()); ++i)
            f.needs[i].second += m.needs.contains(commonNeeds()[qsizetype(i)]);
        f.needs.back().second += !m.needsNote.trimmed().isEmpty();
    }
    return f;
}

QStringList peopleLines(const PeopleFigures& f)
{
    if (f.members == 0)
        return {QStringLiteral("No party has members yet.")};
    auto joined = [](const std::vector<std::pair<QString, int>>& counts, bool skipZero) {
        QStringList parts;
        for (const auto& [name, n] : counts)
            if (n > 0 || !skipZero)
                parts << QStringLiteral("%1 %2").arg(name).arg(n);
        return parts.join(QStringLiteral(", "));
    };
    QStringList lines = {
        QStringLiteral("People invited: %1; attending %2, declined %3, no reply %4")
            .arg(f.members)
            .arg(f.attending)
            .arg(f.declined)
            .arg(f.noReply),
        QStringLiteral("Adults %1, children %2, infants %3").arg(f.adults).arg(f.children).arg(f.infants),
        QStringLiteral("Meals: %1%2no meal chosen %3")
            .arg(joined(f.meals, false))
            .arg(f.meals.empty() ? QString() : QStringLiteral(", "))
            .arg(f.noMeal)};
    const QString needs = joined(f.needs, true);
    lines << QStringLiteral("Needs: %1").arg(needs.isEmpty() ? QStringLiteral("none") : needs);
    return lines;
}

}  // namespace guests
