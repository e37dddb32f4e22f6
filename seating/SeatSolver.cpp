// The seating plan as an integer programme, solved by CBC in the solver module.
//
// Variables: x[k][t] = how many units of kind k (a unit: a party, or parties kept together)
// sit at table t, for the tables open to them. Units of one kind are alike in everything the
// model sees (people, sides, tables open to them, no Apart rule), so which of them sits where
// does not matter: counting them instead of naming them leaves the solver no interchangeable
// plans to search through. Hard constraints: a kind seats at most its units; the people
// at a table fit its free seats; units of one Apart rule share no table. The objective
// first seats as many people as possible (a weight no preference can outweigh), then
// follows the preferences: tables that mix the bride's and the groom's sides, tables in
// use, or the spread of empty seats between the fullest and the emptiest table.
#include "seating/Mip.h"
#include "seating/SeatPlan.h"
#include "seating/SeatUnits.h"
#include "shell/Modules.h"

#include <QElapsedTimer>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <tuple>

namespace seating {

namespace {

using detail::Prepared;
using detail::Unit;

constexpr double PersonWeight = 1000;  // more than all preference penalties together
constexpr double MixedTablePenalty = 10;
constexpr double UsedTablePenalty = 10;
constexpr double SpreadPenalty = 2;
// The least the solver is given, even when preparing the problem took the whole limit: enough
// for a small problem, and the simple seating stands when it finds nothing better.
constexpr double MinimumSolverSeconds = 0.1;

// Units alike in everything the model sees, counted by one column per table.
struct Kind {
    std::vector<int> units;
    int people = 0;
    bool bride = false, groom = false;
};

class Builder {
public:
    Builder(const SeatProblem& problem, const Prepared& prep) : problem_(problem), prep_(prep) {}

    void build();
    mip::Model& model() { return model_; }
    // The table index of each unit in the solution, or -1.
    std::vector<int> read(const std::vector<double>& values) const;
    // The objective of a seating that keeps every row, with each helper column at its best.
    double objectiveOf(const std::vector<int>& at) const;

private:
    int addBinary(double objective)
    {
        model_.columns.push_back({0, 1, objective, true});
        return int(model_.columns.size()) - 1;
    }
    int addInteger(double lower, double upper, double objective)
    {
        model_.columns.push_back({lower, upper, objective, true});
        return int(model_.columns.size()) - 1;
    }
    void addRow(const std::vector<int>& cols, const std::vector<double>& coefs, char sense, double rhs)
    {
        model_.rows.push_back({cols, coefs, sense, rhs});
    }
    void groupKinds();
    void addPlaces();
    void addApart();
    void addSides();
    void addBalance();
    void addSpreadBounds(int emptiest, int fullest);
    bool sideFixedAt(int table, bool bride) const;
    double sidesPenalty(const std::vector<int>& at) const;
    double balancePenalty(const std::vector<int>& at) const;

