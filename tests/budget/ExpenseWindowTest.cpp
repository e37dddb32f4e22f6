// The expense tracker driven as the user drives it, offscreen, and its money rules.
#include "budget/ExpenseRules.h"
#include "budget/frmDataGrid.h"
#include "controls/DataList.h"
#include "controls/DataSource.h"
#include "shell/Help.h"
#include "store/Handle.h"
#include "tests/controls/GridWindowTest.h"
#include "tests/support/FileLock.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <sqlite3.h>

using namespace budget;
using store::Currency;

namespace {

Currency money(const char* text)
{
    return *Currency::parse(QString::fromLatin1(text));
}
QVariant amount(const char* text)
{
    return QVariant::fromValue(money(text));
}

class ExpenseWindow : public gridtest::GridWindowTest {
protected:
    void SetUp() override
    {
        GridWindowTest::SetUp();
        execute(QStringLiteral("DELETE FROM Expenses"));
    }

    // Unit cost, qty, deposit, paid, total, owing; an invalid QVariant is an empty field.
    static void addExpense(const QString& description, const QVariantList& amounts)
    {
        QVariantList values{description};
        values += amounts;
        execute(
            QStringLiteral("INSERT INTO Expenses (Description, Amount, Quantity, Downpayment, Paid, Total, "
                           "Owing) VALUES (?, ?, ?, ?, ?, ?, ?)"),
            values);
    }
    static QVariant expense(const QString& description, const QString& field)
    {
        return storedField(QStringLiteral("Expenses"), QStringLiteral("Description"), description, field);
    }

    std::unique_ptr<frmDataGrid> open() { return openOver<frmDataGrid>(QStringLiteral("Expenses")); }
    QString text(int row, int column) const { return grid->cellText(row, column); }
    int newRow() const { return grid->rowCount() - 1; }
};

// The cake: 12.50 x 4, deposit 10, paid 15.
const QVariantList Cake{amount("12.50"), 4, amount("10"), amount("15"), amount("50"), amount("25")};

}  // namespace

// ---- rules -----------------------------------------------------------------------------------

TEST(ExpenseRules, SumsShowGroupedWithTwoDecimalsRoundedHalfAwayFromZero)
{
    EXPECT_EQ(sumText(Currency()), "0.00");
    EXPECT_EQ(sumText(money("1235")), "1,235.00");
    EXPECT_EQ(sumText(money("999.999")), "1,000.00");
    EXPECT_EQ(sumText(money("1234567.891")), "1,234,567.89");
    EXPECT_EQ(sumText(money("-1234.5")), "-1,234.50");
    EXPECT_EQ(sumText(money("0.005")), "0.01");
    EXPECT_EQ(sumText(money("-0.004")), "0.00");
    EXPECT_EQ(sumText(money("123456.125")), "123,456.13");
}

TEST(ExpenseRules, MoneyStaysExactOverManyRows)
{
    ExpenseSums sums;
    for (int i = 0; i < 10000; ++i)
        sums.add(money("0.10"), money("-0.01"));
    EXPECT_EQ(sums.total, money("1000"));
    EXPECT_EQ(sums.owing, money("-100"));
    EXPECT_EQ(sumText(sums.total), "1,000.00");
}

TEST(ExpenseRules, LineTotalsAndWholeQuantities)
{
    EXPECT_EQ(lineTotal(money("12.50"), 4), money("50"));
    EXPECT_EQ(lineTotal(money("0.0001"), 3), money("0.0003"));
    EXPECT_FALSE(lineTotal(money("900000000000000"), 100)) << "beyond what an amount holds";
    EXPECT_EQ(owingOf(money("50"), money("10"), money("45")), money("-5"));
    EXPECT_EQ(wholeQuantity(money("2.5")), 3);
    EXPECT_EQ(wholeQuantity(money("2.4999")), 2);
    EXPECT_EQ(wholeQuantity(money("-2.5")), -3);
}

