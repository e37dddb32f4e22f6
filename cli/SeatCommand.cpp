#include "cli/SeatCommand.h"

#include "cli/UsageError.h"
#include "seating/SeatPlanStore.h"
#include "store/Backup.h"
#include "store/Layout.h"
#include "store/LayoutSteps.h"
#include "store/Store.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>
#include <map>

namespace cli {

const char* const SeatHelp =
    "usage: orvane-cli seat WEDDING.mdb [--apply] [--reseat] [--time-limit SECONDS]\n"
    "  Proposes seats for the parties invited to the reception that have none, keeping the\n"
    "  seating rules and the tables' seats, and prints the plan, the rules kept and broken\n"
    "  and the objective.\n"
    "  --apply              write the plan to the file (one transaction), after a backup copy;\n"
    "                       without it the file is only read (a read-only file will do)\n"
    "  --reseat             re-seat everyone; pinned parties stay where they are\n"
    "  --time-limit SECONDS stop searching after this long with the best plan found (default 10)\n"
    "  The simple seating (largest parties first) is kept when the solver finds nothing better.\n";

namespace {

struct Options {
    QString path;
    bool apply = false;
    bool reseat = false;
    double seconds = 10;
};

Options parse(const QStringList& args)
{
    Options options;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--apply")) {
            options.apply = true;
        } else if (a == QLatin1String("--reseat")) {
            options.reseat = true;
        } else if (a == QLatin1String("--time-limit")) {
            bool ok = false;
            options.seconds = args.value(++i).toDouble(&ok);
            if (!ok || !std::isfinite(options.seconds) || options.seconds <= 0)
                throw UsageError{QStringLiteral("--time-limit needs a number of seconds greater than 0.")};
        } else if (a.startsWith(QLatin1String("--")) || !options.path.isEmpty()) {
            throw UsageError{QStringLiteral("\"%1\" is not an option of seat.").arg(a)};
        } else {
            options.path = a;
        }
    }
    if (options.path.isEmpty())
        throw UsageError{QStringLiteral("name the wedding file.")};
    return options;
}

// How good the plan is known to be, and whose it is.
QString quality(const seating::SeatPlan& plan)
{
    const QString bound = QStringLiteral("best possible %1, gap %2%")
                              .arg(plan.bound, 0, 'f', 0)
                              .arg(plan.gap() * 100, 0, 'f', 2);
    if (plan.simple)
        return QStringLiteral("the simple seating, largest parties first: %1").arg(plan.whySimple) +
               (plan.bounded ? QStringLiteral("; ") + bound : QString());
    return plan.provenBest ? QStringLiteral("proven best") : bound;
}

void printPlan(const seating::SeatProblem& problem, const seating::SeatPlan& plan, QTextStream& out)
{
    std::map<seating::PartyKey, seating::TableKey> at;
    std::map<seating::PartyKey, int> people;
    for (const seating::SeatParty& p : problem.parties) {
        at[p.key] = p.table;
        people[p.key] = p.seated;
    }
    std::map<seating::PartyKey, bool> moved;
    for (const seating::Placement& m : plan.moves) {
        at[m.party] = m.toTable;
        people[m.party] = m.people;
        moved[m.party] = m.toTable != 0;
    }
    const std::vector<int> taken = seating::seatsTakenAfter(problem, plan);
    out << "Plan (+ newly seated or moved):\n";
    for (size_t t = 0; t < problem.tables.size(); ++t) {
        const seating::SeatTable& table = problem.tables[t];
        out << QStringLiteral("  %1 (No. %2): %3 of %4 seats\n")
                   .arg(table.name)
                   .arg(table.number)
                   .arg(taken[t])
                   .arg(table.seats);
        for (const seating::SeatParty& p : problem.parties)
            if (at[p.key] == table.key)
                out << "    " << (moved[p.key] ? "+ " : "  ") << p.name << " (" << people[p.key] << ")\n";
    }
    if (!plan.leftOver.empty()) {
        out << "Not seated:\n";
        for (const QString& why : plan.explanations)
            out << "  " << why << "\n";
    } else if (!plan.explanations.isEmpty()) {
        out << "Notes:\n";
        for (const QString& why : plan.explanations)
            out << "  " << why << "\n";
    }
    out << "Rules:\n";
    if (plan.rules.empty())
        out << "  (none)\n";
    for (const seating::RuleOutcome& rule : plan.rules)
        out << "  "
            << (rule.ruleId == 0 ? "preference "
                : rule.kept      ? "kept       "
                : !rule.applied  ? "not applied "
                                 : "BROKEN     ")
            << rule.text << (rule.applied ? "" : " (not all of them have a seat)") << "\n";
    out << QStringLiteral("Objective: %1 (%2); %3 people seated by this plan; %4 ms\n")
               .arg(plan.objective, 0, 'f', 0)
               .arg(quality(plan))
               .arg(plan.peopleSeated)
               .arg(plan.milliseconds);
}

}  // namespace

int seatCommand(const QStringList& args, QTextStream& out)
{
    const Options options = parse(args);
    const QString path = QFileInfo(options.path).absoluteFilePath();
    store::Workspace& workspace = store::Workspace::defaultWorkspace();
    // A plan that is only printed reads the file and never changes it: a file of an older
    // layout is planned on an upgraded copy.
    QTemporaryDir scratch;
    store::Database* opened =
        &workspace.openDatabase(path, options.apply ? store::OpenMode::ReadWrite : store::OpenMode::ReadOnly);
    if (options.apply) {
        store::upgradeLayout(*opened);
    } else if (store::layoutVersion(*opened) < store::layout::latestVersion()) {
        workspace.close();
        const QString copy = scratch.filePath(QStringLiteral("wedding.mdb"));
        if (!scratch.isValid() || !QFile::copy(path, copy) ||
            !QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner))
            throw store::StoreError(
                store::err::IoError,
                QStringLiteral("The wedding file is of an older layout, and no copy of it "
                               "could be made to plan on."));
        opened = &workspace.openDatabase(copy);
        store::upgradeLayout(*opened);
    }
    store::Database& db = *opened;
    seating::SeatProblem problem = seating::loadProblem(db, options.reseat);
    problem.timeLimitSeconds = options.seconds;
    const seating::SeatPlan plan = seating::solveSeating(problem);
    printPlan(problem, plan, out);
    if (options.apply) {
        if (plan.moves.empty()) {
            out << "Nothing to apply.\n";
        } else {
            const seating::KeptPlan kept = seating::applyPlanKept(db, problem, plan);
            out << "Applied to " << options.path << ".\n";
            out << "A copy of the wedding file from before the plan: " << kept.backupPath << "\n";
        }
    }
    return 0;
}

}  // namespace cli
