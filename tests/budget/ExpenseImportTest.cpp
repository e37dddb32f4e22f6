// Importing a budget spreadsheet: money in its common texts, headers by their common names,
// blank cells, empty and total rows left out and said so, and the import itself: one
// transaction after a backup, the expense table's rules kept, nothing changed when it fails.
#include "app/frmImportExpenses.h"
#include "budget/ExpenseImport.h"
#include "store/Backup.h"
#include "tests/controls/GridWindowTest.h"
#include "tests/store/StoreFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>

using namespace budget;
using store::Currency;

namespace {

Currency money(const char* text)
{
    return *Currency::parse(QString::fromLatin1(text));
}

std::optional<Currency> read(const char* text, bool decimalComma = false)
{
    return readMoney(QString::fromUtf8(text), decimalComma);
}

}  // namespace

TEST(ExpenseImportRules, MoneyInItsCommonTexts)
{
    EXPECT_EQ(read("$1,200.00"), money("1200"));
    EXPECT_EQ(read("1200"), money("1200"));
    EXPECT_EQ(read(" 45.5 "), money("45.50"));
    EXPECT_EQ(read("USD 1,234,567.89"), money("1234567.89"));
    EXPECT_EQ(read("(12.50)"), money("-12.50"));
    EXPECT_EQ(read("-$3"), money("-3"));
    EXPECT_EQ(read("1.200,00", true), money("1200"));
    EXPECT_EQ(read("1 200,50 €", true), money("1200.50"));  // blanks between groups
    EXPECT_EQ(read("45,50", true), money("45.50"));
    EXPECT_EQ(read("€ 1.234.567,8", true), money("1234567.80"));
    // Texts that are not amounts, including grouping that is not in threes and the other
    // convention's grouping read as decimals.
    for (const char* text : {"lots", "1,2,3", "12.34.56", "1.200,00", "$", "1e5", "12/05"})
        EXPECT_EQ(read(text), std::nullopt) << text;
    EXPECT_EQ(read("1,200.00", true), std::nullopt);
    bool blank = false;
    EXPECT_EQ(readMoney(QStringLiteral("  "), false, &blank), std::nullopt);
    EXPECT_TRUE(blank);
    readMoney(QStringLiteral("x"), false, &blank);
    EXPECT_FALSE(blank);
}

TEST(ExpenseImportRules, HeadersByTheirCommonNamesAndTheDecimalSeparatorOfTheFile)
{
    const ExpenseColumns columns =
        guessExpenseColumns({"Category", "Budget Item", "Supplier", "Estimated Cost", "Actual", "Qty",
                             "Down payment", "Amount Paid", "Due date", "Comments", "Budget", "Colour"});
    EXPECT_EQ(columns, (ExpenseColumns{ExpenseField::Category, ExpenseField::Item, ExpenseField::Vendor,
                                       ExpenseField::Estimated, ExpenseField::Actual, ExpenseField::Quantity,
                                       ExpenseField::Deposit, ExpenseField::Paid, ExpenseField::DueDate,
                                       ExpenseField::Notes, ExpenseField::None, ExpenseField::None}));
    EXPECT_TRUE(looksLikeExpenseHeader({"Item", "Cost"}));
    EXPECT_FALSE(looksLikeExpenseHeader({"Item", "1200"}));
    EXPECT_FALSE(looksLikeExpenseHeader({"Cake", "Flowers"}));

    const ExpenseColumns itemCost{ExpenseField::Item, ExpenseField::Actual};
    EXPECT_TRUE(guessDecimalComma({{"Cake", "1.200,00"}, {"Veil", "45,50"}, {"Band", "800"}}, itemCost));
    EXPECT_FALSE(guessDecimalComma({{"Cake", "1,200.00"}, {"Veil", "45.50"}}, itemCost));
    EXPECT_FALSE(guessDecimalComma({{"Cake", "1200"}}, itemCost));
}

namespace {

class ExpenseImport : public gridtest::GridWindowTest {
protected:
    void SetUp() override
    {
        GridWindowTest::SetUp();
        execute("DELETE FROM Expenses");
        execute("INSERT INTO Vendors (VendorName) VALUES ('The Grand Ballroom'), ('Petals & Stems')");
    }
    ExpenseReview review(const QStringList& headers, const QList<QStringList>& rows,
                         bool decimalComma = false)
    {
        QList<int> numbers;
        for (int i = 0; i < rows.size(); ++i)
            numbers << i + 2;
        return reviewExpenses(headers, rows, numbers, guessExpenseColumns(headers), decimalComma,
                              loadPlan(db()));
    }
    QString stored(const QString& sql) const { return storetest::rawValue(dir.databasePath(), sql); }
};

const QStringList Headers{"Category", "Item",    "Vendor", "Estimated", "Actual",
                          "Qty",      "Deposit", "Paid",   "Due"};

}  // namespace

