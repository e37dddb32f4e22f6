// Measures the start-up of the program as a whole process, from launch until its main
// window has been shown (the program quits itself then under ORVANE_QUIT_WHEN_SHOWN),
// against a minimal Qt Widgets program that shows one window, in the same run, launched in
// alternation. Prints wall and processor times of both and, last, the ratio of processor
// times (on a shared machine wall time mostly measures the other processes).
#include "bench/common/BenchTiming.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 31;

struct Timing {
    double wallMs = 0;
    double cpuMs = 0;  // user + system time of the child
};

double childrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

Timing launch(const QString& program, const QString& workingDir)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORVANE_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    if (!env.contains(QStringLiteral("DISPLAY")) && !env.contains(QStringLiteral("WAYLAND_DISPLAY")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workingDir);
    const double cpuBefore = childrenCpuMs();
    QElapsedTimer timer;
    timer.start();
    process.start(program, {});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        std::fprintf(stderr, "%s did not start and quit cleanly\n", qPrintable(program));
        std::exit(1);
    }
    return Timing{double(timer.nsecsElapsed()) / 1e6, childrenCpuMs() - cpuBefore};
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
    std::vector<double> programWall, baselineWall, programCpu, baselineCpu;
    for (int i = 0; i < Runs; ++i) {
        const Timing p = launch(program, dir.path());
        const Timing b = launch(baseline, dir.path());
        programWall.push_back(p.wallMs);
        programCpu.push_back(p.cpuMs);
        baselineWall.push_back(b.wallMs);
        baselineCpu.push_back(b.cpuMs);
    }
    // Wall time follows the machine's load; processor time is what the start-up costs.
    std::printf("orvane, launch to main window shown: %7.1f ms wall, %7.1f ms processor (medians of %d)\n",
                bench::median(programWall), bench::median(programCpu), Runs);
    std::printf("minimal Qt Widgets window:           %7.1f ms wall, %7.1f ms processor\n",
                bench::median(baselineWall), bench::median(baselineCpu));
    std::printf("wall-time ratio: %.2f\n", bench::median(programWall) / bench::median(baselineWall));
    std::printf("ratio (processor time): %.2f\n", bench::median(programCpu) / bench::median(baselineCpu));
    return 0;
}