// ---- opening ---------------------------------------------------------------------------------

TEST_F(ExpenseWindow, OpensFromTheMainWindowWithItsColumnsAndSums)
{
    addExpense("Cake", Cake);
    addExpense("Band", {amount("1184.5"), 1, QVariant(), QVariant(), amount("1184.5"), amount("1184.5")});
    QStringList captions;
    QString sumTotal, sumOwing;
    controls::setModalHook([&](QWidget* window) {
        modals.push_back({window->objectName(), window->windowTitle()});
        auto* g = testsupport::findNamed<controls::DataGrid>(window, "grddataGrid");
        for (int c = 0; c < g->columnCount(); ++c)
            captions << g->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        sumTotal = testsupport::findNamed<QLabel>(window, "lbltotalamount")->text();
        sumOwing = testsupport::findNamed<QLabel>(window, "lbltotalowing")->text();
        return 0;
    });
    showExpenseWindow();
    ASSERT_EQ(modals.size(), 1u);
    EXPECT_EQ(modals[0].window, "frmDataGrid");
    EXPECT_EQ(modals[0].caption, "Expense Table");
    EXPECT_EQ(captions,
              (QStringList{"Description", "Unit  Cost", "Qty", "Deposit", "Paid", "Total", "Owing"}));
    EXPECT_EQ(sumTotal, "1,234.50");
    EXPECT_EQ(sumOwing, "1,209.50");
}

TEST_F(ExpenseWindow, AnEmptyListSumsToZero)
{
    auto w = open();
    EXPECT_EQ(w->lbltotalamount->text(), "0.00");
    EXPECT_EQ(w->lbltotalowing->text(), "0.00");
    EXPECT_EQ(w->Label1->text(), "Total Expenses");
    EXPECT_EQ(w->Label2->text(), "Total Owing");
}

// ---- computing a row -------------------------------------------------------------------------

TEST_F(ExpenseWindow, UnitCostTimesQtyGivesTotalAndDepositAndPaidGiveOwing)
{
    auto w = open();
    type(grid, 0, ColDescription, "Cake");
    EXPECT_EQ(text(0, ColQty), "1");  // empty amounts took their defaults
    EXPECT_EQ(text(0, ColOwing), "$0.00");
    type(grid, 0, ColUnitCost, "12.50");
    type(grid, 0, ColQty, "4");
    EXPECT_EQ(text(0, ColTotal), "$50.00");
    EXPECT_EQ(w->lbltotalamount->text(), "50.00");
    type(grid, 0, ColDeposit, "10");
    type(grid, 0, ColPaid, "15");
    EXPECT_EQ(text(0, ColOwing), "$25.00");
    EXPECT_EQ(w->lbltotalowing->text(), "25.00");
    EXPECT_TRUE(messages().empty());

    w->Data1->updateRecord();
    EXPECT_EQ(expense("Cake", "Total").value<Currency>(), money("50"));
    EXPECT_EQ(expense("Cake", "Owing").value<Currency>(), money("25"));
    EXPECT_EQ(expense("Cake", "Quantity").toLongLong(), 4);
}

TEST_F(ExpenseWindow, ClearedCellsTakeTheirDefaults)
{
    addExpense("Chairs", {amount("20"), 3, amount("5"), amount("0"), amount("60"), amount("55")});
    addExpense("Favours", {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});
    auto w = open();
    clear(grid, 0, ColQty);
    EXPECT_EQ(text(0, ColQty), "1");
    EXPECT_EQ(text(0, ColTotal), "$20.00");
    EXPECT_EQ(text(0, ColOwing), "$15.00");
    clear(grid, 0, ColDeposit);
    EXPECT_EQ(text(0, ColDeposit), "$0.00");
    EXPECT_EQ(text(0, ColOwing), "$20.00");

    type(grid, 1, ColDescription, "Favours for guests");  // any edit fills the row's empty amounts
    goTo(grid, 0, ColDescription);
    EXPECT_EQ(expense("Chairs", "Quantity").toLongLong(), 1);
    EXPECT_EQ(expense("Chairs", "Downpayment").value<Currency>(), Currency());
    EXPECT_EQ(expense("Favours for guests", "Quantity").toLongLong(), 1);
    EXPECT_EQ(expense("Favours for guests", "Owing").value<Currency>(), Currency());
    EXPECT_FALSE(expense("Favours for guests", "Amount").isNull());
}

