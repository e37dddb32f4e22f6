// orvane-cli on a wedding file: each command's work, its review text, and clear errors
// with a non-zero status on bad input.
#include "cli/Commands.h"

#include "store/Backup.h"
#include "tests/exchange/ExchangeFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <sqlite3.h>

#include <signal.h>

using exchangetest::fileBytes;

namespace {

class Cli : public exchangetest::WeddingTest {
protected:
    void SetUp() override
    {
        WeddingTest::SetUp();
        store::Workspace::defaultWorkspace().close();  // the commands open the file themselves
    }
    int run(const QStringList& args)
    {
        out_.clear();
        err_.clear();
        QTextStream out(&out_), err(&err_);
        return cli::run(args, out, err);
    }
    int guests()
    {
        auto& database = store::Workspace::defaultWorkspace().openDatabase(path());
        const int n = database.openRecordset("Guests", store::RecordsetType::Snapshot)->recordCount();
        store::Workspace::defaultWorkspace().close();
        return n;
    }
    QString out_, err_;
};

}  // namespace

TEST_F(Cli, ImportPrintsTheReviewAndADryRunChangesNothing)
{
    const exchangetest::TempFile csv("list.csv",
                                     "Guest,Side,Email\nMr. and Mrs. Liam Okafor,groom,l@x\n"
                                     "Dr. Grace Moreau,,g@x\nThe Okafor Family,,\n,Bride,\n");
    const QByteArray before = fileBytes(path());
    EXPECT_EQ(run({"import-guests", path(), csv.path(), "--dry-run"}), 0) << err_.toStdString();
    EXPECT_EQ(fileBytes(path()), before);
    EXPECT_TRUE(out_.contains("Guest -> Whole name")) << out_.toStdString();
    EXPECT_TRUE(out_.contains("Email -> not imported"));
    EXPECT_TRUE(out_.contains("New parties (3):"));
    EXPECT_TRUE(out_.contains("row 2  Mr. and Mrs. Liam Okafor"));
    EXPECT_TRUE(out_.contains("Problems (1):"));
    EXPECT_TRUE(out_.contains("row 5") && out_.contains("No last name -> skip"));

    EXPECT_EQ(run({"import-guests", path(), csv.path()}), 0) << err_.toStdString();
    EXPECT_TRUE(out_.contains("3 parties added, 0 updated, 1 skipped.")) << out_.toStdString();
    EXPECT_EQ(guests(), 3);
    // Again: every row is now a duplicate; fill finds nothing empty to fill.
    EXPECT_EQ(run({"import-guests", path(), csv.path(), "--on-duplicate", "fill"}), 0);
    EXPECT_TRUE(out_.contains("0 parties added")) << out_.toStdString();
    EXPECT_EQ(guests(), 3);
    // Both imports that had parties to add or fill kept a backup first.
    int imports = 0;
    for (const store::backup::Entry& e : store::backup::list(path(), false))
        imports += e.reason == store::backup::Reason::Import;
    EXPECT_EQ(imports, 2);
}

TEST_F(Cli, MappingsOverrideTheGuesses)
{
    const exchangetest::TempFile csv("list.csv", "A;B;C\nLiam;Okafor;x\nGrace;Moreau;\n");
    EXPECT_EQ(run({"import-guests", path(), csv.path(), "--map", "FirstName=A", "--map", "LastName=2",
                   "--map", "InvCeremony=c", "--separator", "semicolon", "--header", "yes"}),
              0)
        << err_.toStdString();
    EXPECT_TRUE(out_.contains("C -> Invited to the ceremony")) << out_.toStdString();
    EXPECT_EQ(guests(), 2);
    auto& db = store::Workspace::defaultWorkspace().openDatabase(path());
    auto set =
        db.openRecordset("SELECT * FROM Guests WHERE InvCeremony = True", store::RecordsetType::Snapshot);
    EXPECT_EQ(set->recordCount(), 1);
    EXPECT_EQ(set->value("LastName"), "Okafor");
    store::Workspace::defaultWorkspace().close();
}

