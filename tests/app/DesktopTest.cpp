// Where the program keeps its files (portable beside the program, or installed with the
// wedding file in the user's data folder) and the desktop habits of the main window.
#include "app/Maintenance.h"
#include "app/NavLabel.h"
#include "app/Startup.h"
#include "app/frmAbout.h"
#include "app/frmMain.h"
#include "shell/Paths.h"
#include "shell/Program.h"
#include "store/Store.h"
#include "tests/app/MainTestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using apptest::ProgramRun;

namespace {

// A program run whose user data folder is an empty temporary folder.
class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousDataHome_ = qgetenv("XDG_DATA_HOME");
        hadDataHome_ = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dataHome_.path().toLocal8Bit());
    }
    void TearDown() override
    {
        if (hadDataHome_)
            qputenv("XDG_DATA_HOME", previousDataHome_);
        else
            qunsetenv("XDG_DATA_HOME");
    }

    // Arranges the run's folder as an installation: the program in bin/, the delivered
    // wedding file, help and templates in share/orvane/, nothing beside the program.
    QString installInto(ProgramRun& run)
    {
        QDir root(run.dir.path());
        root.mkpath("bin");
        root.mkpath("share/orvane");
        for (const QString& name : root.entryList(QDir::Files))
            EXPECT_TRUE(root.rename(name, "share/orvane/" + name)) << name.toStdString();
        shell::setProgramDirectory(root.filePath("bin"));
        return root.filePath("share/orvane");
    }
    QString userFile() const { return dataHome_.filePath("Orvane/wedding.mdb"); }
    QStringList userDataEntries() const
    {
        return QDir(dataHome_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dataHome_;
    QByteArray previousDataHome_;
    bool hadDataHome_ = false;
};

TEST_F(DesktopTest, PortableProgramKeepsEverythingBesideItself)
{
    ProgramRun run;
    // Even with an installed data folder above it, a writable wedding file beside the program wins.
    const QString share = installInto(run);
    const QString bin = shell::programDirectory();
    ASSERT_TRUE(QFile::copy(share + "/wedding.mdb", bin + "/wedding.mdb"));
    QFile::setPermissions(bin + "/wedding.mdb", QFile::ReadOwner | QFile::WriteOwner);
    apptest::execSql(bin + "/wedding.mdb", "UPDATE General SET bridesname = 'Anna', groomsname = 'Ben'");
    ASSERT_TRUE(run.start());
    EXPECT_EQ(shell::layout(), shell::Layout::Portable);
    EXPECT_EQ(shell::program().DatabasePath, bin + "/wedding.mdb");
    EXPECT_EQ(shell::program().HelpFilePath, bin + "/Orvane.HLP");
    EXPECT_EQ(app::compactTempPath(), bin + "/tempovdb.mdb");
    EXPECT_EQ(shell::templatePath("guests.rpt"), bin + "/guests.rpt");
    EXPECT_EQ(shell::dataDirectory(), bin);
    EXPECT_TRUE(userDataEntries().isEmpty()) << userDataEntries().join(", ").toStdString();
}

TEST_F(DesktopTest, InstalledProgramCopiesTheDeliveredFileOnceIntoTheUsersFolder)
{
    ProgramRun run;
    const QString share = installInto(run);
    // Where a package puts it, the program directory and the delivered file are read-only.
    QFile::setPermissions(share + "/wedding.mdb", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QStringList deliveredTips = apptest::queryColumn(share + "/wedding.mdb", "SELECT tip FROM Tips");

    ASSERT_TRUE(run.start());  // a first run: welcome and tip
    EXPECT_EQ(run.modals, QStringList({"frmWelcome", "frmTip"}));
    EXPECT_EQ(shell::layout(), shell::Layout::Installed);
    EXPECT_EQ(shell::program().DatabasePath, userFile());
    EXPECT_EQ(apptest::queryColumn(userFile(), "SELECT tip FROM Tips"), deliveredTips);
    EXPECT_TRUE(QFileInfo(userFile()).permissions() & QFile::WriteOwner);
    EXPECT_EQ(shell::program().HelpFilePath, share + "/Orvane.HLP");
    EXPECT_EQ(shell::templatePath("lbl5160.rpt"), share + "/lbl5160.rpt");
    EXPECT_EQ(app::compactTempPath(), dataHome_.filePath("Orvane/tempovdb.mdb"));
    EXPECT_EQ(userDataEntries(), QStringList({"Orvane"}));
    EXPECT_EQ(QDir(dataHome_.filePath("Orvane")).entryList(QDir::Files), QStringList({"wedding.mdb"}));

    // Compaction works beside the user's file, never in the installed folder.
    run.dialogs->messageAnswers = {controls::mb::Yes};
    run.main().mnuCompact->trigger();
    EXPECT_EQ(run.dialogs->messages().back().text, "Database has been compacted!");
    EXPECT_FALSE(QFile::exists(share + "/tempovdb.mdb"));

    // The second start uses the same file: what the couple typed is still there.
    shutDownProgram();
    apptest::execSql(userFile(), "UPDATE General SET bridesname = 'Anna', groomsname = 'Ben'");
    run.modals.clear();
    ASSERT_TRUE(run.start());
    EXPECT_TRUE(run.modals.isEmpty());
    EXPECT_EQ(run.main().Label1->text(), "Anna and Ben");
    EXPECT_EQ(apptest::queryValue(share + "/wedding.mdb", "SELECT bridesname FROM General").toString(), "");
}

TEST_F(DesktopTest, ReadOnlyWeddingFileBesideAnInstalledProgramIsNotUsed)
{
    ProgramRun run;
    const QString share = installInto(run);
    const QString beside = shell::programDirectory() + "/wedding.mdb";
    ASSERT_TRUE(QFile::copy(share + "/wedding.mdb", beside));
    QFile::setPermissions(beside, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    ASSERT_TRUE(run.start());
    EXPECT_EQ(shell::program().DatabasePath, userFile());
}

TEST_F(DesktopTest, StartupFailureExplainsItselfUnderTheMessage)
{
    {
        ProgramRun run;
        QFile::remove(run.databasePath());
        EXPECT_FALSE(run.start());
        const auto messages = run.dialogs->messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, "Can't open database.");
        const QString reason = messages[0].title.section(' ', 0, -2);  // the title without the number
        EXPECT_TRUE(messages[0].informative.contains(reason))
            << messages[0].informative.toStdString();
        EXPECT_TRUE(messages[0].informative.contains(QDir::toNativeSeparators(run.databasePath())));
        EXPECT_TRUE(messages[0].informative.contains(QString::number(store::err::FileNotFound)));
    }
    {
        // The user's data folder cannot be made: a file stands where it should be.
        ProgramRun run;
        installInto(run);
        QFile blocker(dataHome_.filePath("Orvane"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        EXPECT_FALSE(run.start());
        EXPECT_EQ(frmMain::instance(), nullptr);
        const auto messages = run.dialogs->messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, "Can't open database.");
        EXPECT_TRUE(messages[0].informative.contains(QDir::toNativeSeparators(userFile())))
            << messages[0].informative.toStdString();
        EXPECT_TRUE(
            messages[0].informative.contains(dataHome_.filePath("Orvane") + "' cannot be created"));
        EXPECT_EQ(userDataEntries(), QStringList({"Orvane"}));  // nothing else was made
    }
}

class DesktopHabitsTest : public DesktopTest {
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        run_ = std::make_unique<ProgramRun>();
        run_->setNames("Anna", "Ben");
        ASSERT_TRUE(run_->start());
    }
    void TearDown() override
    {
        run_.reset();
        DesktopTest::TearDown();
    }
    frmMain& main() { return run_->main(); }
    std::unique_ptr<ProgramRun> run_;
};

TEST_F(DesktopHabitsTest, CtrlQExitsExceptWhileTheGeneralPanelIsOpen)
{
    QTest::mouseClick(main().imggeneral, Qt::LeftButton);
    QTest::keyClick(&main(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(run_->dialogs->endProgramCount, 0);
    QTest::mouseClick(main().SSCommand4, Qt::LeftButton);  // Close the panel

    run_->sounds.clear();
    QTest::keyClick(&main(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(run_->dialogs->endProgramCount, 1);
    EXPECT_EQ(run_->sounds, QStringList({"click"}));
    EXPECT_EQ(store::Workspace::defaultWorkspace().database(), nullptr);
    EXPECT_EQ(main().mnuExit->shortcut().toString(QKeySequence::NativeText), "Ctrl+Q");
}

TEST_F(DesktopHabitsTest, OpenDataFolderShowsTheFolderOfTheWeddingFile)
{
    const QList<QAction*> file = main().mnuFile->actions();
    ASSERT_GE(file.size(), 3);
    EXPECT_EQ(file.last(), main().mnuExit);
    EXPECT_TRUE(file[file.size() - 2]->isSeparator());
    QAction* open = main().mnuOpenDataFolder;
    ASSERT_TRUE(file.contains(open));
    EXPECT_EQ(open->text(), "Open Data Folder");
    open->trigger();
    ASSERT_EQ(run_->addresses.size(), 1);
    EXPECT_EQ(run_->addresses[0], QUrl::fromLocalFile(run_->dir.path()));
}

TEST_F(DesktopHabitsTest, AboutBoxNamesTheVersionsAndTheWeddingFile)
{
    QString versions, dataFile;
    run_->onModal = [&](QWidget* w) {
        auto* about = static_cast<frmAbout*>(w);
        versions = about->lblVersions->text();
        dataFile = about->lblDataFile->text();
        about->Command1->click();
    };
    main().mnuAbout->trigger();
    EXPECT_TRUE(versions.contains(QString::fromLatin1(qVersion())));
    EXPECT_TRUE(versions.contains("SQLite " + store::engineVersion()));
    EXPECT_TRUE(dataFile.contains(QDir::toNativeSeparators(run_->databasePath())));
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    EXPECT_FALSE(main().windowIcon().pixmap(16).isNull());
}

}  // namespace
