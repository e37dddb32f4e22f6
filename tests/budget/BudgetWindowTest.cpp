// The budget window driven with the keyboard and the mouse, offscreen, and what it stores;
// and the expense table and the budget window showing the same figures.
#include "budget/BudgetChart.h"
#include "budget/BudgetStore.h"
#include "budget/ExpenseRules.h"
#include "budget/frmBudget.h"
#include "budget/frmBudgetChart.h"
#include "budget/frmDataGrid.h"
#include "shell/Help.h"
#include "tests/controls/GridWindowTest.h"
#include "tests/store/StoreFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>

using namespace budget;
using store::Currency;

namespace {

Currency money(const char* text)
{
    return *Currency::parse(QString::fromLatin1(text));
}

class BudgetWindow : public gridtest::GridWindowTest {
protected:
    void SetUp() override
    {
        GridWindowTest::SetUp();
        QFile help(shell::program().HelpFilePath);
        help.open(QIODevice::WriteOnly | QIODevice::Text);
        help.write("== 1005 Track Expenses\nThe expenses.\n== 1013 Budget\nThe budget.\n");
        help.close();
        execute("DELETE FROM Expenses");
        categories_ = loadPlan(db()).categories;
        setCategoryPlanned(db(), categories_[0].id, money("12000"));
        execute("INSERT INTO Vendors (VendorName) VALUES ('Rose & Co'), ('Grand Hall')");
        NewExpense hall;
        hall.description = "Hall";
        hall.unitCost = money("9500");
        hall.category = categories_[0].id;
        hall.estimate = money("10000");
        hall.payments = {payment(true, QDate(2027, 2, 1), "2000"),
                         payment(false, QDate(2027, 3, 15), "7500")};
        hallKey_ = addExpense(db(), hall);
        NewExpense cake;
        cake.description = "Cake";
        cake.unitCost = money("12.50");
        cake.quantity = 4;
        cake.category = categories_[8].id;
        addExpense(db(), cake);
    }

    static Payment payment(bool deposit, QDate due, const char* amount)
    {
        Payment p;
        p.deposit = deposit;
        p.due = due;
        p.amount = money(amount);
        return p;
    }
    std::unique_ptr<frmBudget> open()
    {
        auto window = std::make_unique<frmBudget>();
        window->setToday(QDate(2027, 2, 27));
        testsupport::showActive(window.get());
        return window;
    }
    static QString text(QTableWidget* table, int row, int column)
    {
        const QTableWidgetItem* item = table->item(row, column);
        return item ? item->text() : QString();
    }
    static QStringList column(QTableWidget* table, int c)
    {
        QStringList texts;
        for (int r = 0; r < table->rowCount(); ++r)
            texts << text(table, r, c);
        return texts;
    }
    // Types into a box as the user does and leaves it with Enter.
    static void typeInto(QLineEdit* box, const QString& typed)
    {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key_Return);
        testsupport::pumpEvents();
    }
    QString stored(const QString& sql) const { return storetest::rawValue(dir.databasePath(), sql); }

    std::vector<Category> categories_;
    store::Bookmark hallKey_ = 0;
};

}  // namespace

TEST_F(BudgetWindow, ShowsEveryCategoryWithItsFiguresAndTheItemsOfTheOneChosenWithTheKeyboard)
{
    auto w = open();
    EXPECT_EQ(w->windowTitle(), "Budget");
    ASSERT_EQ(w->grdCategories->rowCount(), int(categories_.size()));
    EXPECT_EQ(column(w->grdCategories, 0).first(), "Venue");
    // Planned, estimated, actual, paid, owing, against plan: in the program's money format.
    EXPECT_EQ(text(w->grdCategories, 0, 1), "$12,000.00");
    EXPECT_EQ(text(w->grdCategories, 0, 2), "$10,000.00");
    EXPECT_EQ(text(w->grdCategories, 0, 3), "$9,500.00");
    EXPECT_EQ(text(w->grdCategories, 0, 5), "$9,500.00");
    EXPECT_EQ(text(w->grdCategories, 0, 6), "Under by $2,500.00");
    EXPECT_EQ(text(w->grdCategories, 8, 6), "Over by $50.00");
    EXPECT_EQ(column(w->grdItems, 0), QStringList{"Hall"});
    EXPECT_EQ(w->grdPayments->rowCount(), 2);

    w->grdCategories->setFocus();
    for (int i = 0; i < 8; ++i)
        QTest::keyClick(w->grdCategories, Qt::Key_Down);
    EXPECT_EQ(text(w->grdCategories, w->grdCategories->currentRow(), 0), "Cake");
    EXPECT_EQ(column(w->grdItems, 0), QStringList{"Cake"});
    EXPECT_EQ(text(w->grdItems, 0, 3), "$50.00");
    EXPECT_EQ(w->grdPayments->rowCount(), 0);
    EXPECT_FALSE(w->cmdPaid->isEnabled());
}

