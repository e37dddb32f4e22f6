// The budget's plan: its figures against a computation of their own on a generated budget,
// the expense list's Total and Owing rules under every change of the plan, the payments due
// around month ends and leap days, and the plan following its expense row.
#include "budget/BudgetRules.h"
#include "budget/BudgetStore.h"
#include "budget/frmDataGrid.h"
#include "store/Handle.h"
#include "tests/controls/GridWindowTest.h"
#include "tests/store/StoreFixture.h"

#include <QRandomGenerator>

#include <sqlite3.h>

using namespace budget;
using store::Currency;

namespace {

Currency money(const char* text)
{
    return *Currency::parse(QString::fromLatin1(text));
}

class BudgetPlanTest : public gridtest::GridWindowTest {
protected:
    QString path() const { return dir.databasePath(); }
    QString raw(const QString& sql) const { return storetest::rawValue(path(), sql); }

    // Every row keeps Total = Amount x Quantity and Owing = Total - (Downpayment + Paid).
    void expectPartRulesKept() const
    {
        EXPECT_EQ(raw("SELECT count(*) FROM Expenses WHERE Total IS NOT Amount * Quantity OR "
                      "Owing IS NOT Total - (Downpayment + Paid)"),
                  "0");
    }
};

NewExpense expense(const QString& description, const char* unitCost, qint64 quantity = 1)
{
    NewExpense e;
    e.description = description;
    e.unitCost = money(unitCost);
    e.quantity = quantity;
    return e;
}

Payment payment(bool deposit, QDate due, const char* amount, bool paid = false)
{
    Payment p;
    p.deposit = deposit;
    p.due = due;
    p.amount = money(amount);
    p.paid = paid;
    if (paid)
        p.paidOn = due;
    return p;
}

}  // namespace

// ---- the file -----------------------------------------------------------------------------

TEST_F(BudgetPlanTest, TheDeliveredFileHasTheCommonCategoriesAndABudgetOfNothingYet)
{
    ASSERT_TRUE(hasPlanTables(db()));
    const BudgetPlan plan = loadPlan(db());
    ASSERT_GE(plan.categories.size(), 10u);
    EXPECT_EQ(plan.categories.front().name, "Venue");
    EXPECT_EQ(plan.totalBudget, Currency());
    const QStringList tables = db().tableNames();
    for (const char* table : {"PlanCategories", "PlanItems", "PlanPayments", "PlanTotals"})
        EXPECT_GT(tables.indexOf(table), tables.indexOf("Guests")) << table;

    // A file that lacks one of them (a copy opened read-only, not brought up to date) is read
    // without a plan; names in another case are the same tables.
    sqlite3* raw = store::handleOf(db());
    auto rename = [raw](const char* sql) { return sqlite3_exec(raw, sql, nullptr, nullptr, nullptr); };
    ASSERT_EQ(rename("ALTER TABLE PlanTotals RENAME TO PlanTotalsGone"), SQLITE_OK);
    EXPECT_FALSE(hasPlanTables(db()));
    EXPECT_TRUE(loadPlan(db()).categories.empty());
    ASSERT_EQ(rename("ALTER TABLE PlanTotalsGone RENAME TO PLANTOTALS"), SQLITE_OK);
    EXPECT_TRUE(hasPlanTables(db()));
}

// Expenses has no index, which is the case where a plain VACUUM would renumber its rows;
// the store compacts with VACUUM INTO and repairs row by row with the rowid, both of which
// keep the key the plan names an expense by.
TEST_F(BudgetPlanTest, ExpenseKeysSurviveCompactionAndRepair)
{
    store::Workspace::defaultWorkspace().close();
    QString values;
    for (int i = 0; i < 2000; ++i)
        values += QStringLiteral("%1('%2', %3, 1, 0, 0, %3, %3)")
                      .arg(i ? "," : "")
                      .arg(QString(300, QLatin1Char('x')) + QString::number(i))
                      .arg(i * 10000);
    storetest::rawExec(path(),
                       "INSERT INTO Expenses (Description, Amount, Quantity, Downpayment, Paid, Total, "
                       "Owing) VALUES " +
                           values);
    // Gaps from removed rows are what a renumbering would close.
    storetest::rawExec(path(),
                       "DELETE FROM Expenses WHERE rowid % 3 = 0;"
                       "INSERT INTO PlanItems (ExpenseKey, CategoryId, Estimate) SELECT rowid, 1, Amount "
                       "FROM Expenses");
    const QString joined = "SELECT count(*) FROM PlanItems p JOIN Expenses e ON e.rowid = p.ExpenseKey";
    const QString mismatched = joined + " WHERE p.Estimate <> e.Amount";
    ASSERT_EQ(raw(joined), "1334");

    const QString compacted = dir.file("compacted.mdb");
    store::Workspace::compactDatabase(path(), compacted);
    EXPECT_EQ(storetest::rawValue(compacted, joined), "1334");
    EXPECT_EQ(storetest::rawValue(compacted, mismatched), "0");

    // Damage a page in the middle of the expenses and salvage the file: the rows that come
    // back keep their keys.
    const int pages = int(QFile(compacted).size() / 4096);
    {
        QFile f(compacted);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(qint64(pages / 3) * 4096);
        f.write(QByteArray(4096, char(0xA5)));
    }
    ASSERT_TRUE(store::Workspace::repairDatabase(compacted).wasDamaged);
    EXPECT_GT(storetest::rawValue(compacted, joined).toInt(), 1000);
    EXPECT_EQ(storetest::rawValue(compacted, mismatched), "0");
}

