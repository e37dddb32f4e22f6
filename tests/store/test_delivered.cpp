// The store on the delivered wedding database: the table list the windows index into,
// the saved queries with their declared column types, the named indexes, and the
// statements of the seating and label windows against the real schema.
#include "StoreFixture.h"

#include "tests/support/TestSupport.h"

using namespace store;

class DeliveredTest : public ::testing::Test {
protected:
    void SetUp() override { db_ = &Workspace::defaultWorkspace().openDatabase(dir_.databasePath()); }
    void TearDown() override { Workspace::defaultWorkspace().close(); }
    testsupport::ProgramDir dir_;
    Database* db_ = nullptr;
};

TEST_F(DeliveredTest, TablesInNameOrderPutGuestsAtPositionFive)
{
    const QStringList tables = db_->tableNames();
    EXPECT_EQ(tables, QStringList({"BudgetPlan", "Checklist", "CityList", "Expenses", "General", "Guests",
                                   "GuestsMeals", "GuestsMemberReplies", "GuestsMembers", "GuestsSeats", "ImportMappings", "PlanCategories", "PlanItems", "PlanPayments",
                                   "PlanTotals", "SeatingPins", "SeatingRuleParties", "SeatingRules",
                                   "StateList", "TablePlaces", "Tables", "Tips", "Vendors"}));
    EXPECT_EQ(tables.at(5), "Guests");
    EXPECT_EQ(db_->queryNames(), QStringList({"Invited Query", "sumCeremony", "sumGifts", "sumGuestof",
                                              "sumReception", "sumRehearsal", "sumShower"}));
}

TEST_F(DeliveredTest, SavedQueriesReadInTheirDeclaredTypes)
{
    db_->execute(
        "INSERT INTO Guests (LastName, guestof, engamt, ShowerGuest, ShowerInvited) "
        "VALUES ('A', 'Bride', 250000, 1, 2), ('B', 'Groom', 5000, 1, NULL)");
    auto invited = db_->openRecordset("Invited Query", RecordsetType::Snapshot);
    EXPECT_EQ(invited->value("count of guests").toLongLong(), 2);
    db_->execute("DELETE FROM Guests WHERE LastName = 'B'");
    invited->requery();
    EXPECT_EQ(invited->value("count of guests").toLongLong(), 1);
    auto gifts = db_->openRecordset("sumGifts");
    EXPECT_EQ(gifts->value("sum of engamt").value<Currency>().toString(), "25.00");
    EXPECT_TRUE(gifts->value("sum of showamt").isNull());
    auto shower = db_->openRecordset("sumShower");
    EXPECT_FALSE(shower->value("showerreplied").toBool());
    EXPECT_EQ(shower->value("sum of ShowerInvited").toLongLong(), 2);
    EXPECT_EQ(db_->openRecordset("sumGuestof")->value("guestof").toString(), "Bride");
}

TEST_F(DeliveredTest, NamedIndexesOrderTableTypeSetsAndBookmarksCrossSets)
{
    db_->execute("INSERT INTO Guests (LastName) VALUES ('young'), ('Adams'), ('baker')");
    auto guests = db_->openRecordset("Guests", RecordsetType::Table);
    guests->setIndex("LastName");
    QStringList order;
    for (guests->moveFirst(); !guests->eof(); guests->moveNext())
        order << guests->value("LastName").toString();
    EXPECT_EQ(order, QStringList({"Adams", "baker", "young"}));
    auto vendors = db_->openRecordset("Vendors", RecordsetType::Table);
    vendors->setIndex("CompanyName");

    auto tables = db_->openRecordset("Tables");
    tables->addNew();
    tables->setValue("tablename", "Head table");
    tables->setValue("Max", 8);
    tables->update();
    auto data1 = db_->openRecordset("Tables");
    data1->findFirst("[TableId] = " + QString::number(tables->lastModified()));
    ASSERT_FALSE(data1->noMatch());
    EXPECT_EQ(data1->value("max").toLongLong(), 8);
    EXPECT_EQ(data1->value("assigned").toLongLong(), 0);
}

TEST_F(DeliveredTest, WindowStatementsRunOnTheRealSchema)
{
    const QString body =
        "+ Trim$([Firstname])+ \" \"+[LastName] as Expr1, Guests.tableid, Guests.tabletot From Guests ";
    const QStringList statements = {
        "SELECT Guests.Guestof, Guests.Invited, [Prefix]+\" \" " + body +
            "Where (((Guests.TableId) = 0))ORDER BY Guests.tableid, Guests.LastName;",
        "SELECT Guests.Guestof, Guests.Invited, [Prefix]+\" \" " + body +
            "Where (((Guests.TableId) > 0))ORDER BY Guests.LastName;",
        "SELECT Guests.Guestof, Guests.Invited, [Prefix]+\" \"" + body +
            "Where (Guests.tableid = 3) ORDER BY Guests.tableid, Guests.LastName;",
        "SELECT Guests.wedlbl, Guests.printit From Guests ORDER BY Guests.LastName;",
        "SELECT Guests.showlbl, Guests.printit From Guests Where ((Guests.ShowerGuest) = True) ORDER BY "
        "Guests.LastName;",
    };
    db_->execute(
        "INSERT INTO Guests (Prefix, FirstName, LastName, ShowerGuest, showlbl) "
        "VALUES ('Mr.', 'Al', 'Baker', 1, 'Mr. Al Baker')");
    for (const QString& sql : statements) {
        auto rs = db_->openRecordset(sql);
        EXPECT_TRUE(rs->updatable()) << sql.toStdString();
        EXPECT_LE(rs->recordCount(), 1);
    }
    auto labels = db_->openRecordset(statements[4]);
    labels->edit();
    labels->setValue("printit", true);
    labels->update();
    auto check = db_->openRecordset("SELECT printit FROM Guests", RecordsetType::Snapshot);
    EXPECT_TRUE(check->value("printit").toBool());
}
