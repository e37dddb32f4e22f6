// Selection formulas: what they select, and that nothing of their text reaches SQL.
#include "reports/Formula.h"
#include "reports/ReportError.h"
#include "tests/reports/QtPrinters.h"

#include "store/Store.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <memory>

using reports::Formula;
using reports::ReportError;

namespace {

class FormulaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        const QString path = dir_.filePath(QStringLiteral("formula.mdb"));
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db_), SQLITE_OK);
        exec(
            "CREATE TABLE Guests (LastName TEXT(20), InvCeremony YESNO, ShowerGuest YESNO, "
            "Confirmed YESNO, tableid NUMBER, Invited NUMBER, CheckDate DATETIME)");
        exec("CREATE TABLE Expenses (Description TEXT(50), Owing CURRENCY, Quantity NUMBER)");
        exec(
            "INSERT INTO Guests VALUES ('Adams', 1, 1, 1, 0, 2, NULL), ('Baker', 1, 0, 0, 3, 1, NULL), "
            "('Clark', 0, 1, NULL, 0, 4, NULL), ('Davis', NULL, NULL, 1, NULL, NULL, NULL)");
        exec(
            "INSERT INTO Expenses VALUES ('Cake', 125000, 1), ('Dress', 0, 1), ('Veil', 5, 1), "
            "('Rings', -50100, 2), ('Favours', NULL, 120)");
        // The catalog reads the declarations through the store, as the report engine does.
        store_ = store::Database::openFile(path, store::OpenMode::ReadOnly);
        ASSERT_TRUE(catalog_.load(*store_, "guests"));
        ASSERT_TRUE(catalog_.load(*store_, "Expenses"));
    }
    void TearDown() override { sqlite3_close(db_); }

    void exec(const char* sql)
    {
        ASSERT_EQ(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    }

    // The first column of the rows of `table` that the formula selects, in stored order.
    QStringList select(const QString& formula, const QString& table = "Guests")
    {
        const reports::SqlCondition where = Formula::parse(formula).toSql(catalog_, {table});
        const QString sql =
            QString("SELECT * FROM %1%2").arg(table, where.sql.isEmpty() ? "" : " WHERE " + where.sql);
        sqlite3_stmt* statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &statement, nullptr), SQLITE_OK)
            << sql.toStdString();
        for (int i = 0; i < where.params.size(); ++i) {
            if (where.params[i].typeId() == QMetaType::Double)
                sqlite3_bind_double(statement, i + 1, where.params[i].toDouble());
            else
                sqlite3_bind_int64(statement, i + 1, where.params[i].toLongLong());
        }
        QStringList names;
        while (sqlite3_step(statement) == SQLITE_ROW)
            names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return names;
    }

    QString errorOf(const QString& formula, const QStringList& tables = {"Guests"})
    {
        try {
            Formula::parse(formula).toSql(catalog_, tables);
        } catch (const ReportError& e) {
            return e.description();
        }
        return {};
    }

    QTemporaryDir dir_;
    sqlite3* db_ = nullptr;
    std::unique_ptr<store::Database> store_;
    reports::Catalog catalog_;
};

TEST_F(FormulaTest, TheWindowsFormulasSelectWhatTheyMean)
{
    EXPECT_EQ(select("{Guests.InvCeremony} = True"), QStringList({"Adams", "Baker"}));
    // An unset mark counts as No.
    EXPECT_EQ(select("{Guests.InvCeremony} = False"), QStringList({"Clark", "Davis"}));
    EXPECT_EQ(select("{Guests.ShowerGuest} = True"), QStringList({"Adams", "Clark"}));
    EXPECT_EQ(select("{Guests.tableid} > 0"), QStringList({"Baker"}));
    EXPECT_EQ(select("{Guests.tableid} = 0"), QStringList({"Adams", "Clark", "Davis"}));
    EXPECT_EQ(select("{Expenses.Owing} > 0", "Expenses"), QStringList({"Cake", "Veil"}));
    EXPECT_EQ(select("{Expenses.Owing} = 0", "Expenses"), QStringList({"Dress", "Favours"}));
    EXPECT_EQ(select("", "Expenses").size(), 5);
}

TEST_F(FormulaTest, CombinationsFollowPrecedenceAndParentheses)
{
    // not binds tighter than and, and tighter than or.
    EXPECT_EQ(select("{Guests.tableid} > 0 or {Guests.InvCeremony} = True and {Guests.ShowerGuest} = True"),
              QStringList({"Adams", "Baker"}));
    EXPECT_EQ(select("({Guests.tableid} > 0 or {Guests.InvCeremony} = True) and {Guests.ShowerGuest} = True"),
              QStringList({"Adams"}));
    EXPECT_EQ(select("not {Guests.InvCeremony} = True and {Guests.Invited} >= 4"), QStringList({"Clark"}));
    EXPECT_EQ(select("not ({Guests.InvCeremony} = True and {Guests.Invited} >= 2)"),
              QStringList({"Baker", "Clark", "Davis"}));
    EXPECT_EQ(select("{Guests.Confirmed} AND NOT {Guests.ShowerGuest}"), QStringList({"Davis"}));
    EXPECT_EQ(select("{Guests.Invited} <> 1 And (({Guests.tableid} <= 0))"),
              QStringList({"Adams", "Clark", "Davis"}));
    EXPECT_EQ(select("0 < {Guests.tableid}"), QStringList({"Baker"}));
    // Fields compare with fields; names are found whatever their case and spacing.
    EXPECT_EQ(select("{ guests . INVITED } > {Guests.tableid}"), QStringList({"Adams", "Clark"}));
    EXPECT_EQ(select("{Guests.ShowerGuest} = {Guests.InvCeremony}"), QStringList({"Adams", "Davis"}));
}