TEST_F(BudgetWindow, WhatFallsDueInThirtyDaysAndWhatIsOverdueAroundTheEndOfFebruary)
{
    auto w = open();
    // 27 February: the deposit of 1 February is overdue, 15 March is within 30 days.
    EXPECT_EQ(column(w->grdDue, 4), (QStringList{"Overdue", "Due soon"}));
    EXPECT_EQ(column(w->grdDue, 0), (QStringList{"Hall", "Hall"}));
    EXPECT_TRUE(w->lblDue->text().contains("$2,000.00")) << w->lblDue->text().toStdString();
    w->setToday(QDate(2027, 1, 1));
    EXPECT_EQ(w->grdDue->rowCount(), 0);
    w->setToday(QDate(2027, 1, 2));  // 30 days to 1 February
    EXPECT_EQ(column(w->grdDue, 4), QStringList{"Due soon"});
}

TEST_F(BudgetWindow, PlannedEstimateVendorAndCategoryTypedAreStoredAndTheFiguresFollow)
{
    auto w = open();
    typeInto(w->txtPlanned, "11,000");
    EXPECT_EQ(stored(QStringLiteral("SELECT Planned FROM PlanCategories WHERE CategoryId = %1")
                         .arg(categories_[0].id)),
              "110000000");
    EXPECT_EQ(text(w->grdCategories, 0, 6), "Under by $1,500.00");
    typeInto(w->txtEstimate, "$9,800.00");
    EXPECT_EQ(text(w->grdCategories, 0, 2), "$9,800.00");
    EXPECT_EQ(w->txtEstimate->text(), "$9,800.00");

    w->cboVendor->setFocus();
    QTest::keyClick(w->cboVendor, Qt::Key_Down);  // past "(No vendor)", the list is by name
    QTest::mouseClick(w->cboVendor, Qt::LeftButton);
    testsupport::pumpEvents();
    w->cboVendor->activated(w->cboVendor->currentIndex());
    EXPECT_EQ(text(w->grdItems, 0, 1), "Grand Hall");
    EXPECT_EQ(
        stored(QStringLiteral("SELECT v.VendorName FROM PlanItems p JOIN Vendors v ON v.rowid = p.VendorKey "
                              "WHERE p.ExpenseKey = %1")
                   .arg(hallKey_)),
        "Grand Hall");

    // A letter in an amount is refused in words and nothing changes.
    typeInto(w->txtTotalBudget, "lots");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].informative,
              "The wedding budget takes an amount, such as 12.50. Nothing was changed.");
    EXPECT_EQ(stored("SELECT TotalBudget FROM PlanTotals"), "0");
    typeInto(w->txtTotalBudget, "25000");
    EXPECT_TRUE(w->lblSummary->text().contains("Left to plan $15,450.00"))
        << w->lblSummary->text().toStdString();

    // Moving the item to another category moves its figures.
    w->cboItemCategory->setCurrentIndex(w->cboItemCategory->findText("Other"));
    w->cboItemCategory->activated(w->cboItemCategory->currentIndex());
    EXPECT_EQ(text(w->grdCategories, 0, 3), "$0.00");
    EXPECT_EQ(w->grdItems->rowCount(), 0);
}

