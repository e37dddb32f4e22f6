// Automatic seating of large receptions through what `orvane-cli seat` runs (open the file,
// load the problem, solve, print the report), with --time-limit 5: 1,000 parties at 200
// tables and 2,000 parties at 250 tables, each under 100 rules (together, apart, tables
// reserved for a side or a group), on a generated wedding file. For each: the whole wall
// time, the plan's own time, the people seated, whose plan was kept and the objective line of
// the report. Last, the longest wall time in ms.
#include "bench/common/BenchTiming.h"
#include "cli/Commands.h"
#include "store/Layout.h"
#include "store/Store.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* TimeLimit = "5";

struct Size {
    int parties;
    int tables;
    int fewestSeats;  // tables seat fewestSeats to fewestSeats + 3
    int mostPeople;   // parties of 1 to mostPeople
};

void exec(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", error);
        std::exit(1);
    }
}

sqlite3_stmt* prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    return statement;
}

void step(sqlite3_stmt* statement)
{
    if (sqlite3_step(statement) != SQLITE_DONE) {
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(sqlite3_db_handle(statement)));
        std::exit(1);
    }
    sqlite3_reset(statement);
}

// Tables, parties (rowids 1..n, none seated yet) and 100 rules: 40 pairs together, 40 pairs
// apart, 10 tables reserved for a side and 10 for a group of three parties.
void fill(const QString& path, const Size& size)
{
    QRandomGenerator rng(size.parties);
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    exec(db, "BEGIN");
    sqlite3_stmt* table = prepare(
        db, "INSERT INTO Tables (TableId, tablename, tablenumber, \"max\", assigned) VALUES (?, ?, ?, ?, 0)");
    for (int t = 1; t <= size.tables; ++t) {
        const QByteArray name = QStringLiteral("Table %1").arg(t).toUtf8();
        sqlite3_bind_int(table, 1, t);
        sqlite3_bind_text(table, 2, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(table, 3, t);
        sqlite3_bind_int(table, 4, size.fewestSeats + t % 4);
        step(table);
    }
    sqlite3_finalize(table);
    static const char* const sides[] = {"Bride", "Groom", "Both"};
    sqlite3_stmt* party = prepare(db,
                                  "INSERT INTO Guests (Prefix, FirstName, LastName, guestof, InvReception, "
                                  "Invited, tableid, tabletot) VALUES ('Mr.', ?, ?, ?, 1, ?, 0, 0)");
    for (int p = 1; p <= size.parties; ++p) {
        const QByteArray first = QStringLiteral("Guest%1").arg(p).toUtf8();
        const QByteArray last =
            QStringLiteral("Family%1").arg((p * 7919) % size.parties, 5, 10, QChar('0')).toUtf8();
        sqlite3_bind_text(party, 1, first.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(party, 2, last.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(party, 3, sides[p % 3], -1, SQLITE_STATIC);
        sqlite3_bind_int(party, 4, 1 + int(rng.bounded(size.mostPeople)));
        step(party);
    }
    sqlite3_finalize(party);
    sqlite3_stmt* rule =
        prepare(db, "INSERT INTO SeatingRules (RuleId, Kind, TableId, Side) VALUES (?, ?, ?, ?)");
    sqlite3_stmt* member =
        prepare(db, "INSERT OR IGNORE INTO SeatingRuleParties (RuleId, PartyKey) VALUES (?, ?)");
    auto addMember = [&](int id, int key) {
        sqlite3_bind_int(member, 1, id);
        sqlite3_bind_int(member, 2, key);
        step(member);
    };
    for (int id = 1; id <= 100; ++id) {
        const char* kind = id <= 40 ? "Together" : id <= 80 ? "Apart" : "Reserved";
        const int reservedTable = id - 80;  // tables 1 to 20
        sqlite3_bind_int(rule, 1, id);
        sqlite3_bind_text(rule, 2, kind, -1, SQLITE_STATIC);
        if (id > 80)
            sqlite3_bind_int(rule, 3, reservedTable);
        else
            sqlite3_bind_null(rule, 3);
        if (id > 80 && id <= 90)
            sqlite3_bind_text(rule, 4, sides[id % 2], -1, SQLITE_STATIC);
        else
            sqlite3_bind_null(rule, 4);
        step(rule);
        const int a = 1 + int(rng.bounded(size.parties));
        if (id <= 80) {
            addMember(id, a);
            addMember(id, 1 + (a + int(rng.bounded(size.parties - 1))) % size.parties);
        } else if (id > 90) {
            for (int k = 0; k < 3; ++k)
                addMember(id, 1 + (a + k) % size.parties);
        }
    }
    sqlite3_finalize(rule);
    sqlite3_finalize(member);
    exec(db, "COMMIT");
    sqlite3_close(db);
}

// A copy of the delivered file in the seating plan's layout, filled.
QString makeWedding(const QTemporaryDir& dir, const Size& size)
{
    const QString path = dir.filePath(QStringLiteral("wedding-%1.mdb").arg(size.parties));
    if (!QFile::copy(QStringLiteral(ORVANE_DELIVERED_DB), path)) {
        std::fprintf(stderr, "cannot copy the delivered database\n");
        std::exit(1);
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    store::upgradeLayout(store::Workspace::defaultWorkspace().openDatabase(path));
    store::Workspace::defaultWorkspace().close();
    fill(path, size);
    return path;
}

QString lineWith(const QString& report, const QString& start)
{
    for (const QString& line : report.split(QLatin1Char('\n')))
        if (line.startsWith(start))
            return line;
    return QStringLiteral("(no line \"%1\")").arg(start);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    double longest = 0;
    for (const Size& size : {Size{1000, 200, 9, 3}, Size{2000, 250, 11, 2}}) {
        const QString path = makeWedding(dir, size);
        QString report, errors;
        QTextStream out(&report), err(&errors);
        bench::Stopwatch watch;
        watch.start();
        const int status = cli::run(
            {QStringLiteral("seat"), path, QStringLiteral("--time-limit"), QString::fromLatin1(TimeLimit)},
            out, err);
        const double wall = watch.read().first;
        out.flush();
        err.flush();
        if (status != 0) {
            std::fprintf(stderr, "seat failed (%d): %s\n", status, errors.toUtf8().constData());
            return 1;
        }
        const QRegularExpressionMatch planMs = QRegularExpression(QStringLiteral("; (\\d+) ms$"))
                                                   .match(lineWith(report, QStringLiteral("Objective:")));
        int broken = 0, kept = 0, notApplied = 0;
        for (const QString& line : report.split(QLatin1Char('\n'))) {
            kept += line.startsWith(QStringLiteral("  kept "));
            broken += line.startsWith(QStringLiteral("  BROKEN "));
            notApplied += line.startsWith(QStringLiteral("  not applied "));
        }
        std::printf("%d parties at %d tables, 100 rules, --time-limit %s\n", size.parties, size.tables,
                    TimeLimit);
        std::printf("  %s\n", lineWith(report, QStringLiteral("Objective:")).toUtf8().constData());
        std::printf("  rules kept %d, not applied %d, broken %d\n", kept, notApplied, broken);
        std::printf("  plan %s ms; whole seat command %.0f ms\n",
                    planMs.hasMatch() ? planMs.captured(1).toUtf8().constData() : "?", wall);
        longest = std::max(longest, wall);
    }
    std::printf("longest wall time (ms, target at most 7000):\n%.0f\n", longest);
    return 0;
}
