// Bringing an older wedding file up to date: every step once, in one transaction, after a
// backup, keeping every row; a failed step leaves the file as it was. And the party key
// that seating rules and pins use survives compaction and repair.
#include "StoreFixture.h"

#include "store/Layout.h"
#include "store/LayoutSteps.h"
#include "tests/support/TestSupport.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace store;
using storetest::rawExec;
using storetest::rawValue;

namespace {

QString readText(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

// Every row of every table and the definition of every object, as one text.
QString dumpOf(const QString& path, const QString& objectFilter = QStringLiteral("1"))
{
    QString text;
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    const QString list = "SELECT type, name, sql FROM sqlite_master WHERE " + objectFilter + " ORDER BY name";
    sqlite3_prepare_v2(db, list.toUtf8().constData(), -1, &st, nullptr);
    QStringList tables;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const QString type = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        text += type + ' ' + name + ": " +
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 2))) + '\n';
        if (type == "table")
            tables << name;
    }
    sqlite3_finalize(st);
    for (const QString& table : tables) {
        const QString rows = "SELECT rowid, * FROM \"" + table + "\" ORDER BY rowid";
        sqlite3_prepare_v2(db, rows.toUtf8().constData(), -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            text += table + ':';
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                text += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c))) + '|';
            text += '\n';
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return text;
}

// A wedding file as the program wrote it before the layout had any later step: the
// original tables and delivered content, with a wedding in it.
void makeOlderFile(const QString& path)
{
    const QString schema = testsupport::sourceDir() + "/store/schema/";
    storetest::createDatabase(path, readText(schema + "schema.sql") + readText(schema + "content.sql"));
    rawExec(path,
            "INSERT INTO Tables (tablename, tablenumber, max, assigned) VALUES ('Head', 1, 8, 2), ('Oak', 2, "
            "10, 0);"
            "INSERT INTO Guests (Prefix, FirstName, LastName, guestof, Invited, tableid, tabletot) VALUES "
            "('Mr.', 'Al', 'Abbot', 'Bride', 2, 1, 2), ('Ms.', 'Bea', 'Baker', 'Groom', 1, 0, 0);"
            "INSERT INTO Expenses (Description, Amount, Quantity) VALUES ('Cake', 3500000, 1);");
}

}  // namespace

