// The seating manager over a large wedding (300 tables, 10,000 guest parties, 6,000 of
// them seated): opening the window until it is shown with its first table, picking a
// table, seating one party, and refreshing the party lists. Each is measured several
// times; the median of each is printed in milliseconds of elapsed time (with the
// processor time of the program's thread beside it: on a busy machine the two differ)
// and, last, the worst elapsed median.
#include "shell/Program.h"
#include "bench/common/BenchTiming.h"
#include "controls/DataList.h"
#include "controls/DataSource.h"
#include "controls/Dialogs.h"
#include "seating/frmSeater.h"
#include "store/Store.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Tables = 300;
constexpr int Parties = 10000;
constexpr int Seated = 6000;  // 20 parties of 2 at each table: 40 of 50 seats taken
constexpr int Runs = 5;

void exec(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", error);
        std::exit(1);
    }
}

void fill(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    exec(db, "BEGIN");
    sqlite3_stmt* table = nullptr;
    sqlite3_prepare_v2(
        db,
        "INSERT INTO Tables (TableId, tablename, tablenumber, \"max\", assigned) VALUES (?, ?, ?, 50, 40)",
        -1, &table, nullptr);
    for (int t = 1; t <= Tables; ++t) {
        const QByteArray name = QStringLiteral("Table #%1").arg(t).toUtf8();
        sqlite3_bind_int(table, 1, t);
        sqlite3_bind_text(table, 2, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(table, 3, t);
        sqlite3_step(table);
        sqlite3_reset(table);
    }
    sqlite3_finalize(table);
    static const char* const prefixes[] = {"Mr.", "Mrs.", "Ms.", "Mr. and Mrs.", "Dr.", nullptr};
    static const char* const firsts[] = {"John", "Ann", "Siobhan", "Pieter", "Eve", "Tom", "Maria", "Li"};
    sqlite3_stmt* party = nullptr;
    sqlite3_prepare_v2(
        db,
        "INSERT INTO Guests (Prefix, FirstName, LastName, Invited, tableid, tabletot, guestof) "
        "VALUES (?, ?, ?, ?, ?, ?, 'Both')",
        -1, &party, nullptr);
    for (int p = 0; p < Parties; ++p) {
        const QByteArray last =
            QStringLiteral("Family%1").arg((p * 7919) % Parties, 5, 10, QLatin1Char('0')).toUtf8();
        if (const char* prefix = prefixes[p % 6])
            sqlite3_bind_text(party, 1, prefix, -1, SQLITE_STATIC);
        else
            sqlite3_bind_null(party, 1);
        sqlite3_bind_text(party, 2, firsts[p % 8], -1, SQLITE_STATIC);
        sqlite3_bind_text(party, 3, last.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(party, 4, 1 + p % 4);
        const bool seated = p < Seated;
        sqlite3_bind_int(party, 5, seated ? 1 + p % Tables : 0);
        sqlite3_bind_int(party, 6, seated ? 2 : 0);
        sqlite3_step(party);
        sqlite3_reset(party);
    }
    sqlite3_finalize(party);
    exec(db, "COMMIT");
    sqlite3_close(db);
}

struct Step {
    const char* name;
    std::vector<double> wall, cpu;
    void add(const bench::Stopwatch& watch)
    {
        const auto [w, c] = watch.read();
        wall.push_back(w);
        cpu.push_back(c);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wedding.mdb"));
    if (!QFile::copy(QStringLiteral(ORVANE_DELIVERED_DB), path)) {
        std::fprintf(stderr, "cannot copy the delivered database\n");
        return 1;
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    fill(path);
    shell::program().DatabasePath = path;
    store::Workspace::defaultWorkspace().openDatabase(path);

    controls::ScopedFakeDialogs dialogs;
    Step opening{"open manager until shown"}, pick{"table pick"}, seat{"seat one party"},
        refresh{"Refresh_All"};
    bench::Stopwatch timer;
    int run = 0;
    controls::setModalHook([&](QWidget* window) {
        auto* w = qobject_cast<frmSeater*>(window);
        if (!w)
            return 0;
        w->show();
        QCoreApplication::processEvents();  // painted, and the first table's panel filled
        opening.add(timer);
        if (w->lblgroups->text() != QStringLiteral("20"))
            std::fprintf(stderr, "the first table's panel was not filled when shown\n");

        timer.start();
        const int table = 37 + 50 * run;
        w->DBList1->setListIndex(table);
        w->DBList1_Click();
        QCoreApplication::processEvents();
        pick.add(timer);

        timer.start();
        w->List1->setCurrentRow(100 + run);
        w->List1_Click();
        dialogs->inputAnswers = {{true, QStringLiteral("1")}};
        w->Command5_Click();
        QCoreApplication::processEvents();
        seat.add(timer);

        timer.start();
        w->Refresh_All();
        QCoreApplication::processEvents();
        refresh.add(timer);

        if (w->List1->count() != Parties - Seated - run - 1 || !dialogs->messages().empty())
            std::fprintf(stderr, "unexpected state after run %d: %d unassigned, %d messages\n", run,
                         int(w->List1->count()), int(dialogs->messages().size()));
        w->close();
        return 0;
    });
    for (run = 0; run < Runs; ++run) {
        timer.start();
        showSeatingManager();
    }
    controls::setModalHook({});

    std::printf("tables: %d, parties: %d (%d seated), median of %d runs\n", Tables, Parties, Seated, Runs);
    double worst = 0;
    for (const Step* step : {&opening, &pick, &seat, &refresh}) {
        const double wall = bench::median(step->wall);
        std::printf("%s: %.1f ms (processor %.1f ms)\n", step->name, wall, bench::median(step->cpu));
        worst = std::max(worst, wall);
    }
    std::printf("worst: %.1f ms\n", worst);
    return 0;
}