// ---- the expense list's rules under the plan ---------------------------------------------

TEST_F(BudgetPlanTest, AddingAnExpenseWritesTheRowAndItsPlanTogether)
{
    NewExpense cake = expense("Cake", "12.50", 4);
    cake.deposit = money("10");
    cake.category = loadPlan(db()).categories[8].id;
    cake.estimate = money("45");
    cake.payments = {payment(true, QDate(2027, 5, 1), "10", true), payment(false, QDate(2027, 6, 1), "40")};
    const store::Bookmark key = addExpense(db(), cake);
    // The deposit given and the deposit paid in the schedule both count.
    EXPECT_EQ(raw(QStringLiteral("SELECT Total || ' ' || Downpayment || ' ' || Owing FROM Expenses WHERE "
                                 "rowid = %1")
                      .arg(key)),
              "500000 200000 300000");
    EXPECT_EQ(raw(QStringLiteral("SELECT count(*) FROM PlanPayments WHERE ExpenseKey = %1").arg(key)), "2");
    expectPartRulesKept();

    // A row that cannot be stored leaves nothing behind: neither the row nor its plan.
    NewExpense tooMuch = expense("Castle", "900000000000000", 1000);
    tooMuch.category = cake.category;
    EXPECT_THROW(addExpense(db(), tooMuch), store::StoreError);
    NewExpense badPayment = expense("Band", "800");
    badPayment.payments = {payment(false, QDate(2027, 6, 1), "100")};
    storetest::rawExec(path(),
                       "CREATE TRIGGER NoMore BEFORE INSERT ON PlanPayments BEGIN SELECT "
                       "RAISE(ABORT, 'no'); END");
    EXPECT_THROW(addExpense(db(), badPayment), store::StoreError);
    EXPECT_EQ(count("Expenses"), 1);
    EXPECT_EQ(count("PlanItems"), 1);
    EXPECT_EQ(store::Workspace::defaultWorkspace().transactionDepth(), 0);
}

TEST_F(BudgetPlanTest, TotalAndOwingHoldUnderEveryPlanningOperation)
{
    QRandomGenerator random(22);
    const BudgetPlan delivered = loadPlan(db());
    std::vector<store::Bookmark> keys;
    for (int i = 0; i < 12; ++i) {
        NewExpense e = expense(QStringLiteral("Item %1").arg(i), "0", random.bounded(1, 5));
        e.unitCost = Currency::fromRaw(random.bounded(1, 2000000) * 100);
        e.paid = Currency::fromRaw(random.bounded(0, 50000) * 100);
        keys.push_back(addExpense(db(), e));
    }
    std::vector<qint64> payments;
    for (int step = 0; step < 300; ++step) {
        const store::Bookmark key = keys[random.bounded(int(keys.size()))];
        switch (random.bounded(5)) {
            case 0: {
                Payment p = payment(random.bounded(2) == 0, QDate(2027, 1, 1).addDays(random.bounded(400)),
                                    "0", random.bounded(2) == 0);
                p.expense = key;
                p.amount = Currency::fromRaw(random.bounded(1, 300000) * 100);
                payments.push_back(addPayment(db(), p));
                break;
            }
            case 1:
            case 2:
                if (!payments.empty())
                    setPaymentPaid(db(), payments[random.bounded(int(payments.size()))],
                                   random.bounded(2) == 0, QDate(2027, 3, 3));
                break;
            case 3:
                if (!payments.empty()) {
                    const int at = random.bounded(int(payments.size()));
                    removePayment(db(), payments[at]);
                    payments.erase(payments.begin() + at);
                }
                break;
            default:
                setItemPlan(db(), key,
                            delivered.categories[random.bounded(int(delivered.categories.size()))].id,
                            Currency::fromRaw(random.bounded(0, 900000) * 100), std::nullopt);
        }
    }
    expectPartRulesKept();
    // What the paid payments add up to is what the rows record beyond what they started with.
    EXPECT_EQ(raw("SELECT (SELECT sum(Downpayment) FROM Expenses) - (SELECT coalesce(sum(Amount), 0) FROM "
                  "PlanPayments WHERE IsPaid AND Kind = 'Deposit')"),
              "0");
}

