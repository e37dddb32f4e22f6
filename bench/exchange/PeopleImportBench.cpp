// Importing a list of people grouped into parties at the size of a large wedding: 9,000
// people in 3,000 households (a couple and a child, meals, needs, an e-mail), read, reviewed
// against the members already there, backed up and written with the parties' counts in one
// transaction; and half of it, to show the growth. The wedding holds 3,000 parties with
// 9,000 members beforehand, so that every person is compared with members. The last line is
// the import time of 9,000 people in ms.
#include "bench/common/BenchTiming.h"

#include "exchange/CsvFile.h"
#include "exchange/GuestImport.h"
#include "guests/MemberImport.h"
#include "store/Layout.h"
#include "store/Store.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const char* const Lasts[] = {"Okafor",   "Moreau", "Haddad",  "Schäfer",
                             "van Dijk", "Patel",  "MacLeod", "Lindqvist"};
const char* const Meals[] = {"Beef", "Salmon", "Vegetarian", "Kids' meal", "Chicken"};

// A list of `households` households of three: two adults and a child.
QString makeList(const QTemporaryDir& dir, const QString& name, int households, int from)
{
    const QString path = dir.filePath(name);
    QByteArray csv =
        "Household,First Name,Last Name,Age Group,Meal,Dietary Needs,Email,Address,City,Side\r\n";
    for (int h = from; h < from + households; ++h) {
        const QString last = QStringLiteral("%1%2").arg(QString::fromUtf8(Lasts[h % 8])).arg(h);
        const QString address = QStringLiteral("%1 Harbour Rd").arg(h);
        for (int p = 0; p < 3; ++p)
            csv += exchange::csvLine({QStringLiteral("H%1").arg(h), QStringLiteral("Person%1").arg(p), last,
                                      p == 2 ? QStringLiteral("Child") : QStringLiteral("Adult"),
                                      QString::fromUtf8(Meals[(h + p) % 5]),
                                      p == 1 ? QStringLiteral("vegan, peanut allergy") : QString(),
                                      QStringLiteral("p%1.%2@example.com").arg(p).arg(h), address,
                                      QStringLiteral("Halifax"),
                                      h % 2 ? QStringLiteral("Bride") : QStringLiteral("Groom")});
    }
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(csv);
    return path;
}

exchange::ImportReview reviewList(store::Database& db, const QString& list)
{
    const exchange::CsvTable table = exchange::readCsvFile(list);
    exchange::ImportSettings settings;
    settings.mapping = exchange::guessMapping(table.headers);
    settings.people = &guests::memberImport();
    return exchange::reviewImport(table, settings, exchange::loadGuestList(db, settings.people));
}

// A wedding of 3,000 parties with 9,000 members, made by the import itself (not measured).
QString makeWedding(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("wedding.mdb"));
    QFile::remove(path);
    QFile::copy(QStringLiteral(ORVANE_DELIVERED_DB), path);
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    store::Database& db = store::Workspace::defaultWorkspace().openDatabase(path);
    store::upgradeLayout(db);
    const QString list = makeList(dir, QStringLiteral("wedding.csv"), 3000, 100000);
    exchange::runImport(db, reviewList(db, list), nullptr);
    store::Workspace::defaultWorkspace().close();
    return path;
}

struct Timing {
    double wall = 0;
    int people = 0;
};

Timing timeImport(const QTemporaryDir& dir, int households)
{
    const QString wedding = makeWedding(dir);
    const QString list = makeList(dir, QStringLiteral("people-%1.csv").arg(households), households, 0);
    store::Database& db = store::Workspace::defaultWorkspace().openDatabase(wedding);
    bench::Stopwatch watch;
    watch.start();
    const exchange::ImportReview review = reviewList(db, list);
    const double reviewed = watch.read().first;
    const exchange::ImportResult result = exchange::runImport(db, review);
    const double wall = watch.read().first;
    std::printf("  %d people in %d households: read and review %.0f, backup and write %.0f ms\n",
                result.people, households, reviewed, wall - reviewed);
    QFile::remove(result.backupPath);
    store::Workspace::defaultWorkspace().close();
    return {wall, result.people};
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    std::vector<double> half, full;
    int people = 0;
    for (int round = 0; round < 3; ++round) {
        half.push_back(timeImport(dir, 1500).wall);
        const Timing t = timeImport(dir, 3000);
        full.push_back(t.wall);
        people = t.people;
    }
    std::printf("import 4,500 people in 1,500 households: %.0f ms (median of 3)\n", bench::median(half));
    std::printf("import 9,000 people in 3,000 households: %.0f ms (median of 3), %d members added\n",
                bench::median(full), people);
    std::printf("growth from 4,500 to 9,000 people: %.2f (2.00 is linear)\n",
                bench::median(full) / bench::median(half));
    std::printf("%.0f\n", bench::median(full));
    return 0;
}