TEST_F(ExpenseWindow, LettersAreRefusedInAmountsButNotInTheDescription)
{
    addExpense("Cake", Cake);
    auto w = open();
    type(grid, 0, ColUnitCost, "abc");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Not a valid value");
    EXPECT_EQ(messages()[0].title, "Orvane");
    EXPECT_EQ(text(0, ColUnitCost), "$12.50");
    type(grid, 0, ColTotal, "lots");
    EXPECT_EQ(messages().size(), 2u);
    EXPECT_EQ(text(0, ColTotal), "$50.00");

    type(grid, 0, ColDescription, "Cake with 3 tiers");
    type(grid, 0, ColUnitCost, "$1,200.00");  // a currency sign and grouping are a number
    EXPECT_EQ(messages().size(), 2u);
    goTo(grid, 1, ColDescription);
    EXPECT_EQ(expense("Cake with 3 tiers", "Amount").value<Currency>(), money("1200"));
    EXPECT_EQ(expense("Cake with 3 tiers", "Total").value<Currency>(), money("4800"));
}

// ---- keys as the user types them ---------------------------------------------------------------

namespace {
// Types characters where the keyboard focus is (the grid, then the editor the first key opened).
void keys(const QString& text)
{
    for (QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}
void tab(int times = 1)
{
    for (int i = 0; i < times; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        testsupport::pumpEvents();
    }
}
}  // namespace

TEST_F(ExpenseWindow, TabPastTheLastColumnStoresTheNewRowAndGoesOnToTheNextNewRow)
{
    for (const bool withRows : {false, true}) {
        execute(QStringLiteral("DELETE FROM Expenses"));
        if (withRows)
            addExpense("Cake", Cake);
        auto w = open();
        const int first = newRow();
        goTo(grid, first, ColDescription);
        grid->setFocus();
        keys("Band");
        tab();
        keys("900");
        tab();
        keys("2");
        tab();
        keys("100");
        tab();
        keys("50");
        tab(3);  // Total, Owing, and on past the last column
        EXPECT_EQ(grid->row(), first + 1) << "with rows: " << withRows;
        EXPECT_EQ(grid->col(), ColDescription);
        EXPECT_TRUE(grid->isOnNewRow());
        keys("Flowers");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        testsupport::pumpEvents();
        w->close();
        EXPECT_EQ(count("Expenses"), withRows ? 3 : 2);
        EXPECT_EQ(expense("Band", "Total").value<Currency>(), money("1800"));
        EXPECT_EQ(expense("Band", "Owing").value<Currency>(), money("1650"));
        EXPECT_EQ(expense("Flowers", "Quantity").toLongLong(), 1);
        if (withRows) {
            EXPECT_EQ(expense("Cake", "Amount").value<Currency>(), money("12.50"));
        }
        EXPECT_TRUE(messages().empty());
    }
}

TEST_F(ExpenseWindow, TabOnAStoredRowGoesToTheNextRowAndShiftTabBackNeverWraps)
{
    addExpense("Cake", Cake);
    addExpense("Band", Cake);
    auto w = open();
    goTo(grid, 0, ColOwing);
    grid->setFocus();
    tab();
    EXPECT_EQ(grid->row(), 1);
    EXPECT_EQ(grid->col(), ColDescription);
    goTo(grid, 0, ColDescription);
    QTest::keyClick(grid, Qt::Key_Backtab, Qt::ShiftModifier);  // the focus leaves for the control before
    EXPECT_EQ(grid->row(), 0);
    EXPECT_EQ(grid->col(), ColDescription);
    // Tab on the empty new row with nothing typed stays on it, at its first cell.
    goTo(grid, newRow(), ColOwing);
    grid->setFocus();
    tab();
    EXPECT_EQ(grid->row(), 2);
    EXPECT_EQ(grid->col(), ColDescription);
    EXPECT_EQ(count("Expenses"), 2);
}

TEST_F(ExpenseWindow, EscOnTheNewRowUndoesItAndTheCellStaysThere)
{
    addExpense("Cake", Cake);
    auto w = open();
    goTo(grid, newRow(), ColDescription);
    grid->setFocus();
    keys("Band");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    testsupport::pumpEvents();
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_EQ(grid->row(), 1) << "the cell must not jump to the row above";
    keys("Flowers");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    testsupport::pumpEvents();
    w->close();
    EXPECT_EQ(count("Expenses"), 2);
    EXPECT_EQ(expense("Cake", "Description"), "Cake");
    EXPECT_EQ(expense("Flowers", "Quantity").toLongLong(), 1);
}

TEST_F(ExpenseWindow, MalformedMoneyAndNegativeQuantitiesAreRefusedNamingTheField)
{
    addExpense("Cake", Cake);
    auto w = open();
    type(grid, 0, ColUnitCost, "$1,2,3");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Not a valid value");
    EXPECT_TRUE(messages()[0].informative.contains("Unit Cost")) << messages()[0].informative.toStdString();
    type(grid, 0, ColQty, "-2");
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1].text, "Not a valid value");
    EXPECT_TRUE(messages()[1].informative.contains("Qty cannot be less than 0"));
    type(grid, 0, ColUnitCost, "$1,234.50");  // grouping in threes is an amount
    EXPECT_EQ(messages().size(), 2u);
    w->close();
    EXPECT_EQ(expense("Cake", "Amount").value<Currency>(), money("1234.50"));
    EXPECT_EQ(expense("Cake", "Quantity").toLongLong(), 4);
}

