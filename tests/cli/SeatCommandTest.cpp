// orvane-cli seat on the sample wedding: the plan printed with rules and objective, whose
// plan it is, the file unchanged without --apply and seated with it after a backup, and
// wrong command lines refused.
#include "cli/Commands.h"
#include "seating/SeatPlanStore.h"
#include "shell/Paths.h"
#include "store/Backup.h"
#include "store/Store.h"
#include "tests/support/SampleWedding.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <iostream>

#include <sqlite3.h>

namespace {

struct Result {
    int status = 0;
    QString out, err;
};

Result runCli(const QStringList& args)
{
    Result r;
    QTextStream out(&r.out), err(&r.err);
    r.status = cli::run(args, out, err);
    out.flush();
    err.flush();
    return r;
}

int unseatedPeople(const QString& path)
{
    store::Database& db = store::Workspace::defaultWorkspace().openDatabase(path);
    const seating::SeatProblem problem = seating::loadProblem(db, false);
    int people = 0;
    for (const seating::SeatParty& p : problem.parties)
        if (p.table == 0)
            people += p.people;
    store::Workspace::defaultWorkspace().close();
    return people;
}

int seatingBackups(const QString& path)
{
    int seating = 0;
    for (const store::backup::Entry& e : store::backup::list(path, false))
        seating += e.reason == store::backup::Reason::Seating;
    return seating;
}

}  // namespace

