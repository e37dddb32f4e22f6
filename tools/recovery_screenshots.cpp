// Pictures of the recovery windows as a person sees them (run under a real display, e.g.
// Xvfb): the list of "Restore from Backup..." with a few backups of a wedding, and the
// window offered at start-up after "Can't open database." on a damaged wedding file.
//
//   xvfb-run -a -s "-screen 0 1280x800x24" build/tools/recovery_screenshots OUTPUT_FOLDER
#include "app/Startup.h"
#include "app/frmMain.h"
#include "controls/Dialogs.h"
#include "shell/Paths.h"
#include "store/Backup.h"
#include "tools/ScreenshotKit.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sqlite3.h>

#include <cstdio>

namespace {

using shots::shoot;
using shots::sql;
QString& g_out = shots::outputFolder();

// A named wedding whose guest list grew over a few weeks, with a backup after each step
// (renamed to the day it would have been made).
QString weddingWithBackups(QTemporaryDir& dir)
{
    const QString database = dir.filePath("wedding.mdb");
    QFile::copy(ORVANE_DELIVERED_DB, database);
    QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
    sql(database, "UPDATE General SET bridesname = 'Emma', groomsname = 'James'");
    const struct {
        const char* made;
        store::backup::Reason reason;
        int guests;
    } steps[] = {{"20261020-091502", store::backup::Reason::Daily, 12},
                 {"20261103-201145", store::backup::Reason::Import, 85},
                 {"20261117-083012", store::backup::Reason::Daily, 131},
                 {"20261124-190455", store::backup::Reason::Compaction, 140},
                 {"20261208-074920", store::backup::Reason::Daily, 152}};
    for (const auto& step : steps) {
        sql(database, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
                                     "i < %1) INSERT INTO Guests (LastName) SELECT 'Guest' || i FROM n")
                          .arg(step.guests)
                          .toUtf8()
                          .constData());
        const QString made = store::backup::make(database, step.reason);
        QFile::rename(made, store::backup::folderFor(database) + "/wedding-" + step.made + "-" +
                                store::backup::reasonKey(step.reason) + ".mdb");
    }
    return dir.path();
}

void restoreList()
{
    QTemporaryDir dir;
    shell::setProgramDirectory(weddingWithBackups(dir));
    controls::setModalHook([](QWidget* w) {
        if (w->objectName() != "frmRestore") {
            w->close();  // a first run's windows
            return 0;
        }
        w->show();
        w->activateWindow();
        shoot(w, "restore");
        static_cast<QDialog*>(w)->reject();
        return 0;
    });
    if (Main()) {
        frmMain::instance()->mnuRestore_Click();
        shutDownProgram();
    }
    controls::setModalHook({});
}

// Answers the next modal window (a message box shown with exec()) after taking its picture.
void shootNextMessage(const QString& name)
{
    QTimer::singleShot(600, [name] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            shoot(box, name);
            box->close();
        }
    });
}

void rescue()
{
    QTemporaryDir dir;
    shell::setProgramDirectory(weddingWithBackups(dir));
    {
        QFile f(dir.filePath("wedding.mdb"));
        f.open(QIODevice::ReadWrite);
        f.seek(4096);
        f.write(QByteArray(8 * 4096, char(0xA5)));
    }
    controls::setModalHook([](QWidget* w) {
        w->show();
        w->activateWindow();
        shoot(w, "rescue");
        w->close();  // Quit
        return 0;
    });
    shootNextMessage("cant-open");
    Main();
    controls::setModalHook({});
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    g_out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(g_out);
    restoreList();
    rescue();
    return 0;
}