TEST_F(ExpenseWindow, ARefusedAmountShowsOneBoxWithTheColumnEvenWhenTheBoxTakesTheFocus)
{
    addExpense("Cake", Cake);
    auto w = open();
    // A real message box takes the keyboard focus from the cell editor while it is open.
    QWidget elsewhere;
    dialogs->onShow = [&](const controls::DialogCall&) {
        testsupport::showActive(&elsewhere);
        testsupport::pumpEvents();
    };
    type(grid, 0, ColUnitCost, "abc");
    dialogs->onShow = {};
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Not a valid value");
    EXPECT_EQ(messages()[0].title, "Orvane");
    EXPECT_EQ(messages()[0].informative,
              "Unit Cost takes an amount, such as 12.50. The cell keeps its value.");
    EXPECT_EQ(text(0, ColUnitCost), "$12.50");
}

TEST_F(ExpenseWindow, ATotalTypedByHandStaysUntilTheNextAmountChanges)
{
    addExpense("Cake", Cake);
    auto w = open();
    type(grid, 0, ColDeposit, "20");  // Owing follows, Total does not
    EXPECT_EQ(text(0, ColTotal), "$50.00");
    EXPECT_EQ(text(0, ColOwing), "$15.00");
    EXPECT_EQ(w->lbltotalowing->text(), "15.00");

    type(grid, 0, ColTotal, "99");
    EXPECT_EQ(text(0, ColTotal), "$99.00");
    EXPECT_EQ(text(0, ColOwing), "$15.00");
    EXPECT_EQ(w->lbltotalamount->text(), "50.00");
    type(grid, 0, ColOwing, "1");
    EXPECT_EQ(w->lbltotalowing->text(), "15.00");

    type(grid, 0, ColPaid, "5");  // Owing from the hand-typed Total
    EXPECT_EQ(text(0, ColTotal), "$99.00");
    EXPECT_EQ(text(0, ColOwing), "$74.00");
    EXPECT_EQ(w->lbltotalamount->text(), "99.00");
    type(grid, 0, ColQty, "2");  // a quantity recomputes Total
    EXPECT_EQ(text(0, ColTotal), "$25.00");
    EXPECT_EQ(text(0, ColOwing), "$0.00");
}