TEST_F(BudgetWindow, PaymentsAddedAndMarkedPaidKeepTheExpenseRowsTotalAndOwing)
{
    auto w = open();
    w->grdPayments->setCurrentCell(0, 0);
    QTest::mouseClick(w->cmdPaid, Qt::LeftButton);
    EXPECT_EQ(stored(QStringLiteral("SELECT Downpayment || ' ' || Owing FROM Expenses WHERE rowid = %1")
                         .arg(hallKey_)),
              "20000000 75000000");
    EXPECT_EQ(text(w->grdCategories, 0, 4), "$2,000.00");
    EXPECT_EQ(text(w->grdPayments, 0, 3), "2/27/2027");
    EXPECT_EQ(w->cmdPaid->text(), "&Mark Unpaid");
    EXPECT_EQ(column(w->grdDue, 4), QStringList{"Due soon"});

    // A later payment, typed with the keyboard: kind, due date, amount, Enter on Add.
    w->cboKind->setCurrentIndex(1);
    w->txtDue->setFocus();
    QTest::keyClicks(w->txtDue, "2/29/2028");
    QTest::keyClick(w->txtDue, Qt::Key_Tab);
    QTest::keyClicks(w->txtAmount, "50");
    w->cmdAddPayment->setFocus();
    QTest::keyClick(w->cmdAddPayment, Qt::Key_Return);
    testsupport::pumpEvents();
    ASSERT_EQ(w->grdPayments->rowCount(), 3);
    EXPECT_EQ(stored("SELECT DueDate FROM PlanPayments WHERE Amount = 500000"), "2028-02-29 00:00:00");
    QTest::mouseClick(w->cmdPaid, Qt::LeftButton);  // the new payment is the one selected
    EXPECT_EQ(
        stored(QStringLiteral("SELECT Paid || ' ' || Owing FROM Expenses WHERE rowid = %1").arg(hallKey_)),
        "500000 74500000");

    // Removing a paid payment asks first (No by default) and takes its amount off again.
    w->cmdRemovePayment->click();
    EXPECT_EQ(w->grdPayments->rowCount(), 3);
    dialogs->messageAnswers.push_back(controls::mb::Yes);
    w->cmdRemovePayment->click();
    EXPECT_EQ(w->grdPayments->rowCount(), 2);
    EXPECT_EQ(
        stored(QStringLiteral("SELECT Paid || ' ' || Owing FROM Expenses WHERE rowid = %1").arg(hallKey_)),
        "0 75000000");
    EXPECT_EQ(stored("SELECT count(*) FROM Expenses WHERE Owing IS NOT Total - (Downpayment + Paid)"), "0");

    // A date that cannot be read is refused in words.
    w->txtDue->setText("31/31/2027");
    w->txtAmount->setText("10");
    w->cmdAddPayment->click();
    EXPECT_EQ(w->grdPayments->rowCount(), 2);
    EXPECT_TRUE(messages().back().informative.startsWith("Due takes a date"))
        << messages().back().informative.toStdString();
}

TEST_F(BudgetWindow, TheExpenseTableAndTheBudgetShowTheSameFigures)
{
    auto grid = openOver<frmDataGrid>(QStringLiteral("Expenses"));
    // An edit in the grid, not yet stored, counts in the budget opened from it.
    type(grid->grddataGrid, 1, ColUnitCost, "20");
    QString actual, items;
    controls::setModalHook([&](QWidget* window) {
        auto* budget = qobject_cast<frmBudget*>(window);
        if (!budget)
            return 0;
        testsupport::showActive(budget);
        actual = text(budget->grdCategories, 8, 3);
        // Mark the hall's deposit paid here: the grid shows it on return.
        budget->grdPayments->setCurrentCell(0, 0);
        budget->cmdPaid->click();
        budget->close();
        return 0;
    });
    grid->cmdBudget->click();
    EXPECT_EQ(actual, "$80.00");
    EXPECT_EQ(grid->grddataGrid->cellText(0, ColDeposit), "$2,000.00");
    EXPECT_EQ(grid->grddataGrid->cellText(0, ColOwing), "$7,500.00");
    EXPECT_EQ(grid->lbltotalowing->text(), "7,580.00");
}

