// The program's own writing paths killed with SIGKILL at random moments of their progress:
// closing General Information over the scheduled tasks, adding and removing guests, seating
// and the table editor, compaction, repair, backup and restore. After every kill the file
// must pass the integrity check, hold every step the program had finished, and never be
// half of one step.
// ORVANE_CRASH_ROUNDS sets the kills per path (default 4).
#include "checklist/DueDates.h"
#include "store/Backup.h"
#include "store/Store.h"
#include "tests/app/MainTestSupport.h"
#include "tests/app/SeatingState.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <iostream>
#include <thread>

namespace {

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

bool sound(const QString& path)
{
    return QFile::exists(path) && apptest::queryValue(path, "PRAGMA integrity_check").toString() == "ok";
}

QDateTime stamp(const QString& stored)
{
    return QDateTime::fromString(stored, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

struct Totals {
    int kills = 0;
    qint64 commits = 0;
    int integrityFailures = 0;
    int lost = 0;
    int inconsistent = 0;
    int duringStep = 0;  // kills that fell while a step was under way
};

// The steps a child reported finished; a negative line only says that a step began.
qint64 finished(const std::vector<qint64>& reports)
{
    return std::count_if(reports.begin(), reports.end(), [](qint64 r) { return r >= 0; });
}

// What the last finished step reported (there is one: every round waits for it).
qint64 lastFinished(const std::vector<qint64>& reports)
{
    return *std::find_if(reports.rbegin(), reports.rend(), [](qint64 r) { return r >= 0; });
}

// True when the kill came after a step had begun and before it reported: its change may or
// may not be in the file. Otherwise the file must hold exactly the last finished step.
bool stepUnderWay(const std::vector<qint64>& reports)
{
    return reports.back() < 0;
}

// What a scenario checks after a kill: the reports of this run (the last is the last step
// that finished, or -1 when a step had begun after it). Counts into totals.
using Check = std::function<void(const std::vector<qint64>& reports, Totals& totals)>;

class ProgramCrashTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        run_.setNames("Anna", "Ben");
        apptest::execSql(db(), "UPDATE General SET weddingdate = '1998-08-31 00:00:00'");
    }
    QString db() const { return run_.databasePath(); }
    QString dir() const { return run_.dir.path(); }

    void killRepeatedly(const QString& scenario, const Check& check)
    {
        const int rounds = qEnvironmentVariableIsSet("ORVANE_CRASH_ROUNDS")
                               ? qEnvironmentVariableIntValue("ORVANE_CRASH_ROUNDS")
                               : 4;
        auto* random = QRandomGenerator::global();
        Totals totals;
        for (int round = 0; round < rounds; ++round) {
            testsupport::ChildProcess child(ORVANE_CRASH_PROGRAM,
                                            {scenario.toLocal8Bit(), QFile::encodeName(dir())});
            ASSERT_TRUE(child.started());
            std::vector<qint64> reports;
            // Kill after the first finished step, a random number of further steps and a
            // random part of one more.
            const auto started = std::chrono::steady_clock::now();
            auto waitFor = [&](qint64 count, std::chrono::seconds limit) {
                const auto deadline = std::chrono::steady_clock::now() + limit;
                while (finished(reports) < count && std::chrono::steady_clock::now() < deadline &&
                       !child.ended()) {
                    child.readNumbers(reports);
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
                }
            };
            waitFor(1, std::chrono::seconds(60));
            const auto firstStep = std::chrono::steady_clock::now() - started;
            int status = 0;
            ASSERT_FALSE(child.ended(&status))
                << scenario.toStdString() << ": the program ended by itself with " << WEXITSTATUS(status)
                << " in round " << round;
            ASSERT_GT(finished(reports), 0)
                << scenario.toStdString() << ": no step finished within 60 s in round " << round;
            waitFor(finished(reports) + random->bounded(0, 3), std::chrono::seconds(20));
            const auto perStep =
                std::chrono::duration_cast<std::chrono::microseconds>(firstStep) / 4;  // start-up included
            std::this_thread::sleep_for(perStep / 100 * random->bounded(0, 100));
            status = child.kill();
            child.readNumbers(reports);
            ASSERT_TRUE(WIFSIGNALED(status))
                << scenario.toStdString() << ": the program ended by itself with " << WEXITSTATUS(status);
            ++totals.kills;
            totals.duringStep += stepUnderWay(reports);
            totals.commits += finished(reports);
            check(reports, totals);
        }
        std::cout << scenario.toStdString() << ": " << totals.kills << " kills (" << totals.duringStep
                  << " during a step), " << totals.commits << " steps finished, " << totals.integrityFailures
                  << " integrity failures, " << totals.lost << " finished steps lost, " << totals.inconsistent
                  << " inconsistent states\n";
        EXPECT_GE(totals.commits, rounds);
        EXPECT_EQ(totals.integrityFailures, 0);
        EXPECT_EQ(totals.lost, 0);
        EXPECT_EQ(totals.inconsistent, 0);
    }

    apptest::ProgramRun run_;
};

// The integrity check, counted; true when sound.
bool checkSound(const QString& path, Totals& totals)
{
    if (sound(path))
        return true;
    ++totals.integrityFailures;
    return false;
}

}  // namespace