TEST_F(ExpenseWindow, AFractionalQuantityIsCountedAsTheWholeQuantityStored)
{
    addExpense("Napkins", {amount("10"), 1, amount("0"), amount("0"), amount("10"), amount("10")});
    auto w = open();
    type(grid, 0, ColQty, "2.5");
    EXPECT_EQ(text(0, ColQty), "3");
    EXPECT_EQ(text(0, ColTotal), "$30.00");
    goTo(grid, 1, ColDescription);
    EXPECT_EQ(expense("Napkins", "Quantity").toLongLong(), 3);
    EXPECT_EQ(expense("Napkins", "Total").value<Currency>(), money("30"));
}

// ---- sums ------------------------------------------------------------------------------------

TEST_F(ExpenseWindow, SumsRoundOnlyWhenShownAndNegativeOwingLowersThem)
{
    addExpense("Band", {amount("1234.5"), 1, amount("0"), amount("0"), amount("1234.5"), amount("50")});
    addExpense("Veil", {amount("0.5"), 1, amount("0"), amount("20.5"), amount("0.5"), amount("-20")});
    auto w = open();
    EXPECT_EQ(w->lbltotalamount->text(), "1,235.00");
    EXPECT_EQ(w->lbltotalowing->text(), "30.00");
}

TEST_F(ExpenseWindow, TenThousandRowsOfTenCentsSumExactly)
{
    const char* fill =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000) "
        "INSERT INTO Expenses (Description, Amount, Quantity, Downpayment, Paid, Total, Owing) "
        "SELECT 'Item ' || i, 1000, 1, 0, 0, 1000, 1000 FROM n";
    ASSERT_EQ(sqlite3_exec(store::handleOf(db()), fill, nullptr, nullptr, nullptr), SQLITE_OK);
    auto w = open();
    EXPECT_EQ(w->lbltotalamount->text(), "1,000.00");
    EXPECT_EQ(w->lbltotalowing->text(), "1,000.00");
}

// ---- sample items, sorting, deleting -----------------------------------------------------------

