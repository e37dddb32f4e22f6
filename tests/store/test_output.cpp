// Output files that can never hurt the wedding, and backups that can never push the sound
// copies out: outputs aimed at the wedding file, its journal or its backups (also through
// links), interrupted writes, restores of files that are not weddings, and the rotation.
#include "StoreFixture.h"

#include "store/Backup.h"
#include "store/LayoutSteps.h"
#include "store/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

using namespace store;
using storetest::StoreTest;

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

// Damages a database file in place, past its first page.
void damage(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_GT(f.size(), 8192);
    f.seek(4096);
    f.write(QByteArray(4096, char(0xA5)));
}

}  // namespace

class OutputTest : public StoreTest {
protected:
    QString wedding() const { return path_; }
};

TEST_F(OutputTest, OutputsThatLeadToTheWeddingItsJournalOrItsBackupsAreRefused)
{
    const QString made = backup::make(wedding(), backup::Reason::Manual);
    const QString link = dir_.filePath("calendar.ics");
    ASSERT_TRUE(QFile::link(wedding(), link));
    const QString linkToBackup = dir_.filePath("list.csv");
    ASSERT_TRUE(QFile::link(made, linkToBackup));
    ::link(QFile::encodeName(wedding()).constData(),
           QFile::encodeName(dir_.filePath("hard.csv")).constData());
    QDir(dir_.path()).mkdir("sub");

    const struct {
        QString path;
        const char* words;
    } refused[] = {
        {wedding(), "is the wedding file itself"},
        {dir_.filePath("sub/../") + QFileInfo(wedding()).fileName(), "is the wedding file itself"},
        {link, "(through a link) is the wedding file itself"},
        {dir_.filePath("hard.csv"), "is the wedding file itself"},
        {wedding() + "-journal", "its journal"},
        {wedding() + ".compact-123", "its journal or a file of its upkeep"},
        {made, "backups folder"},
        {linkToBackup, "backups folder"},
        {backup::folderFor(wedding()) + "/new.csv", "backups folder"},
        {dir_.path(), "is a folder"},
        {QStringLiteral("/dev/null"), "not a regular file"},
        {QString(), "No file was named"},
    };
    const QByteArray before = bytesOf(wedding());
    for (const auto& r : refused) {
        const QString why = output::refusal(r.path, wedding());
        EXPECT_TRUE(why.contains(QLatin1String(r.words)))
            << r.path.toStdString() << ": " << why.toStdString();
        EXPECT_STORE_ERROR(output::writeFile(r.path, "BEGIN:VCALENDAR\r\n", wedding()), err::IoError);
    }
    // Without a wedding path given, the database open in the workspace is the one protected.
    EXPECT_FALSE(output::refusal(link).isEmpty());
    EXPECT_EQ(bytesOf(wedding()), before);
    EXPECT_EQ(bytesOf(made).left(16), QByteArray("SQLite format 3\0", 16));
    EXPECT_TRUE(QFileInfo(link).isSymLink());

    // Names that only look alike are fine.
    for (const QString& fine :
         {wedding() + ".csv", dir_.filePath("wedding-journal.csv"), dir_.filePath("out.ics")})
        EXPECT_EQ(output::refusal(fine, wedding()), QString()) << fine.toStdString();
}

