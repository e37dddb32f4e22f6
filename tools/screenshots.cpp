// Starts the program on a copy of the delivered database under a real display and saves
// pictures of its windows as a person sees them: the main window, the open General
// Information panel, the date picker, the help viewer, the about box, and the welcome and
// tip windows of a first run.
//
//   xvfb-run -s "-screen 0 1280x900x24" build/tools/orvane_screenshots docs/images
//
// With --every-window it opens every window of the program once, on the sample wedding when
// its folder is given, and saves the whole screen while each is shown (to see that none is
// clipped or lies off the screen); the date picker also with a date typed in its date box:
//
//   xvfb-run -s "-screen 0 1280x720x24" build/tools/orvane_screenshots --every-window OUT [SAMPLE]
#include "app/Startup.h"
#include "app/frmMain.h"
#include "controls/Dialogs.h"
#include "shell/HelpViewer.h"
#include "shell/Paths.h"
#include "shell/Program.h"
#include "shell/frmCalander.h"
#include "store/Store.h"
#include "tests/support/SampleWedding.h"
#include "tests/support/WindowTour.h"
#include "tools/ScreenshotKit.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <cstdio>

namespace {

using shots::settle;
using shots::shoot;
using shots::sql;
QString& g_out = shots::outputFolder();

QString programDir(QTemporaryDir& dir, bool named)
{
    const QString database = dir.filePath("wedding.mdb");
    QFile::copy(ORVANE_DELIVERED_DB, database);
    QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
    QFile::copy(QStringLiteral(ORVANE_BIN_DIR) + "/Orvane.HLP", dir.filePath("Orvane.HLP"));
    if (named)
        sql(database,
            "UPDATE General SET bridesname = 'Emma', groomsname = 'James', "
            "weddingdate = '2026-09-12 00:00:00', weddingtime = '03:00 PM', "
            "weddingloc = 'St. Catherine''s Chapel', weddingcont = 'Rev. Adams', "
            "weddingphone = '(555) 201-4410', showdate = '2026-08-01 00:00:00', showtime = '11:00 AM', "
            "showloc = 'The Garden Room', showcont = 'Olivia Hart', showphone = '(555) 372-9914', "
            "recdate = '2026-09-12 00:00:00', rectime = '06:00 PM', receptloc = 'Lakeside Manor', "
            "reccont = 'Marco Bellini', recphone = '(555) 880-1207'");
    return dir.path();
}

void firstRun()
{
    QTemporaryDir dir;
    shell::setProgramDirectory(programDir(dir, false));
    controls::setModalHook([](QWidget* w) {
        w->show();
        shoot(w, w->objectName() == "frmWelcome" ? "welcome" : "tip");
        w->close();
        return 0;
    });
    Main();
    shutDownProgram();
}

// The whole screen while a window is shown (a window manager's frame included).
void shootScreen(const QString& name)
{
    settle(250);
    QString file = name;
    file.replace(' ', '-');
    for (int n = 2; QFile::exists(g_out + "/" + file + ".png"); ++n)  // a window shown twice
        file = QString(name).replace(' ', '-') + "-" + QString::number(n);
    QGuiApplication::primaryScreen()->grabWindow(0).save(g_out + "/" + file + ".png");
    std::printf("%s/%s.png\n", qPrintable(g_out), qPrintable(file));
}

int everyWindow(const QString& sampleFolder)
{
    QTemporaryDir dir;
    const QString programFolder = programDir(dir, true);
    if (!sampleFolder.isEmpty()) {
        store::Database& db =
            store::Workspace::defaultWorkspace().openDatabase(programFolder + "/wedding.mdb");
        testsupport::loadSampleWedding(db, sampleFolder);
        store::Workspace::defaultWorkspace().close();
    }
    shell::setProgramDirectory(programFolder);
    testsupport::WindowTour tour([](QWidget* window, const QString& name) {
        window->activateWindow();
        shootScreen(name);
        if (auto* picker = qobject_cast<frmCalander*>(window)) {
            QTest::keyClicks(picker->txtTyped, QStringLiteral("15-Aug-2027"));
            shootScreen(name + "-typed");
        }
    });
    controls::setModalHook([&tour](QWidget* w) {
        w->show();
        return tour.modal(w);
    });
    if (!Main())
        return 1;
    tour.run(*frmMain::instance(), programFolder);
    controls::setModalHook({});
    shutDownProgram();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc > 2 && QByteArray(argv[1]) == "--every-window") {
        g_out = QString::fromLocal8Bit(argv[2]);
        QDir().mkpath(g_out);
        return everyWindow(argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString());
    }
    g_out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(g_out);

    firstRun();

    QTemporaryDir dir;
    shell::setProgramDirectory(programDir(dir, true));
    if (!Main())
        return 1;
    frmMain* main = frmMain::instance();
    main->move(60, 40);
    main->activateWindow();
    settle(600);
    main->navigation_MouseMove(1);
    shoot(main, "main");

    main->imggeneral_Click();
    main->txtbridesname->setFocus();
    shoot(main, "panel");

    controls::setModalHook([](QWidget* w) {
        w->show();
        shoot(w, "picker");
        static_cast<QDialog*>(w)->reject();
        return 0;
    });
    QTest::mouseDClick(main->txtweddingdate, Qt::LeftButton);

    main->SSCommand5_Click();
    settle();
    if (HelpViewer* help = shell::currentHelpViewer()) {
        help->move(120, 80);
        shoot(help, "help");
        help->close();
    }
    main->SSCommand4_Click();

    controls::setModalHook([](QWidget* w) {
        w->show();
        shoot(w, "about");
        w->close();
        return 0;
    });
    main->mnuAbout_Click();
    controls::setModalHook({});
    shutDownProgram();
    return 0;
}