TEST_F(ProgramCrashTest, ClosingGeneralInformationKeepsDueDatesWithTheirWeddingDate)
{
    ASSERT_GE(
        apptest::queryValue(db(), "SELECT count(*) FROM Checklist WHERE checktime BETWEEN 1 AND 9").toInt(),
        50);
    killRepeatedly("general", [&](const std::vector<qint64>& reports, Totals& totals) {
        if (!checkSound(db(), totals))
            return;
        const QDateTime stored =
            stamp(apptest::queryValue(db(), "SELECT weddingdate FROM General").toString());
        const int last = int(lastFinished(reports));
        const QDate done = QDate(2030, 1, 31).addMonths(last);
        const QDate next = QDate(2030, 1, 31).addMonths((last + 1) % 7);
        if (stored.date() != done && !(stepUnderWay(reports) && stored.date() == next))
            ++totals.lost;
        const QStringList codes =
            apptest::queryColumn(db(), "SELECT checktime FROM Checklist ORDER BY rowid");
        const QStringList dates = apptest::queryColumn(db(), "SELECT DueDate FROM Checklist ORDER BY rowid");
        for (int i = 0; i < codes.size(); ++i) {
            const auto due =
                checklist::dueDateFor(stored, codes[i].isEmpty() ? QVariant() : QVariant(codes[i].toInt()));
            if (due && stamp(dates[i]) != *due) {
                ++totals.inconsistent;
                break;
            }
        }
    });
}

TEST_F(ProgramCrashTest, AddingAndRemovingGuestsKeepsEveryFinishedStep)
{
    killRepeatedly("guests", [&](const std::vector<qint64>& reports, Totals& totals) {
        if (!checkSound(db(), totals))
            return;
        const qint64 count = apptest::queryValue(db(), "SELECT count(*) FROM Guests").toLongLong();
        const qint64 last = lastFinished(reports);
        if (count != last && !(stepUnderWay(reports) && qAbs(count - last) == 1))
            ++totals.lost;
    });
}

TEST_F(ProgramCrashTest, AChangeOfManyPartiesOrItsUndoIsWholeOrNotAtAll)
{
    killRepeatedly("bulk", [&](const std::vector<qint64>& reports, Totals& totals) {
        if (!checkSound(db(), totals))
            return;
        const qint64 parties = apptest::queryValue(db(), "SELECT count(*) FROM Guests").toLongLong();
        const qint64 invited =
            apptest::queryValue(db(), "SELECT count(*) FROM Guests WHERE InvRehearsal = 1").toLongLong();
        if (invited != 0 && invited != parties)
            ++totals.inconsistent;  // a change half made
        else if (invited != lastFinished(reports) && !stepUnderWay(reports) && !reports.empty())
            ++totals.lost;
    });
}

TEST_F(ProgramCrashTest, CompactionNeverLeavesTheWeddingFileMissingOrHalfWritten)
{
    killRepeatedly("compact", [&](const std::vector<qint64>&, Totals& totals) {
        if (!checkSound(db(), totals))
            return;
        if (apptest::queryValue(db(), "SELECT bridesname || count(*) FROM General").toString() != "Anna1" ||
            apptest::queryValue(db(), "SELECT count(*) FROM Checklist").toInt() != 50)
            ++totals.lost;
    });
    // The next start removes what the killed compactions left.
    store::backup::removeLeftovers(db());
    EXPECT_TRUE(QDir(dir()).entryList({"*.compact-*"}).isEmpty());
}

