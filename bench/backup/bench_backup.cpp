// Backups of a 10,000-guest wedding file: making one while the program has the file open,
// listing the backups with their counts, and restoring one. Each step runs several times;
// the figures are the median and the slowest wall time. The last line is the slowest backup
// in milliseconds (the user waits for it; the target is at most 500).
#include "bench/common/BenchTiming.h"
#include "store/Backup.h"
#include "store/Store.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <string>

namespace {

constexpr int kGuests = 10000;
constexpr int kRuns = 7;

void fill(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO Guests (Prefix, FirstName, LastName, Address, City, State, PostalCode, "
                       "HomePhone, Invited, EngageGift) VALUES ('Mr. and Mrs.', ?1, ?2, ?3, 'Springfield', 'IL', "
                       "'62701', '555-0100', ?4, ?5)",
                       -1, &st, nullptr);
    for (int i = 0; i < kGuests; ++i) {
        const std::string first = "First" + std::to_string(i % 97);
        const std::string last = "Last" + std::to_string((i * 7919) % kGuests);
        const std::string address = std::to_string(i) + " Main Street";
        const std::string notes(size_t(40 + i % 200), 'n');
        sqlite3_bind_text(st, 1, first.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, last.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, address.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 4, 1 + i % 4);
        sqlite3_bind_text(st, 5, notes.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void print(const char* what, const std::vector<double>& ms)
{
    std::printf("%-44s median %7.1f ms, slowest %7.1f ms\n", what, bench::median(ms), bench::slowest(ms));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("wedding.mdb");
    if (!QFile::copy(QStringLiteral(ORVANE_DELIVERED_DB), path)) {
        std::fprintf(stderr, "cannot copy the delivered database\n");
        return 1;
    }
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    fill(path);
    std::printf("wedding file: %d guest parties, %.1f MB\n", kGuests, double(QFileInfo(path).size()) / 1e6);

    try {
        store::Workspace& ws = store::Workspace::defaultWorkspace();
        ws.openDatabase(path);  // as while the program runs
        std::vector<double> backups, lists, restores;
        QString last;
        for (int i = 0; i < kRuns; ++i) {
            QElapsedTimer t;
            t.start();
            last = store::backup::make(path, store::backup::Reason::Manual);
            backups.push_back(bench::msSince(t));
        }
        for (int i = 0; i < kRuns; ++i) {
            QElapsedTimer t;
            t.start();
            const auto entries = store::backup::list(path);
            lists.push_back(bench::msSince(t));
            if (entries.empty() || entries.front().guestParties != kGuests) {
                std::fprintf(stderr, "the backup list does not count the guests\n");
                return 1;
            }
        }
        ws.close();
        for (int i = 0; i < 3; ++i) {
            QElapsedTimer t;
            t.start();
            store::backup::restore(path, last);  // keeps the current file as a backup first
            restores.push_back(bench::msSince(t));
        }
        std::printf("backups kept: %zu\n", store::backup::list(path, false).size());
        print("list the backups with their counts", lists);
        print("restore (includes backing up the current file)", restores);
        print("backup of the open file", backups);
        std::printf("backup ms: %.1f\n", bench::slowest(backups));
    } catch (const store::StoreError& e) {
        std::fprintf(stderr, "store error %d: %s\n", e.number(), e.description().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