TEST_F(Cli, BadInputGetsAClearMessageAndANonZeroStatus)
{
    const exchangetest::TempFile csv("list.csv", "Name\nLiam Okafor\n");
    EXPECT_EQ(run({}), 2);
    EXPECT_TRUE(err_.contains("Usage: orvane-cli"));
    EXPECT_EQ(run({"frobnicate"}), 2);
    EXPECT_TRUE(err_.contains("unknown command"));
    EXPECT_EQ(run({"import-guests", path()}), 2);
    EXPECT_EQ(run({"import-guests", path(), csv.path(), "--map", "Shoe=Name"}), 2);
    EXPECT_TRUE(err_.contains("Unknown field \"Shoe\""));
    EXPECT_EQ(run({"import-guests", path(), csv.path(), "--map", "LastName=Surname"}), 2);
    EXPECT_TRUE(err_.contains("no column \"Surname\""));
    EXPECT_EQ(run({"import-guests", path(), csv.path(), "--on-duplicate", "merge"}), 2);
    EXPECT_EQ(run({"import-guests", path(), csv.path() + ".none"}), 1);
    EXPECT_TRUE(err_.contains("does not exist"));
    EXPECT_EQ(run({"import-guests", csv.path(), csv.path()}), 1) << "a CSV is no wedding file";
    EXPECT_EQ(run({"export", path(), "presents", tempPath("x.csv")}), 2);
    EXPECT_EQ(run({"export", path(), "guests", tempPath("x.pdf")}), 2);
    EXPECT_EQ(run({"calendar", path() + ".none", tempPath("x.ics")}), 1);
    EXPECT_FALSE(QFile::exists(tempPath("x.ics")));
    for (const char* command : {"import-guests", "export", "calendar"}) {
        EXPECT_EQ(run({command, "--help"}), 0);
        EXPECT_TRUE(out_.startsWith("Usage: orvane-cli " + QString(command))) << command;
    }
}

TEST_F(Cli, WhatIsNoGuestListIsRefusedAndBrokenRowsAreListedAsProblems)
{
    EXPECT_EQ(run({"import-guests", path(), QFileInfo(path()).absolutePath()}), 1);
    EXPECT_TRUE(err_.contains("is a folder")) << err_.toStdString();
    EXPECT_EQ(run({"import-guests", path(), "/dev/null"}), 1);
    EXPECT_TRUE(err_.contains("is not a regular file")) << err_.toStdString();
    EXPECT_EQ(run({"import-guests", path(), path()}), 1) << "the wedding file itself given as the list";
    EXPECT_TRUE(err_.contains("not a text file")) << err_.toStdString();

    const exchangetest::TempFile csv("list.csv", exchangetest::brokenList());
    EXPECT_EQ(run({"import-guests", path(), csv.path(), "--on-problem", "fix"}), 0) << err_.toStdString();
    EXPECT_TRUE(out_.contains("Problems (2):")) << out_.toStdString();
    EXPECT_TRUE(out_.contains("row 2  Dr. Grace Moreau: City holds a character that is not text"));
    EXPECT_TRUE(out_.contains("row 3") && out_.contains("line 3 is never closed") &&
                out_.contains("-> skip"));
    EXPECT_FALSE(out_.contains(QChar(0)));
    EXPECT_TRUE(out_.contains("2 parties added")) << "Grace without her city, and Noah";
}

TEST_F(Cli, ExportAndCalendarWriteTheirFilesAndTheProgramExitsWithItsStatus)
{
    EXPECT_EQ(run({"export", path(), "checklist", tempPath("tasks.xlsx")}), 0) << err_.toStdString();
    EXPECT_TRUE(fileBytes(tempPath("tasks.xlsx")).startsWith("PK"));
    EXPECT_EQ(run({"calendar", path(), tempPath("plan.ics")}), 0);
    EXPECT_TRUE(fileBytes(tempPath("plan.ics")).startsWith("BEGIN:VCALENDAR"));

    QProcess cli;
    cli.start(testsupport::binDir() + "/orvane-cli", {"export", path(), "vendors", tempPath("v.csv")});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    cli.start(testsupport::binDir() + "/orvane-cli", {"export", path(), "vendors"});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 2);
    EXPECT_TRUE(cli.readAllStandardError().contains("export needs WEDDING.mdb"));
}