// ---- figures per category ---------------------------------------------------------------

TEST_F(BudgetPlanTest, FiguresPerCategoryMatchAComputationOfTheirOwnOnAGeneratedBudget)
{
    QRandomGenerator random(3);
    const std::vector<Category> categories = loadPlan(db()).categories;
    for (const Category& c : categories)
        setCategoryPlanned(db(), c.id, Currency::fromRaw(random.bounded(0, 5000000) * 100));
    for (int i = 0; i < 300; ++i) {
        NewExpense e = expense(QStringLiteral("Item %1").arg(i), "0", random.bounded(1, 4));
        if (random.bounded(4) != 0)  // some are only estimated so far
            e.unitCost = Currency::fromRaw(random.bounded(1, 500000) * 37);
        e.deposit = Currency::fromRaw(random.bounded(0, 30000) * 100);
        if (random.bounded(5) != 0)
            e.category = categories[random.bounded(int(categories.size()))].id;
        if (random.bounded(3) != 0)
            e.estimate = Currency::fromRaw(random.bounded(0, 900000) * 100);
        addExpense(db(), e);
    }
    const std::vector<CategoryFigures> rows = categoryFigures(loadPlan(db()));
    ASSERT_EQ(rows.size(), categories.size() + 1);
    EXPECT_EQ(rows.back().name, uncategorisedName());
    const QString byCategory =
        "SELECT coalesce(c.CategoryId, 0) || ':' || coalesce(c.Planned, 0) || ':' || "
        "coalesce(sum(p.Estimate), 0) || ':' || coalesce(sum(e.Total), 0) || ':' || "
        "coalesce(sum(e.Downpayment + e.Paid), 0) || ':' || coalesce(sum(e.Owing), 0) || ':' || "
        "coalesce(sum(CASE WHEN e.Total <> 0 OR p.Estimate IS NULL THEN e.Total ELSE p.Estimate END), 0) "
        "FROM PlanCategories c LEFT JOIN PlanItems p ON p.CategoryId = c.CategoryId LEFT JOIN Expenses e "
        "ON e.rowid = p.ExpenseKey WHERE c.CategoryId = %1 GROUP BY c.CategoryId";
    for (const CategoryFigures& row : rows) {
        const QString mine = QStringLiteral("%1:%2:%3:%4:%5:%6:%7")
                                 .arg(row.category.value_or(0))
                                 .arg(row.planned.raw())
                                 .arg(row.estimated.raw())
                                 .arg(row.actual.raw())
                                 .arg(row.paid.raw())
                                 .arg(row.owing.raw())
                                 .arg(row.expected.raw());
        if (row.category) {
            EXPECT_EQ(mine, raw(byCategory.arg(*row.category))) << row.name.toStdString();
        }
        EXPECT_EQ(row.underPlan(), row.planned - row.expected);
        EXPECT_EQ(row.overPlan(), row.expected > row.planned);
    }
    const CategoryFigures total = totalOf(rows);
    EXPECT_EQ(QString::number(total.actual.raw()), raw("SELECT sum(Total) FROM Expenses"));
    EXPECT_EQ(QString::number(total.owing.raw()), raw("SELECT sum(Owing) FROM Expenses"));
    EXPECT_EQ(QString::number(total.planned.raw()), raw("SELECT sum(Planned) FROM PlanCategories"));
    EXPECT_EQ(total.items, 300);
}

TEST(BudgetFigures, AnItemCountsItsEstimateUntilItHasACostAndAnUnknownCategoryCountsAsNone)
{
    BudgetPlan plan;
    plan.categories = {{1, "Venue", money("5000")}, {2, "Cake", money("300")}};
    plan.items = {{10, "Hall", 1, money("4800"), {}, money("5200"), money("1000"), {}, money("4200")},
                  {11, "Cake", 2, money("350"), {}, {}, {}, {}, {}},
                  {12, "Stray", 99, money("20"), {}, {}, {}, {}, {}}};
    const std::vector<CategoryFigures> rows = categoryFigures(plan);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].expected, money("5200"));
    EXPECT_EQ(rows[0].underPlan(), money("-200"));
    EXPECT_TRUE(rows[0].overPlan());
    EXPECT_EQ(rows[1].expected, money("350"));
    EXPECT_TRUE(rows[1].overPlan());
    EXPECT_EQ(rows[2].name, uncategorisedName());
    EXPECT_EQ(rows[2].estimated, money("20"));
    EXPECT_EQ(figureCells(totalOf(rows)),
              (QStringList{"Total", "5300.00", "5170.00", "5200.00", "1000.00", "4200.00"}));
}

