// Backups: what a backup holds, restoring one, the retention rule, and the leftovers of
// interrupted maintenance.
#include "StoreFixture.h"

#include "store/Backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <set>

#include <sys/wait.h>
#include <unistd.h>

using namespace store;
using storetest::StoreTest;

namespace {

// The id of a process that has ended.
qint64 deadPid()
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return pid;
}

void touch(const QString& path, const QByteArray& content = "x")
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

}  // namespace

class BackupTest : public StoreTest {
protected:
    void addTasks(int n)
    {
        for (int i = 0; i < n; ++i)
            db().execute("INSERT INTO Checklist (CheckItem, checktime) VALUES (?, 1)",
                         {QStringLiteral("T%1").arg(i)});
    }
    QString count(const QString& path, const char* table)
    {
        return storetest::rawValue(path, QStringLiteral("SELECT count(*) FROM %1").arg(table));
    }
};

TEST_F(BackupTest, BackupHoldsOnlyCommittedRowsAndIsListedWithItsCounts)
{
    addGuest("", "Ann", "Lee");
    addGuest("", "Bob", "Ray");
    addTasks(3);
    ws().beginTrans();
    db().execute("INSERT INTO Guests (LastName) VALUES ('Uncommitted')");
    const QString made = backup::make(path_, backup::Reason::Import);
    ws().rollback();

    EXPECT_EQ(QFileInfo(made).absolutePath(), QDir(dir_.path()).absoluteFilePath("backups"));
    EXPECT_TRUE(QFileInfo(made).fileName().startsWith("wedding-"));
    EXPECT_TRUE(made.endsWith("-import.mdb"));
    EXPECT_EQ(storetest::rawValue(made, "PRAGMA integrity_check"), "ok");
    const auto entries = backup::list(path_);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].path, made);
    EXPECT_EQ(entries[0].guestParties, 2);
    EXPECT_EQ(entries[0].tasks, 3);
    EXPECT_EQ(entries[0].reason, backup::Reason::Import);
    EXPECT_EQ(entries[0].size, QFileInfo(made).size());
    EXPECT_LE(qAbs(entries[0].made.secsTo(QDateTime::currentDateTime())), 5);
    // No half-written copy stays behind.
    EXPECT_EQ(QDir(QFileInfo(made).absolutePath()).entryList(QDir::Files).size(), 1);

    // Two backups in the same second get different names, newest listed first.
    const QString second = backup::make(path_, backup::Reason::Manual);
    EXPECT_NE(second, made);
    ASSERT_EQ(backup::list(path_, false).size(), 2u);
    EXPECT_EQ(backup::list(path_, false).front().path.toStdString(), second.toStdString());

    // A daily backup is made once a day.
    EXPECT_FALSE(backup::makeDailyIfDue(path_).isEmpty());
    EXPECT_TRUE(backup::makeDailyIfDue(path_).isEmpty());
    EXPECT_FALSE(backup::makeDailyIfDue(path_, QDateTime::currentDateTime().addDays(1)).isEmpty());

    EXPECT_STORE_ERROR(backup::make(dir_.filePath("missing.mdb"), backup::Reason::Manual), err::FileNotFound);
}

TEST_F(BackupTest, RestoreReplacesTheFileAndKeepsTheReplacedOne)
{
    addGuest("", "Ann", "Lee");
    const QString before = backup::make(path_, backup::Reason::Manual);
    addGuest("", "Cy", "Day");
    addGuest("", "Di", "Eve");

    EXPECT_STORE_ERROR(backup::restore(path_, before), err::InvalidOperation);
    ws().close();
    // A journal left beside the current file must not touch the restored one.
    touch(path_ + "-journal", QByteArray(512, '\0'));
    const QString kept = backup::restore(path_, before);
    EXPECT_FALSE(QFile::exists(path_ + "-journal"));
    EXPECT_EQ(count(path_, "Guests"), "1");
    EXPECT_EQ(count(kept, "Guests"), "3");
    EXPECT_TRUE(kept.endsWith("-restore.mdb"));
    EXPECT_EQ(storetest::rawValue(path_, "PRAGMA integrity_check"), "ok");

    // A damaged backup is refused and nothing changes.
    const QString broken = QFileInfo(before).absolutePath() + "/wedding-20200101-120000-manual.mdb";
    QFile::copy(kept, broken);
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(4096);
        f.write(QByteArray(4096, char(0xA5)));
    }
    const int files = int(backup::list(path_, false).size());
    EXPECT_STORE_ERROR(backup::restore(path_, broken), err::Damaged);
    EXPECT_EQ(count(path_, "Guests"), "1");
    EXPECT_EQ(int(backup::list(path_, false).size()), files);
    EXPECT_STORE_ERROR(backup::restore(path_, dir_.filePath("none.mdb")), err::FileNotFound);
    db_ = &ws().openDatabase(path_);
}

TEST_F(BackupTest, AFileThatIsNotADatabaseIsKeptByteForByte)
{
    ws().close();
    QByteArray garbage(9000, char(0x5A));
    garbage.replace(0, 16, "SQLite format 3\0");
    touch(path_, garbage);
    const QString kept = backup::make(path_, backup::Reason::Repair);
    QFile f(kept);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), garbage);
    EXPECT_EQ(backup::list(path_).front().guestParties, -1);
    storetest::createDatabase(path_, storetest::kSchema);
    db_ = &ws().openDatabase(path_);
}

