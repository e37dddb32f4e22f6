// Times the guest window over a wedding of 10,000 parties: opening it until it is shown,
// moving to the next guest, a pick in the quick-search list, and the summary figures.
// Each figure is the median of its repetitions (the slowest run beside it); the last
// line is the slowest of the four medians.
#include "bench/common/BenchTiming.h"
#include "bench/common/ProgramSetup.h"
#include "controls/DataList.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "guests/GuestSummary.h"
#include "guests/frmGuests.h"
#include "shell/Program.h"
#include "shell/Tips.h"
#include "store/Store.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int Guests = 10000;

// Realistic parties: varied names (accents, apostrophes), about half invited to the
// shower, some with gifts, none with label lines yet (so arriving fills them and
// leaving writes them, the slower path of a record change).
void fillGuests(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(
        db,
        "INSERT INTO Guests (Prefix, FirstName, LastName, Address, City, State, PostalCode, guestof, "
        "InvCeremony, InvReception, ShowerGuest, Invited, Confirmed, NumberAttending, ShowerInvited, "
        "wedamt) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
        -1, &insert, nullptr);
    const char* prefixes[] = {"Mr.", "Mrs.", "Ms.", "Mr. and Mrs.", "Dr.", nullptr};
    const char* firsts[] = {"John", "Siobhan", "Anneliese", "Văn Thành", "Maria", "Pieter", "Chloé", "Tom"};
    const char* lasts[] = {"Smith",  "O'Brien", "Müller",   "Nguyễn",   "Castellano-Díaz", "van der Berg",
                           "Abbott", "Zimmer",  "O'Malley", "Kowalski", "Dubois",          "Tanaka"};
    const char* sides[] = {"Bride", "Groom", "Both"};
    QRandomGenerator random(42);
    for (int i = 0; i < Guests; ++i) {
        const QByteArray last = QByteArray(lasts[random.bounded(12)]) + QByteArray::number(i);
        const QByteArray address = QByteArray::number(i) + " Oak Street";
        sqlite3_reset(insert);
        const char* prefix = prefixes[random.bounded(6)];
        prefix ? sqlite3_bind_text(insert, 1, prefix, -1, SQLITE_STATIC) : sqlite3_bind_null(insert, 1);
        sqlite3_bind_text(insert, 2, firsts[random.bounded(8)], -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, last.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, address.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 5, "Springfield", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 6, "IL", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 7, "62701", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 8, sides[random.bounded(3)], -1, SQLITE_STATIC);
        sqlite3_bind_int(insert, 9, 1);
        sqlite3_bind_int(insert, 10, random.bounded(10) < 9);
        sqlite3_bind_int(insert, 11, random.bounded(2));
        sqlite3_bind_int(insert, 12, 1 + random.bounded(4));
        sqlite3_bind_int(insert, 13, random.bounded(2));
        sqlite3_bind_int(insert, 14, random.bounded(3));
        sqlite3_bind_int(insert, 15, random.bounded(3));
        random.bounded(4) == 0 ? sqlite3_bind_int64(insert, 16, 500000 + random.bounded(1000000))
                               : sqlite3_bind_null(insert, 16);
        sqlite3_step(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wedding.mdb"));
    if (!bench::copyDeliveredWedding(ORVANE_DELIVERED_DB, path))
        return 1;
    fillGuests(path);

    std::unique_ptr<store::Recordset> invited;
    bench::openAsTheProgram(path, invited);

    // Opening: from creating the window until it has been shown and painted.
    std::unique_ptr<frmGuests> window;
    const bench::Timing open = bench::timed(
        5, [&] { window.reset(); },
        [&] {
            window = std::make_unique<frmGuests>();
            window->Form_Load();
            window->show();
            QApplication::processEvents();
        });

    // Record change: the navigator's next guest, each arrival filling and each leaving
    // writing the label lines.
    const bench::Timing next = bench::timed(200, nullptr, [&] {
        window->Data1->navigateNext();
        QApplication::processEvents();
    });

    // Quick search: a pick anywhere in the list.
    QRandomGenerator random(7);
    const bench::Timing pick = bench::timed(
        200, [&] { window->addDBList1->setListIndex(random.bounded(window->addDBList1->count())); },
        [&] {
            window->addDBList1_Click();
            QApplication::processEvents();
        });

    const bench::Timing summary = bench::timed(20, nullptr, [&] { GuestSummary(); });

    bench::report("opening the window", open, 300);
    bench::report("next guest", next, 20);
    bench::report("quick-search pick", pick, 20);
    bench::report("GuestSummary", summary, 20);
    window.reset();
    shell::program().InvitedSnapshot = nullptr;
    invited.reset();
    store::Workspace::defaultWorkspace().close();
    std::printf("worst: %.2f ms\n", std::max({open.median, next.median, pick.median, summary.median}));
    return 0;
}