TEST_F(BudgetWindow, NewCategoriesAndItemsHelpAndEsc)
{
    auto w = open();
    dialogs->inputAnswers.push_back({true, "Hen party"});
    w->cmdNewCategory->click();
    EXPECT_EQ(text(w->grdCategories, w->grdCategories->currentRow(), 0), "Hen party");
    dialogs->inputAnswers.push_back({true, "venue"});  // the same name as one already there, in other letters
    w->cmdNewCategory->click();
    EXPECT_TRUE(messages().back().text.contains("already a category"))
        << messages().back().text.toStdString();

    dialogs->inputAnswers.push_back({true, "Spa day"});
    w->cmdNewItem->click();
    EXPECT_EQ(column(w->grdItems, 0), QStringList{"Spa day"});
    EXPECT_EQ(
        stored("SELECT c.Name FROM PlanItems p JOIN PlanCategories c ON c.CategoryId = p.CategoryId JOIN "
               "Expenses e ON e.rowid = p.ExpenseKey WHERE e.Description = 'Spa day'"),
        "Hen party");
    EXPECT_EQ(
        stored("SELECT Total || ' ' || Owing || ' ' || Quantity FROM Expenses WHERE Description = 'Spa day'"),
        "0 0 1");

    // Tab reads the window from the top: the categories, then the items and their fields.
    w->grdCategories->setFocus();
    QStringList stops;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        stops << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(stops, (QStringList{"txtPlanned", "cmdNewCategory", "grdItems", "cboItemCategory", "cboVendor",
                                  "txtEstimate"}));

    QTest::keyClick(w->grdItems, Qt::Key_F1);
    testsupport::pumpEvents();
    ASSERT_NE(shell::currentHelpViewer(), nullptr);
    EXPECT_EQ(shell::currentHelpViewer()->currentKey(), QString::number(shell::HelpBudget));
    shell::currentHelpViewer()->close();
    testsupport::showActive(w.get());
    QTest::keyClick(w->txtEstimate, Qt::Key_Return);  // Enter in a box never closes the window
    EXPECT_TRUE(w->isVisible());
    QTest::keyClick(w->grdItems, Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
}

// ---- the charts ----------------------------------------------------------------------------

TEST(BudgetChartData, CategoriesWithSomethingPlannedAndUnpaidPaymentsByMonth)
{
    BudgetPlan plan;
    plan.categories = {{1, "Venue", money("5000")}, {2, "Cake", money("0")}, {3, "Rings", money("0")}};
    plan.items = {{10, "Hall", 1, money("4800"), {}, money("5200"), money("1000"), {}, money("4200")},
                  {11, "Bands", 3, money("900"), {}, {}, {}, {}, {}}};
    const auto pay = [](QDate due, const char* amount, bool paid = false) {
        Payment p;
        p.due = due;
        p.amount = money(amount);
        p.paid = paid;
        return p;
    };
    plan.payments = {pay(QDate(2026, 1, 31), "100"),      pay(QDate(2026, 2, 1), "200"),
                     pay(QDate(2026, 2, 28), "300"),      pay(QDate(2026, 1, 2), "400"),
                     pay(QDate(2026, 1, 20), "50", true), pay(QDate(), "60")};
    const BudgetChartData data = chartData(plan, QDate(2026, 1, 15));
    ASSERT_EQ(data.categories.size(), 2u) << "Cake has nothing planned or expected";
    EXPECT_EQ(data.categories[0].name, "Venue");
    EXPECT_DOUBLE_EQ(data.categories[0].expected, 5200);
    EXPECT_DOUBLE_EQ(data.categories[0].paid, 1000);
    EXPECT_EQ(data.categories[1].name, "Rings");
    EXPECT_DOUBLE_EQ(data.categories[1].expected, 900);
    ASSERT_EQ(data.months.size(), 3u);
    EXPECT_EQ(data.months[0].label, "Overdue");
    EXPECT_DOUBLE_EQ(data.months[0].due, 400);
    EXPECT_EQ(data.months[1].label, "Jan 2026");
    EXPECT_DOUBLE_EQ(data.months[1].due, 100);
    EXPECT_EQ(data.months[2].label, "Feb 2026");
    EXPECT_DOUBLE_EQ(data.months[2].due, 500);
}

TEST_F(BudgetWindow, TheChartOpensFromTheBudgetAndIsWrittenAsPdf)
{
    auto w = open();
    QString shown;
    controls::setModalHook([&](QWidget* window) {
        auto* chart = qobject_cast<frmBudgetChart*>(window);
        if (!chart)
            return 0;
        shown = chart->windowTitle();
        EXPECT_NE(chart->chart, nullptr) << chart->lblMissing->text().toStdString();
        if (!chart->chart)
            return 0;
        EXPECT_NE(chart->findChild<QWidget*>("chtSpending"), nullptr);
        EXPECT_NE(chart->findChild<QWidget*>("chtPayments"), nullptr);
        chart->show();
        chart->writePdf(dir.file("budget.pdf"));
        // Never over the wedding file.
        EXPECT_THROW(chart->writePdf(dir.databasePath()), store::StoreError);
        chart->close();
        return 0;
    });
    w->cmdChart->click();
    EXPECT_EQ(shown, "Budget Chart");
    QFile pdf(dir.file("budget.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.contains("/Count 2")) << "the charts, then the figures per category";
    EXPECT_EQ(storetest::rawValue(dir.databasePath(), "PRAGMA quick_check"), "ok");
}

TEST_F(BudgetWindow, TheChartPrintsThroughThePrintDialogAndNothingWhenItIsCancelled)
{
    auto w = open();
    const QString printed = dir.file("printed.pdf");
    dialogs->printAnswers = {QString(), printed};  // cancelled first, then printed (to a PDF file)
    int prints = 0;
    controls::setModalHook([&](QWidget* window) {
        auto* chart = qobject_cast<frmBudgetChart*>(window);
        if (!chart || !chart->chart)
            return 0;
        chart->show();
        chart->cmdPrint->click();
        EXPECT_FALSE(QFile::exists(printed)) << "a cancelled print dialog prints nothing";
        chart->cmdPrint->click();
        prints = int(std::count_if(dialogs->calls.begin(), dialogs->calls.end(), [](const controls::DialogCall& c) {
            return c.kind == controls::DialogCall::Kind::Print;
        }));
        chart->close();
        return 0;
    });
    w->cmdChart->click();
    EXPECT_EQ(prints, 2);
    QFile pdf(printed);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << "the chart went to the printer the dialog chose";
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF-"));
}
