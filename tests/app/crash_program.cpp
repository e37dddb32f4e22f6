// The child of the program crash tests: runs one of the program's own writing paths over and
// over in a program directory until it is killed, and reports on stdout each step only after
// the step has returned ("-1" when a step begins, then what it reports when it has finished).
//
// Usage: orvane_crash_program SCENARIO PROGRAM-DIRECTORY
//   general   open General Information, type the next of seven wedding dates, Close
//             (reports "<date index>")
//   guests    add a guest party, and remove one every third step (reports the guest count)
//   compact   Database, Compact Database, answering Yes (reports the step number)
//   repair    put the damaged file damaged.mdb in place and repair it (reports the step)
//   backup    make a backup (reports the step)
//   restore   restore the backups a.mdb and b.mdb in turn (reports the one restored, 0 or 1)
//   seating   seat and unseat parties, and seat everyone by plan (reports the seating's
//             fingerprint)
//   tables    add, change and delete tables in the table editor, and seat a party at the
//             newest (reports as seating does)
//   bulk      invite every party to the rehearsal or take them all off it, and every third step
//             undo the last change (reports the parties invited to the rehearsal)
// Started on a file it cannot open, the program offers its rescue window: the child chooses
// Repair there, as a user would.
#include "app/Maintenance.h"
#include "app/Recovery.h"
#include "app/Startup.h"
#include "app/frmMain.h"
#include "app/frmRescue.h"
#include "controls/Dialogs.h"
#include "guests/BulkChange.h"
#include "guests/GuestStore.h"
#include "shell/DatePicker.h"
#include "shell/Paths.h"
#include "shell/Program.h"
#include "shell/Sound.h"
#include "store/Backup.h"
#include "store/Undo.h"
#include "tests/app/CrashChild.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <unistd.h>

#include <cstdio>

namespace crashchild {

void report(qint64 value)
{
    char line[32];
    const int n = std::snprintf(line, sizeof line, "%lld\n", static_cast<long long>(value));
    if (::write(1, line, size_t(n)) != n)
        ::_exit(1);
    // A pause between steps, as between a person's actions: the kills that fall in it find
    // the file holding exactly the steps reported.
    ::usleep(5000);
}

void stepBegins()
{
    if (::write(1, "-1\n", 3) != 3)
        ::_exit(1);
}

}  // namespace crashchild