TEST_F(ExpenseImport, BlankCellsTotalRowsAndEmptyRowsAreReadAsACoupleMeansThem)
{
    const ExpenseReview r = review(
        Headers, {{"Venue", "Hall", "The Grand Ballroom", "4,500", "4,800", "", "1,000", "", "2026-08-01"},
                  {"Venue", "Chapel", "", "600", "", "", "", "", ""},
                  {"", "", "", "", "", "", "", "", ""},
                  {"Flowers", "Bouquets", "Nobody We Know", "", "80", "3", "", "240", ""},
                  {"Subtotal", "", "", "5,100", "5,040", "", "", "", ""},
                  {"Music", "Piano", "", "lots", "", "", "", "", ""},
                  {"Music", "Band", "", "", "", "", "", "", "31/31/2026"},
                  {"", "Grand Total", "", "5,100", "5,040", "", "", "", ""}});
    ASSERT_EQ(r.rows.size(), 3u);
    const NewExpense& hall = r.rows[0].expense;
    EXPECT_EQ(hall.unitCost, money("4800")) << "the actual cost when there is one";
    EXPECT_EQ(hall.estimate, money("4500"));
    EXPECT_EQ(hall.quantity, 1);
    EXPECT_TRUE(hall.vendor.has_value());
    ASSERT_EQ(hall.payments.size(), 1u);
    EXPECT_EQ(hall.payments[0].amount, money("3800")) << "what is still owing falls due";
    EXPECT_EQ(hall.payments[0].due, QDate(2026, 8, 1));
    EXPECT_EQ(r.rows[1].expense.unitCost, money("600")) << "else the estimate";
    EXPECT_FALSE(r.rows[1].expense.deposit != Currency());
    const NewExpense& bouquets = r.rows[2].expense;
    EXPECT_EQ(bouquets.quantity, 3);
    EXPECT_FALSE(bouquets.vendor.has_value());
    EXPECT_EQ(bouquets.notes, "Vendor: Nobody We Know");
    EXPECT_FALSE(bouquets.estimate.has_value()) << "a blank estimate is no estimate, not 0";
    EXPECT_EQ(r.newCategories, (QStringList{"Flowers"})) << "Venue is delivered, Music has no row to import";

    ASSERT_EQ(r.leftOut.size(), 3u);
    EXPECT_EQ(r.leftOut[0].rowNumber, 4);
    EXPECT_EQ(r.leftOut[0].reason, "empty");
    EXPECT_EQ(r.leftOut[1].reason, "a total");
    EXPECT_EQ(r.leftOut[2].reason, "a total");
    ASSERT_EQ(r.problems.size(), 2u);
    EXPECT_EQ(r.problems[0].reason, "Estimated \"lots\" is not an amount");
    EXPECT_EQ(r.problems[1].reason, "Due \"31/31/2026\" is not a date");
}

TEST_F(ExpenseImport, OneTransactionAfterABackupKeepingTotalAndOwing)
{
    const ExpenseReview r = review(Headers,
                                   {{"Venue", "Hall", "", "4.500,00", "4.800,00", "", "1.000", "", ""},
                                    {"Fireworks", "Rockets", "", "", "12,50", "10", "", "25", ""}},
                                   true);
    const ExpenseImportResult result = runExpenseImport(db(), r);
    EXPECT_EQ(result.summary(), "2 expenses added (1 new categories).");
    ASSERT_FALSE(result.backupPath.isEmpty());
    EXPECT_EQ(storetest::rawValue(result.backupPath, "SELECT count(*) FROM Expenses"), "0");
    EXPECT_EQ(stored("SELECT group_concat(Total || '/' || Owing, ' ') FROM Expenses"),
              "48000000/38000000 1250000/1000000");
    EXPECT_EQ(
        stored("SELECT c.Name FROM PlanItems p JOIN PlanCategories c ON c.CategoryId = p.CategoryId JOIN "
               "Expenses e ON e.rowid = p.ExpenseKey WHERE e.Description = 'Rockets'"),
        "Fireworks");

    // A failure part-way leaves the file as it was.
    storetest::rawExec(dir.databasePath(),
                       "CREATE TRIGGER NoRockets BEFORE INSERT ON PlanItems WHEN "
                       "(SELECT Description FROM Expenses WHERE rowid = new.ExpenseKey) = "
                       "'Rockets' BEGIN SELECT RAISE(ABORT, 'no'); END");
    const ExpenseReview again = review(Headers, {{"Cake", "Cake", "", "", "300", "", "", "", ""},
                                                 {"Bangs", "Rockets", "", "", "1", "", "", "", ""}});
    EXPECT_THROW(runExpenseImport(db(), again), store::StoreError);
    EXPECT_EQ(count("Expenses"), 2);
    EXPECT_EQ(stored("SELECT count(*) FROM PlanCategories WHERE Name = 'Bangs'"), "0");
    EXPECT_EQ(store::Workspace::defaultWorkspace().transactionDepth(), 0);

    // Nothing to import: nothing is written, not even a backup.
    EXPECT_TRUE(runExpenseImport(db(), review(Headers, {{"", "Total", "", "", "5", "", "", "", ""}}))
                    .backupPath.isEmpty());
}