class LayoutTest : public ::testing::Test {
protected:
    void TearDown() override { Workspace::defaultWorkspace().close(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }
    QStringList backups() const { return QDir(dir_.filePath("backups")).entryList(QDir::Files); }
    QTemporaryDir dir_;
};

TEST_F(LayoutTest, AnOlderFileIsUpgradedOnceAfterABackupAndKeepsEveryRow)
{
    const QString path = filePath("wedding.mdb");
    makeOlderFile(path);
    const QString before = dumpOf(path);
    ASSERT_EQ(rawValue(path, "PRAGMA user_version"), "0");

    Database& db = Workspace::defaultWorkspace().openDatabase(path);
    const LayoutUpgrade upgrade = upgradeLayout(db);
    EXPECT_TRUE(upgrade.upgraded());
    EXPECT_EQ(upgrade.fromVersion, 0);
    EXPECT_EQ(upgrade.toVersion, layout::latestVersion());
    EXPECT_EQ(layoutVersion(db), layout::latestVersion());
    // The backup holds the file as it was.
    ASSERT_EQ(backups().size(), 1);
    EXPECT_EQ(dumpOf(upgrade.backupPath), before);

    // Every original object and row is still there, unchanged; the new tables follow Guests.
    const QString after = dumpOf(path);
    for (const QString& line : before.split('\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(after.contains(line + '\n')) << line.toStdString();
    const QStringList tables = db.tableNames();
    EXPECT_EQ(tables.indexOf("Guests"), 5);
    EXPECT_TRUE(tables.contains("SeatingRules") && tables.contains("TablePlaces"));
    EXPECT_EQ(db.openRecordset("SELECT * FROM Guests")->recordCount(), 2);

    // The same objects as a newly delivered file.
    const QString onlyLayout = "name NOT LIKE 'sqlite_%'";
    EXPECT_EQ(dumpOf(path, onlyLayout + " AND type <> 'table' OR sql LIKE 'CREATE TABLE%'")
                  .section("\nBudgetPlan:", 0, 0),
              dumpOf(testsupport::deliveredDatabase(),
                     onlyLayout + " AND type <> 'table' OR sql LIKE 'CREATE TABLE%'")
                  .section("\nBudgetPlan:", 0, 0));

    // Opening it again changes nothing and makes no second backup.
    Workspace::defaultWorkspace().close();
    Database& again = Workspace::defaultWorkspace().openDatabase(path);
    EXPECT_FALSE(upgradeLayout(again).upgraded());
    EXPECT_EQ(backups().size(), 1);
}

TEST_F(LayoutTest, AFailedStepLeavesTheFileAsItWasAndSaysSo)
{
    const QString path = filePath("wedding.mdb");
    makeOlderFile(path);
    // A table of that name already there makes the first step fail half-way through.
    rawExec(path, "CREATE TABLE TablePlaces (Anything TEXT)");
    const QString before = dumpOf(path);
    Database& db = Workspace::defaultWorkspace().openDatabase(path);
    try {
        upgradeLayout(db);
        ADD_FAILURE() << "the upgrade should have failed";
    } catch (const StoreError& e) {
        EXPECT_TRUE(e.description().contains("could not be brought up to date"))
            << e.description().toStdString();
        EXPECT_TRUE(e.description().contains("unchanged"));
    }
    EXPECT_EQ(dumpOf(path), before);
    EXPECT_EQ(layoutVersion(db), 0);
    // The connection is usable and not left inside a transaction.
    EXPECT_EQ(db.openRecordset("SELECT * FROM Guests")->recordCount(), 2);
    db.execute("UPDATE Guests SET Invited = 3 WHERE LastName = 'Baker'");
    EXPECT_EQ(rawValue(path, "SELECT Invited FROM Guests WHERE LastName = 'Baker'"), "3");
}

// A file with members but no kept seats yet (layout 4) gains them; its members stay, and the
// seats then follow their members, parties and tables.
TEST_F(LayoutTest, AFileWithMembersGainsTheirSeatsOnceAndKeepsItsMembers)
{
    const QString path = filePath("wedding.mdb");
    QFile::copy(testsupport::deliveredDatabase(), path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    rawExec(path,
            "DROP TRIGGER GuestsSeatsMemberRemoved; DROP TRIGGER GuestsSeatsPartyMoved; "
            "DROP TRIGGER GuestsSeatsTableRemoved; DROP TABLE GuestsSeats; PRAGMA user_version = 4;"
            "INSERT INTO Tables (tablename, tablenumber, max, assigned) VALUES ('Oak', 1, 8, 2);"
            "INSERT INTO Guests (LastName, Invited, tableid, tabletot) VALUES ('Abbot', 2, 1, 2);"
            "INSERT INTO GuestsMembers (PartyKey, SortOrder, FirstName) VALUES (1, 1, 'Al'), (1, 2, 'Ada');");
    const QString before = dumpOf(path);
    Database& db = Workspace::defaultWorkspace().openDatabase(path);
    const LayoutUpgrade upgrade = upgradeLayout(db);
    EXPECT_EQ(upgrade.fromVersion, 4);
    EXPECT_EQ(upgrade.toVersion, 5);
    ASSERT_EQ(backups().size(), 1);
    const QString after = dumpOf(path);
    for (const QString& line : before.split('\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(after.contains(line + '\n')) << line.toStdString();
    EXPECT_EQ(db.tableNames().indexOf("GuestsSeats"), db.tableNames().indexOf("GuestsMembers") + 1);

    db.execute("INSERT INTO GuestsSeats (MemberId, TableId, Seat) VALUES (1, 1, 0), (2, 1, 1)");
    db.execute("DELETE FROM GuestsMembers WHERE MemberId = 2");
    EXPECT_EQ(rawValue(path, "SELECT group_concat(MemberId) FROM GuestsSeats"), "1");
    db.execute("UPDATE Guests SET tableid = 0");
    EXPECT_EQ(rawValue(path, "SELECT count(*) FROM GuestsSeats"), "0");
    Workspace::defaultWorkspace().close();
    Database& again = Workspace::defaultWorkspace().openDatabase(path);
    EXPECT_FALSE(upgradeLayout(again).upgraded());
}

TEST_F(LayoutTest, CurrentAndNewerFilesAreLeftAlone)
{
    testsupport::ProgramDir program;
    EXPECT_EQ(rawValue(program.databasePath(), "PRAGMA user_version"),
              QString::number(layout::latestVersion()));
    const QString newer = filePath("newer.mdb");
    makeOlderFile(newer);
    rawExec(newer, QStringLiteral("PRAGMA user_version = %1").arg(layout::latestVersion() + 5));
    const QString before = dumpOf(newer);
    for (const QString& path : {program.databasePath(), newer}) {
        Database& db = Workspace::defaultWorkspace().openDatabase(path);
        EXPECT_FALSE(upgradeLayout(db).upgraded());
    }
    EXPECT_EQ(dumpOf(newer), before);
    EXPECT_TRUE(backups().isEmpty());
}

// Rules and pins name a party by its Guests rowid. Gaps from removed parties are what a
// renumbering would close, so the file has them, and the keys must still name the same
// parties after compaction and after a repair that salvages the file.
TEST_F(LayoutTest, PartyKeysSurviveCompactionAndRepair)
{
    testsupport::ProgramDir program;
    const QString path = program.databasePath();
    QString guests;
    for (int i = 0; i < 2000; ++i)
        guests += QStringLiteral("%1('Mr.', 'F%2', 'Party%2', '%3')")
                      .arg(i ? "," : "")
                      .arg(i)
                      .arg(QString(300, 'x'));
    rawExec(path, "INSERT INTO Guests (Prefix, FirstName, LastName, Address) VALUES " + guests);
    rawExec(path, "DELETE FROM Guests WHERE rowid % 3 = 0");
    rawExec(path,
            "INSERT INTO SeatingPins (PartyKey) SELECT rowid FROM Guests WHERE LastName IN ('Party1000', "
            "'Party1998');"
            "INSERT INTO SeatingRules (Kind) VALUES ('Apart');"
            "INSERT INTO SeatingRuleParties (RuleId, PartyKey) SELECT 1, rowid FROM Guests "
            "WHERE LastName IN ('Party4', 'Party1999')");
    const QString pinned =
        "SELECT group_concat(LastName) FROM (SELECT g.LastName FROM SeatingPins p JOIN Guests g ON g.rowid = "
        "p.PartyKey "
        "ORDER BY g.LastName)";
    const QString ruled =
        "SELECT group_concat(LastName) FROM (SELECT g.LastName FROM SeatingRuleParties r JOIN Guests g "
        "ON g.rowid = r.PartyKey ORDER BY g.LastName)";
    ASSERT_EQ(rawValue(path, pinned), "Party1000,Party1998");
    ASSERT_EQ(rawValue(path, ruled), "Party1999,Party4");

    const QString compacted = program.file("compacted.mdb");
    Workspace::compactDatabase(path, compacted);
    EXPECT_EQ(rawValue(compacted, pinned), "Party1000,Party1998");
    EXPECT_EQ(rawValue(compacted, ruled), "Party1999,Party4");

    // Damage pages away from the start of the file, where the seating tables live, and
    // salvage it.
    const int pages = int(QFile(compacted).size() / 4096);
    {
        QFile f(compacted);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(qint64(pages / 2) * 4096);
        f.write(QByteArray(4096, char(0xA5)));
    }
    const QString keysBefore =
        rawValue(compacted, "SELECT group_concat(rowid || '=' || LastName) FROM Guests");
    const Workspace::RepairReport report = Workspace::repairDatabase(compacted);
    ASSERT_TRUE(report.wasDamaged);
    // Rows on the damaged page are lost; every row that came back has its old key.
    const QStringList keysAfter =
        rawValue(compacted, "SELECT group_concat(rowid || '=' || LastName) FROM Guests").split(',');
    EXPECT_GT(keysAfter.size(), 1000);
    const QStringList before = keysBefore.split(',');
    for (const QString& key : keysAfter)
        EXPECT_TRUE(before.contains(key)) << key.toStdString();
    const QString ruledAfter = rawValue(compacted, ruled);
    EXPECT_TRUE(ruledAfter == "Party1999,Party4" || ruledAfter == "Party4" || ruledAfter == "Party1999");
    // The triggers came back too: removing a party still removes its pin.
    rawExec(compacted, "DELETE FROM SeatingPins; INSERT INTO SeatingPins SELECT rowid FROM Guests LIMIT 2");
    rawExec(compacted, "DELETE FROM Guests WHERE rowid = (SELECT min(PartyKey) FROM SeatingPins)");
    EXPECT_EQ(rawValue(compacted, "SELECT count(*) FROM SeatingPins"), "1");
}

TEST_F(LayoutTest, RemovingAPartyOrATableRemovesWhatReferredToIt)
{
    testsupport::ProgramDir program;
    const QString path = program.databasePath();
    rawExec(path,
            "INSERT INTO Guests (LastName) VALUES ('A'), ('B'), ('C');"
            "INSERT INTO Tables (tablename) VALUES ('T1'), ('T2');"
            "INSERT INTO TablePlaces (TableId, X, Y) VALUES (1, 10, 10), (2, 20, 20);"
            "INSERT INTO SeatingPins VALUES (1), (2);"
            "INSERT INTO SeatingRules (Kind) VALUES ('Apart'), ('Together');"
            "INSERT INTO SeatingRules (Kind, TableId) VALUES ('Reserved', 2);"
            "INSERT INTO SeatingRuleParties VALUES (1, 1), (1, 2), (2, 1), (2, 2), (2, 3), (3, 1);");
    rawExec(path, "DELETE FROM Guests WHERE LastName = 'A'");
    EXPECT_EQ(rawValue(path, "SELECT group_concat(PartyKey) FROM SeatingPins"), "2");
    // The pair rule lost a party and goes; the three-party rule keeps two; the reserved
    // table of that party alone goes too.
    EXPECT_EQ(rawValue(path, "SELECT group_concat(RuleId) FROM SeatingRules"), "2");
    EXPECT_EQ(rawValue(path, "SELECT group_concat(RuleId || ':' || PartyKey) FROM SeatingRuleParties"),
              "2:2,2:3");
    rawExec(path,
            "INSERT INTO SeatingRules (Kind, TableId, Side) VALUES ('Reserved', 2, 'Bride');"
            "DELETE FROM Tables WHERE TableId = 2");
    EXPECT_EQ(rawValue(path, "SELECT group_concat(TableId) FROM TablePlaces"), "1");
    EXPECT_EQ(rawValue(path, "SELECT count(*) FROM SeatingRules WHERE Kind = 'Reserved'"), "0");
}
