// Start-up: success, first run against later runs, and every way it can fail.
#include "app/frmMain.h"
#include "shell/Program.h"
#include "shell/frmTip.h"
#include "store/Backup.h"
#include "store/Store.h"
#include "tests/app/MainTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "tests/support/WidgetTestUtils.h"

#include <algorithm>

using apptest::ProgramRun;

namespace {

void expectCantOpen(ProgramRun& run, int number)
{
    EXPECT_FALSE(run.start());
    EXPECT_EQ(frmMain::instance(), nullptr);
    const auto messages = run.dialogs->messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Can't open database.");
    EXPECT_EQ(controls::mb::iconOf(messages[0].style), controls::mb::Exclamation);
    EXPECT_EQ(controls::mb::buttonsOf(messages[0].style), controls::mb::OKOnly);
    EXPECT_TRUE(messages[0].title.endsWith(" " + QString::number(number))) << messages[0].title.toStdString();
    EXPECT_GT(messages[0].title.size(), QString::number(number).size() + 1);  // the description comes first
    EXPECT_EQ(store::Workspace::defaultWorkspace().database(), nullptr);
    // The way on is offered when there is a file to repair or a backup to restore; the
    // default answer quits.
    EXPECT_TRUE(run.modals.isEmpty() || run.modals == QStringList({"frmRescue"}));
}

TEST(Startup, LaterRunShowsTheCoupleAtOnce)
{
    ProgramRun run;
    run.setNames("Anna", "Ben");
    ASSERT_TRUE(run.start());
    frmMain& main = run.main();
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.windowTitle(), "Orvane");
    EXPECT_EQ(main.Label1->text(), "Anna and Ben");
    EXPECT_TRUE(main.Label1->isVisibleTo(&main));
    EXPECT_EQ(main.Label3->text(), "The Wedding of");
    EXPECT_TRUE(main.Label3->isVisibleTo(&main));
    EXPECT_TRUE(run.modals.isEmpty());
    EXPECT_TRUE(run.sounds.isEmpty());

    const shell::Program& p = shell::program();
    EXPECT_EQ(p.DatabasePath, run.databasePath());
    EXPECT_EQ(p.BrideName, "Anna");
    EXPECT_EQ(p.GroomName, "Ben");
    EXPECT_EQ(p.TipList, apptest::queryColumn(run.databasePath(), "SELECT tip FROM Tips ORDER BY rowid"));
    EXPECT_TRUE(p.GiftTipPending);
    ASSERT_NE(p.InvitedSnapshot, nullptr);
    EXPECT_EQ(p.InvitedSnapshot->value("count of guests").toLongLong(),
              apptest::queryValue(run.databasePath(), "SELECT count(*) FROM Guests").toLongLong());
    EXPECT_TRUE(p.HelpFilePath.endsWith("/Orvane.HLP"));
    EXPECT_EQ(p.HelpOwnerWindow, &main);
    // No splash is left behind.
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->objectName() == "frmSplash" && w->isVisible());
}

TEST(Startup, FirstRunGreetsUntilBothNamesExist)
{
    for (const auto& [bride, groom] : {std::pair<QString, QString>{"", ""}, {"Anna", ""}, {"", "Ben"}}) {
        ProgramRun run;
        run.setNames(bride, groom);
        QString tipShown;
        bool splashVisible = true;
        run.onModal = [&](QWidget* w) {
            if (auto* tip = qobject_cast<frmTip*>(w))
                tipShown = tip->lblTipText->text();
            if (w->objectName() == "frmWelcome") {
                splashVisible = false;
                for (QWidget* top : QApplication::topLevelWidgets())
                    splashVisible = splashVisible || (top->objectName() == "frmSplash" && top->isVisible());
            }
            w->close();
        };
        ASSERT_TRUE(run.start());
        EXPECT_EQ(run.modals, QStringList({"frmWelcome", "frmTip"}));
        EXPECT_EQ(run.sounds, QStringList({"applause"}));
        EXPECT_FALSE(splashVisible);
        EXPECT_EQ(shell::program().TipNumber, 5);
        EXPECT_EQ(tipShown, shell::program().TipList.value(4));
        EXPECT_FALSE(tipShown.isEmpty());
        EXPECT_FALSE(run.main().Label1->isVisibleTo(&run.main()));
        EXPECT_FALSE(run.main().Label3->isVisibleTo(&run.main()));
        EXPECT_TRUE(run.main().isVisible());
        EXPECT_TRUE(run.dialogs->messages().empty());
    }
}

