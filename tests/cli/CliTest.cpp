// orvane-cli on a wedding file: each command's work, its review text, and clear errors
// with a non-zero status on bad input.
#include "cli/Commands.h"

#include "store/Backup.h"
#include "tests/exchange/ExchangeFixture.h"

#include <QFileInfo>
#include <QProcess>

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