TEST_F(OutputTest, APipeIsRefusedAndAFailedWriteLeavesThePreviousFileWhole)
{
    const QString fifo = dir_.filePath("pipe.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_TRUE(output::refusal(fifo, wedding()).contains("not a regular file"));

    const QString target = dir_.filePath("list.csv");
    write(target, "the list as it was\n");
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    try {
        output::PendingFile pending(target, wedding());
        write(pending.temporaryPath(), "half of a new li");
        throw std::runtime_error("the writer failed halfway");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(bytesOf(target), "the list as it was\n");
    EXPECT_EQ(QDir(dir_.path()).entryList({"*.part-*"}, QDir::Files | QDir::Hidden), QStringList());

    output::writeFile(target, "a new list\n", wedding());
    EXPECT_EQ(bytesOf(target), "a new list\n");
    const auto userBits = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
    EXPECT_EQ(QFile::permissions(target) & ~userBits, QFile::ReadOwner | QFile::WriteOwner)
        << "kept its permissions";
    EXPECT_STORE_ERROR(output::writeFile(dir_.filePath("no/such/folder/x.csv"), "x", wedding()),
                       err::IoError);

    // A link to a file elsewhere is written through: the link stays, the file it leads to changes.
    const QString elsewhere = dir_.filePath("sub-real.csv");
    write(elsewhere, "old");
    const QString link = dir_.filePath("link.csv");
    ASSERT_TRUE(QFile::link(elsewhere, link));
    output::writeFile(link, "new", wedding());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(bytesOf(elsewhere), "new");
}

TEST_F(OutputTest, RestoreRefusesForeignDamagedAndNewerFilesAndChangesNothing)
{
    addGuest("", "Ann", "Lee");
    const QString good = backup::make(wedding(), backup::Reason::Manual);
    addGuest("", "Bo", "Ray");
    ws().close();
    const QString folder = backup::folderFor(wedding());

    const QString foreign = folder + "/wedding-20250101-100000-manual.mdb";
    storetest::createDatabase(foreign,
                              "CREATE TABLE Songs (Title TEXT, Artist TEXT);"
                              "INSERT INTO Songs VALUES ('First Dance', 'A Band');");
    const QString newer = folder + "/wedding-20250102-100000-manual.mdb";
    ASSERT_TRUE(QFile::copy(good, newer));
    storetest::rawExec(newer, QStringLiteral("PRAGMA user_version = %1").arg(layout::latestVersion() + 1));
    const QString damaged = folder + "/wedding-20250103-100000-manual.mdb";
    ASSERT_TRUE(QFile::copy(good, damaged));
    storetest::rawExec(damaged,
                       "CREATE TABLE Filler (x); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                       "FROM n WHERE i < 2000) INSERT INTO Filler SELECT randomblob(200) FROM n;");
    damage(damaged);
    const QString text = folder + "/wedding-20250104-100000-manual.mdb";
    write(text, "Guest,Side\nAnn Lee,Bride\n");

    const QByteArray before = bytesOf(wedding());
    const int files = int(QDir(folder).entryList(QDir::Files).size());
    const struct {
        QString path;
        int number;
        const char* words;
    } refused[] = {
        {foreign, err::NotADatabase, "not a wedding file of this program (it has no table BudgetPlan)"},
        {newer, err::NotADatabase, "made by a newer version"},
        {damaged, err::Damaged, "it is damaged"},
        {text, err::NotADatabase, "not a database"},
        {wedding(), err::InvalidOperation, "is the wedding file itself"},
        {folder, err::NotADatabase, "is a folder"},
    };
    for (const auto& r : refused) {
        try {
            backup::restore(wedding(), r.path);
            ADD_FAILURE() << "restored " << r.path.toStdString();
        } catch (const StoreError& e) {
            EXPECT_EQ(e.number(), r.number) << e.description().toStdString();
            EXPECT_TRUE(e.description().contains(QLatin1String(r.words))) << e.description().toStdString();
        }
        EXPECT_EQ(bytesOf(wedding()), before) << r.path.toStdString();
        EXPECT_EQ(int(QDir(folder).entryList(QDir::Files).size()), files) << "no backup was made for nothing";
    }
    backup::restore(wedding(), good);
    EXPECT_EQ(storetest::rawValue(wedding(), "SELECT count(*) FROM Guests"), "1");
    db_ = &ws().openDatabase(wedding());
}

TEST_F(OutputTest, NoRoutineBackupOfABadFileAndTheRotationKeepsThreeSoundOnes)
{
    const QString folder = backup::folderFor(wedding());
    // Three sound backups, long ago.
    QDir().mkpath(folder);
    const QString sound = backup::make(wedding(), backup::Reason::Manual);
    QStringList soundOnes;
    for (int i = 0; i < backup::KeepSound; ++i) {
        soundOnes << folder + QStringLiteral("/wedding-2025010%1-100000-manual.mdb").arg(i + 1);
        ASSERT_TRUE(QFile::copy(sound, soundOnes.back()));
    }
    QFile::remove(sound);

    // The wedding file is replaced by a foreign database: the start of each day and the
    // layout upgrade must not copy it.
    ws().close();
    storetest::createDatabase(wedding(), "CREATE TABLE Songs (Title TEXT);");
    EXPECT_STORE_ERROR(backup::makeDailyIfDue(wedding()), err::NotADatabase);
    EXPECT_STORE_ERROR(backup::make(wedding(), backup::Reason::Upgrade), err::NotADatabase);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), qsizetype(backup::KeepSound));

    // A damaged wedding file is not copied either.
    storetest::createDatabase(wedding(), storetest::kSchema);
    storetest::rawExec(wedding(),
                       "CREATE TABLE Filler (x); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                       "FROM n WHERE i < 2000) INSERT INTO Filler SELECT randomblob(200) FROM n;");
    damage(wedding());
    EXPECT_STORE_ERROR(backup::makeDailyIfDue(wedding()), err::Damaged);

    // Copies made on purpose (before a repair, before a restore) are kept byte for byte, and
    // however many of them push the rule's count, the three sound backups stay.
    for (int i = 0; i < backup::MaxKept + 5; ++i)
        backup::make(wedding(), backup::Reason::Repair);
    const QStringList left = QDir(folder).entryList(QDir::Files);
    for (const QString& s : soundOnes)
        EXPECT_TRUE(left.contains(QFileInfo(s).fileName())) << s.toStdString() << " was pruned";
    EXPECT_LE(left.size(), qsizetype(backup::MaxKept + backup::KeepSound));

    storetest::createDatabase(wedding(), storetest::kSchema);
    db_ = &ws().openDatabase(wedding());
}

TEST_F(OutputTest, AReadOnlyOpenWorksOnAFileNobodyMayWriteAndChangesNothing)
{
    addGuest("", "Ann", "Lee");
    ws().close();
    QFile::setPermissions(wedding(), QFile::ReadOwner | QFile::ReadGroup);
    const QByteArray before = bytesOf(wedding());
    EXPECT_STORE_ERROR(ws().openDatabase(wedding()), err::FileReadOnly);
    Database& db = ws().openDatabase(wedding(), OpenMode::ReadOnly);
    EXPECT_EQ(db.openRecordset("Guests", RecordsetType::Snapshot)->recordCount(), 1);
    EXPECT_ANY_THROW(db.execute("DELETE FROM Guests"));
    ws().close();
    EXPECT_EQ(bytesOf(wedding()), before);
    QFile::setPermissions(wedding(), QFile::ReadOwner | QFile::WriteOwner);
    db_ = &ws().openDatabase(wedding());
}
