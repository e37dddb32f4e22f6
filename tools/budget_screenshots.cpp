// Pictures of the budget window, its chart and the expense table it is opened from, and the
// budget report as PDF, on the sample wedding with a plan: categories with planned amounts, estimates,
// vendors and payments, some paid, some due soon and some overdue (run under Xvfb):
//
//   xvfb-run -s "-screen 0 1280x900x24" build/tools/budget_screenshots OUTPUT_FOLDER
#include "budget/frmBudget.h"
#include "budget/frmBudgetChart.h"
#include "budget/frmDataGrid.h"
#include "controls/Dialogs.h"
#include "shell/Paths.h"
#include "shell/Program.h"
#include "store/Store.h"
#include "tests/support/SampleWedding.h"
#include "tools/ScreenshotKit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

// The sample's amounts give each row its Total and Owing as the expense table computes them;
// then every expense gets a category, most an estimate and a vendor, and the larger ones a
// deposit and a balance falling due around the day the pictures show (20 August 2026).
const char* const Plan = R"sql(
UPDATE Expenses SET Total = Amount * Quantity, Owing = Amount * Quantity - (Downpayment + Paid);
UPDATE PlanTotals SET TotalBudget = 300000000;
UPDATE PlanCategories SET Planned = CASE Name
    WHEN 'Venue' THEN 50000000 WHEN 'Catering' THEN 80000000 WHEN 'Photography & video' THEN 30000000
    WHEN 'Flowers & decoration' THEN 10000000 WHEN 'Attire & beauty' THEN 25000000
    WHEN 'Music & entertainment' THEN 20000000 WHEN 'Stationery' THEN 5000000 WHEN 'Rings' THEN 35000000
    WHEN 'Cake' THEN 7000000 WHEN 'Transport' THEN 6000000 WHEN 'Officiant & fees' THEN 4000000
    WHEN 'Gifts & favours' THEN 3000000 WHEN 'Honeymoon' THEN 15000000 ELSE 5000000 END;
CREATE TEMP TABLE m (Description TEXT, Category TEXT, Vendor TEXT, Estimate INTEGER);
INSERT INTO m VALUES
    ('Reception hall rental', 'Venue', 'The Grand Ballroom', 48000000),
    ('Catering per guest', 'Catering', NULL, 72000000),
    ('Wedding cake', 'Cake', 'Sweet Tier Bakery', 6000000),
    ('Photographer', 'Photography & video', 'Lens & Light Studio', 30000000),
    ('Florist', 'Flowers & decoration', 'Petals & Stems', 10000000),
    ('Wedding dress', 'Attire & beauty', 'Ever After Bridal', 15000000),
    ('Tuxedo rental', 'Attire & beauty', 'Ever After Bridal', 8000000),
    ('Invitations', 'Stationery', 'Paper Dove Invitations', 3000000),
    ('Postage', 'Stationery', NULL, 700000),
    ('String quartet', 'Music & entertainment', 'O''Malley''s Strings', 9000000),
    ('DJ', 'Music & entertainment', 'DJ Beat [Mobile]', 10000000),
    ('Wedding rings', 'Rings', 'Gold & Gem', 35000000),
    ('Officiant fee', 'Officiant & fees', 'First Unity Chapel', 3000000),
    ('Favors', 'Gifts & favours', NULL, 2500000),
    ('Limousine', 'Transport', NULL, 5000000),
    ('Hair and makeup', 'Attire & beauty', NULL, 3000000),
    ('Marriage license', 'Officiant & fees', NULL, 400000),
    ('Honeymoon flights', 'Honeymoon', 'Wanderlust Travel', 16000000),
    ('Guest book', 'Gifts & favours', 'Keepsake Albums', 300000),
    ('Rehearsal dinner', 'Catering', NULL, 12000000);
INSERT INTO PlanItems (ExpenseKey, CategoryId, Estimate, VendorKey)
    SELECT e.rowid, c.CategoryId, m.Estimate, v.rowid FROM Expenses e JOIN m ON m.Description = e.Description
    JOIN PlanCategories c ON c.Name = m.Category LEFT JOIN Vendors v ON v.VendorName = m.Vendor;
INSERT INTO PlanPayments (ExpenseKey, Kind, DueDate, Amount, IsPaid, PaidDate)
    SELECT rowid, 'Deposit', '2026-03-01 00:00:00', Downpayment, 1, '2026-03-01 00:00:00' FROM Expenses
    WHERE Downpayment > 0;
INSERT INTO PlanPayments (ExpenseKey, Kind, DueDate, Amount, IsPaid)
    SELECT rowid, 'Payment', CASE rowid % 4 WHEN 0 THEN '2026-08-14 00:00:00' WHEN 1 THEN '2026-08-31 00:00:00'
    WHEN 2 THEN '2026-09-05 00:00:00' ELSE '2026-10-01 00:00:00' END, Owing, 0 FROM Expenses WHERE Owing > 0;
)sql";

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    shell::setModuleDirectory(QCoreApplication::applicationDirPath() + "/../bin");
    shots::outputFolder() = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(shots::outputFolder());
    QTemporaryDir dir;
    const QString database = dir.filePath("wedding.mdb");
    QFile::copy(ORVANE_DELIVERED_DB, database);
    QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
    {
        store::Database& db = store::Workspace::defaultWorkspace().openDatabase(database);
        testsupport::loadSampleWedding(db);
        store::Workspace::defaultWorkspace().close();
    }
    shots::sql(database, Plan);
    store::Workspace::defaultWorkspace().openDatabase(database);
    shell::program().DatabasePath = database;

    controls::setModalHook([](QWidget* window) {
        window->move(40, 30);
        window->show();
        if (auto* budget = qobject_cast<frmBudget*>(window)) {
            budget->setToday(QDate(2026, 8, 20));
            budget->grdCategories->setCurrentCell(0, 0);
            budget->grdPayments->setCurrentCell(1, 0);
            budget->grdCategories->setFocus();
            shots::shoot(window, "budget");
            budget->cmdChart->click();
        } else if (auto* chart = qobject_cast<frmBudgetChart*>(window)) {
            shots::shoot(window, "budget-chart");
            chart->writePdf(shots::outputFolder() + "/budget-report.pdf");
        } else if (auto* expenses = qobject_cast<frmDataGrid*>(window)) {
            shots::shoot(window, "expenses-budget-button");
            expenses->cmdBudget->click();
        }
        window->close();
        return 0;
    });
    showExpenseWindow();
    controls::setModalHook({});
    store::Workspace::defaultWorkspace().close();
    return 0;
}
