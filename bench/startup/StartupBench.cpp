// Measures the start-up of the program as a whole process, from launch until its main
// window has been shown (the program quits itself then under ORVANE_QUIT_WHEN_SHOWN),
// against a minimal Qt Widgets program that shows one window, in the same run.
// Prints both medians and, last, their ratio.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 15;

double launch(const QString& program, const QString& workingDir)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORVANE_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    if (!env.contains(QStringLiteral("DISPLAY")) && !env.contains(QStringLiteral("WAYLAND_DISPLAY")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workingDir);
    QElapsedTimer timer;
    timer.start();
    process.start(program, {});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        std::fprintf(stderr, "%s did not start and quit cleanly\n", qPrintable(program));
        std::exit(1);
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A program directory with the program, its help file and a wedding that has its names,
// so that start-up goes straight to the main window.
QString prepareProgramDir(const QTemporaryDir& dir, const QString& binDir)
{
    const QString program = dir.filePath(QStringLiteral("orvane"));
    QFile::copy(binDir + QStringLiteral("/orvane"), program);
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::copy(binDir + QStringLiteral("/Orvane.HLP"), dir.filePath(QStringLiteral("Orvane.HLP")));
    const QString database = dir.filePath(QStringLiteral("wedding.mdb"));
    QFile::copy(QStringLiteral(ORVANE_DELIVERED_DB), database);
    QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
    sqlite3* db = nullptr;
    sqlite3_open(database.toUtf8().constData(), &db);
    sqlite3_exec(db, "UPDATE General SET bridesname = 'Anna', groomsname = 'Ben'", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return program;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString binDir = QCoreApplication::applicationDirPath();
    QTemporaryDir dir;
    const QString program = prepareProgramDir(dir, binDir);
    const QString baseline = binDir + QStringLiteral("/bench_startup_baseline");

    launch(program, dir.path());  // warm the file cache for both
    launch(baseline, dir.path());
    std::vector<double> programTimes, baselineTimes;
    for (int i = 0; i < Runs; ++i) {
        programTimes.push_back(launch(program, dir.path()));
        baselineTimes.push_back(launch(baseline, dir.path()));
    }
    const double p = median(programTimes);
    const double b = median(baselineTimes);
    std::printf("orvane start-up to main window shown: %.1f ms (median of %d)\n", p, Runs);
    std::printf("minimal Qt Widgets window:            %.1f ms (median of %d)\n", b, Runs);
    std::printf("ratio: %.2f\n", p / b);
    return 0;
}