TEST(SeatCommand, PrintsThePlanAndAppliesItOnlyWhenAsked)
{
    testsupport::ProgramDir dir;
    {
        store::Database& db = store::Workspace::defaultWorkspace().openDatabase(dir.databasePath());
        testsupport::loadSampleWedding(db);
        db.execute("INSERT INTO SeatingRules (Kind) VALUES ('SidesTogether')");
        store::Workspace::defaultWorkspace().close();
    }
    const int before = unseatedPeople(dir.databasePath());
    ASSERT_GT(before, 0);

    Result r = runCli({"seat", dir.databasePath(), "--time-limit", "5"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    std::cout << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Plan (+ newly seated or moved):"));
    EXPECT_TRUE(r.out.contains("preference Seat each side together"));
    EXPECT_TRUE(r.out.contains("Objective: "));
    EXPECT_EQ(unseatedPeople(dir.databasePath()), before);

    EXPECT_EQ(seatingBackups(dir.databasePath()), 0);

    r = runCli({"seat", dir.databasePath(), "--apply", "--time-limit", "5"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Applied to"));
    EXPECT_LT(unseatedPeople(dir.databasePath()), before);
    // The file as it was before the plan is kept, and the report says where.
    EXPECT_EQ(seatingBackups(dir.databasePath()), 1);
    const std::vector<store::backup::Entry> kept = store::backup::list(dir.databasePath());
    ASSERT_FALSE(kept.empty());
    EXPECT_TRUE(r.out.contains("A copy of the wedding file from before the plan: " + kept.front().path))
        << r.out.toStdString();
    EXPECT_EQ(kept.front().reason, store::backup::Reason::Seating);
    EXPECT_EQ(store::backup::reasonText(kept.front().reason), "Before applying a seating plan");

    // A backup that cannot be made leaves the file as it was.
    testsupport::ProgramDir locked;
    {
        store::Database& db = store::Workspace::defaultWorkspace().openDatabase(locked.databasePath());
        testsupport::loadSampleWedding(db);
        store::Workspace::defaultWorkspace().close();
    }
    EXPECT_EQ(runCli({"seat", locked.databasePath(), "--time-limit", "1"}).status, 0);  // brought up to date
    const int unseatedBefore = unseatedPeople(locked.databasePath());
    const QString folder = store::backup::folderFor(locked.databasePath());
    QDir(folder).removeRecursively();
    QFile(folder).open(QIODevice::WriteOnly);  // a file where the backups would go
    r = runCli({"seat", locked.databasePath(), "--apply", "--time-limit", "5"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("No backup of the wedding file could be made, so the plan was not applied."))
        << r.err.toStdString();
    EXPECT_EQ(unseatedPeople(locked.databasePath()), unseatedBefore);
}

// When the simple seating is the plan kept, the report says so instead of giving the
// solver's figures for it.
TEST(SeatCommand, TheReportSaysWhenTheSimpleSeatingWasKept)
{
    testsupport::ProgramDir dir;
    {
        store::Database& db = store::Workspace::defaultWorkspace().openDatabase(dir.databasePath());
        testsupport::loadSampleWedding(db);
        store::Workspace::defaultWorkspace().close();
    }
    QTemporaryDir empty;
    shell::setModuleDirectory(empty.path());
    const Result without = runCli({"seat", dir.databasePath(), "--time-limit", "1"});
    shell::setModuleDirectory(testsupport::poorSolverDir());
    const Result poor = runCli({"seat", dir.databasePath(), "--time-limit", "1"});
    shell::setModuleDirectory(testsupport::binDir());
    const Result solver = runCli({"seat", dir.databasePath(), "--time-limit", "5"});

    EXPECT_EQ(without.status, 0) << without.err.toStdString();
    EXPECT_TRUE(without.out.contains(QRegularExpression(
        "Objective: [1-9]\\d* \\(the simple seating, largest parties first: the solver could not run\\);")))
        << without.out.toStdString();
    EXPECT_TRUE(without.out.contains("orvane_solver could not be loaded"));
    EXPECT_TRUE(poor.out.contains(QRegularExpression(
        "Objective: [1-9]\\d* \\(the simple seating, largest parties first: the solver found no plan as "
        "good in the time allowed; best possible \\d+, gap [0-9.]+%\\);")))
        << poor.out.toStdString();
    EXPECT_FALSE(solver.out.contains("simple seating")) << solver.out.toStdString();
    for (const Result* r : {&without, &poor, &solver})
        EXPECT_FALSE(r->out.contains("Objective: 0 ")) << r->out.toStdString();
}

TEST(SeatCommand, RefusesWrongCommandLinesAndMissingFiles)
{
    EXPECT_EQ(runCli({"seat"}).status, 2);
    for (const char* seconds : {"soon", "-5", "0", "nan", "inf", "-inf", "NaN", "Infinity"})
        EXPECT_EQ(runCli({"seat", "x.mdb", "--time-limit", seconds}).status, 2) << seconds;
    EXPECT_EQ(runCli({"seat", "x.mdb", "--colour"}).status, 2);
    EXPECT_EQ(runCli({"nonsense"}).status, 2);
    const Result missing = runCli({"seat", "/nonexistent/wedding.mdb"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("orvane-cli seat: ")) << missing.err.toStdString();
    EXPECT_TRUE(runCli({"seat", "--help"}).out.contains("--time-limit SECONDS"));
}

// Without --apply the file is only read: a read-only file is planned on, and a file of an older
// layout is planned on an upgraded copy while the file itself stays as it was.
TEST(SeatCommand, APlanThatIsOnlyPrintedNeverChangesTheFile)
{
    const auto bytesOf = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    testsupport::ProgramDir dir;
    {
        store::Database& db = store::Workspace::defaultWorkspace().openDatabase(dir.databasePath());
        testsupport::loadSampleWedding(db);
        store::Workspace::defaultWorkspace().close();
    }
    QFile::setPermissions(dir.databasePath(), QFile::ReadOwner | QFile::ReadGroup);
    const QByteArray before = bytesOf(dir.databasePath());
    Result r = runCli({"seat", dir.databasePath(), "--time-limit", "2"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Objective: "));
    EXPECT_EQ(runCli({"seat", dir.databasePath(), "--apply", "--time-limit", "2"}).status, 1);
    EXPECT_EQ(bytesOf(dir.databasePath()), before);

    // A file of the first layout, with the sample wedding in it.
    QTemporaryDir older;
    const QString path = older.filePath("wedding.mdb");
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &raw), SQLITE_OK);
        for (const char* name : {"schema.sql", "content.sql"}) {
            QFile sql(testsupport::sourceDir() + "/store/schema/" + name);
            ASSERT_TRUE(sql.open(QIODevice::ReadOnly));
            ASSERT_EQ(sqlite3_exec(raw, sql.readAll().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        }
        sqlite3_close(raw);
        store::Database& db = store::Workspace::defaultWorkspace().openDatabase(path);
        testsupport::loadSampleWedding(db);
        store::Workspace::defaultWorkspace().close();
    }
    const QByteArray first = bytesOf(path);
    r = runCli({"seat", path, "--time-limit", "2"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Plan (+ newly seated or moved):")) << r.out.toStdString();
    EXPECT_EQ(bytesOf(path), first) << "never upgraded";
    EXPECT_FALSE(QDir(older.filePath("backups")).exists());
}
