// Crash safety: a child process commits numbered changes through the store and is killed
// with SIGKILL at random moments; after every kill the file must pass the integrity check
// and hold every change whose commit had returned, and no part of any other.
// The kill is timed by the writer's progress, never by the clock alone, so that a slow build
// (a sanitizer) still kills during commits. ORVANE_CRASH_ROUNDS sets the number of kills
// (default 100) for a longer run.
#include "StoreFixture.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/wait.h>

#include <chrono>
#include <iostream>
#include <thread>

using namespace store;

namespace {

// The highest commit the child has reported so far (at least `committed`).
qint64 highestReported(testsupport::ChildProcess& child, qint64 committed)
{
    std::vector<qint64> reports;
    child.readNumbers(reports);
    for (qint64 r : reports)
        committed = std::max(committed, r);
    return committed;
}

// Waits until the child has reported `count` more commits than `committed` (or the time is
// up, or the child ended); returns the highest commit reported.
qint64 waitForCommits(testsupport::ChildProcess& child, qint64 committed, qint64 count,
                      std::chrono::milliseconds limit)
{
    const qint64 goal = committed + count;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (committed < goal && std::chrono::steady_clock::now() < deadline && !child.ended()) {
        committed = highestReported(child, committed);
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return committed;
}

}  // namespace

TEST(StoreCrash, KilledWriterLeavesASoundFileWithEveryCommittedChange)
{
    // The delivered file, as the program runs on it.
    QTemporaryDir dir;
    const QString path = dir.filePath("wedding.mdb");
    ASSERT_TRUE(QFile::copy(testsupport::deliveredDatabase(), path));
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    Workspace& ws = Workspace::defaultWorkspace();
    ws.openDatabase(path).execute("INSERT INTO Tables (tablename, assigned) VALUES ('counter', 0)");
    ws.close();
    const int rounds = qEnvironmentVariableIsSet("ORVANE_CRASH_ROUNDS")
                           ? qEnvironmentVariableIntValue("ORVANE_CRASH_ROUNDS")
                           : 100;
    auto* random = QRandomGenerator::global();
    qint64 committed = 0;
    qint64 committedByKills = 0;
    int interruptedTransactions = 0;
    for (int round = 0; round < rounds; ++round) {
        testsupport::ChildProcess child(ORVANE_CRASH_WRITER, {QFile::encodeName(path)});
        ASSERT_TRUE(child.started());
        // The kill falls relative to the writer's progress: after its first commit, then a
        // random number of further commits and a random part of one more.
        const qint64 before = committed;
        const auto started = std::chrono::steady_clock::now();
        committed = waitForCommits(child, committed, 1, std::chrono::seconds(30));
        ASSERT_GT(committed, before) << "the writer made no commit within 30 s in round " << round;
        const auto perCommit = std::chrono::steady_clock::now() - started;
        committed = waitForCommits(child, committed, random->bounded(0, 4), std::chrono::seconds(5));
        const auto partOfOne =
            std::chrono::duration_cast<std::chrono::microseconds>(perCommit) / 50 * random->bounded(0, 100);
        std::this_thread::sleep_for(std::min(partOfOne, std::chrono::microseconds(50000)));
        const int status = child.kill();
        committed = highestReported(child, committed);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself with " << WEXITSTATUS(status);
        if (QFile::exists(path + "-journal"))
            ++interruptedTransactions;
        committedByKills += committed - before;

        // Opening rolls back the interrupted transaction from its journal.
        Database& db = ws.openDatabase(path);
        ASSERT_EQ(storetest::rawValue(path, "PRAGMA integrity_check"), "ok") << "round " << round;
        auto guests = db.openRecordset(
            "SELECT count(*) AS n, max(Invited) AS top FROM Guests WHERE "
            "LastName = 'Writer'",
            RecordsetType::Snapshot);
        const qint64 count = guests->value("n").toLongLong();
        const qint64 top = guests->value("top").isNull() ? 0 : guests->value("top").toLongLong();
        auto counter = db.openRecordset("SELECT assigned FROM Tables WHERE tablename = 'counter'",
                                        RecordsetType::Snapshot);
        ASSERT_GE(top, committed) << "a committed change is missing after round " << round;
        ASSERT_LE(top, committed + 1) << "a change nobody committed appeared after round " << round;
        ASSERT_EQ(count, top) << "rows of a transaction are missing or doubled after round " << round;
        ASSERT_EQ(counter->value("assigned").toLongLong(), top)
            << "a transaction was half applied in round " << round;
        committed = top;
        ws.close();
    }
    std::cout << rounds << " kills, " << committed << " committed transactions, " << interruptedTransactions
              << " kills in the middle of a transaction\n";
    // Every round waited for at least one commit, so a run that commits nothing fails above;
    // this also catches a writer that restarts from scratch.
    EXPECT_GE(committedByKills, rounds);
    EXPECT_GE(committed, committedByKills);  // a commit may return just before the kill, unreported
}