namespace {

using crashchild::report;

// A window shown modally: the rescue window offered at start-up is answered with Repair,
// a table editor is driven by the step under way, any other window is closed.
int answerModal(QWidget* window)
{
    if (auto* rescue = qobject_cast<frmRescue*>(window)) {
        rescue->cmdRepair->click();
        return rescue->result();
    }
    if (!crashchild::driveTableEditor(window))
        window->close();
    return 0;
}

QDate weddingDate(int index)
{
    return QDate(2030, 1, 31).addMonths(index);  // month ends: the clamped month arithmetic is used
}

int runGeneral(frmMain& main)
{
    for (qint64 step = 0;; ++step) {
        crashchild::stepBegins();
        main.imggeneral_Click();
        main.txtweddingdate->setText(shell::dateText(weddingDate(int(step % 7))));
        main.SSCommand4_Click();
        if (main.generalOpen())
            return 3;
        report(step % 7);
    }
}

int runGuests()
{
    store::Database& db = shell::database();
    auto count = [&] { return db.openRecordset("Guests", store::RecordsetType::Snapshot)->recordCount(); };
    for (qint64 step = 1;; ++step) {
        crashchild::stepBegins();
        if (step % 3 == 0) {
            auto rs = db.openRecordset("Guests", store::RecordsetType::Dynaset);
            guests::removeGuest(*rs);
        } else {
            guests::addGuest(db, QStringLiteral("Crash"), QString::number(step));
        }
        report(count());
    }
}

int runBulk()
{
    store::Database& db = shell::database();
    auto invited = [&] {
        return db
            .openRecordset("SELECT rowid FROM Guests WHERE InvRehearsal = True",
                           store::RecordsetType::Snapshot)
            ->recordCount();
    };
    while (db.openRecordset("Guests", store::RecordsetType::Snapshot)->recordCount() < 30)
        guests::addGuest(db, QStringLiteral("Bulk"), QStringLiteral("Party"));
    for (qint64 step = 1;; ++step) {
        std::vector<qint64> keys;
        for (const guests::PartyRow& r : guests::loadParties(db).rows)
            keys.push_back(r.key);
        crashchild::stepBegins();
        if (step % 3 == 0) {
            try {
                store::undo::undoLast(db);
            } catch (const store::StoreError&) {
                // Nothing to undo after a killed run forgot its step: the next change makes one.
            }
        } else {
            using K = guests::BulkChange::Kind;
            const K kind = invited() > 0 ? K::Uninvite : K::Invite;
            guests::applyChange(
                db, keys,
                {kind, guests::Event::Rehearsal, {}, guests::Reply::Attending, guests::Occasion::Wedding});
        }
        report(invited());
    }
}

int runMaintenance(frmMain& main, controls::FakeDialogs& dialogs, bool compact)
{
    for (qint64 step = 1;; ++step) {
        dialogs.messageAnswers = {controls::mb::Yes, controls::mb::OK};
        dialogs.calls.clear();
        crashchild::stepBegins();
        if (compact) {
            main.mnuCompact_Click();
        } else {
            // Put the damaged file in place in one step, then repair it through the menu.
            const QString path = shell::program().DatabasePath;
            main.mnuRepair_Click();  // repairs the file in place (first run: the sound one)
            store::Workspace::defaultWorkspace().close();
            QFile::remove(path + ".next");
            QFile::copy(QFileInfo(path).absolutePath() + "/damaged.mdb", path + ".next");
            if (::rename(QFile::encodeName(path + ".next").constData(),
                         QFile::encodeName(path).constData()) != 0)
                return 4;
            try {
                store::Workspace::defaultWorkspace().openDatabase(path);
            } catch (const store::StoreError&) {
                // A damaged file may not open; the menu's repair closes it anyway.
            }
        }
        for (const controls::DialogCall& call : dialogs.messages())
            if (call.text.contains(QLatin1String("unsuccessful")))
                return 5;
        report(step);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: orvane_crash_program SCENARIO PROGRAM-DIRECTORY\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString scenario = QString::fromLocal8Bit(argv[1]);
    shell::setProgramDirectory(QString::fromLocal8Bit(argv[2]));
    shell::setModuleDirectory(QStringLiteral(ORVANE_MODULE_DIR));
    controls::ScopedFakeDialogs dialogs;
    controls::setModalHook(answerModal);
    shell::setSoundPlayer([](const QByteArray&) {});
    try {
        if (scenario == "backup" || scenario == "restore") {
            const QString path = shell::programDirectory() + "/wedding.mdb";
            for (qint64 step = 1;; ++step) {
                crashchild::stepBegins();
                if (scenario == "backup") {
                    store::backup::make(path, store::backup::Reason::Manual);
                    report(step);
                } else {
                    store::backup::restore(path,
                                           shell::programDirectory() + (step % 2 ? "/a.mdb" : "/b.mdb"));
                    report(step % 2 ? 0 : 1);
                }
            }
        }
        if (!Main())
            return 3;
        frmMain& main = *frmMain::instance();
        if (scenario == "general")
            return runGeneral(main);
        if (scenario == "guests")
            return runGuests();
        if (scenario == "bulk")
            return runBulk();
        if (scenario == "compact" || scenario == "repair")
            return runMaintenance(main, *dialogs, scenario == "compact");
        if (scenario == "seating")
            return crashchild::runSeating(*dialogs);
        if (scenario == "tables")
            return crashchild::runTables(*dialogs);
    } catch (const store::StoreError& e) {
        std::fprintf(stderr, "store error %d: %s\n", e.number(), e.description().toLocal8Bit().constData());
        return 1;
    }
    std::fprintf(stderr, "unknown scenario\n");
    return 2;
}