    const SeatProblem& problem_;
    const Prepared& prep_;
    mip::Model model_;
    std::vector<Kind> kinds_;
    std::vector<int> kindOf_;  // by unit
    struct Place {
        int kind = 0, table = 0, column = 0;
        int most = 1;  // units of the kind the table can take
    };
    std::vector<std::vector<Place>> atTable_;  // per table
    std::vector<std::vector<Place>> ofKind_;   // per kind
};

void Builder::build()
{
    model_.maximise = true;
    // Every weight is a whole number, and the spread's two columns stand at whole numbers of
    // empty seats at their best: the objectives of solutions are whole numbers.
    model_.objectiveStep = 1;
    groupKinds();
    atTable_.resize(problem_.tables.size());
    addPlaces();
    for (size_t k = 0; k < kinds_.size(); ++k) {
        int places = 0;
        std::vector<int> cols;
        for (const Place& place : ofKind_[k]) {
            places += place.most;
            cols.push_back(place.column);
        }
        if (places > int(kinds_[k].units.size()))
            addRow(cols, std::vector<double>(cols.size(), 1.0), 'L', double(kinds_[k].units.size()));
    }
    for (size_t t = 0; t < atTable_.size(); ++t) {
        std::vector<int> cols;
        std::vector<double> people;
        for (const Place& place : atTable_[t]) {
            cols.push_back(place.column);
            people.push_back(kinds_[place.kind].people);
        }
        if (!cols.empty())
            addRow(cols, people, 'L', prep_.freeSeats[t]);
    }
    addApart();
    if (problem_.preferences.sidesTogether)
        addSides();
    addBalance();
}

// A column per table and kind that may sit there, table by table: where plans are of equal
// worth, the order the solver meets the columns in decides between them, and in this order
// its plans tend to fill the first tables first, as the simple seating does.
void Builder::addPlaces()
{
    ofKind_.resize(kinds_.size());
    std::vector<size_t> next(kinds_.size(), 0);  // into each kind's tables, in table order
    for (size_t t = 0; t < atTable_.size(); ++t)
        for (size_t k = 0; k < kinds_.size(); ++k) {
            const Kind& kind = kinds_[k];
            const std::vector<int>& tables = prep_.units[size_t(kind.units.front())].tables;
            if (next[k] >= tables.size() || tables[next[k]] != int(t))
                continue;
            ++next[k];
            const int fit = kind.people > 0 ? prep_.freeSeats[t] / kind.people : int(kind.units.size());
            const int most = std::min(int(kind.units.size()), fit);
            if (most < 1)
                continue;
            model_.columns.push_back({0, double(most), PersonWeight * kind.people, true});
            const Place place{int(k), int(t), int(model_.columns.size()) - 1, most};
            atTable_[t].push_back(place);
            ofKind_[k].push_back(place);
        }
}

// Units of an Apart rule are kinds of their own; the rest are grouped by what the model sees
// of them.
void Builder::groupKinds()
{
    std::vector<bool> apart(prep_.units.size(), false);
    for (const std::vector<int>& group : prep_.apartGroups)
        for (int u : group)
            apart[size_t(u)] = true;
    std::map<std::tuple<int, bool, bool, std::vector<int>>, int> kindOfKey;
    kindOf_.assign(prep_.units.size(), -1);
    for (size_t u = 0; u < prep_.units.size(); ++u) {
        const Unit& unit = prep_.units[u];
        if (unit.tables.empty())
            continue;
        int& kind = kindOf_[u];
        if (!apart[u]) {
            const auto [it, added] = kindOfKey.insert(
                {std::make_tuple(unit.people, unit.bride, unit.groom, unit.tables), int(kinds_.size())});
            kind = it->second;
            if (!added) {
                kinds_[size_t(kind)].units.push_back(int(u));
                continue;
            }
        }
        kind = int(kinds_.size());
        kinds_.push_back({{int(u)}, unit.people, unit.bride, unit.groom});
    }
}

// At most one unit of an Apart rule at each table.
void Builder::addApart()
{
    for (const std::vector<int>& group : prep_.apartGroups) {
        std::map<int, std::vector<int>> colsAt;  // by table
        for (int u : group)
            if (kindOf_[size_t(u)] >= 0)
                for (const Place& place : ofKind_[size_t(kindOf_[size_t(u)])])
                    colsAt[place.table].push_back(place.column);
        for (const auto& [t, cols] : colsAt)
            if (cols.size() > 1)
                addRow(cols, std::vector<double>(cols.size(), 1.0), 'L', 1);
    }
}

bool Builder::sideFixedAt(int table, bool bride) const
{
    for (size_t p = 0; p < problem_.parties.size(); ++p)
        if (prep_.fixedTable[p] == table &&
            (bride ? detail::isBride(problem_.parties[p].side) : detail::isGroom(problem_.parties[p].side)))
            return true;
    return false;
}

// A table mixes the sides when it seats a party of the bride's and one of the groom's.
void Builder::addSides()
{
    for (size_t t = 0; t < atTable_.size(); ++t) {
        int sideCols[2] = {-1, -1};
        bool fixed[2] = {sideFixedAt(int(t), true), sideFixedAt(int(t), false)};
        for (int s = 0; s < 2; ++s) {
            if (fixed[s])
                continue;
            for (const Place& place : atTable_[t]) {
                const Kind& kind = kinds_[size_t(place.kind)];
                if (!(s == 0 ? kind.bride : kind.groom))
                    continue;
                if (sideCols[s] < 0)
                    sideCols[s] = addBinary(0);
                // x <= the most the table takes * side present
                addRow({place.column, sideCols[s]}, {1, -double(place.most)}, 'L', 0);
            }
        }
        const bool brideThere = fixed[0] || sideCols[0] >= 0;
        const bool groomThere = fixed[1] || sideCols[1] >= 0;
        if (!brideThere || !groomThere || (fixed[0] && fixed[1]))
            continue;
        const int mixed = addBinary(-MixedTablePenalty);
        // mixed >= bride + groom - 1, with a side already there counting as 1
        std::vector<int> cols{mixed};
        std::vector<double> coefs{1};
        double rhs = -1;
        for (int s = 0; s < 2; ++s) {
            if (fixed[s])
                rhs += 1;
            else {
                cols.push_back(sideCols[s]);
                coefs.push_back(-1);
            }
        }
        addRow(cols, coefs, 'G', rhs);
    }
}

void Builder::addBalance()
{
    const Balance balance = problem_.preferences.balance;
    if (balance == Balance::FewestTables) {
        for (size_t t = 0; t < atTable_.size(); ++t) {
            if (atTable_[t].empty() || prep_.fixedLoad[t] > 0)
                continue;
            const int used = addBinary(-UsedTablePenalty);
            for (const Place& place : atTable_[t])
                addRow({place.column, used}, {1, -double(place.most)}, 'L', 0);
        }
    } else if (balance == Balance::FillEvenly && !atTable_.empty()) {
        // Bounds that hold every table's empty seats, an overbooked table's (below 0) too:
        // tighter ones would leave no solution at all. Empty seats are whole, so the two
        // columns are integer: the solver may branch on the spread itself.
        double most = 0, least = 0;
        for (size_t t = 0; t < atTable_.size(); ++t) {
            const double base = problem_.tables[t].seats - prep_.fixedLoad[t];
            most = std::max(most, base);
            least = std::min(least, base);
        }
        const int emptiest = addInteger(least, most, -SpreadPenalty);
        const int fullest = addInteger(least, most, SpreadPenalty);
        addSpreadBounds(emptiest, fullest);
        for (size_t t = 0; t < atTable_.size(); ++t) {
            // empty seats of t = seats - fixed load - sum(people * x)
            const double base = problem_.tables[t].seats - prep_.fixedLoad[t];
            std::vector<int> cols;
            std::vector<double> coefs;
            for (const Place& place : atTable_[t]) {
                cols.push_back(place.column);
                coefs.push_back(kinds_[size_t(place.kind)].people);
            }
            cols.push_back(emptiest);
            coefs.push_back(1);
            addRow(cols, coefs, 'G', base);  // emptiest >= empty seats of t
            coefs.back() = 1;
            cols.back() = fullest;
            addRow(cols, coefs, 'L', base);  // fullest <= empty seats of t
        }
    }
}

// The relaxation alone lets every table stand equally empty (a fraction of a seat each), so
// its bound ignores that seats come whole. When the most people that can be seated sit,
// the empty seats number E on T tables: the emptiest table has at least ceil(E / T) and the
// fullest at most floor(E / T). Each person fewer adds one empty seat: the emptiest bound
// still holds (there are only more empty seats), and the fullest one is loosened by a seat
// per person not seated. Both hold for every seating, so no plan is cut off, and a spread
// of at least one seat is known when E is not a multiple of T.
void Builder::addSpreadBounds(int emptiest, int fullest)
{
    int seatable = 0, free = 0, empty = 0;
    for (const Unit& unit : prep_.units)
        if (!unit.tables.empty())
            seatable += unit.people;
    for (size_t t = 0; t < atTable_.size(); ++t) {
        free += std::max(0, prep_.freeSeats[t]);
        empty += problem_.tables[t].seats - prep_.fixedLoad[t];
    }
    const int mostSeated = std::min(seatable, free);  // no seating seats more
    empty -= mostSeated;
    const double tables = double(atTable_.size());
    mip::Column& emptiestColumn = model_.columns[size_t(emptiest)];
    emptiestColumn.lower = std::max(emptiestColumn.lower, std::ceil(empty / tables));
    // fullest + seated people <= floor(E / T) + most seated
    std::vector<int> cols{fullest};
    std::vector<double> coefs{1};
    for (const std::vector<Place>& places : ofKind_)
        for (const Place& place : places) {
            cols.push_back(place.column);
            coefs.push_back(kinds_[size_t(place.kind)].people);
        }
    addRow(cols, coefs, 'L', std::floor(empty / tables) + mostSeated);
}

// The units of a kind take the seats its columns count, in their order.
std::vector<int> Builder::read(const std::vector<double>& values) const
{
    std::vector<int> at(prep_.units.size(), -1);
    for (size_t k = 0; k < kinds_.size(); ++k) {
        size_t next = 0;
        for (const Place& place : ofKind_[k]) {
            const double value = size_t(place.column) < values.size() ? values[size_t(place.column)] : 0;
            for (long n = std::lround(value); n > 0 && next < kinds_[k].units.size(); --n)
                at[size_t(kinds_[k].units[next++])] = place.table;
        }
    }
    return at;
}

double Builder::objectiveOf(const std::vector<int>& at) const
{
    double people = 0;
    for (size_t u = 0; u < at.size(); ++u)
        if (at[u] >= 0)
            people += prep_.units[u].people;
    return PersonWeight * people - (problem_.preferences.sidesTogether ? sidesPenalty(at) : 0) -
           balancePenalty(at);
}

// As addSides() counts it: a table seating both sides, not both already there before.
double Builder::sidesPenalty(const std::vector<int>& at) const
{
    std::vector<std::array<bool, 2>> placed(problem_.tables.size(), {false, false});
    for (size_t u = 0; u < at.size(); ++u)
        if (at[u] >= 0) {
            placed[at[u]][0] = placed[at[u]][0] || prep_.units[u].bride;
            placed[at[u]][1] = placed[at[u]][1] || prep_.units[u].groom;
        }
    double penalty = 0;
    for (size_t t = 0; t < placed.size(); ++t) {
        const bool fixedBride = sideFixedAt(int(t), true), fixedGroom = sideFixedAt(int(t), false);
        if ((fixedBride || placed[t][0]) && (fixedGroom || placed[t][1]) && !(fixedBride && fixedGroom))
            penalty += MixedTablePenalty;
    }
    return penalty;
}

// As addBalance() counts it: tables taken into use, or the spread of empty seats.
double Builder::balancePenalty(const std::vector<int>& at) const
{
    const Balance balance = problem_.preferences.balance;
    if (balance == Balance::None || atTable_.empty())
        return 0;
    std::vector<double> load(atTable_.size(), 0);
    std::vector<bool> used(atTable_.size(), false);
    for (size_t u = 0; u < at.size(); ++u)
        if (at[u] >= 0) {
            load[at[u]] += prep_.units[u].people;
            used[at[u]] = true;
        }
    if (balance == Balance::FewestTables) {
        double penalty = 0;
        for (size_t t = 0; t < used.size(); ++t)
            if (used[t] && prep_.fixedLoad[t] == 0)
                penalty += UsedTablePenalty;
        return penalty;
    }
    std::vector<double> empty;
    for (size_t t = 0; t < load.size(); ++t)
        empty.push_back(problem_.tables[t].seats - prep_.fixedLoad[t] - load[t]);
    const auto [fullest, emptiest] = std::minmax_element(empty.begin(), empty.end());
    return SpreadPenalty * (*emptiest - *fullest);
}

// Solves through the solver module; without it, no solution and the reason why.
mip::Result solve(mip::Model& model, double seconds)
{
    mip::Result result;
    model.seconds = seconds;
    QString why;
    if (auto run = shell::moduleFunction<mip::SolveFunction>(QString::fromLatin1(mip::ModuleName),
                                                             mip::SolveFunctionName, &why))
        run(&model, &result);
    else
        result.failure = why.toStdString();
    return result;
}

// True when the seating keeps every seat count and Apart rule (a check on the solver).
bool keepsHardRules(const Prepared& prep, const std::vector<int>& at)
{
    std::vector<int> load(prep.freeSeats.size(), 0);
    for (size_t u = 0; u < at.size(); ++u)
        if (at[u] >= 0)
            load[at[u]] += prep.units[u].people;
    for (size_t t = 0; t < load.size(); ++t)
        if (load[t] > 0 && load[t] > prep.freeSeats[t])
            return false;
    for (const std::vector<int>& group : prep.apartGroups)
        for (size_t i = 0; i < group.size(); ++i)
            for (size_t j = i + 1; j < group.size(); ++j)
                if (at[group[i]] >= 0 && at[group[i]] == at[group[j]])
                    return false;
    return true;
}

void writePlan(const SeatProblem& problem, const Prepared& prep, const std::vector<int>& at, SeatPlan& plan)
{
    for (size_t u = 0; u < prep.units.size(); ++u) {
        const Unit& unit = prep.units[u];
        const TableKey to = at[u] >= 0 ? problem.tables[at[u]].key : 0;
        if (to == 0)
            plan.explanations << detail::whyLeftOver(problem, prep, unit);
        for (int m : unit.members) {
            const SeatParty& party = problem.parties[m];
            const TableKey from = prep.tableIndex.contains(party.table) ? party.table : 0;
            if (to == 0)
                plan.leftOver.push_back(party.key);
            else
                plan.peopleSeated += party.people;
            if (to != from || (to != 0 && party.seated != party.people))
                plan.moves.push_back({party.key, from, to, to == 0 ? 0 : party.people});
        }
    }
}

}  // namespace

double SeatPlan::gap() const
{
    if (provenBest || !solved || !bounded)
        return 0;
    return std::abs(bound - objective) / std::max(1.0, std::abs(objective));
}

SeatPlan solveSeating(const SeatProblem& problem)
{
    QElapsedTimer clock;
    clock.start();
    SeatPlan plan;
    const Prepared prep = detail::prepare(problem);
    plan.explanations = prep.explanations;
    const std::vector<int> simple = detail::greedyStart(problem, prep);
    std::vector<int> at = simple;

    Builder builder(problem, prep);
    builder.build();
    if (builder.model().columns.empty()) {
        plan.solved = plan.provenBest = true;
    } else {
        const double limit = std::isfinite(problem.timeLimitSeconds) ? problem.timeLimitSeconds : 1e9;
        const double left = std::max(MinimumSolverSeconds, limit - clock.elapsed() / 1000.0);
        const mip::Result best = solve(builder.model(), left);
        const std::vector<int> found = builder.read(best.values);
        const bool foundSound = best.found && keepsHardRules(prep, found);
        const double simpleObjective = builder.objectiveOf(simple);
        if (foundSound && builder.objectiveOf(found) >= simpleObjective) {
            at = found;
            plan.solved = true;
            plan.objective = builder.objectiveOf(found);
            plan.provenBest = best.proven;
        } else {
            // The simple seating keeps every rule by construction; the check guards it all the same.
            plan.solved = keepsHardRules(prep, simple);
            plan.objective = simpleObjective;
            plan.simple = true;
            plan.whySimple = !best.failure.empty() ? QStringLiteral("the solver could not run")
                             : !foundSound ? QStringLiteral("the solver found no plan in the time allowed")
                                           : QStringLiteral(
                                                 "the solver found no plan as good in the "
                                                 "time allowed");
            if (!best.failure.empty())
                plan.explanations << QString::fromStdString(best.failure);
        }
        if (best.found) {
            plan.bound = std::max(best.bound, plan.objective);
            plan.bounded = true;
        }
    }
    writePlan(problem, prep, at, plan);

    int toSeat = 0;
    int free = 0;
    for (const Unit& unit : prep.units)
        toSeat += unit.people;
    for (int seats : prep.freeSeats)
        free += std::max(0, seats);
    if (!plan.leftOver.empty() && toSeat > free)
        plan.explanations.prepend(
            QStringLiteral("%1 people are to be seated, but only %2 seats are free.").arg(toSeat).arg(free));
    plan.rules = detail::ruleOutcomes(problem, plan);
    plan.milliseconds = int(clock.elapsed());
    return plan;
}

}  // namespace seating
