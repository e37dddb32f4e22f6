// Times the budget window over 2,000 expenses in 14 categories with 5,000 payments: opening it
// until it is shown and painted, switching to each category in turn, opening the chart (the
// first run also loads the chart module, which the program keeps; the median leaves that out), and marking a
// payment paid (a change, stored and read back whole). Each figure is the median of several runs; the last
// line is the slowest of them.
#include "bench/grids/GridsData.h"

#include "bench/common/BenchTiming.h"
#include "budget/BudgetStore.h"
#include "budget/frmBudget.h"
#include "budget/frmBudgetChart.h"
#include "shell/Paths.h"
#include "shell/Program.h"
#include "store/Handle.h"
#include "store/Store.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTableWidget>

#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int Expenses = 2000;
constexpr int Payments = 5000;
constexpr int Runs = 7;

void run(const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(store::handleOf(shell::database()), sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error(text);
    }
}

// Every expense in a category with an estimate and, for some, a vendor; payments spread from two
// months ago to ten months ahead, a third of them paid.
void addPlan()
{
    run("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 59) "
        "INSERT INTO Vendors (VendorName, Service) SELECT 'Vendor ' || i, 'Caterer' FROM n;"
        "UPDATE PlanCategories SET Planned = 50000000 + CategoryId * 10000000;"
        "INSERT INTO PlanItems (ExpenseKey, CategoryId, Estimate, VendorKey) "
        "SELECT rowid, 1 + rowid % 14, Total + (rowid % 7 - 3) * 100000, "
        "CASE WHEN rowid % 4 THEN 1 + rowid % 60 END FROM Expenses;");
    const QString payments =
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1 - 1) "
            "INSERT INTO PlanPayments (ExpenseKey, Kind, DueDate, Amount, IsPaid, PaidDate) "
            "SELECT 1 + i % %2, CASE WHEN i < %2 THEN 'Deposit' ELSE 'Payment' END, "
            "datetime('now', '-60 days', '+' || (i * 7 % 360) || ' days', 'start of day'), "
            "250000 + (i % 9) * 500000, i % 3 = 0, "
            "CASE WHEN i % 3 = 0 THEN datetime('now', 'start of day') END FROM n;")
            .arg(Payments)
            .arg(Expenses);
    run(payments.toUtf8().constData());
}

double timed(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    QApplication::processEvents();  // the repaint that follows
    return bench::msSince(timer);
}

}  // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtWarningMsg && type != QtInfoMsg && type != QtDebugMsg)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    shell::setModuleDirectory(QCoreApplication::applicationDirPath());
    gridsbench::GridsData data(10, Expenses);
    addPlan();

    std::map<std::string, std::vector<double>> times;
    for (int r = 0; r < Runs; ++r)
        times["reading the plan"].push_back(timed([] { budget::loadPlan(shell::database()); }));
    for (int r = 0; r < Runs; ++r) {
        std::unique_ptr<frmBudget> window;
        times["open"].push_back(timed([&] {
            window = std::make_unique<frmBudget>();
            window->show();
        }));
        double slowestSwitch = 0;
        for (int row = 1; row < window->grdCategories->rowCount(); ++row)
            slowestSwitch =
                std::max(slowestSwitch, timed([&] { window->grdCategories->setCurrentCell(row, 0); }));
        times["switch category (slowest of 13)"].push_back(slowestSwitch);
        times["chart"].push_back(timed([&] {
            frmBudgetChart chart(budget::loadPlan(shell::database()), QDate::currentDate(), window.get());
            chart.show();
            QApplication::processEvents();
        }));
        window->grdPayments->setCurrentCell(0, 0);
        times["mark a payment paid"].push_back(timed([&] { window->cmdPaid->click(); }));
        window->close();
    }

    std::printf("%d expenses, %d payments, %d categories; median of %d runs\n", Expenses, Payments, 14, Runs);
    double slowest = 0;
    for (const char* name :
         {"reading the plan", "open", "switch category (slowest of 13)", "chart", "mark a payment paid"}) {
        const double ms = bench::median(times[name]);
        slowest = std::max(slowest, ms);
        std::printf("%-34s %8.1f ms\n", name, ms);
    }
    std::printf("slowest: %.1f ms\n", slowest);
    return 0;
}