TEST_F(BackupTest, ALinkedWeddingFileIsBackedUpBesideTheFileItLeadsTo)
{
    ws().close();
    QDir(dir_.path()).mkdir("real");
    const QString real = dir_.filePath("real/wedding.mdb");
    ASSERT_TRUE(QFile::rename(path_, real));
    ASSERT_TRUE(QFile::link(real, path_));
    // The store opens the file the link leads to, and its journal lies beside that file.
    db_ = &ws().openDatabase(path_);
    addGuest("", "Ann", "Lee");
    EXPECT_EQ(count(real, "Guests"), "1");
    const QString made = backup::make(path_, backup::Reason::Manual);
    EXPECT_EQ(QFileInfo(made).absolutePath(), dir_.filePath("real/backups"));
    EXPECT_EQ(count(made, "Guests"), "1");
    addGuest("", "Bo", "Lee");
    ws().close();
    backup::restore(path_, made);
    EXPECT_TRUE(QFileInfo(path_).isSymLink());
    EXPECT_EQ(count(real, "Guests"), "1");
    db_ = &ws().openDatabase(path_);
}

TEST(BackupRetention, KeepsTheNewestTenAndOnePerWeekForTwoMonths)
{
    const QDateTime now(QDate(2026, 12, 8), QTime(9, 0));
    // One backup a day for 120 days, plus several on the last day.
    std::vector<QDateTime> times;
    for (int i = 0; i < 5; ++i)
        times.push_back(now.addSecs(-60 * i));
    for (int day = 1; day <= 120; ++day)
        times.push_back(now.addDays(-day));
    const std::vector<int> kept = backup::keptByRule(times, now);
    EXPECT_LE(int(kept.size()), backup::MaxKept);
    for (int i = 0; i < backup::KeepNewest; ++i)
        EXPECT_EQ(kept[size_t(i)], i);
    // Every calendar week of the last two months still has a backup.
    std::set<std::pair<int, int>> weeks;
    for (int i : kept) {
        int year = 0;
        const int week = times[size_t(i)].date().weekNumber(&year);
        weeks.insert({year, week});
        EXPECT_GE(times[size_t(i)], now.addDays(-backup::KeepWeeksDays));
    }
    for (int day = 0; day <= backup::KeepWeeksDays - 7; day += 7) {
        int year = 0;
        const int week = now.addDays(-day).date().weekNumber(&year);
        EXPECT_TRUE(weeks.count({year, week})) << "no backup in the week " << day << " days back";
    }
    // Few backups: all are kept, however old.
    EXPECT_EQ(backup::keptByRule({now.addDays(-400), now.addDays(-500)}, now).size(), 2u);
}

TEST_F(BackupTest, PruneAndLeftoversRemoveOnlyWhatTheyOwn)
{
    const QString folder = backup::folderFor(path_);
    QDir().mkpath(folder);
    const QDateTime now = QDateTime::currentDateTime();
    for (int day = 1; day <= 40; ++day)
        touch(folder + "/wedding-" + now.addDays(-day).toString("yyyyMMdd-HHmmss") + "-daily.mdb");
    touch(folder + "/notes.txt");
    touch(folder + "/other-20200101-120000-daily.mdb");
    const QString deadPart = folder + QStringLiteral("/x.mdb.part-%1").arg(deadPid());
    touch(deadPart);
    const QString livePart = folder + QStringLiteral("/y.mdb.part-%1").arg(::getpid());
    touch(livePart);
    backup::prune(path_);
    const auto left = backup::list(path_, false);
    EXPECT_GE(int(left.size()), backup::KeepNewest);
    EXPECT_LE(int(left.size()), backup::MaxKept);
    EXPECT_TRUE(QFile::exists(folder + "/notes.txt"));
    EXPECT_TRUE(QFile::exists(folder + "/other-20200101-120000-daily.mdb"));
    EXPECT_FALSE(QFile::exists(deadPart));
    EXPECT_TRUE(QFile::exists(livePart));

    const qint64 gone = deadPid();
    const QStringList leftovers{QStringLiteral("tempovdb.mdb.compact-%1").arg(gone),
                                QStringLiteral("wedding.mdb.repair-%1").arg(gone),
                                QStringLiteral("wedding.mdb.restore-%1-journal").arg(gone)};
    for (const QString& name : leftovers)
        touch(dir_.filePath(name));
    const QString ours = dir_.filePath(QStringLiteral("wedding.mdb.repair-%1").arg(::getpid()));
    touch(ours);
    touch(dir_.filePath("tempovdb.mdb.compact-notanumber"));
    EXPECT_EQ(backup::removeLeftovers(path_), 3);
    for (const QString& name : leftovers)
        EXPECT_FALSE(QFile::exists(dir_.filePath(name))) << name.toStdString();
    EXPECT_TRUE(QFile::exists(ours));
    EXPECT_TRUE(QFile::exists(dir_.filePath("tempovdb.mdb.compact-notanumber")));
    EXPECT_TRUE(QFile::exists(path_));
}