// ---- payments due -------------------------------------------------------------------------

TEST(PaymentsDue, AroundMonthEndsAndLeapDays)
{
    // The window of "due soon" is counted in days, today included, against days counted
    // from a fixed origin rather than by the calendar.
    const auto dayNumber = [](QDate d) { return d.toJulianDay(); };
    for (const QDate today : {QDate(2028, 2, 28), QDate(2028, 2, 29), QDate(2027, 2, 28), QDate(2027, 1, 31),
                              QDate(2026, 12, 31), QDate(2028, 3, 1)}) {
        for (int offset = -40; offset <= 40; ++offset) {
            Payment p = payment(false, QDate::fromJulianDay(dayNumber(today) + offset), "1");
            const PaymentState expected = offset < 0     ? PaymentState::Overdue
                                          : offset <= 30 ? PaymentState::DueSoon
                                                         : PaymentState::Later;
            EXPECT_EQ(paymentState(p, today), expected)
                << today.toString(Qt::ISODate).toStdString() << " + " << offset;
        }
    }
    EXPECT_EQ(lastDayOfMonth(QDate(2028, 2, 3)), QDate(2028, 2, 29));
    EXPECT_EQ(lastDayOfMonth(QDate(2027, 2, 28)), QDate(2027, 2, 28));
    EXPECT_EQ(lastDayOfMonth(QDate(2026, 12, 1)), QDate(2026, 12, 31));
    EXPECT_EQ(paymentState(payment(false, QDate(), "1"), QDate(2028, 1, 1)), PaymentState::Undated);
    EXPECT_EQ(paymentState(payment(false, QDate(2000, 1, 1), "1", true), QDate(2028, 1, 1)),
              PaymentState::Paid);
}

TEST(PaymentsDue, TheListIsEarliestFirstNamesItemAndVendorAndTheMonthIncludesWhatIsOverdue)
{
    BudgetPlan plan;
    plan.vendors = {{7, "Rose & Co"}};
    plan.items = {{1, "Flowers", {}, {}, 7, {}, {}, {}, {}}, {2, "Hall", {}, {}, {}, {}, {}, {}, {}}};
    plan.payments = {payment(false, QDate(2028, 3, 30), "400"),        // later than 30 days
                     payment(false, QDate(2028, 3, 1), "300"),         // due soon, next month
                     payment(true, QDate(2028, 2, 29), "200"),         // due soon, this month
                     payment(false, QDate(2028, 1, 31), "100"),        // overdue
                     payment(false, QDate(2028, 1, 15), "50", true)};  // paid
    plan.payments[0].expense = plan.payments[2].expense = 1;
    plan.payments[1].expense = plan.payments[3].expense = plan.payments[4].expense = 2;
    const std::vector<DuePayment> due = paymentsDue(plan, QDate(2028, 2, 28));
    ASSERT_EQ(due.size(), 3u);
    EXPECT_EQ(due[0].payment.amount, money("100"));
    EXPECT_EQ(due[0].state, PaymentState::Overdue);
    EXPECT_EQ(due[0].item, "Hall");
    EXPECT_EQ(due[1].vendor, "Rose & Co");
    EXPECT_EQ(due[2].payment.due, QDate(2028, 3, 1));
    EXPECT_EQ(toPayThisMonth(plan, QDate(2028, 2, 28)), money("300"));
    EXPECT_EQ(overdueOf(plan, QDate(2028, 2, 28)).count, 1);
    EXPECT_EQ(overdueOf(plan, QDate(2028, 3, 2)).amount, money("600")) << "the day after is overdue";
    EXPECT_EQ(toPayThisMonth(plan, QDate(2028, 3, 31)), money("1000"));
}

// ---- the plan follows its row --------------------------------------------------------------

TEST_F(BudgetPlanTest, DeletingAnExpenseInTheGridRemovesItsPlanAndPayments)
{
    NewExpense band = expense("Band", "800");
    band.estimate = money("750");
    band.payments = {payment(true, QDate(2027, 5, 1), "100")};
    addExpense(db(), band);
    NewExpense veil = expense("Veil", "120");
    veil.estimate = money("100");
    veil.payments = {payment(false, QDate(2027, 6, 1), "120")};
    const store::Bookmark veilKey = addExpense(db(), veil);

    auto w = openOver<frmDataGrid>(QStringLiteral("Expenses"));
    goTo(grid, 0, 0);
    selectRows(grid, {0});
    w->mnuDelete->trigger();
    ASSERT_EQ(count("Expenses"), 1);
    EXPECT_EQ(raw("SELECT group_concat(ExpenseKey) FROM PlanItems"), QString::number(veilKey));
    EXPECT_EQ(raw("SELECT group_concat(ExpenseKey) FROM PlanPayments"), QString::number(veilKey));
}
