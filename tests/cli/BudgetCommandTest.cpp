// orvane-cli budget: the figures file as a spreadsheet reads it, from a file only read, and
// words with a non-zero status when it cannot be written.
#include "budget/BudgetStore.h"
#include "cli/Commands.h"
#include "tests/exchange/ExchangeFixture.h"
#include "tests/store/StoreFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using exchangetest::fileBytes;
using store::Currency;

namespace {

Currency money(const char* text)
{
    return *Currency::parse(QString::fromLatin1(text));
}

class BudgetCommand : public exchangetest::WeddingTest {
protected:
    void SetUp() override
    {
        WeddingTest::SetUp();
        const std::vector<budget::Category> categories = budget::loadPlan(db()).categories;
        venue_ = categories[0].id;
        budget::setCategoryPlanned(db(), venue_, money("12000"));
        budget::NewExpense hall;
        hall.description = "Hall";
        hall.unitCost = money("9500.5");
        hall.deposit = money("2000");
        hall.category = venue_;
        hall.estimate = money("10000");
        budget::addExpense(db(), hall);
        budget::NewExpense chairs = hall;
        chairs.description = "Chairs";
        chairs.unitCost = money("3.25");
        chairs.quantity = 120;
        chairs.deposit = Currency();
        chairs.estimate.reset();
        budget::addExpense(db(), chairs);
        budget::NewExpense loose;
        loose.description = "Favours";
        loose.unitCost = money("80");
        loose.paid = money("80");
        budget::addExpense(db(), loose);
        store::Workspace::defaultWorkspace().close();
    }
    int run(const QStringList& args)
    {
        out_.clear();
        err_.clear();
        QTextStream out(&out_), err(&err_);
        return cli::run(args, out, err);
    }
    QStringList lines(const QString& csv) const
    {
        QByteArray bytes = fileBytes(csv);
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
        return QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    qint64 venue_ = 0;
    QString out_, err_;
};

}  // namespace

TEST_F(BudgetCommand, WritesOneRowPerCategoryAndTheTotalInPlainNumbers)
{
    const QString csv = tempPath("budget.csv");
    ASSERT_EQ(run({"budget", path(), csv}), 0) << err_.toStdString();
    const QStringList rows = lines(csv);
    const std::vector<budget::Category> categories = [this] {
        auto& opened = store::Workspace::defaultWorkspace().openDatabase(path(), store::OpenMode::ReadOnly);
        auto list = budget::loadPlan(opened).categories;
        store::Workspace::defaultWorkspace().close();
        return list;
    }();
    ASSERT_EQ(rows.size(), qsizetype(categories.size()) + 3);
    EXPECT_EQ(rows[0], "Category,Planned,Estimated,Actual,Paid,Owing");
    EXPECT_EQ(rows[1], "Venue,12000.00,10000.00,9890.50,2000.00,7890.50");
    EXPECT_EQ(rows[2], "Catering,0.00,0.00,0.00,0.00,0.00");
    EXPECT_EQ(rows[rows.size() - 2], "(No category),0.00,0.00,80.00,80.00,0.00");
    EXPECT_EQ(rows.last(), "Total,12000.00,10000.00,9970.50,2080.00,7890.50");
    EXPECT_TRUE(out_.contains(csv)) << out_.toStdString();
}

TEST_F(BudgetCommand, ACategoryNamedLikeAFormulaIsWrittenAsText)
{
    storetest::rawExec(path(), "UPDATE PlanCategories SET Name = '=1+2, or not' WHERE Name = 'Venue'");
    const QString csv = tempPath("budget.csv");
    ASSERT_EQ(run({"budget", path(), csv}), 0) << err_.toStdString();
    EXPECT_TRUE(lines(csv).value(1).startsWith("\"'=1+2, or not\",12000.00"))
        << lines(csv).value(1).toStdString();
}

TEST_F(BudgetCommand, AFileNobodyMayWriteIsOnlyReadAndAnOlderOneIsNotUpgraded)
{
    // An older file: the plan's tables are not there yet; every expense is without a category.
    storetest::rawExec(path(),
                       "DROP TABLE PlanItems; DROP TABLE PlanPayments; DROP TABLE PlanCategories; "
                       "DROP TABLE PlanTotals; PRAGMA user_version = 2");
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadGroup);
    const QByteArray before = fileBytes(path());
    const QString csv = tempPath("budget.csv");
    EXPECT_EQ(run({"budget", path(), csv}), 0) << err_.toStdString();
    EXPECT_EQ(lines(csv), (QStringList{"Category,Planned,Estimated,Actual,Paid,Owing",
                                       "(No category),0.00,0.00,9970.50,2080.00,7890.50",
                                       "Total,0.00,0.00,9970.50,2080.00,7890.50"}));
    EXPECT_EQ(fileBytes(path()), before);
    EXPECT_FALSE(QDir(QFileInfo(path()).absolutePath() + "/backups").exists());
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(BudgetCommand, RefusesToWriteOverTheWeddingAndSaysWhatIsWrongWithTheCommandLine)
{
    const QByteArray before = fileBytes(path());
    EXPECT_EQ(run({"budget", path(), path()}), 1);
    EXPECT_TRUE(err_.startsWith("orvane-cli budget: ")) << err_.toStdString();
    EXPECT_FALSE(err_.contains("SELECT")) << err_.toStdString();
    EXPECT_EQ(fileBytes(path()), before);

    EXPECT_EQ(run({"budget", path()}), 2);
    EXPECT_TRUE(err_.contains("budget needs WEDDING.mdb and OUT.csv.")) << err_.toStdString();
    EXPECT_EQ(run({"budget", tempPath("missing.mdb"), tempPath("out.csv")}), 1);
    EXPECT_FALSE(QFile::exists(tempPath("out.csv")));
    EXPECT_EQ(run({"budget", "--help"}), 0);
    EXPECT_TRUE(out_.contains("Usage: orvane-cli budget WEDDING.mdb OUT.csv"));
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_TRUE(out_.contains("  budget "));
}

TEST_F(BudgetCommand, ImportExpensesPrintsTheReviewAndADryRunChangesNothing)
{
    const QString sheet = testsupport::testDataDir("imports") + "/budget-sheet.csv";
    const QByteArray before = fileBytes(path());
    ASSERT_EQ(run({"import-expenses", path(), sheet, "--dry-run"}), 0) << err_.toStdString();
    EXPECT_EQ(fileBytes(path()), before);
    EXPECT_TRUE(out_.contains("Budget Item -> Item")) << out_.toStdString();
    EXPECT_TRUE(out_.contains("Supplier -> Vendor"));
    // The reader drops the line with nothing but separators before it counts records.
    EXPECT_TRUE(out_.contains("Expenses (6):"));
    EXPECT_TRUE(out_.contains("row 2  Reception hall  4800.00 x 1  [Venue]"));
    EXPECT_TRUE(out_.contains("New categories: Flowers, Music"));
    EXPECT_TRUE(out_.contains("row 7: a total") && out_.contains("row 10: a total"));
    EXPECT_TRUE(out_.contains("row 9: Estimated Cost \"lots\" is not an amount"));

    ASSERT_EQ(run({"import-expenses", path(), sheet}), 0) << err_.toStdString();
    EXPECT_TRUE(out_.contains("6 expenses added (2 new categories).")) << out_.toStdString();
    EXPECT_EQ(storetest::rawValue(path(), "SELECT count(*) FROM Expenses"), "9");
    EXPECT_EQ(storetest::rawValue(path(),
                                  "SELECT count(*) FROM Expenses WHERE Owing IS NOT Total - (Downpayment + "
                                  "Paid) OR Total IS NOT Amount * Quantity"),
              "0");
    EXPECT_EQ(storetest::rawValue(path(), "SELECT count(*) FROM PlanPayments"), "3");

    EXPECT_EQ(run({"import-expenses", path()}), 2);
    EXPECT_TRUE(err_.contains("import-expenses needs WEDDING.mdb and FILE.csv."));
    EXPECT_EQ(run({"import-expenses", path(), sheet, "--decimal", "both"}), 2);
    EXPECT_EQ(run({"import-expenses", path(), tempPath("missing.csv")}), 1);
    EXPECT_TRUE(err_.startsWith("orvane-cli import-expenses: ")) << err_.toStdString();
}