// ---- the File menu's wizard ----------------------------------------------------------------

namespace {

class ExpenseWizard : public ExpenseImport {
protected:
    std::unique_ptr<frmImportExpenses> openOn(const QString& file)
    {
        auto wizard = std::make_unique<frmImportExpenses>();
        testsupport::showActive(wizard.get());
        auto* page = static_cast<ExpenseFilePage*>(wizard->page(frmImportExpenses::FilePage));
        page->txtFile->setText(file);
        QTest::keyClick(page->txtFile, Qt::Key_Tab);  // leaving the box reads the file
        testsupport::pumpEvents();
        return wizard;
    }
    static QString sheet() { return testsupport::testDataDir("imports") + "/budget-sheet.csv"; }
};

}  // namespace

TEST_F(ExpenseWizard, PreviewColumnsReviewThenOneImportAfterABackup)
{
    auto wizard = openOn(sheet());
    auto* file = static_cast<ExpenseFilePage*>(wizard->page(frmImportExpenses::FilePage));
    EXPECT_TRUE(file->lblMessage->text().isEmpty()) << file->lblMessage->text().toStdString();
    EXPECT_TRUE(file->chkHeader->isChecked());
    EXPECT_EQ(file->cboDecimal->currentIndex(), 0);
    EXPECT_EQ(file->grdPreview->horizontalHeaderItem(1)->text(), "Budget Item");
    EXPECT_EQ(file->grdPreview->item(0, 1)->text(), "Reception hall");

    wizard->next();
    auto* columns = static_cast<ExpenseColumnsPage*>(wizard->page(frmImportExpenses::ColumnsPage));
    ASSERT_EQ(wizard->currentId(), frmImportExpenses::ColumnsPage);
    auto* notes = static_cast<QComboBox*>(columns->grdColumns->cellWidget(8, 2));
    EXPECT_EQ(notes->currentText(), "Notes");
    notes->setCurrentIndex(0);  // not imported
    wizard->next();
    ASSERT_EQ(wizard->currentId(), frmImportExpenses::ReviewPage);
    auto* review = static_cast<ExpenseReviewPage*>(wizard->page(frmImportExpenses::ReviewPage));
    EXPECT_TRUE(review->txtReview->toPlainText().contains("Expenses (6):"));
    EXPECT_TRUE(review->txtReview->toPlainText().contains("row 7: a total"));
    EXPECT_EQ(count("Expenses"), 0) << "nothing is written before Import";

    wizard->next();  // Import
    ASSERT_EQ(wizard->currentId(), frmImportExpenses::DonePage);
    EXPECT_TRUE(wizard->imported);
    EXPECT_EQ(count("Expenses"), 6);
    EXPECT_EQ(stored("SELECT count(*) FROM PlanItems WHERE Notes IS NOT NULL AND Notes LIKE '%months%'"),
              "0");
    EXPECT_EQ(store::backup::list(dir.databasePath(), false).size(), 1u);
}

TEST_F(ExpenseWizard, AFileThatCannotBeReadIsSaidAndCancelChangesNothing)
{
    auto wizard = openOn(dir.file("missing.csv"));
    auto* file = static_cast<ExpenseFilePage*>(wizard->page(frmImportExpenses::FilePage));
    EXPECT_FALSE(file->lblMessage->text().isEmpty());
    EXPECT_FALSE(file->isComplete());

    file->txtFile->setText(sheet());
    QTest::keyClick(file->txtFile, Qt::Key_Tab);
    wizard->next();
    wizard->next();
    ASSERT_EQ(wizard->currentId(), frmImportExpenses::ReviewPage);
    wizard->reject();
    EXPECT_FALSE(wizard->imported);
    EXPECT_EQ(count("Expenses"), 0);
    EXPECT_TRUE(store::backup::list(dir.databasePath(), false).empty());
}