TEST_F(FormulaTest, AmountsCompareExactlyAndValuesAreBound)
{
    EXPECT_EQ(select("{Expenses.Owing} = 12.50", "Expenses"), QStringList({"Cake"}));
    EXPECT_EQ(select("{Expenses.Owing} = 0.0005", "Expenses"), QStringList({"Veil"}));
    EXPECT_EQ(select("{Expenses.Owing} < -5.01", "Expenses"), QStringList());
    EXPECT_EQ(select("{Expenses.Owing} <= -5.01", "Expenses"), QStringList({"Rings"}));
    EXPECT_EQ(select("{Expenses.Owing} > 0.00001", "Expenses"), QStringList({"Cake", "Veil"}));
    // An amount compared with a plain number counts in whole units.
    EXPECT_EQ(select("{Expenses.Owing} > {Expenses.Quantity}", "Expenses"), QStringList({"Cake"}));

    const reports::SqlCondition where =
        Formula::parse("{Expenses.Owing} > 12.5 or {Expenses.Quantity} = 120").toSql(catalog_, {"Expenses"});
    EXPECT_FALSE(where.sql.contains("12")) << where.sql.toStdString();
    EXPECT_EQ(where.params, QVariantList({qint64(125000), qint64(120)}));
}

TEST_F(FormulaTest, UnreadableOrUnsafeFormulasAreErrorsWithADescription)
{
    struct Case {
        const char* formula;
        const char* says;
    };
    const Case cases[] = {
        {"{Guests.LastName} = 'Smith'", "text in quotes is not allowed"},
        {"{Guests.LastName} = \"x\" or \"1\"=\"1\"", "text in quotes is not allowed"},
        {"{Guests.tableid} = 0; DROP TABLE Guests", "the character ';' is not allowed"},
        {"{Guests.tableid} = 0 -- comment", "the word 'comment' is not known"},
        {"{Guests.tableid} = - {Guests.Invited}", "a minus sign must be followed by a number"},
        {"{Guests.tableid} = 0 /* x */", "the character '/' is not allowed"},
        {"{Guests.Nickname} = 0", "the field {Guests.Nickname} does not exist"},
        {"{Vendors.Zip} = 0", "names the table Vendors, which this report does not read"},
        {"{Guests.tableid\"} = 0", "only letters, digits, underscores and blanks"},
        {"{Guests} = 0", "{Table.Field}"},
        {"{Guests.tableid = 0", "not closed with }"},
        {"({Guests.tableid} = 0", "is not closed"},
        {"{Guests.tableid} = 0)", "closing parenthesis without an opening one"},
        {")", "closing parenthesis without an opening one"},
        {"{Guests.tableid} =", "ends where a field or a value is expected"},
        {"{Guests.tableid} = 0 {Guests.Invited} = 1", "'and' or 'or' is missing"},
        {"{Guests.tableid} = True", "is a number field and cannot be compared with True or False"},
        {"{Guests.ShowerGuest} > 0", "cannot be compared with a number"},
        {"{Guests.ShowerGuest} > True", "compared with = or <> only"},
        {"{Guests.LastName} = 0", "is a text field and cannot be compared with a number"},
        {"{Guests.LastName} = {Guests.tableid}", "they cannot be compared"},
        {"{Guests.tableid}", "not a Yes/No field"},
        {"1 = 1", "needs a field on one side"},
        {"True", "compares a field with a value"},
        {"{Guests.tableid} == 0", "a field or a value is expected here"},
        {"{Guests.tableid} = 0 xor 1", "the word 'xor' is not known"},
        {"{Guests.tableid} = 12345678901234567890", "is too long"},
        {"{Guests.tableid} = 0\x01", "U+0001"},
    };
    for (const Case& c : cases) {
        const QString error = errorOf(QString::fromUtf8(c.formula));
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.says))) << c.formula << " -> " << error.toStdString();
    }
    EXPECT_TRUE(
        errorOf(QString(70, '(') + "{Guests.tableid} = 0" + QString(70, ')')).contains("nested too deeply"));
    EXPECT_TRUE(errorOf(QString(5000, ' ') + "{Guests.tableid} = 0").contains("longer than"));
    // Where the reader stopped is part of the description.
    EXPECT_TRUE(errorOf("{Guests.tableid} = 0; x").contains("(character 21)"));
}

}  // namespace
