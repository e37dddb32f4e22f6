// Guest import and export at the size of a large wedding list: a CSV of N rows imported
// into a wedding that already holds 10,000 parties (reading, duplicate review, backup and
// the one transaction), for N = 5,000 and 10,000 to show the growth, and exports of
// 10,000 guests to CSV and XLSX. The last line is the import time of 10,000 rows in ms.
#include "bench/common/BenchTiming.h"

#include "exchange/CsvFile.h"
#include "exchange/Export.h"
#include "exchange/GuestImport.h"
#include "store/Store.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const char* const Firsts[] = {"Liam",  "Grace", "Priya", "Noah", "Chloé",
                              "Tomás", "Isla",  "Mateo", "Zoë",  "Kenji"};
const char* const Lasts[] = {"Okafor",   "Moreau", "Haddad",  "Schäfer",
                             "van Dijk", "Patel",  "MacLeod", "Lindqvist"};

// A wedding file holding `parties` parties, made with plain SQL (the setup is not measured).
QString makeWedding(const QTemporaryDir& dir, int parties)
{
    const QString path = dir.filePath(QStringLiteral("wedding.mdb"));
    QFile::remove(path);
    QFile::copy(QStringLiteral(ORVANE_DELIVERED_DB), path);
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO Guests (FirstName, LastName, Address, guestof) VALUES (?, ?, ?, 'Both')",
                       -1, &st, nullptr);
    for (int i = 0; i < parties; ++i) {
        const QByteArray first = QStringLiteral("%1%2").arg(Firsts[i % 10]).arg(i).toUtf8();
        const QByteArray last = QString::fromUtf8(Lasts[i % 8]).toUtf8();
        const QByteArray address = QStringLiteral("%1 Old Mill Road").arg(i).toUtf8();
        sqlite3_bind_text(st, 1, first.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, last.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, address.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return path;
}

// A guest list of `rows` rows; one row in ten repeats a party of the wedding.
QString makeList(const QTemporaryDir& dir, int rows)
{
    const QString path = dir.filePath(QStringLiteral("list-%1.csv").arg(rows));
    QByteArray csv =
        "\xEF\xBB\xBFGuest Name(s),Street Address,City,State,ZIP,Side,# Invited,Ceremony,RSVP\r\n";
    for (int i = 0; i < rows; ++i) {
        const bool repeat = i % 10 == 0;
        const QString name =
            repeat ? QStringLiteral("%1%2 %3").arg(Firsts[i % 10]).arg(i).arg(QString::fromUtf8(Lasts[i % 8]))
                   : QStringLiteral("Mr. and Mrs. Guest%1 Family%2").arg(i).arg(i % 997);
        csv += exchange::csvLine({name, QStringLiteral("%1 Harbour Rd, Apt %2").arg(i).arg(i % 40),
                                  QStringLiteral("Halifax"), QStringLiteral("NS"), QStringLiteral("B3H 1A1"),
                                  i % 3 ? QStringLiteral("bride's family") : QStringLiteral("Groom (work)"),
                                  QString::number(1 + i % 4), QStringLiteral("x"),
                                  i % 2 ? QStringLiteral("Yes") : QString()});
    }
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(csv);
    return path;
}

struct Timing {
    double wall = 0, cpu = 0;
    int added = 0;
};

Timing timeImport(const QTemporaryDir& dir, int rows)
{
    const QString wedding = makeWedding(dir, 10000);
    const QString list = makeList(dir, rows);
    store::Database& db = store::Workspace::defaultWorkspace().openDatabase(wedding);
    bench::Stopwatch watch;
    watch.start();
    const exchange::CsvTable table = exchange::readCsvFile(list);
    const double read = watch.read().first;
    exchange::ImportSettings settings;
    settings.mapping = exchange::guessMapping(table.headers);
    const exchange::GuestList guests = exchange::loadGuestList(db);
    const double loaded = watch.read().first;
    const exchange::ImportReview review = exchange::reviewImport(table, settings, guests);
    const double reviewed = watch.read().first;
    const exchange::ImportResult result = exchange::runImport(db, review);
    const auto [wall, cpu] = watch.read();
    std::printf("  %d rows: read %.0f, parties loaded %.0f, review %.0f, backup and write %.0f ms\n", rows,
                read, loaded - read, reviewed - loaded, wall - reviewed);
    QFile::remove(result.backupPath);
    store::Workspace::defaultWorkspace().close();
    return {wall, cpu, result.added};
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    std::vector<double> half, full;
    int added = 0;
    for (int round = 0; round < 3; ++round) {
        half.push_back(timeImport(dir, 5000).wall);
        const Timing t = timeImport(dir, 10000);
        full.push_back(t.wall);
        added = t.added;
    }
    std::printf("import 5,000 rows into 10,000 parties: %.0f ms (median of 3)\n", bench::median(half));
    std::printf("import 10,000 rows into 10,000 parties: %.0f ms (median of 3), %d parties added\n",
                bench::median(full), added);
    std::printf("growth from 5,000 to 10,000 rows: %.2f (2.00 is linear)\n",
                bench::median(full) / bench::median(half));

    const QString wedding = makeWedding(dir, 10000);
    store::Database& db = store::Workspace::defaultWorkspace().openDatabase(wedding);
    for (const char* name : {"guests.csv", "guests.xlsx"}) {
        bench::Stopwatch watch;
        watch.start();
        exchange::exportList(db, exchange::ExportList::Guests, dir.filePath(QString::fromLatin1(name)));
        std::printf("export 10,000 guests to %s: %.0f ms\n", name, watch.read().first);
    }
    store::Workspace::defaultWorkspace().close();
    std::printf("%.0f\n", bench::median(full));
    return 0;
}
