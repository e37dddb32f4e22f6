// Times the checklist and the expense window over 5,000 rows each: opening through the
// main window's entry function until the window is shown and painted, one header sort,
// and Get_Totals. Each figure is the median of several runs; the last line is the worst.
#include "GridsData.h"

#include "shell/Program.h"
#include "bench/common/BenchTiming.h"
#include "budget/frmDataGrid.h"
#include "checklist/frmCheck.h"
#include "controls/Dialogs.h"
#include "store/Store.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int Rows = 5000;
constexpr int Runs = 7;

double timed(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    QApplication::processEvents();  // the repaint that follows
    return bench::msSince(timer);
}

std::map<std::string, std::vector<double>> times;

// The modal show of an entry function: the window is shown and painted, then timed work
// runs on it, then it closes as the user would.
void measureWhenShown(const QElapsedTimer& sinceOpen, const std::string& name, QWidget* window)
{
    window->show();
    QApplication::processEvents();
    times[name + " open"].push_back(bench::msSince(sinceOpen));
    if (auto* check = qobject_cast<frmCheck*>(window)) {
        times[name + " header sort"].push_back(timed([check] { check->grddataGrid_HeadClick(2); }));
        times[name + " Get_Totals"].push_back(timed([check] { check->Get_Totals(); }));
    } else if (auto* expenses = qobject_cast<frmDataGrid*>(window)) {
        times[name + " header sort"].push_back(timed([expenses] { expenses->grddataGrid_HeadClick(1); }));
        times[name + " Get_Totals"].push_back(timed([expenses] { expenses->Get_Totals(); }));
    }
    window->close();
}

}  // namespace

int main(int argc, char** argv)
{
    // Only the figures: the offscreen platform's notes about window hints are dropped.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtWarningMsg && type != QtInfoMsg && type != QtDebugMsg)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    gridsbench::GridsData data(Rows, Rows);

    QElapsedTimer sinceOpen;
    std::string current;
    controls::setModalHook([&](QWidget* window) {
        measureWhenShown(sinceOpen, current, window);
        return 0;
    });
    for (int run = 0; run < Runs; ++run) {
        current = "checklist";
        sinceOpen.start();
        showChecklistWindow(
            shell::database().openRecordset(QStringLiteral("Checklist"), store::RecordsetType::Dynaset));
        current = "expenses";
        sinceOpen.start();
        showExpenseWindow();
    }

    double worst = 0;
    std::printf("%d checklist rows, %d expense rows; median of %d runs\n", Rows, Rows, Runs);
    for (const char* name : {"checklist open", "checklist header sort", "checklist Get_Totals",
                             "expenses open", "expenses header sort", "expenses Get_Totals"}) {
        const double ms = bench::median(times[name]);
        worst = std::max(worst, ms);
        std::printf("%-24s %8.1f ms\n", name, ms);
    }
    std::printf("worst: %.1f ms\n", worst);
    return 0;
}
