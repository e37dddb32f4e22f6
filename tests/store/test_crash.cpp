// Crash safety: a child process commits numbered changes through the store and is killed
// with SIGKILL at random moments; after every kill the file must pass the integrity check
// and hold every change whose commit had returned, and no part of any other.
// The kill is timed by the writer's progress, never by the clock alone, so that a slow build
// (a sanitizer) still kills during commits. ORVANE_CRASH_ROUNDS sets the number of kills
// (default 100) for a longer run.
#include "StoreFixture.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <thread>

using namespace store;

namespace {

struct Child {
    pid_t pid = -1;
    int out = -1;
};

Child startWriter(const QString& path)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    const QByteArray program = ORVANE_CRASH_WRITER;
    const QByteArray file = QFile::encodeName(path);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], 1);
        ::close(fds[0]);
        ::close(fds[1]);
        ::execl(program.constData(), program.constData(), file.constData(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
    return {pid, fds[0]};
}

// Reads what the child reported; returns the highest committed number in it.
qint64 drain(int fd, QByteArray& pending, qint64 highest)
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        pending.append(buffer, int(n));
    }
    int end;
    while ((end = int(pending.indexOf('\n'))) >= 0) {
        highest = std::max(highest, pending.left(end).toLongLong());
        pending.remove(0, end + 1);
    }
    return highest;
}

}  // namespace

// Waits until the child has reported `count` more commits than `committed` (or the time is up).
qint64 waitForCommits(Child& child, QByteArray& pending, qint64 committed, qint64 count,
                      std::chrono::milliseconds limit)
{
    const qint64 goal = committed + count;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (committed < goal && std::chrono::steady_clock::now() < deadline) {
        committed = drain(child.out, pending, committed);
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return committed;
}

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
        Child child = startWriter(path);
        ASSERT_GT(child.pid, 0);
        QByteArray pending;
        // The kill falls relative to the writer's progress: after its first commit, then a
        // random number of further commits and a random part of one more.
        const qint64 before = committed;
        const auto started = std::chrono::steady_clock::now();
        committed = waitForCommits(child, pending, committed, 1, std::chrono::seconds(30));
        ASSERT_GT(committed, before) << "the writer made no commit within 30 s in round " << round;
        const auto perCommit = std::chrono::steady_clock::now() - started;
        committed = waitForCommits(child, pending, committed, random->bounded(0, 4), std::chrono::seconds(5));
        const auto partOfOne =
            std::chrono::duration_cast<std::chrono::microseconds>(perCommit) / 50 * random->bounded(0, 100);
        std::this_thread::sleep_for(std::min(partOfOne, std::chrono::microseconds(50000)));
        ::kill(child.pid, SIGKILL);
        int status = 0;
        ::waitpid(child.pid, &status, 0);
        committed = drain(child.out, pending, committed);
        ::close(child.out);
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
