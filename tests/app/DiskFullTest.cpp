// A full disk while the user saves: one clear message, nothing already saved is lost, what was
// typed stays on screen, and the same command works once there is room again.
#include "app/NavLabel.h"
#include "app/frmMain.h"
#include "guests/GuestStore.h"
#include "shell/DatePicker.h"
#include "shell/Program.h"
#include "store/Backup.h"
#include "store/Store.h"
#include "tests/app/MainTestSupport.h"
#include "tests/support/FullDisk.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using apptest::ProgramRun;
using testsupport::FullDisk;

namespace {

class DiskFullTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FullDisk::prepare();  // before the program opens its file
        run_.setNames("Anna", "Ben");
        apptest::execSql(db(), "UPDATE General SET weddingdate = '1998-08-31 00:00:00'");
        ASSERT_TRUE(run_.start());
    }
    frmMain& main() { return run_.main(); }
    QString db() const { return run_.databasePath(); }
    store::Workspace& ws() { return store::Workspace::defaultWorkspace(); }
    std::vector<controls::DialogCall> messages() { return run_.dialogs->messages(); }
    void typeInto(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    ProgramRun run_;
};

TEST_F(DiskFullTest, GeneralInformationKeepsWhatWasTypedUntilThereIsRoom)
{
    const auto oldDates = apptest::dueDates(db());
    QTest::mouseClick(main().imggeneral, Qt::LeftButton);
    ASSERT_TRUE(main().generalOpen());
    typeInto(main().txtbridesname, "Clara");
    main().txtweddingdate->setText(shell::dateText(QDate(2000, 3, 31)));
    {
        FullDisk full;
        main().SSCommand4->click();
        EXPECT_GT(FullDisk::refusedWrites(), 0);
    }
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].text.contains("disk is full")) << messages()[0].text.toStdString();
    EXPECT_TRUE(main().generalOpen());
    EXPECT_TRUE(main().frameGeneral->isVisible());
    EXPECT_FALSE(main().mnuFile->menuAction()->isEnabled());
    EXPECT_EQ(main().txtbridesname->text(), "Clara");
    EXPECT_EQ(ws().transactionDepth(), ws().transactionDepth());  // consistent with the engine
    EXPECT_EQ(apptest::queryValue(db(), "SELECT bridesname FROM General").toString(), "Anna");
    EXPECT_EQ(apptest::dueDates(db()), oldDates);

    // With room again, Close saves the row and the due dates together.
    main().SSCommand4->click();
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_FALSE(main().generalOpen());
    EXPECT_EQ(ws().transactionDepth(), 0);
    EXPECT_EQ(apptest::queryValue(db(), "SELECT bridesname FROM General").toString(), "Clara");
    EXPECT_EQ(apptest::queryValue(db(), "SELECT substr(weddingdate, 1, 10) FROM General").toString(),
              "2000-03-31");
    EXPECT_EQ(apptest::queryValue(db(), "SELECT substr(DueDate, 1, 10) FROM Checklist WHERE checktime = 4")
                  .toString(),
              "2000-02-29");
    EXPECT_EQ(main().Label1->text(), "Clara and Ben");
}

TEST_F(DiskFullTest, ABackupOnAFullDiskFailsWithItsReasonAndLeavesNothingBehind)
{
    const QString folder = store::backup::folderFor(db());
    const QStringList before = QDir(folder).entryList(QDir::Files);  // the day's first backup
    {
        FullDisk full;
        try {
            store::backup::make(db(), store::backup::Reason::Manual);
            ADD_FAILURE() << "the backup claimed success on a full disk";
        } catch (const store::StoreError& e) {
            EXPECT_TRUE(e.description().contains("disk is full")) << e.description().toStdString();
        }
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), before);
    EXPECT_FALSE(store::backup::make(db(), store::backup::Reason::Manual).isEmpty());
}

TEST_F(DiskFullTest, CompactionOnAFullDiskSaysSoOnceAndTheProgramGoesOn)
{
    run_.dialogs->messageAnswers = {controls::mb::Yes};
    {
        FullDisk full;
        main().mnuCompact->trigger();
    }
    const auto shown = messages();
    ASSERT_EQ(shown.size(), 2u);  // the question, then one failure
    EXPECT_TRUE(shown[1].text.startsWith("Compact unsuccessful!")) << shown[1].text.toStdString();
    EXPECT_TRUE(shown[1].text.contains("disk is full")) << shown[1].text.toStdString();
    ASSERT_NE(ws().database(), nullptr);
    EXPECT_EQ(shell::database().openRecordset("General")->value("bridesname").toString(), "Anna");
    EXPECT_EQ(apptest::queryValue(db(), "PRAGMA integrity_check").toString(), "ok");
}

TEST_F(DiskFullTest, AGuestAddedOnAFullDiskIsNotHalfSaved)
{
    const int before = apptest::queryValue(db(), "SELECT count(*) FROM Guests").toInt();
    ws().beginTrans();  // as the new guest dialog saves: the party and its lists together
    {
        FullDisk full;
        try {
            guests::addGuest(shell::database(), "Cara", "Dunn");
            ws().commitTrans();
            ADD_FAILURE() << "adding a guest claimed success on a full disk";
        } catch (const store::StoreError& e) {
            EXPECT_TRUE(e.description().contains("disk is full")) << e.description().toStdString();
        }
    }
    if (ws().transactionDepth() > 0)
        ws().rollback();
    EXPECT_EQ(ws().transactionDepth(), 0);
    EXPECT_EQ(apptest::queryValue(db(), "SELECT count(*) FROM Guests").toInt(), before);
    guests::addGuest(shell::database(), "Cara", "Dunn");
    EXPECT_EQ(apptest::queryValue(db(), "SELECT count(*) FROM Guests").toInt(), before + 1);
}

}  // namespace
