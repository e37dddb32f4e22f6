// The preparation of a seating problem for the solver, shared by the solver and its
// explanations: which parties may move, the groups that sit together as one unit, the
// tables each unit may take, and what the plan must say when a unit fits nowhere.
#pragma once

#include "seating/SeatPlan.h"

#include <QHash>

#include <vector>

namespace seating::detail {

struct Unit {
    std::vector<int> members;  // indices into problem.parties
    int people = 0;
    int anchor = -1;                    // table index it must join (a member stays there), or -1
    std::vector<int> tables;            // table indices it may take
    bool bride = false, groom = false;  // sides present, for keeping the sides apart
};

struct Prepared {
    std::vector<bool> movable;    // by party index
    std::vector<int> fixedTable;  // by party index: table index where it stays, or -1
    std::vector<int> freeSeats;   // by table index: seats for the parties that move
    std::vector<int> fixedLoad;   // by table index: seats taken by parties that stay
    std::vector<int> unitOf;      // by party index: unit, or -1
    std::vector<Unit> units;
    std::vector<std::vector<int>> apartGroups;  // per Apart rule that is kept in the model: its units
    std::vector<std::vector<int>> apartFixed;   // the same rule's tables excluded by parties that stay
    QStringList explanations;
    QHash<PartyKey, int> partyIndex;
    QHash<TableKey, int> tableIndex;
};

Prepared prepare(const SeatProblem& problem);

// The simple seating: largest units first, each at the fullest table that still takes it.
// The plan kept when the solver finds nothing as good. Per unit: a table index or -1.
std::vector<int> greedyStart(const SeatProblem& problem, const Prepared& prep);

// Explains why a unit could not be seated.
QString whyLeftOver(const SeatProblem& problem, const Prepared& prep, const Unit& unit);

// The outcome of every rule and preference once the plan is applied.
std::vector<RuleOutcome> ruleOutcomes(const SeatProblem& problem, const SeatPlan& plan);

bool sameSide(const QString& a, const QString& b);
bool isBride(const QString& side);
bool isGroom(const QString& side);
QString partyList(const SeatProblem& problem, const std::vector<int>& parties);

}  // namespace seating::detail