TEST_F(ProgramCrashTest, RepairLeavesEitherTheDamagedOriginalOrASoundFile)
{
    // A damaged copy with enough rows that the repair takes a while.
    apptest::execSql(
        db(),
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
        "INSERT INTO Guests (LastName, Address) SELECT 'Guest' || i, i || ' Main Street' FROM n");
    const QString damaged = run_.dir.path() + "/damaged.mdb";
    ASSERT_TRUE(QFile::copy(db(), damaged));
    {
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(f.size() / 2 / 4096 * 4096);
        f.write(QByteArray(3 * 4096, char(0xA5)));
    }
    const QByteArray damagedHash = fileHash(damaged);
    killRepeatedly("repair", [&](const std::vector<qint64>&, Totals& totals) {
        if (fileHash(db()) != damagedHash)
            checkSound(db(), totals);
    });
    store::backup::removeLeftovers(db());
    EXPECT_TRUE(QDir(dir()).entryList({"*.repair-*"}).isEmpty());
}

TEST_F(ProgramCrashTest, BackupAndRestoreLeaveOnlyWholeFiles)
{
    apptest::execSql(db(), "INSERT INTO Guests (LastName) VALUES ('A')");
    ASSERT_TRUE(QFile::copy(db(), dir() + "/a.mdb"));
    apptest::execSql(db(), "INSERT INTO Guests (LastName) VALUES ('B')");
    ASSERT_TRUE(QFile::copy(db(), dir() + "/b.mdb"));
    const QString folder = store::backup::folderFor(db());
    auto backupsSound = [&](Totals& totals) {
        for (const store::backup::Entry& e : store::backup::list(db(), false))
            checkSound(e.path, totals);
    };
    killRepeatedly("backup", [&](const std::vector<qint64>&, Totals& totals) {
        checkSound(db(), totals);
        backupsSound(totals);
    });
    killRepeatedly("restore", [&](const std::vector<qint64>& reports, Totals& totals) {
        if (!checkSound(db(), totals))
            return;
        // a.mdb holds one guest, b.mdb two; the report names the one restored last.
        const int guests = apptest::queryValue(db(), "SELECT count(*) FROM Guests").toInt();
        if (guests != 1 && guests != 2)
            ++totals.inconsistent;
        else if (guests != lastFinished(reports) + 1 && !stepUnderWay(reports))
            ++totals.lost;
        backupsSound(totals);
    });
    EXPECT_LE(int(store::backup::list(db(), false).size()), store::backup::MaxKept);
}

namespace {

// After a kill in a seating scenario: every table's seats agree with its parties, and the
// seating is the one of the last finished step or, when a step had begun, a new one.
// `neverBack`: the scenario never returns to an earlier seating, so finding one means a
// finished step was lost.
void checkSeating(const QString& db, const std::vector<qint64>& reports, bool neverBack, Totals& totals)
{
    if (!checkSound(db, totals))
        return;
    if (crashtest::seatingDisagreements(db) != 0)
        ++totals.inconsistent;
    const qint64 now = crashtest::seatingFingerprint(db);
    if (now == lastFinished(reports))
        return;
    if (!stepUnderWay(reports) ||
        (neverBack && std::find(reports.begin(), reports.end(), now) != reports.end()))
        ++totals.lost;
}

}  // namespace

TEST_F(ProgramCrashTest, SeatingKeepsEveryTablesSeatsWithItsParties)
{
    apptest::execSql(db(),
                     "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4) "
                     "INSERT INTO Tables (tablename, tablenumber, \"max\", assigned) "
                     "SELECT 'Table ' || i, i, 18, 0 FROM n");
    apptest::execSql(db(),
                     "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 24) "
                     "INSERT INTO Guests (FirstName, LastName, guestof, InvReception, Invited) "
                     "SELECT 'Guest', 'Party' || i, CASE i % 2 WHEN 0 THEN 'Bride' ELSE 'Groom' END, 1, "
                     "1 + i % 4 FROM n");
    killRepeatedly("seating", [&](const std::vector<qint64>& reports, Totals& totals) {
        checkSeating(db(), reports, false, totals);
    });
}

TEST_F(ProgramCrashTest, TableEditorKeepsTablesAndTheirPartiesTogether)
{
    apptest::execSql(db(),
                     "INSERT INTO Tables (tablename, tablenumber, \"max\", assigned) "
                     "VALUES ('Start 1', 1, 8, 0), ('Start 2', 2, 8, 0)");
    apptest::execSql(db(),
                     "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 12) "
                     "INSERT INTO Guests (FirstName, LastName, InvReception, Invited) "
                     "SELECT 'Guest', 'Party' || i, 1, 2 FROM n");
    killRepeatedly("tables", [&](const std::vector<qint64>& reports, Totals& totals) {
        checkSeating(db(), reports, true, totals);
    });
}