TEST_F(ExpenseWindow, ASampleItemIsAddedOnlyWhenTheAnswerIsYes)
{
    addExpense("Cake", Cake);
    auto w = open();
    EXPECT_FALSE(w->DBList1->isVisible());
    w->Check1->click();
    EXPECT_TRUE(w->DBList1->isVisible());
    EXPECT_EQ(w->DBList1->count(), count("BudgetPlan"));
    const int rings = w->DBList1->listModel()->rowOfText("Wedding rings");
    ASSERT_GE(rings, 0);
    const QPoint at = w->DBList1->visualRect(w->DBList1->model()->index(rings, 0)).center();

    dialogs->messageAnswers = {controls::mb::No};
    QTest::mouseClick(w->DBList1->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Add this item to expense list?\n\nWedding rings");
    EXPECT_EQ(messages()[0].title, "Add Expense Item");
    EXPECT_EQ(messages()[0].style, controls::mb::YesNo | controls::mb::Question);
    EXPECT_EQ(count("Expenses"), 1);

    dialogs->messageAnswers = {controls::mb::Yes};
    QTest::mouseClick(w->DBList1->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(count("Expenses"), 2);
    EXPECT_EQ(text(1, ColDescription), "Wedding rings");
    EXPECT_EQ(text(1, ColTotal), "");
    EXPECT_TRUE(expense("Wedding rings", "Amount").isNull());
    EXPECT_TRUE(expense("Wedding rings", "Quantity").isNull());
    EXPECT_EQ(w->lbltotalamount->text(), "50.00");

    w->Check1->click();
    EXPECT_FALSE(w->DBList1->isVisible());
}

TEST_F(ExpenseWindow, AddingASampleItemStoresTheRowBeingEditedFirst)
{
    addExpense("Cake", Cake);
    auto w = open();
    type(grid, 0, ColDescription, "Wedding cake");
    w->Check1->click();
    dialogs->messageAnswers = {controls::mb::Yes};
    const QPoint at = w->DBList1->visualRect(w->DBList1->model()->index(0, 0)).center();
    QTest::mouseClick(w->DBList1->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(count("Expenses"), 2);
    EXPECT_EQ(expense("Wedding cake", "Total").value<Currency>(), money("50"));
}

TEST_F(ExpenseWindow, SortsByAHeaderAndDeletingUpdatesBothSums)
{
    addExpense("Cake", Cake);
    addExpense("Band", {amount("800"), 1, amount("100"), amount("0"), amount("800"), amount("700")});
    addExpense("Veil", {amount("120"), 1, amount("0"), amount("0"), amount("120"), amount("120")});
    auto w = open();
    EXPECT_EQ(w->lbltotalamount->text(), "970.00");
    clickHeader(grid, ColUnitCost, Qt::ShiftModifier);
    EXPECT_EQ(columnTexts(grid, ColDescription), (QStringList{"Band", "Veil", "Cake"}));

    selectRows(grid, {0, 1});
    w->Command1->click();
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_EQ(count("Expenses"), 3);

    goTo(grid, 0, ColDescription);
    selectRows(grid, {0});
    w->mnuDelete->trigger();
    EXPECT_EQ(count("Expenses"), 2);
    EXPECT_TRUE(expense("Band", "Total").isNull());
    EXPECT_EQ(columnTexts(grid, ColDescription), (QStringList{"Cake", "Veil"}));  // stored order again
    EXPECT_EQ(w->lbltotalamount->text(), "170.00");
    EXPECT_EQ(w->lbltotalowing->text(), "145.00");

    goTo(grid, newRow(), ColDescription);
    w->Command1->click();
    EXPECT_EQ(dialogs->beepCount(), 1);
    EXPECT_EQ(count("Expenses"), 2);
}

TEST_F(ExpenseWindow, HelpAndClose)
{
    addExpense("Cake", Cake);
    auto w = open();
    w->SSCommand1->click();
    ASSERT_NE(shell::currentHelpViewer(), nullptr);
    EXPECT_EQ(shell::currentHelpViewer()->currentKey(), "1005");
    type(grid, 0, ColPaid, "40");
    w->SSCommand4->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(expense("Cake", "Owing").value<Currency>(), money("0"));
}

TEST_F(ExpenseWindow, ClosingWhenTheFileIsLockedKeepsTheWindowOpenWithWhatWasTyped)
{
    addExpense("Cake", Cake);
    auto w = open();
    type(grid, 0, ColPaid, "40");
    auto other = std::make_unique<testsupport::FileLock>(dir.databasePath());
    ASSERT_TRUE(other->locked());
    w->SSCommand4->click();
    testsupport::pumpEvents();
    ASSERT_FALSE(messages().empty());
    EXPECT_EQ(messages().back().text, "Close without saving your changes?");
    EXPECT_TRUE(w->isVisible()) << "No (the default) keeps the window open";
    EXPECT_EQ(text(0, ColPaid), "$40.00");

    other->release();
    w->SSCommand4->click();
    testsupport::pumpEvents();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(expense("Cake", "Paid").value<Currency>(), money("40"));
    EXPECT_EQ(expense("Cake", "Owing").value<Currency>(), money("0"));
}
