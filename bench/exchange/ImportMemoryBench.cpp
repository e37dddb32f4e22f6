// The memory a long guest list takes to read and review: 16 MB of the couple's spreadsheet
// sample (tests/data/imports/guest-spreadsheet.csv, its rows repeated with numbered names
// and addresses) read, mapped and reviewed as `orvane-cli import-guests --dry-run`
// does it. The peak resident memory of those steps above what the process held before them
// is printed against the file's size; the last line is that ratio (the target: at most 10).
#include "bench/common/BenchTiming.h"

#include "exchange/CsvFile.h"
#include "exchange/GuestImport.h"
#include "store/Store.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr qint64 ListBytes = 16 * 1024 * 1024;

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
qint64 statusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLongLong();
    return -1;
}

// Starts the peak (VmHWM) afresh from the present resident size.
bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// The sample's data rows again and again, each copy's names followed and street numbers
// preceded by the copy's number, until the list holds `bytes`. Among the rows are new
// parties, likely duplicates and problems, as in the sample.
QString makeList(const QTemporaryDir& dir, qint64 bytes)
{
    const exchange::CsvTable sample =
        exchange::readCsvFile(QStringLiteral(ORVANE_SOURCE_DIR "/tests/data/imports/guest-spreadsheet.csv"));
    QByteArray csv = "\xEF\xBB\xBF" + exchange::csvLine(sample.headers);
    for (int copy = 0; csv.size() < bytes; ++copy) {
        for (qsizetype r = 0; r < sample.rows.size() && csv.size() < bytes; ++r) {
            QStringList cells = sample.rows[r];
            cells[0] = QStringLiteral("%1 %2").arg(cells[0]).arg(copy);
            cells[1] = QStringLiteral("%1-%2").arg(copy).arg(cells[1]);
            csv += exchange::csvLine(cells);
        }
    }
    const QString path = dir.filePath(QStringLiteral("guests.csv"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(csv);
    return path;
}

// Reads and reviews the list in a process of its own, so that the memory the list's making
// took and gave back is not counted as free room.
int measure(const QString& list, const QString& wedding)
{
    store::Database& db = store::Workspace::defaultWorkspace().openDatabase(wedding);
    const double fileMb = double(QFile(list).size()) / (1024.0 * 1024.0);
    if (!resetPeak()) {
        std::printf("the peak memory cannot be reset on this system\n");
        return 1;
    }
    const qint64 before = statusKb("VmRSS");
    bench::Stopwatch watch;
    watch.start();
    const exchange::CsvTable table = exchange::readCsvFile(list);
    const double readMs = watch.read().first;
    const qint64 afterRead = statusKb("VmRSS");
    exchange::ImportSettings settings;
    settings.mapping = exchange::guessMapping(table.headers);
    const exchange::ImportReview review =
        exchange::reviewImport(table, settings, exchange::loadGuestList(db));
    const exchange::ImportResult plan = exchange::planSummary(review);
    const double reviewMs = watch.read().first - readMs;
    const qint64 afterReview = statusKb("VmRSS");
    const qint64 peak = statusKb("VmHWM");

    const auto mb = [](qint64 kb) { return double(kb) / 1024.0; };
    std::printf(
        "list: %.1f MB, %lld rows: %d new, %d likely duplicates, %d problems; %d parties would be added\n",
        fileMb, qlonglong(table.rows.size()), review.newCount(), review.duplicateCount(),
        review.problemCount(), plan.added);
    std::printf("read: %.0f ms, reviewed: %.0f ms\n", readMs, reviewMs);
    std::printf("resident above the start: %.1f MB after reading, %.1f MB after reviewing, peak %.1f MB\n",
                mb(afterRead - before), mb(afterReview - before), mb(peak - before));
    std::printf("peak memory of reading and reviewing / file size: %.1f\n", mb(peak - before) / fileMb);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && QByteArray(argv[1]) == "--measure")
        return measure(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    QTemporaryDir dir;
    const QString list = makeList(dir, ListBytes);
    const QString wedding = dir.filePath(QStringLiteral("wedding.mdb"));
    QFile::copy(QStringLiteral(ORVANE_DELIVERED_DB), wedding);
    QFile(wedding).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--measure"), list, wedding});
    child.waitForFinished(-1);
    return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : 1;
}
