#include "seating/SeatUnits.h"

#include <algorithm>
#include <numeric>
#include <set>

namespace seating::detail {

bool sameSide(const QString& a, const QString& b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}
bool isBride(const QString& side)
{
    return sameSide(side, QStringLiteral("Bride"));
}
bool isGroom(const QString& side)
{
    return sameSide(side, QStringLiteral("Groom"));
}

QString partyList(const SeatProblem& problem, const std::vector<int>& parties)
{
    QStringList names;
    for (int p : parties)
        names << problem.parties[p].name;
    return names.join(QStringLiteral(", "));
}

namespace {

// Union-find over party indices.
struct Groups {
    std::vector<int> parent;
    explicit Groups(int n) : parent(n) { std::iota(parent.begin(), parent.end(), 0); }
    int find(int i) { return parent[i] == i ? i : parent[i] = find(parent[i]); }
};

// May the party sit at a table with these reservations?
bool reservationAllows(const std::vector<const SeatRule*>& reservations, const SeatParty& party)
{
    for (const SeatRule* reservation : reservations) {
        const SeatRule& rule = *reservation;
        if (!rule.side.isEmpty() && !sameSide(rule.side, party.side))
            return false;
        if (rule.side.isEmpty() &&
            std::find(rule.parties.begin(), rule.parties.end(), party.key) == rule.parties.end())
            return false;
    }
    return true;
}

std::vector<int> indicesOf(const Prepared& prep, const std::vector<PartyKey>& keys)
{
    std::vector<int> out;
    for (PartyKey key : keys)
        if (prep.partyIndex.contains(key))
            out.push_back(prep.partyIndex.value(key));
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

void classifyParties(const SeatProblem& problem, Prepared& prep)
{
    const int n = int(problem.parties.size());
    prep.movable.assign(n, false);
    prep.fixedTable.assign(n, -1);
    prep.fixedLoad.assign(problem.tables.size(), 0);
    std::vector<int> movingLoad(problem.tables.size(), 0);
    for (int p = 0; p < n; ++p) {
        const SeatParty& party = problem.parties[p];
        const int table = prep.tableIndex.value(party.table, -1);
        const bool seated = party.table != 0 && table >= 0;
        prep.movable[p] = !seated || (problem.reseatEveryone && !party.pinned);
        if (!prep.movable[p])
            prep.fixedTable[p] = table;
        else if (seated)
            movingLoad[table] += party.seated;
    }
    prep.freeSeats.resize(problem.tables.size());
    for (size_t t = 0; t < problem.tables.size(); ++t) {
        const SeatTable& table = problem.tables[t];
        prep.fixedLoad[t] = std::max(0, table.assigned - movingLoad[t]);
        prep.freeSeats[t] = table.seats - prep.fixedLoad[t];
    }
}

// Joins the parties of each Together rule; a rule that would join parties staying at two
// different tables cannot be kept and is explained instead.
Groups joinTogether(const SeatProblem& problem, Prepared& prep)
{
    Groups groups(int(problem.parties.size()));
    std::vector<int> groupTable(problem.parties.size(), -1);
    for (size_t p = 0; p < problem.parties.size(); ++p)
        groupTable[p] = prep.fixedTable[p];
    for (const SeatRule& rule : problem.rules) {
        if (rule.kind != RuleKind::Together)
            continue;
        const std::vector<int> members = indicesOf(prep, rule.parties);
        std::set<int> roots;
        std::set<int> tables;
        for (int m : members) {
            roots.insert(groups.find(m));
            if (groupTable[groups.find(m)] >= 0)
                tables.insert(groupTable[groups.find(m)]);
        }
        if (tables.size() > 1) {
            QStringList names;
            for (int t : tables)
                names << problem.tables[t].name;
            prep.explanations << QStringLiteral("%1 are to sit together, but some of them stay at %2.")
                                     .arg(partyList(problem, members), names.join(QStringLiteral(" and ")));
            continue;
        }
        const int table = tables.empty() ? -1 : *tables.begin();
        const int root = *roots.begin();
        for (int r : roots)
            groups.parent[r] = root;
        groupTable[root] = table;
    }
    return groups;
}

void buildUnits(const SeatProblem& problem, Prepared& prep, Groups& groups)
{
    prep.unitOf.assign(problem.parties.size(), -1);
    QHash<int, int> unitOfRoot;
    std::vector<int> anchorOfRoot(problem.parties.size(), -1);
    for (size_t p = 0; p < problem.parties.size(); ++p)
        if (prep.fixedTable[p] >= 0)
            anchorOfRoot[groups.find(int(p))] = prep.fixedTable[p];
    for (size_t p = 0; p < problem.parties.size(); ++p) {
        if (!prep.movable[p])
            continue;
        const int root = groups.find(int(p));
        if (!unitOfRoot.contains(root)) {
            unitOfRoot.insert(root, int(prep.units.size()));
            prep.units.push_back(Unit{});
            prep.units.back().anchor = anchorOfRoot[root];
        }
        Unit& unit = prep.units[unitOfRoot.value(root)];
        unit.members.push_back(int(p));
        unit.people += problem.parties[p].people;
        unit.bride = unit.bride || isBride(problem.parties[p].side);
        unit.groom = unit.groom || isGroom(problem.parties[p].side);
        prep.unitOf[p] = unitOfRoot.value(root);
    }
}

// Apart rules between units; parties that stay close their tables to the rest of the rule.
// A rule whose parties must also sit together cannot be kept and is explained.
void buildApart(const SeatProblem& problem, Prepared& prep, std::vector<std::set<int>>& closed)
{
    for (const SeatRule& rule : problem.rules) {
        if (rule.kind != RuleKind::Apart)
            continue;
        const std::vector<int> members = indicesOf(prep, rule.parties);
        std::vector<int> units;
        std::vector<int> fixedTables;
        bool clash = false;
        for (int m : members) {
            if (prep.unitOf[m] >= 0) {
                if (std::find(units.begin(), units.end(), prep.unitOf[m]) != units.end())
                    clash = true;
                units.push_back(prep.unitOf[m]);
            } else if (prep.fixedTable[m] >= 0) {
                fixedTables.push_back(prep.fixedTable[m]);
            }
        }
        if (clash) {
            prep.explanations << QStringLiteral(
                                     "%1 are to sit apart, but another rule keeps some of them together.")
                                     .arg(partyList(problem, members));
            continue;
        }
        for (int u : units)
            for (int t : fixedTables)
                closed[u].insert(t);
        prep.apartGroups.push_back(units);
        prep.apartFixed.push_back(fixedTables);
    }
}

}  // namespace

Prepared prepare(const SeatProblem& problem)
{
    Prepared prep;
    for (size_t p = 0; p < problem.parties.size(); ++p)
        prep.partyIndex.insert(problem.parties[p].key, int(p));
    for (size_t t = 0; t < problem.tables.size(); ++t)
        prep.tableIndex.insert(problem.tables[t].key, int(t));
    classifyParties(problem, prep);
    Groups groups = joinTogether(problem, prep);
    buildUnits(problem, prep, groups);
    std::vector<std::set<int>> closed(prep.units.size());
    buildApart(problem, prep, closed);
    std::vector<std::vector<const SeatRule*>> reservations(problem.tables.size());
    for (const SeatRule& rule : problem.rules)
        if (rule.kind == RuleKind::Reserved && prep.tableIndex.contains(rule.table))
            reservations[prep.tableIndex.value(rule.table)].push_back(&rule);
    for (size_t u = 0; u < prep.units.size(); ++u) {
        Unit& unit = prep.units[u];
        for (size_t t = 0; t < problem.tables.size(); ++t) {
            if (unit.anchor >= 0 && unit.anchor != int(t))
                continue;
            if (unit.people > prep.freeSeats[t] || closed[u].count(int(t)))
                continue;
            const bool allowed = std::all_of(unit.members.begin(), unit.members.end(), [&](int m) {
                return reservationAllows(reservations[t], problem.parties[m]);
            });
            if (allowed)
                unit.tables.push_back(int(t));
        }
    }
    return prep;
}

std::vector<int> greedyStart(const SeatProblem& problem, const Prepared& prep)
{
    std::vector<int> order(prep.units.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return prep.units[a].people > prep.units[b].people; });
    std::vector<int> room = prep.freeSeats;
    std::vector<int> at(prep.units.size(), -1);
    std::vector<std::set<int>> apartAt(problem.tables.size());  // apart rules present per table
    std::vector<std::vector<int>> rulesOfUnit(prep.units.size());
    for (size_t r = 0; r < prep.apartGroups.size(); ++r)
        for (int u : prep.apartGroups[r])
            rulesOfUnit[u].push_back(int(r));
    for (int u : order) {
        int best = -1;
        for (int t : prep.units[u].tables) {
            if (room[t] < prep.units[u].people)
                continue;
            const bool clash = std::any_of(rulesOfUnit[u].begin(), rulesOfUnit[u].end(),
                                           [&](int r) { return apartAt[t].count(r) > 0; });
            if (!clash && (best < 0 || room[t] < room[best]))
                best = t;
        }
        if (best < 0)
            continue;
        at[u] = best;
        room[best] -= prep.units[u].people;
        for (int r : rulesOfUnit[u])
            apartAt[best].insert(r);
    }
    return at;
}

QString whyLeftOver(const SeatProblem& problem, const Prepared& prep, const Unit& unit)
{
    const QString who = partyList(problem, unit.members);
    const QString people =
        unit.people == 1 ? QStringLiteral("1 person") : QStringLiteral("%1 people").arg(unit.people);
    if (unit.anchor >= 0)
        return QStringLiteral("%1 (%2) must join their party at %3, which has %4 free seats.")
            .arg(who, people, problem.tables[unit.anchor].name)
            .arg(std::max(0, prep.freeSeats[unit.anchor]));
    const int largest =
        prep.freeSeats.empty() ? 0 : *std::max_element(prep.freeSeats.begin(), prep.freeSeats.end());
    if (unit.people > largest)
        return QStringLiteral(
                   "%1 (%2, to sit together) do not fit at any table: the most free seats at one "
                   "table are %3.")
            .arg(who, people)
            .arg(std::max(0, largest));
    if (unit.tables.empty())
        return QStringLiteral(
                   "%1 (%2) fit at no table open to them: the tables with room are reserved for "
                   "others or seat parties they are to be kept apart from.")
            .arg(who, people);
    return QStringLiteral(
               "%1 (%2) could not be seated: with the rules kept, the free seats left are not "
               "enough for everyone.")
        .arg(who, people);
}

}  // namespace seating::detail
