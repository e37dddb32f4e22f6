// orvane-cli seat on the sample wedding: the plan printed with rules and objective, the
// file unchanged without --apply and seated with it, and wrong command lines refused.
#include "cli/Commands.h"
#include "seating/SeatPlanStore.h"
#include "store/Store.h"
#include "tests/support/SampleWedding.h"

#include <gtest/gtest.h>

#include <iostream>

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

    r = runCli({"seat", dir.databasePath(), "--apply", "--time-limit", "5"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Applied to"));
    EXPECT_LT(unseatedPeople(dir.databasePath()), before);
}

TEST(SeatCommand, RefusesWrongCommandLinesAndMissingFiles)
{
    EXPECT_EQ(runCli({"seat"}).status, 2);
    EXPECT_EQ(runCli({"seat", "x.mdb", "--time-limit", "soon"}).status, 2);
    EXPECT_EQ(runCli({"seat", "x.mdb", "--colour"}).status, 2);
    EXPECT_EQ(runCli({"nonsense"}).status, 2);
    const Result missing = runCli({"seat", "/nonexistent/wedding.mdb"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("orvane-cli seat: ")) << missing.err.toStdString();
    EXPECT_TRUE(runCli({"seat", "--help"}).out.contains("--time-limit SECONDS"));
}