TEST(Startup, NamesNeverEnteredAreAFirstRunWithoutAnyMessage)
{
    ProgramRun run;
    apptest::execSql(run.databasePath(), "UPDATE General SET bridesname = NULL, groomsname = NULL");
    ASSERT_TRUE(run.start());
    EXPECT_TRUE(run.dialogs->messages().empty());
    EXPECT_EQ(run.modals, QStringList({"frmWelcome", "frmTip"}));
}

TEST(Startup, AnEmptyGeneralTableGetsItsRow)
{
    ProgramRun run;
    apptest::execSql(run.databasePath(), "DELETE FROM General");
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.modals, QStringList({"frmWelcome", "frmTip"}));
    EXPECT_EQ(apptest::queryValue(run.databasePath(), "SELECT count(*) FROM General").toInt(), 1);
    EXPECT_EQ(apptest::queryValue(run.databasePath(), "SELECT bridesname || '|' || groomsname FROM General"),
              "|");
    EXPECT_TRUE(run.dialogs->messages().empty());
}

TEST(Startup, AnEmptyTipsTableStillStarts)
{
    ProgramRun run;
    apptest::execSql(run.databasePath(), "DELETE FROM Tips");
    QString tipShown = "untouched";
    run.onModal = [&](QWidget* w) {
        if (auto* tip = qobject_cast<frmTip*>(w))
            tipShown = tip->lblTipText->text();
        w->close();
    };
    ASSERT_TRUE(run.start());
    EXPECT_TRUE(shell::program().TipList.isEmpty());
    EXPECT_EQ(tipShown, "");
}

TEST(StartupFailure, MissingDatabase)
{
    ProgramRun run;
    QFile::remove(run.databasePath());
    expectCantOpen(run, store::err::FileNotFound);
    EXPECT_FALSE(QFile::exists(run.databasePath()));  // never creates a file
}

TEST(StartupFailure, NotADatabase)
{
    ProgramRun run;
    QFile file(run.databasePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(4096, 'x'));
    file.close();
    expectCantOpen(run, store::err::NotADatabase);
}

TEST(StartupFailure, NoTipsTable)
{
    ProgramRun run;
    apptest::execSql(run.databasePath(), "DROP TABLE Tips");
    expectCantOpen(run, store::err::UnknownObject);
}

TEST(StartupFailure, MainWindowThatCannotLoad)
{
    ProgramRun run;
    apptest::execSql(run.databasePath(), "DROP VIEW \"Invited Query\"");
    expectCantOpen(run, store::err::UnknownObject);
}

// A file that fails at start-up is repaired, or replaced by a backup, and then the program
// starts normally; the file as it was is kept as a backup either way.
TEST(StartupFailure, ADamagedFileCanBeRepairedAndTheProgramStarts)
{
    ProgramRun run;
    run.setNames("Anna", "Ben");
    const int tipsPage =
        apptest::queryValue(run.databasePath(), "SELECT rootpage FROM sqlite_master WHERE name = 'Tips'")
            .toInt();
    {
        QFile f(run.databasePath());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(qint64(tipsPage - 1) * 4096);
        f.write(QByteArray(4096, char(0xA5)));
    }
    run.onModal = [](QWidget* w) {
        if (w->objectName() == "frmRescue")
            testsupport::findNamed<QPushButton>(w, "cmdRepair")->click();
        else
            w->close();
    };
    ASSERT_TRUE(run.start());
    EXPECT_NE(frmMain::instance(), nullptr);
    EXPECT_EQ(run.modals, QStringList({"frmRescue"}));
    const auto messages = run.dialogs->messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, "Can't open database.");
    EXPECT_TRUE(messages[1].text.contains("the tips")) << messages[1].text.toStdString();
    EXPECT_TRUE(messages[1].text.contains("backups")) << messages[1].text.toStdString();
    const auto kept = store::backup::list(run.databasePath());
    ASSERT_FALSE(kept.empty());
    EXPECT_TRUE(std::any_of(kept.begin(), kept.end(),
                            [](const auto& e) { return e.reason == store::backup::Reason::Repair; }));
    EXPECT_EQ(shell::program().BrideName, "Anna");
}

