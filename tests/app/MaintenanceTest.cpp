// Compacting and repairing the database from the menu: prompts, answers, failures.
#include "app/Maintenance.h"
#include "app/frmMain.h"
#include "shell/Program.h"
#include "store/Store.h"
#include "tests/app/MainTestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using apptest::ProgramRun;

namespace {

class MaintenanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        run_.setNames("Anna", "Ben");
        ASSERT_TRUE(run_.start());
    }
    frmMain& main() { return run_.main(); }
    QString db() const { return run_.databasePath(); }
    std::vector<controls::DialogCall> messages() { return run_.dialogs->messages(); }
    // The database in use answers and the main window's record sets are open again.
    void expectWorking()
    {
        ASSERT_NE(store::Workspace::defaultWorkspace().database(), nullptr);
        EXPECT_EQ(shell::database().openRecordset("General")->value("bridesname").toString(), "Anna");
        ASSERT_NE(shell::program().InvitedSnapshot, nullptr);
        EXPECT_TRUE(shell::program().InvitedSnapshot->value("count of guests").isValid());
        EXPECT_TRUE(main().Set_General());
    }

    ProgramRun run_;
};

TEST_F(MaintenanceTest, PromptsAndNoChangesNothing)
{
    const QDateTime before = QFileInfo(db()).lastModified();
    run_.dialogs->messageAnswers = {controls::mb::No, controls::mb::No};
    main().mnuCompact->trigger();
    main().mnuRepair->trigger();
    const auto shown = messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].title, "Compact Database?");
    EXPECT_EQ(shown[0].text, app::compactPrompt());
    EXPECT_TRUE(shown[0].text.endsWith("runs faster.\n\nDo you wish to compact the database?"));
    EXPECT_EQ(shown[0].style, controls::mb::Question | controls::mb::YesNo);
    EXPECT_EQ(shown[1].title, "Repair Database?");
    EXPECT_TRUE(shown[1].text.contains("hardware problem.  After repairing"));
    EXPECT_TRUE(shown[1].text.endsWith("disk space.\n\nDo you wish to repair the database?"));
    EXPECT_EQ(shown[1].style, controls::mb::Question | controls::mb::YesNo);
    EXPECT_EQ(QFileInfo(db()).lastModified(), before);
    expectWorking();
}

TEST_F(MaintenanceTest, CompactReplacesTheFileAndTheProgramGoesOn)
{
    QFile leftover(app::compactTempPath());
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.write("left from an earlier run");
    leftover.close();
    apptest::execSql(
        db(),
        "CREATE TABLE Scratch (x); INSERT INTO Scratch VALUES (randomblob(200000)); DROP TABLE Scratch;");
    const qint64 sizeBefore = QFileInfo(db()).size();

    run_.dialogs->messageAnswers = {controls::mb::Yes};
    main().mnuCompact->trigger();
    const auto shown = messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, "Database has been compacted!");
    EXPECT_EQ(shown[1].style, controls::mb::OKOnly);
    EXPECT_FALSE(QFile::exists(app::compactTempPath()));
    EXPECT_LT(QFileInfo(db()).size(), sizeBefore);
    expectWorking();
}

TEST_F(MaintenanceTest, AFailedCompactionKeepsTheDatabaseAndReopensIt)
{
    // A leftover that cannot be removed: a folder with a file in it.
    QDir().mkpath(app::compactTempPath());
    QFile stuck(app::compactTempPath() + "/stuck");
    ASSERT_TRUE(stuck.open(QIODevice::WriteOnly));
    stuck.close();

    run_.dialogs->messageAnswers = {controls::mb::Yes};
    main().mnuCompact->trigger();
    const auto shown = messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(shown[1].text.startsWith(
        "Compact unsuccessful!\rError number: " + QString::number(store::err::IoError) + "\r"))
        << shown[1].text.toStdString();
    EXPECT_EQ(shown[1].style, controls::mb::OKOnly);
    EXPECT_TRUE(QFile::exists(db()));
    expectWorking();
}

TEST_F(MaintenanceTest, RepairKeepsASoundFileWorking)
{
    run_.dialogs->messageAnswers = {controls::mb::Yes};
    main().mnuRepair->trigger();
    const auto shown = messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, "Database has been repaired!");
    expectWorking();
}

TEST_F(MaintenanceTest, AFailedRepairIsReportedOncePerError)
{
    QFile::remove(db());  // gone while the program runs
    run_.dialogs->messageAnswers = {controls::mb::Yes};
    main().mnuRepair->trigger();
    const auto shown = messages();
    ASSERT_GE(shown.size(), 2u);
    const auto& errors = store::Workspace::defaultWorkspace().errors();
    EXPECT_EQ(shown.size() - 1, std::max<size_t>(1, errors.size()));
    for (size_t i = 1; i < shown.size(); ++i)
        EXPECT_TRUE(shown[i].text.startsWith("Repair unsuccessful!\rError number: "))
            << shown[i].text.toStdString();
    EXPECT_EQ(store::Workspace::defaultWorkspace().database(), nullptr);  // nothing left to reopen
}

}  // namespace
