// Saves pictures of the guest import wizard's steps with a sample guest list, and of the
// export windows, under a real display:
//
//   xvfb-run -a -s "-screen 0 1280x800x24" build/tools/exchange_screenshots OUT_DIR GUEST_LIST.csv
//   [PEOPLE.csv]
//
// With a list of people (one row per person, grouped by a household column), also its columns
// step and its review, each party with its members.
#include "exchange/frmExport.h"
#include "exchange/frmImportGuests.h"
#include "guests/MemberImport.h"
#include "tools/ScreenshotKit.h"

#include "store/Store.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

using shots::shoot;
QString& g_out = shots::outputFolder();

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: exchange_screenshots OUT_DIR GUEST_LIST.csv [PEOPLE.csv]\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_out);
    QTemporaryDir dir;
    const QString database = dir.filePath("wedding.mdb");
    QFile::copy(ORVANE_DELIVERED_DB, database);
    QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
    store::Database& db = store::Workspace::defaultWorkspace().openDatabase(database);
    // A wedding that already knows two of the sample's parties.
    db.execute(
        "INSERT INTO Guests (FirstName, LastName, Address, guestof) VALUES ('Isla', 'MacLeod', "
        "'4 Harbour Rd, Apt 3B', 'Bride')");
    db.execute("INSERT INTO Guests (FirstName, LastName, guestof) VALUES ('Samuel', 'Patel', 'Groom')");

    exchange::frmImportGuests wizard;
    wizard.move(40, 30);
    wizard.show();
    auto* file = wizard.findChild<QLineEdit*>("txtFile");
    file->setText(QString::fromLocal8Bit(argv[2]));
    emit file->editingFinished();
    shoot(&wizard, "import-1-file");
    wizard.next();
    shoot(&wizard, "import-2-columns");
    wizard.next();
    shoot(&wizard, "import-3-invitations");
    wizard.next();
    shoot(&wizard, "import-4-review-new");
    auto* tabs = wizard.findChild<QTabWidget*>("tabReview");
    tabs->setCurrentIndex(1);
    shoot(&wizard, "import-4-review-duplicates");
    tabs->setCurrentIndex(2);
    shoot(&wizard, "import-4-review-problems");
    wizard.button(QWizard::CommitButton)->click();
    shoot(&wizard, "import-5-done");
    wizard.close();

    if (argc > 3) {
        exchange::frmImportGuests people(nullptr, &guests::memberImport());
        people.resize(980, 600);
        people.move(40, 30);
        people.show();
        auto* list = people.findChild<QLineEdit*>("txtFile");
        list->setText(QString::fromLocal8Bit(argv[3]));
        emit list->editingFinished();
        people.next();
        shoot(&people, "import-people-columns");
        people.next();
        people.next();
        shoot(&people, "import-people-review");
        people.close();
    }

    exchange::frmExport lists(exchange::frmExport::Mode::Lists);
    lists.move(40, 30);
    lists.show();
    shoot(&lists, "export");
    lists.close();
    exchange::frmExport calendar(exchange::frmExport::Mode::Calendar);
    calendar.move(40, 30);
    calendar.show();
    shoot(&calendar, "export-calendar");
    calendar.close();
    store::Workspace::defaultWorkspace().close();
    return 0;
}