TEST(StartupFailure, AFileThatIsNoDatabaseCanBeReplacedByABackup)
{
    ProgramRun run;
    run.setNames("Anna", "Ben");
    store::backup::make(run.databasePath(), store::backup::Reason::Manual);
    {
        QFile file(run.databasePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(4096, 'x'));
    }
    run.onModal = [](QWidget* w) {
        if (w->objectName() == "frmRescue" || w->objectName() == "frmRestore") {
            auto* restore = testsupport::findNamed<QPushButton>(w, "cmdRestore");
            ASSERT_TRUE(restore->isEnabled());
            restore->click();
        }
    };
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.modals, QStringList({"frmRescue", "frmRestore"}));
    EXPECT_EQ(shell::program().GroomName, "Ben");
    const auto kept = store::backup::list(run.databasePath());
    EXPECT_TRUE(std::any_of(kept.begin(), kept.end(), [](const auto& e) {
        return e.reason == store::backup::Reason::Restore && e.size == 4096;  // the broken file, kept
    }));
}

// A wedding file replaced by a database of another program is never copied at start-up (a
// copy each start would push the real backups out), and a backup of another program dropped
// into the backups folder is refused by the restore, which then lets the user pick again.
TEST(StartupFailure, AForeignDatabaseIsNeitherCopiedNorRestored)
{
    ProgramRun run;
    run.setNames("Anna", "Ben");
    const QString sound = store::backup::make(run.databasePath(), store::backup::Reason::Manual);
    const QString folder = QFileInfo(sound).absolutePath();
    const QString foreignBackup = folder + "/wedding-20991231-235959-manual.mdb";
    apptest::execSql(foreignBackup,
                     "CREATE TABLE Songs (Title TEXT); INSERT INTO Songs VALUES ('First Dance')");
    QFile::remove(run.databasePath());
    apptest::execSql(run.databasePath(), "CREATE TABLE Recipes (Name TEXT)");

    int restoreWindows = 0;
    run.onModal = [&restoreWindows](QWidget* w) {
        if (w->objectName() == "frmRestore") {
            auto* list = testsupport::findNamed<QTreeWidget>(w, "lstBackups");
            // First the newest (the foreign one), then the sound backup.
            list->setCurrentItem(list->topLevelItem(restoreWindows++ == 0 ? 0 : 1));
        }
        if (w->objectName() == "frmRescue" || w->objectName() == "frmRestore")
            testsupport::findNamed<QPushButton>(w, "cmdRestore")->click();
    };
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.modals, QStringList({"frmRescue", "frmRestore", "frmRescue", "frmRestore"}));
    const auto messages = run.dialogs->messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, "Can't open database.");
    EXPECT_TRUE(messages[0].title.contains("No backup was made") &&
                messages[0].title.contains("not a wedding file"))
        << messages[0].title.toStdString();
    EXPECT_TRUE(std::any_of(messages.begin(), messages.end(), [](const auto& m) {
        return m.text.contains("was not restored: it is not a wedding file of this program");
    }));
    EXPECT_EQ(shell::program().GroomName, "Ben");
    for (const auto& e : store::backup::list(run.databasePath(), false))
        EXPECT_NE(e.reason, store::backup::Reason::Upgrade) << "the foreign file was copied at start-up";
    EXPECT_TRUE(QFileInfo::exists(foreignBackup)) << "a file the user put there is not removed";
}

}  // namespace
