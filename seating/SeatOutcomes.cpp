// The plan in words: each rule, kept or broken once the plan is applied, and how the
// preferences came out.
#include "seating/SeatUnits.h"

#include <algorithm>
#include <map>
#include <set>

namespace seating {

namespace {

QString tableName(const SeatProblem& problem, TableKey key)
{
    for (const SeatTable& table : problem.tables)
        if (table.key == key)
            return table.name;
    return QStringLiteral("table %1").arg(key);
}

QString partyNames(const SeatProblem& problem, const std::vector<PartyKey>& keys)
{
    QStringList names;
    for (PartyKey key : keys) {
        auto it = std::find_if(problem.parties.begin(), problem.parties.end(),
                               [key](const SeatParty& p) { return p.key == key; });
        if (it != problem.parties.end())
            names << it->name;
    }
    return names.join(QStringLiteral(", "));
}

// Where every party sits once the plan is applied (0: not seated).
std::map<PartyKey, TableKey> seatingAfter(const SeatProblem& problem, const SeatPlan& plan)
{
    std::map<PartyKey, TableKey> at;
    for (const SeatParty& party : problem.parties)
        at[party.key] = party.table;
    for (const Placement& move : plan.moves)
        at[move.party] = move.toTable;
    return at;
}

}  // namespace

QString describeRule(const SeatRule& rule, const SeatProblem& problem)
{
    switch (rule.kind) {
        case RuleKind::Together:
            return QStringLiteral("Keep together: ") + partyNames(problem, rule.parties);
        case RuleKind::Apart:
            return QStringLiteral("Keep apart: ") + partyNames(problem, rule.parties);
        case RuleKind::Reserved: {
            const QString table = tableName(problem, rule.table);
            if (!rule.side.isEmpty())
                return QStringLiteral("%1 reserved for the %2's side").arg(table, rule.side);
            const QString names = partyNames(problem, rule.parties);
            // A table reserved for no one on the list takes no party at all.
            if (names.isEmpty())
                return QStringLiteral(
                           "%1 reserved for no one: the reservation names no party on the guest list")
                    .arg(table);
            return QStringLiteral("%1 reserved for %2").arg(table, names);
        }
    }
    return {};
}

std::vector<int> seatsTakenAfter(const SeatProblem& problem, const SeatPlan& plan)
{
    QHash<TableKey, size_t> tableIndex;
    std::vector<int> taken;
    for (const SeatTable& table : problem.tables) {
        tableIndex.insert(table.key, taken.size());
        taken.push_back(table.assigned);
    }
    QHash<PartyKey, int> seated;  // people counted at the table a party leaves
    for (const SeatParty& party : problem.parties)
        seated.insert(party.key, party.seated);
    for (const Placement& move : plan.moves) {
        if (tableIndex.contains(move.fromTable))
            taken[tableIndex.value(move.fromTable)] -= seated.value(move.party);
        if (tableIndex.contains(move.toTable))
            taken[tableIndex.value(move.toTable)] += move.people;
    }
    return taken;
}

namespace detail {

std::vector<RuleOutcome> ruleOutcomes(const SeatProblem& problem, const SeatPlan& plan)
{
    const std::map<PartyKey, TableKey> at = seatingAfter(problem, plan);
    auto tableOf = [&](PartyKey key) {
        auto it = at.find(key);
        return it == at.end() ? TableKey(0) : it->second;
    };
    std::vector<RuleOutcome> outcomes;
    for (const SeatRule& rule : problem.rules) {
        RuleOutcome outcome{rule.id, describeRule(rule, problem), true};
        std::set<TableKey> tables;
        std::vector<TableKey> seated;
        bool someoneWithoutSeat = false;  // a party of the reception's list without a table
        for (PartyKey key : rule.parties)
            if (tableOf(key) != 0) {
                tables.insert(tableOf(key));
                seated.push_back(tableOf(key));
            } else if (at.count(key)) {
                someoneWithoutSeat = true;
            }
        if (rule.kind == RuleKind::Together)
            outcome.kept = tables.size() <= 1;
        else if (rule.kind == RuleKind::Apart)
            outcome.kept = tables.size() == seated.size();
        else
            outcome.kept =
                std::all_of(problem.parties.begin(), problem.parties.end(), [&](const SeatParty& p) {
                    if (tableOf(p.key) != rule.table)
                        return true;
                    if (!rule.side.isEmpty())
                        return sameSide(rule.side, p.side);
                    return std::find(rule.parties.begin(), rule.parties.end(), p.key) != rule.parties.end();
                });
        // Parties without a seat are neither together nor apart: the rule was not applied.
        if (rule.kind != RuleKind::Reserved && outcome.kept && someoneWithoutSeat)
            outcome.kept = outcome.applied = false;
        outcomes.push_back(outcome);
    }

    const std::vector<int> taken = seatsTakenAfter(problem, plan);
    if (problem.preferences.sidesTogether) {
        int mixed = 0;
        for (const SeatTable& table : problem.tables) {
            bool bride = false, groom = false;
            for (const SeatParty& p : problem.parties)
                if (tableOf(p.key) == table.key) {
                    bride = bride || isBride(p.side);
                    groom = groom || isGroom(p.side);
                }
            mixed += bride && groom;
        }
        outcomes.push_back({0,
                            QStringLiteral("Seat each side together: %1 of %2 tables seat both sides")
                                .arg(mixed)
                                .arg(problem.tables.size()),
                            mixed == 0});
    }
    if (problem.preferences.balance != Balance::None && !taken.empty()) {
        const int used = int(std::count_if(taken.begin(), taken.end(), [](int s) { return s > 0; }));
        std::vector<int> empty;
        for (size_t t = 0; t < taken.size(); ++t)
            empty.push_back(problem.tables[t].seats - taken[t]);
        const auto [least, most] = std::minmax_element(empty.begin(), empty.end());
        if (problem.preferences.balance == Balance::FewestTables)
            outcomes.push_back({0,
                                QStringLiteral("Use as few tables as possible: %1 of %2 tables used")
                                    .arg(used)
                                    .arg(taken.size()),
                                true});
        else
            outcomes.push_back({0,
                                QStringLiteral("Fill tables evenly: between %1 and %2 empty seats per table")
                                    .arg(*least)
                                    .arg(*most),
                                true});
    }
    return outcomes;
}

}  // namespace detail

}  // namespace seating
