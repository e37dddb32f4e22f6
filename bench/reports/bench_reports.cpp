// Mailing labels and the guest list to PDF, measured against gLabels' batch tool.
//
//   build/bin/bench_reports [path/to/labels-5160.glabels]
//
// For 3,000 and then 10,000 address labels on Avery 5160 (three lines each: name line,
// street, city/state/zip) it times our engine (reading the guests, laying out, writing
// the PDF) and glabels-3-batch on a CSV of the same addresses, prints both times and both
// page counts, then times the guest-list report of 10,000 guests. The last line is
// "ratio: X", the worse of the two ratios ours / gLabels.
#include "reports/PrepareReport.h"
#include "reports/ReportPdf.h"
#include "store/Store.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <cstdio>
#include <optional>

namespace {

struct Address {
    QString nameLine, prefix, first, last, street, city, state, zip;
    QString cityLine() const { return city + ", " + state + "  " + zip; }
};

Address addressNumber(int i)
{
    static const char* const firsts[] = {"John",    "Siobhan", "Anneliese", "Lan",      "Pieter",
                                         "Robert",  "Priya",   "Kwame",     "Margaret", "Emily",
                                         "Michael", "Sarah",   "David",     "Laura"};
    static const char* const lasts[] = {"Smith",       "O'Brien",      "Müller",
                                        "Nguyễn",      "van der Berg", "Castellano-Díaz",
                                        "Raghunathan", "Mensah",       "Featherstonehaugh",
                                        "Johnson",     "Williams",     "Brown"};
    static const char* const prefixes[] = {"Mr.", "Mrs.", "Ms.", "Dr.", "Mr. and Mrs."};
    static const char* const streets[] = {"Oak Street",  "Elm Avenue", "Harbour Road",
                                          "Lotus Lane",  "Canal Way",  "Mission Blvd",
                                          "Maple Court", "Garden Row", "Abbey Close"};
    static const char* const cities[][3] = {{"Springfield", "IL", "62701"},  {"Portland", "OR", "97201"},
                                            {"Boston", "MA", "02108"},       {"San Jose", "CA", "95112"},
                                            {"Grand Rapids", "MI", "49503"}, {"San Antonio", "TX", "78205"},
                                            {"Edison", "NJ", "08817"}};
    Address a;
    a.prefix = prefixes[i % 5];
    a.first = QString::fromUtf8(firsts[(i / 5) % 14]);
    a.last = QString::fromUtf8(lasts[(i / 7) % 12]);
    a.nameLine = a.prefix + ' ' + a.first + ' ' + a.last;
    a.street = QString::number(1 + i % 997) + ' ' + streets[i % 9];
    const auto& c = cities[i % 7];
    a.city = c[0];
    a.state = c[1];
    a.zip = c[2];
    return a;
}

void fail(const QString& what)
{
    std::fprintf(stderr, "bench_reports: %s\n", qPrintable(what));
    std::exit(1);
}

void exec(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(QString::fromUtf8(sqlite3_errmsg(db)));
}

// A fresh copy of the delivered database holding `count` guests marked for printing.
// The delivered wedding with `count` more guests, written with SQLite directly (fast), then
// opened through the store as the program reads it.
std::unique_ptr<store::Database> weddingWith(const QString& path, int count)
{
    QFile::remove(path);
    if (!QFile::copy(QStringLiteral(ORVANE_DELIVERED_DB), path))
        fail("cannot copy the delivered database " + QStringLiteral(ORVANE_DELIVERED_DB) +
             "; build it first");
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
        fail("cannot open " + path);
    exec(db, "BEGIN");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(
        db,
        "INSERT INTO Guests (Prefix, FirstName, LastName, wedlbl, Address, City, State, PostalCode, "
        "guestof, InvCeremony, InvReception, Invited, printit) VALUES (?,?,?,?,?,?,?,?,'Both',1,1,2,1)",
        -1, &insert, nullptr);
    for (int i = 0; i < count; ++i) {
        const Address a = addressNumber(i);
        const QString values[] = {a.prefix, a.first, a.last, a.nameLine, a.street, a.city, a.state, a.zip};
        for (int k = 0; k < 8; ++k)
            sqlite3_bind_text16(insert, k + 1, values[k].utf16(), int(values[k].size() * 2),
                                SQLITE_TRANSIENT);
        if (sqlite3_step(insert) != SQLITE_DONE)
            fail(QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    exec(db, "COMMIT");
    sqlite3_close(db);
    return store::Database::openFile(path, store::OpenMode::ReadOnly);
}

QString csvField(const QString& s)
{
    if (!s.contains(',') && !s.contains('"'))
        return s;
    return '"' + QString(s).replace("\"", "\"\"") + '"';
}

void writeCsv(const QString& path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail("cannot write " + path);
    QTextStream out(&file);
    for (int i = 0; i < count; ++i) {
        const Address a = addressNumber(i);
        out << csvField(a.nameLine) << ',' << csvField(a.street) << ',' << csvField(a.cityLine()) << '\n';
    }
}

std::optional<int> pdfPages(const QString& path)
{
    if (!QStandardPaths::findExecutable("pdfinfo").isEmpty()) {
        QProcess info;
        info.start("pdfinfo", {path});
        info.waitForFinished(60000);
        const auto match =
            QRegularExpression("Pages:\\s+(\\d+)").match(QString::fromUtf8(info.readAllStandardOutput()));
        if (match.hasMatch())
            return match.captured(1).toInt();
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return int(QString::fromLatin1(file.readAll()).count(QRegularExpression("/Type\\s*/Page[^s]")));
}

QString pagesText(std::optional<int> pages)
{
    return pages ? QString::number(*pages) : QStringLiteral("?");
}

struct Run {
    double seconds = 0;
    std::optional<int> pages;
};

Run ourLabels(const QString& dir, const QString& templates, int count)
{
    const std::unique_ptr<store::Database> db = weddingWith(dir + "/labels.mdb", count);
    const QString pdf = dir + QString("/ours-%1.pdf").arg(count);
    QElapsedTimer timer;
    timer.start();
    const reports::ReportPages pages = reports::prepareReport(*db, templates + "/lbl5160.rpt", QString());
    reports::writePdf(pages, pdf);
    return Run{timer.nsecsElapsed() / 1e9, pdfPages(pdf)};
}

std::optional<Run> glabelsLabels(const QString& dir, const QString& document, int count)
{
    const QString tool = QStandardPaths::findExecutable("glabels-3-batch");
    if (tool.isEmpty() || document.isEmpty())
        return std::nullopt;
    const QString csv = dir + QString("/addresses-%1.csv").arg(count);
    writeCsv(csv, count);
    QFile source(document);
    if (!source.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString doc = QString::fromUtf8(source.readAll());
    doc.replace(QRegularExpression("src=\"[^\"]*\""), "src=\"" + csv + "\"");
    const QString glabels = dir + QString("/labels-%1.glabels").arg(count);
    QFile out(glabels);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail("cannot write " + glabels);
    out.write(doc.toUtf8());
    out.close();
    const QString pdf = dir + QString("/glabels-%1.pdf").arg(count);
    QProcess batch;
    batch.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    batch.start(tool, {"-o", pdf, glabels});
    if (!batch.waitForFinished(15 * 60 * 1000) || batch.exitCode() != 0)
        fail("glabels-3-batch failed: " + QString::fromUtf8(batch.readAll()).left(500));
    return Run{timer.nsecsElapsed() / 1e9, pdfPages(pdf)};
}

QString findGlabelsDocument(int argc, char** argv)
{
    if (argc > 1)
        return QString::fromLocal8Bit(argv[1]);
    const QString inRepository = QStringLiteral(ORVANE_SOURCE_DIR "/tests/data/bench/labels-5160.glabels");
    return QFileInfo::exists(inRepository) ? QFileInfo(inRepository).canonicalFilePath() : QString();
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString templates = QStringLiteral(ORVANE_BIN_DIR);
    const QString document = findGlabelsDocument(argc, argv);
    const bool haveGlabels =
        !QStandardPaths::findExecutable("glabels-3-batch").isEmpty() && !document.isEmpty();
    if (!haveGlabels)
        std::printf(
            "gLabels is not available (glabels-3-batch or labels-5160.glabels missing): only our figures\n");

    std::optional<double> worstRatio;
    double perThousand[2] = {0, 0};
    int step = 0;
    for (int count : {3000, 10000}) {
        const Run ours = ourLabels(dir.path(), templates, count);
        perThousand[step++] = ours.seconds / count * 1000;
        std::printf("%6d labels on 5160: ours %.2f s, %s pages", count, ours.seconds,
                    qPrintable(pagesText(ours.pages)));
        if (const std::optional<Run> theirs = glabelsLabels(dir.path(), document, count)) {
            const double ratio = ours.seconds / theirs->seconds;
            worstRatio = std::max(worstRatio.value_or(0), ratio);
            std::printf("; gLabels %.2f s, %s pages; pages agree: %s; ratio %.4f", theirs->seconds,
                        qPrintable(pagesText(theirs->pages)), ours.pages == theirs->pages ? "yes" : "NO",
                        ratio);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    std::printf("ours per 1,000 labels: %.3f s at 3,000, %.3f s at 10,000 (growth x%.2f per label)\n",
                perThousand[0], perThousand[1], perThousand[1] / perThousand[0]);

    const std::unique_ptr<store::Database> db = weddingWith(dir.path() + "/guests.mdb", 10000);
    QElapsedTimer timer;
    timer.start();
    const reports::ReportPages list = reports::prepareReport(*db, templates + "/guests.rpt", QString());
    reports::writePdf(list, dir.path() + "/guests.pdf");
    std::printf("guest list of 10,000 guests to PDF: %.2f s, %zu pages\n", timer.nsecsElapsed() / 1e9,
                list.pages.size());

    if (worstRatio)
        std::printf("ratio: %.4f\n", *worstRatio);
    else
        std::printf("ratio: unavailable (gLabels is not installed)\n");
    return 0;
}
