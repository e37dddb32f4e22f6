// The budget in the exchange files: every payment not yet paid in the calendar on its due
// date, and the expense list's category, estimate, vendor and next due date in the export.
#include "budget/BudgetStore.h"
#include "exchange/Calendar.h"
#include "exchange/CsvFile.h"
#include "exchange/Export.h"
#include "tests/exchange/ExchangeFixture.h"

using namespace exchange;
using exchangetest::fileBytes;
using store::Currency;

namespace {

Currency money(const char* text)
{
    return *Currency::parse(QString::fromLatin1(text));
}

class BudgetExchange : public exchangetest::WeddingTest {
protected:
    void SetUp() override
    {
        WeddingTest::SetUp();
        db().execute("UPDATE General SET weddingdate = Null, recdate = Null, showdate = Null");
        db().execute("UPDATE Checklist SET DueDate = Null");
        db().execute("INSERT INTO Vendors (VendorName) VALUES ('Petals & Stems')");
        auto vendor = db().openRecordset("Vendors");
        budget::NewExpense flowers;
        flowers.description = "Bouquets";
        flowers.unitCost = money("800");
        flowers.category = budget::loadPlan(db()).categories[3].id;
        flowers.estimate = money("750");
        flowers.vendor = vendor->bookmark();
        budget::Payment deposit, balance, later;
        deposit.deposit = true;
        deposit.due = QDate(2026, 3, 1);
        deposit.amount = money("200");
        deposit.paid = true;
        deposit.paidOn = QDate(2026, 3, 1);
        balance.due = QDate(2026, 8, 31);
        balance.amount = money("500");
        later.due = QDate(2026, 7, 1);
        later.amount = money("100");
        flowers.payments = {deposit, balance, later};
        budget::addExpense(db(), flowers);
        budget::NewExpense loose;
        loose.description = "Favours";
        loose.unitCost = money("50");
        budget::Payment undated;
        undated.amount = money("50");
        loose.payments = {undated};
        budget::addExpense(db(), loose);
    }
};

}  // namespace

TEST_F(BudgetExchange, EveryUnpaidPaymentIsAnEventOnItsDueDateNamingItemVendorAndAmount)
{
    const std::vector<CalendarEvent> events = calendarEvents(db());
    ASSERT_EQ(events.size(), 2u) << "the paid deposit and the payment without a date are not events";
    EXPECT_EQ(events[0].date, QDate(2026, 7, 1));
    EXPECT_EQ(events[0].summary, "Pay $100.00 to Petals & Stems for Bouquets");
    EXPECT_FALSE(events[0].time.has_value());
    EXPECT_EQ(events[1].date, QDate(2026, 8, 31));
    EXPECT_EQ(events[1].description, "Payment of $500.00 for \"Bouquets\" to Petals & Stems, not yet paid.");
    EXPECT_NE(events[0].uid, events[1].uid);
    // The same events under the same UIDs in the next export.
    EXPECT_EQ(calendarEvents(db())[1].uid, events[1].uid);
}

TEST_F(BudgetExchange, TheExpenseExportCarriesCategoryEstimateVendorAndNextDueDate)
{
    exportList(db(), ExportList::Expenses, tempPath("expenses.csv"));
    const CsvTable e = readCsv(fileBytes(tempPath("expenses.csv")));
    ASSERT_EQ(e.rows.size(), 2);
    const auto cell = [&](int row, const char* column) { return e.rows[row][e.headers.indexOf(column)]; };
    EXPECT_EQ(cell(0, "Category"), "Flowers & decoration");
    EXPECT_EQ(cell(0, "Estimate"), "750.00");
    EXPECT_EQ(cell(0, "Vendor"), "Petals & Stems");
    EXPECT_EQ(cell(0, "Next Due"), "2026-07-01");
    EXPECT_EQ(cell(0, "Owing"), "600.00");
    EXPECT_EQ(cell(1, "Category"), "");
    EXPECT_EQ(cell(1, "Next Due"), "") << "a payment without a due date falls due on no day";
}