TEST_F(Cli, NoCommandWritesItsOutputOverTheWeddingFileItsJournalOrABackup)
{
    const QString made = store::backup::make(path(), store::backup::Reason::Manual);
    const QString link = tempPath("calendar.ics");
    ASSERT_TRUE(QFile::link(path(), link));
    const QString csvLink = tempPath("guests.csv");
    ASSERT_TRUE(QFile::link(path(), csvLink));
    const QString inBackups = QFileInfo(made).absolutePath() + "/guests.csv";
    const QByteArray before = fileBytes(path());
    const QByteArray backupBefore = fileBytes(made);
    const QList<QStringList> attacks = {
        {"calendar", path(), path()},
        {"calendar", path(), link},
        {"calendar", path(), path() + "-journal"},
        {"calendar", path(), made},
        {"export", path(), "guests", csvLink},
        {"export", path(), "vendors", inBackups},
        {"place-cards", path(), link},
        {"place-cards", path(), made, "--escort"},
    };
    for (const QStringList& args : attacks) {
        EXPECT_EQ(run(args), 1) << args.join(' ').toStdString();
        EXPECT_TRUE(err_.contains("wedding file") || err_.contains("backups folder")) << err_.toStdString();
        EXPECT_EQ(fileBytes(path()), before) << args.join(' ').toStdString();
        EXPECT_EQ(fileBytes(made), backupBefore);
    }
    EXPECT_FALSE(QFileInfo::exists(inBackups));
    EXPECT_FALSE(QFileInfo::exists(path() + "-journal"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

TEST_F(Cli, ThePlaceCardsProgramWritesItsPdfWithoutADisplay)
{
    {
        // One seated party of two, straight in the file.
        auto& database = store::Workspace::defaultWorkspace().openDatabase(path());
        database.execute("INSERT INTO Tables (tablename, tablenumber, max) VALUES ('Oak', 1, 10)");
        database.execute(
            "INSERT INTO Guests (FirstName, LastName, InvReception, tableid) VALUES "
            "('Ann', 'Lee', True, (SELECT max(TableId) FROM Tables))");
        database.execute(
            "INSERT INTO GuestsMembers (PartyKey, SortOrder, FirstName, LastName) "
            "SELECT max(rowid), 1, 'Ann', 'Lee' FROM Guests");
        database.execute(
            "INSERT INTO GuestsMembers (PartyKey, SortOrder, FirstName, LastName) "
            "SELECT max(rowid), 2, 'Bo', 'Lee' FROM Guests");
        store::Workspace::defaultWorkspace().close();
    }
    const QByteArray before = fileBytes(path());
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    cli.setProcessEnvironment(env);
    cli.start(testsupport::binDir() + "/orvane-cli", {"place-cards", path(), tempPath("cards.pdf")});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_TRUE(cli.readAllStandardOutput().startsWith("2 place cards on 1 sheet written to"));
    EXPECT_TRUE(fileBytes(tempPath("cards.pdf")).startsWith("%PDF-"));
    EXPECT_EQ(fileBytes(path()), before);
}

TEST_F(Cli, BackupsAreListedAndRestoredWithTheWindowsChecks)
{
    EXPECT_EQ(run({"backups", path()}), 0);
    EXPECT_TRUE(out_.startsWith("No backups of")) << out_.toStdString();

    const QString first = store::backup::make(path(), store::backup::Reason::Manual);
    auto& database = store::Workspace::defaultWorkspace().openDatabase(path());
    database.execute("INSERT INTO Guests (FirstName, LastName) VALUES ('Ann', 'Lee')");
    store::Workspace::defaultWorkspace().close();
    EXPECT_EQ(guests(), 1);

    // A foreign database dropped into the backups folder is listed, and refused.
    const QString foreign = QFileInfo(first).absolutePath() + "/wedding-20300101-090000-manual.mdb";
    {
        QFile::copy(testsupport::deliveredDatabase(), foreign);
        QFile::setPermissions(foreign, QFile::ReadOwner | QFile::WriteOwner);
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(foreign).constData(), &other), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(other, "DROP TABLE Tips", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(other);
    }
    EXPECT_EQ(run({"backups", path()}), 0) << err_.toStdString();
    const QStringList lines = out_.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << out_.toStdString();
    EXPECT_TRUE(lines[0].startsWith("No.  Made")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains("Guest Parties") && lines[0].contains("Why") && lines[0].endsWith("File"));
    EXPECT_TRUE(lines[1].startsWith("1 ") && lines[1].endsWith("wedding-20300101-090000-manual.mdb"));
    EXPECT_TRUE(lines[2].contains("Made by hand") && lines[2].endsWith(QFileInfo(first).fileName()));
    EXPECT_TRUE(lines[3].startsWith("2 backups in"));

    const QByteArray before = fileBytes(path());
    EXPECT_EQ(run({"restore", path(), "1"}), 1);
    EXPECT_TRUE(
        err_.contains("was not restored: it is not a wedding file of this program (it has no table Tips)"))
        << err_.toStdString();
    EXPECT_EQ(fileBytes(path()), before);
    EXPECT_EQ(run({"restore", path(), "7"}), 1);
    EXPECT_TRUE(err_.contains("There is no backup number 7")) << err_.toStdString();
    EXPECT_EQ(run({"restore", path(), path()}), 1);
    EXPECT_EQ(fileBytes(path()), before);

    // The sound one, by its file name: the current file is kept first.
    EXPECT_EQ(run({"restore", path(), QFileInfo(first).fileName()}), 0) << err_.toStdString();
    EXPECT_TRUE(out_.contains("The file as it was is kept as")) << out_.toStdString();
    EXPECT_EQ(guests(), 0);
    int restores = 0;
    for (const store::backup::Entry& e : store::backup::list(path(), false))
        restores += e.reason == store::backup::Reason::Restore;
    EXPECT_EQ(restores, 1);
}

TEST_F(Cli, CommandsThatOnlyReadWorkOnAWeddingFileNobodyMayWrite)
{
    const exchangetest::TempFile csv("list.csv", "First Name,Last Name\nLiam,Okafor\n");
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadGroup);
    const QByteArray before = fileBytes(path());
    EXPECT_EQ(run({"export", path(), "guests", tempPath("g.csv")}), 0) << err_.toStdString();
    EXPECT_EQ(run({"calendar", path(), tempPath("w.ics")}), 0) << err_.toStdString();
    EXPECT_EQ(run({"import-guests", path(), csv.path(), "--dry-run"}), 0) << err_.toStdString();
    EXPECT_TRUE(out_.contains("New parties (1):")) << out_.toStdString();
    EXPECT_EQ(run({"import-guests", path(), csv.path()}), 1) << "a real import still needs a writable file";
    EXPECT_TRUE(err_.contains("read-only")) << err_.toStdString();
    EXPECT_EQ(fileBytes(path()), before);
    EXPECT_FALSE(QDir(QFileInfo(path()).absolutePath() + "/backups").exists()) << "nothing was upgraded";
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(Cli, ACalendarWithATimeThatCannotBeReadNamesTheEventAndFails)
{
    auto& database = store::Workspace::defaultWorkspace().openDatabase(path());
    database.execute("UPDATE General SET weddingdate = #2026-06-13#, weddingtime = 'at noonish'");
    store::Workspace::defaultWorkspace().close();
    EXPECT_EQ(run({"calendar", path(), tempPath("w.ics")}), 1);
    EXPECT_TRUE(
        out_.contains("Left out:\n  The ceremony was left out: its time \"at noonish\" cannot be read"))
        << out_.toStdString();
    EXPECT_FALSE(fileBytes(tempPath("w.ics")).contains("ceremony-"));
}

// An export killed at any moment leaves the file that was there or the whole new one, never a
// part of it; what the killed runs left beside it is cleared by the next run.
TEST_F(Cli, AnExportKilledHalfwayLeavesTheOldFileOrTheWholeNewOne)
{
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(path()).constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(
                      db,
                      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) "
                      "INSERT INTO Guests (FirstName, LastName, Address, City) "
                      "SELECT 'Guest ' || i, 'Family ' || i, i || ' Long Garden Road', 'Springfield' FROM n",
                      nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    const QString out = tempPath("guests.csv");
    const QByteArray old = "the list as it was\n";
    {
        QFile f(out);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    int killed = 0, whole = 0;
    for (int round = 0; round < 8; ++round) {
        QProcess cli;
        cli.start(testsupport::binDir() + "/orvane-cli", {"export", path(), "guests", out});
        ASSERT_TRUE(cli.waitForStarted());
        QThread::msleep(40 + 60 * round);
        if (cli.state() == QProcess::Running) {
            ::kill(pid_t(cli.processId()), SIGKILL);
            ++killed;
        }
        cli.waitForFinished(30000);
        const QByteArray now = fileBytes(out);
        if (now == old)
            continue;
        ++whole;
        EXPECT_EQ(now.count('\n'), 40001)
            << "round " << round << ": a part of the export took the file's name";
    }
    EXPECT_GT(killed, 0) << "no run was killed while writing; the test proves nothing";
    EXPECT_EQ(run({"export", path(), "guests", out}), 0) << err_.toStdString();
    EXPECT_EQ(fileBytes(out).count('\n'), 40001);
    EXPECT_EQ(
        QDir(QFileInfo(out).absolutePath()).entryList({".guests.csv.part-*"}, QDir::Files | QDir::Hidden),
        QStringList());
    RecordProperty("killed", killed);
    RecordProperty("whole", whole);
}

TEST_F(Cli, GuestsPrintsThePartiesFoundAndTheirNumber)
{
    auto& database = store::Workspace::defaultWorkspace().openDatabase(path());
    database.execute(
        "INSERT INTO Guests (Prefix, FirstName, LastName, City, guestof, InvCeremony, InvReception, "
        "Invited) VALUES ('Dr.', ?, 'Moreau', 'Paris', 'Bride', True, True, 2)",
        {QString::fromUtf8("Chloé")});
    database.execute(
        "INSERT INTO Guests (FirstName, LastName, guestof, InvReception, Invited, Confirmed, "
        "NumberAttending) VALUES ('Liam', 'O''Connell', 'Groom', True, 3, True, 0)");
    store::Workspace::defaultWorkspace().close();
    EXPECT_EQ(run({"guests", path(), "--search", "CHLOE", "--filter", "no-reply", "--filter", "side:bride"}),
              0)
        << err_.toStdString();
    EXPECT_EQ(out_,
              QString::fromUtf8("Dr. Chloé Moreau\tBride\tParis\tceremony,reception\tno reply\t2\t\t0\t0\n"
                                "1 party\n"));
    EXPECT_EQ(run({"guests", path(), "--filter", "declined"}), 0);
    EXPECT_EQ(out_, "Liam O'Connell\tGroom\t\treception\tdeclined\t3\t\t0\t0\n1 party\n");
    EXPECT_EQ(run({"guests", path()}), 0);
    EXPECT_TRUE(out_.endsWith("\n2 parties\n"));
    EXPECT_EQ(run({"guests", path(), "--filter", "meal:Beef"}), 0) << "no member chose it";
    EXPECT_EQ(out_, "0 parties\n");
    EXPECT_EQ(run({"guests", path(), "--filter", "table:Rose"}), 2);
    EXPECT_TRUE(err_.contains("Unknown filter \"table:Rose\"")) << err_.toStdString();
    EXPECT_EQ(run({"guests", path(), "--search"}), 2);
}

TEST_F(Cli, AnImportInvitesEveryPartyAndGivesItsSideUnlessTheFileSays)
{
    const exchangetest::TempFile plain("list.csv", "First Name,Last Name\nLiam,Okafor\nGrace,Moreau\n");
    EXPECT_EQ(
        run({"import-guests", path(), plain.path(), "--invite", "ceremony, Reception", "--side", "groom"}), 0)
        << err_.toStdString();
    EXPECT_EQ(run({"guests", path(), "--filter", "invited:ceremony", "--filter", "invited:reception",
                   "--filter", "side:Groom", "--filter", "not-seated"}),
              0);
    EXPECT_TRUE(out_.endsWith("\n2 parties\n")) << out_.toStdString();
    EXPECT_EQ(run({"guests", path(), "--filter", "invited:shower"}), 0);
    EXPECT_EQ(out_, "0 parties\n");

    // A column of the file wins, also where it says no.
    const exchangetest::TempFile own("own.csv",
                                     "First Name,Last Name,Side,Shower\nAna,Zapata,Bride,\nBo,Lund,,x\n");
    EXPECT_EQ(run({"import-guests", path(), own.path(), "--invite", "shower", "--side", "Groom"}), 0)
        << err_.toStdString();
    EXPECT_EQ(run({"guests", path(), "--filter", "invited:shower"}), 0);
    EXPECT_TRUE(out_.startsWith("Bo Lund\tBoth\t\tshower\t"))
        << "an empty side cell is the import's own Both";
    EXPECT_EQ(run({"guests", path(), "--search", "zapata"}), 0);
    EXPECT_TRUE(out_.startsWith("Ana Zapata\tBride\t")) << out_.toStdString();

    EXPECT_EQ(run({"import-guests", path(), plain.path(), "--invite", "brunch"}), 2);
    EXPECT_TRUE(err_.contains("--invite takes a comma list")) << err_.toStdString();
    EXPECT_EQ(run({"import-guests", path(), plain.path(), "--side", "aunt"}), 2);
}

TEST_F(Cli, SetChangesEveryPartyFoundAndUndoTakesBackTheLastChangeOrSaysWhyNot)
{
    const exchangetest::TempFile list("list.csv",
                                      "First Name,Last Name,Side\nLiam,Okafor,Groom\n"
                                      "Grace,Moreau,Bride\nAna,Zapata,Bride\n");
    ASSERT_EQ(run({"import-guests", path(), list.path()}), 0) << err_.toStdString();
    EXPECT_EQ(run({"set", path(), "--filter", "side:bride", "--invite", "reception"}), 0)
        << err_.toStdString();
    EXPECT_TRUE(out_.startsWith("2 parties found.\nInvited 2 parties to the reception.\n"))
        << out_.toStdString();
    EXPECT_EQ(run({"guests", path(), "--filter", "invited:reception"}), 0);
    EXPECT_TRUE(out_.endsWith("\n2 parties\n"));
    EXPECT_EQ(run({"set", path(), "--search", "zapata", "--reply", "declined"}), 0) << err_.toStdString();
    EXPECT_EQ(run({"guests", path(), "--filter", "declined"}), 0);
    EXPECT_TRUE(out_.startsWith("Ana Zapata\t")) << out_.toStdString();

    // Undo takes back the last change only, then the one before it is gone.
    EXPECT_EQ(run({"undo", path()}), 0) << err_.toStdString();
    EXPECT_EQ(out_, "Undone: Set the reply of 1 party to declined.\n");
    EXPECT_EQ(run({"guests", path(), "--filter", "declined"}), 0);
    EXPECT_EQ(out_, "0 parties\n");
    EXPECT_EQ(run({"undo", path()}), 1);
    EXPECT_TRUE(err_.contains("There is nothing to undo.")) << err_.toStdString();

    // A change made after the last one: undo refuses and changes nothing.
    EXPECT_EQ(run({"set", path(), "--side", "both"}), 0);
    auto& database = store::Workspace::defaultWorkspace().openDatabase(path());
    database.execute("UPDATE Guests SET City = 'Cork' WHERE LastName = 'Okafor'");
    store::Workspace::defaultWorkspace().close();
    const QByteArray later = fileBytes(path());
    EXPECT_EQ(run({"undo", path()}), 1);
    EXPECT_TRUE(err_.contains("has changed since")) << err_.toStdString();
    EXPECT_EQ(fileBytes(path()), later);

    // An import is undone like a change: the file's rows are what they were before it.
    const exchangetest::TempFile more("more.csv", "First Name,Last Name\nBo,Lund\n");
    ASSERT_EQ(run({"import-guests", path(), more.path()}), 0);
    EXPECT_EQ(guests(), 4);
    EXPECT_EQ(run({"undo", path()}), 0) << err_.toStdString();
    EXPECT_EQ(out_, "Undone: Import 1 party.\n");
    EXPECT_EQ(guests(), 3);

    EXPECT_EQ(run({"set", path(), "--invite", "brunch"}), 2);
    EXPECT_TRUE(err_.contains("--invite takes ceremony, reception, shower or rehearsal, not \"brunch\"."))
        << err_.toStdString();
    EXPECT_EQ(run({"set", path()}), 2);
    EXPECT_TRUE(err_.contains("set needs a change"));
    EXPECT_EQ(run({"set", path(), "--side", "Bride", "--reply", "attending"}), 2);
    EXPECT_TRUE(err_.contains("set makes one change at a time."));
    EXPECT_EQ(run({"set", path(), "--side"}), 2);
    EXPECT_EQ(run({"undo"}), 2);
}
