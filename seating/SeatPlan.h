// Automatic seating as pure code: guest parties, reception tables and the couple's rules
// in, a plan out. No widgets and no database here (seating/SeatPlanStore.h reads and
// applies plans).
//
//   seating::SeatProblem problem = ...;          // parties, tables, rules, preferences
//   seating::SeatPlan plan = seating::solveSeating(problem);
//   if (!plan.complete()) show(plan.explanations);
//
// A party sits whole at one table. Parties already seated stay where they are, except
// when everyone is re-seated; then only pinned parties stay. Seats are never overbooked
// and hard rules (together, apart, reserved tables) are never broken; the preferences are
// what the solver improves within its time limit.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace seating {

using PartyKey = qint64;
using TableKey = qint64;

struct SeatParty {
    PartyKey key = 0;
    QString name;        // as listed
    QString side;        // "Bride", "Groom", "Both" or whatever the file holds
    int people = 0;      // NumberAttending once the reply is in, else Invited
    TableKey table = 0;  // where it sits now (0: not seated)
    int seated = 0;      // its people counted at that table (tabletot)
    bool pinned = false;
    QString sortName;  // last name first, for alphabetical lists
};

struct SeatTable {
    TableKey key = 0;
    QString name;
    int number = 0;
    int seats = 0;     // max
    int assigned = 0;  // seats taken as the seating manager keeps them
};

enum class RuleKind { Together, Apart, Reserved };

struct SeatRule {
    qint64 id = 0;
    RuleKind kind = RuleKind::Together;
    std::vector<PartyKey> parties;  // Together, Apart; Reserved for a group
    TableKey table = 0;             // Reserved
    QString side;                   // Reserved for a side
};

enum class Balance { None, FillEvenly, FewestTables };

struct SeatPreferences {
    bool sidesTogether = false;
    Balance balance = Balance::None;
};

struct SeatProblem {
    std::vector<SeatParty> parties;  // every party invited to the reception with people to seat
    std::vector<SeatTable> tables;
    std::vector<SeatRule> rules;
    SeatPreferences preferences;
    bool reseatEveryone = false;  // false: only parties not seated yet are placed
    double timeLimitSeconds = 10;
};

// Where the plan puts a party (only parties whose table changes are listed).
struct Placement {
    PartyKey party = 0;
    TableKey fromTable = 0;  // 0: was not seated
    TableKey toTable = 0;    // 0: not seated by the plan
    int people = 0;
};

struct RuleOutcome {
    qint64 ruleId = 0;
    QString text;  // the rule in words
    bool kept = true;
    // False for a Together or Apart rule some of whose parties have no seat after the plan:
    // there was nothing to keep for them, so the rule is neither kept nor broken.
    bool applied = true;
};

struct SeatPlan {
    std::vector<Placement> moves;
    std::vector<PartyKey> leftOver;  // parties the plan could not seat
    QStringList explanations;        // why not everyone could be seated, in words
    std::vector<RuleOutcome> rules;  // every hard rule, kept or broken, and the preferences
    bool solved = false;             // a plan was found (possibly seating nobody new)
    bool provenBest = false;         // no better plan exists
    double objective = 0;            // what the solver maximises, for the plan kept
    double bound = 0;                // the best it could still be
    bool bounded = false;            // the solver gave that bound
    // The simple seating (largest parties first, each at the fullest table that takes it)
    // was kept instead of the solver's plan; whySimple says why, in words.
    bool simple = false;
    QString whySimple;
    int milliseconds = 0;
    int peopleSeated = 0;  // by this plan
    bool complete() const { return leftOver.empty() && solved; }
    // Gap between the plan and the best possible, as a fraction (0 when proven best or
    // when no bound is known).
    double gap() const;
};

// Solves with CBC (the COIN-OR integer programming solver) and keeps the better of its plan
// and the simple seating. The time limit counts from the call, preparing the problem included.
SeatPlan solveSeating(const SeatProblem& problem);

// The rule in words, with the parties and tables named ("Keep together: A, B").
QString describeRule(const SeatRule& rule, const SeatProblem& problem);

// Seats per table after the plan is applied, by table key order of problem.tables.
std::vector<int> seatsTakenAfter(const SeatProblem& problem, const SeatPlan& plan);

}  // namespace seating
