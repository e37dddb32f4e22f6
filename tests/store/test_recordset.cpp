// Record sets of the three kinds: position, bookmarks, find, fields, changes, requery,
// sort and clone, as the windows rely on them.
#include "StoreFixture.h"

using namespace store;
using storetest::StoreTest;

namespace {

QStringList lastNames(Recordset& rs)
{
    QStringList out;
    if (rs.recordCount() == 0)
        return out;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        out << rs.value("lastname").toString();
    return out;
}

}  // namespace

class RecordsetTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        carol_ = addGuest("Ms.", "Carol", "Young");
        alan_ = addGuest("Mr.", "Alan", "Baker");
        mia_ = addGuest("Mrs.", "Mia", "Moore");
    }
    qint64 carol_ = 0, alan_ = 0, mia_ = 0;
};

TEST_F(RecordsetTest, EachKindOpensOnItsFirstRowInItsOrder)
{
    auto table = db().openRecordset("Guests", RecordsetType::Table);
    table->setIndex("LastName");
    EXPECT_EQ(table->index(), "LastName");
    EXPECT_EQ(lastNames(*table), QStringList({"Baker", "Moore", "Young"}));
    auto dynaset = db().openRecordset("guests");
    EXPECT_EQ(dynaset->tableName(), "Guests");
    EXPECT_EQ(lastNames(*dynaset), QStringList({"Young", "Baker", "Moore"}));
    auto snapshot =
        db().openRecordset("SELECT * FROM Guests ORDER BY LastName DESC", RecordsetType::Snapshot);
    EXPECT_FALSE(snapshot->updatable());
    EXPECT_EQ(lastNames(*snapshot), QStringList({"Young", "Moore", "Baker"}));
    for (Recordset* rs : {table.get(), dynaset.get(), snapshot.get()}) {
        rs->requery();
        EXPECT_FALSE(rs->bof());
        EXPECT_EQ(rs->absolutePosition(), 0);
        EXPECT_EQ(rs->recordCount(), 3);
    }
}

TEST_F(RecordsetTest, MovingPastEitherEndLeavesNoCurrentRow)
{
    auto rs = db().openRecordset("Guests");
    rs->moveLast();
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_FALSE(rs->hasCurrent());
    EXPECT_EQ(rs->absolutePosition(), -1);
    EXPECT_STORE_ERROR(rs->value("LastName"), err::NoCurrentRecord);
    EXPECT_STORE_ERROR(rs->bookmark(), err::NoCurrentRecord);
    EXPECT_STORE_ERROR(rs->moveNext(), err::NoCurrentRecord);
    rs->moveFirst();
    rs->movePrevious();
    EXPECT_TRUE(rs->bof());
    EXPECT_STORE_ERROR(rs->movePrevious(), err::NoCurrentRecord);
    rs->moveNext();
    EXPECT_EQ(rs->value("LastName").toString(), "Young");

    db().execute("DELETE FROM Guests");
    auto empty = db().openRecordset("Guests", RecordsetType::Table);
    EXPECT_TRUE(empty->bof());
    EXPECT_TRUE(empty->eof());
    EXPECT_EQ(empty->recordCount(), 0);
    EXPECT_STORE_ERROR(empty->moveLast(), err::NoCurrentRecord);
    EXPECT_STORE_ERROR(empty->edit(), err::NoCurrentRecord);
}

TEST_F(RecordsetTest, BookmarksOfOneSetPositionAnotherOverTheSameTable)
{
    auto table = db().openRecordset("Guests", RecordsetType::Table);
    table->setIndex("LastName");
    auto dynaset = db().openRecordset("Guests");
    dynaset->findFirst("[FirstName] = 'Mia'");
    const Bookmark mark = dynaset->bookmark();
    EXPECT_EQ(mark, mia_);
    table->setBookmark(mark);
    EXPECT_EQ(table->value("FirstName").toString(), "Mia");
    EXPECT_EQ(table->absolutePosition(), 1);
    auto sql = db().openRecordset("SELECT LastName FROM Guests WHERE LastName <> 'Moore'");
    EXPECT_FALSE(sql->hasBookmark(mark));
    EXPECT_STORE_ERROR(sql->setBookmark(mark), err::InvalidBookmark);
    sql->setBookmark(alan_);
    EXPECT_EQ(sql->value("LastName").toString(), "Baker");
}

TEST_F(RecordsetTest, FindMovesInSetOrderOrLeavesThePositionWithNoMatch)
{
    addGuest("Mr.", "Zed", "Baker");
    db().execute("UPDATE Guests SET City = NULL");
    db().execute("UPDATE Guests SET City = '' WHERE FirstName = 'Mia'");
    auto rs = db().openRecordset("Guests", RecordsetType::Table);
    rs->setIndex("lastname");
    rs->findFirst("LastName = 'baker'");
    EXPECT_EQ(rs->value("FirstName").toString(), "Alan");
    rs->findNext("LastName = 'Baker'");
    EXPECT_EQ(rs->value("FirstName").toString(), "Zed");
    rs->findNext("LastName = 'Baker'");
    EXPECT_TRUE(rs->noMatch());
    EXPECT_EQ(rs->value("FirstName").toString(), "Zed");
    rs->findLast("[City] Is Null");
    EXPECT_EQ(rs->value("FirstName").toString(), "Carol");
    rs->findPrevious("[City] Is Null");
    EXPECT_EQ(rs->value("FirstName").toString(), "Zed");
    rs->findFirst("[City] = ''");
    EXPECT_EQ(rs->value("FirstName").toString(), "Mia");
    EXPECT_TRUE(rs->value("City").toString().isEmpty());
    EXPECT_FALSE(rs->value("City").isNull());
    rs->moveNext();
    EXPECT_TRUE(rs->value("City").isNull());

    auto snap = db().openRecordset("Guests", RecordsetType::Snapshot);
    snap->findFirst("[FirstName] = 'zed' AND [City] Is Null");
    EXPECT_FALSE(snap->noMatch());
    EXPECT_EQ(snap->absolutePosition(), 3);
    snap->findFirst("[FirstName] = ?", {QVariant()});
    EXPECT_TRUE(snap->noMatch());
    EXPECT_STORE_ERROR(snap->findFirst("[Nope] = 1"), err::UnknownField);
    EXPECT_STORE_ERROR(rs->findFirst("[FirstName] = "), err::SyntaxError);
}

TEST_F(RecordsetTest, AddNewKeepsThePositionAndShowsTheRowWhereItsKindPutsIt)
{
    auto table = db().openRecordset("Guests", RecordsetType::Table);
    table->setIndex("LastName");
    table->moveLast();  // Young
    table->addNew();
    EXPECT_EQ(table->editMode(), EditMode::Add);
    EXPECT_FALSE(table->value("printit").toBool());  // the declared default
    EXPECT_TRUE(table->value("LastName").isNull());
    table->setValue("LastName", "Adams");
    table->setValue("Invited", "3");
    table->update();
    EXPECT_EQ(table->value("LastName").toString(), "Young");
    table->setBookmark(table->lastModified());
    EXPECT_EQ(table->absolutePosition(), 0);
    EXPECT_EQ(table->value("Invited").toLongLong(), 3);
    EXPECT_EQ(lastNames(*table), QStringList({"Adams", "Baker", "Moore", "Young"}));

    auto dynaset = db().openRecordset("Guests");
    dynaset->addNew();
    dynaset->setValue("LastName", "Aaron");
    dynaset->update();
    EXPECT_EQ(dynaset->absolutePosition(), 0);
    EXPECT_EQ(lastNames(*dynaset).last(), "Aaron");
    EXPECT_EQ(dynaset->recordCount(), 5);

    auto tables = db().openRecordset("Tables");
    tables->addNew();
    tables->setValue("tablename", "Head");
    EXPECT_STORE_ERROR(tables->setValue("TableId", 7), err::FieldNotUpdatable);
    tables->update();
    tables->setBookmark(tables->lastModified());
    EXPECT_EQ(tables->value("TableId").toLongLong(), tables->lastModified());
    EXPECT_EQ(tables->value("max").toLongLong(), 0);
}

// A set reads its rows with a statement made for as many keys as it has: one that grows row
// by row past each size it was made for, walked both ways, still shows every row and every
// column asked for.
TEST_F(RecordsetTest, ASetThatGrowsRowByRowShowsEveryRowBothWays)
{
    auto guests = db().openRecordset("SELECT * FROM Guests ORDER BY LastName");
    QStringList expected = lastNames(*guests);
    for (int i = 0; i < 70; ++i) {
        const QString name = QStringLiteral("Zz%1").arg(i, 3, 10, QLatin1Char('0'));
        guests->addNew();
        guests->setValue("LastName", name);
        guests->setValue("FirstName", QStringLiteral("Émile 💍 %1").arg(i));
        guests->update();
        expected << name;
        ASSERT_EQ(lastNames(*guests), expected) << "after " << i + 1 << " added";
    }
    QStringList backwards, firstNames;
    for (guests->moveLast(); !guests->bof(); guests->movePrevious()) {
        backwards.prepend(guests->value("LastName").toString());
        firstNames.prepend(guests->value("FirstName").toString());
    }
    EXPECT_EQ(backwards, expected);
    EXPECT_EQ(firstNames.last(), QStringLiteral("Émile 💍 69"));
    EXPECT_EQ(firstNames.first(), "Alan");

    // A select list that cannot be read column by column is read whole, for as many keys.
    auto whole = db().openRecordset("SELECT Guests.*, LastName & '!' AS Shout FROM Guests ORDER BY LastName");
    QStringList shouts;
    for (whole->moveFirst(); !whole->eof(); whole->moveNext())
        shouts << whole->value("Shout").toString();
    ASSERT_EQ(shouts.size(), expected.size());
    EXPECT_EQ(shouts.first(), "Baker!");
    EXPECT_EQ(shouts.last(), "Zz069!");
}

TEST_F(RecordsetTest, EditCancelAndDeleteFollowTheRules)
{
    auto rs = db().openRecordset("Guests");
    EXPECT_STORE_ERROR(rs->setValue("City", "Rome"), err::NotInEditMode);
    EXPECT_STORE_ERROR(rs->update(), err::UpdateWithoutEdit);
    EXPECT_STORE_ERROR(rs->cancelUpdate(), err::UpdateWithoutEdit);
    rs->edit();
    rs->setValue("City", "Rome");
    EXPECT_EQ(rs->value("city").toString(), "Rome");
    rs->cancelUpdate();
    EXPECT_TRUE(rs->value("City").isNull());
    rs->edit();
    rs->setValue("City", "Rome");
    rs->moveNext();  // moving away drops the edit
    rs->moveFirst();
    EXPECT_TRUE(rs->value("City").isNull());
    rs->edit();
    rs->setValue("City", "Paris");
    rs->update();
    EXPECT_EQ(rs->lastModified(), carol_);
    EXPECT_EQ(storetest::rawValue(path_, "SELECT City FROM Guests WHERE rowid = 1"), "Paris");

    auto other = db().openRecordset("Guests", RecordsetType::Table);
    EXPECT_EQ(other->value("City").toString(), "Paris");
    rs->deleteRecord();
    EXPECT_FALSE(rs->hasCurrent());
    EXPECT_STORE_ERROR(rs->value("City"), err::NoCurrentRecord);
    rs->moveNext();
    EXPECT_EQ(rs->value("LastName").toString(), "Baker");
    EXPECT_EQ(rs->recordCount(), 2);
    // A set that still lists the deleted row says so when it reads it.
    EXPECT_STORE_ERROR(other->value("City"), err::RecordDeleted);
    other->requery();
    EXPECT_EQ(other->recordCount(), 2);
}

TEST_F(RecordsetTest, ValuesReadAndWriteInTheirTypes)
{
    auto rs = db().openRecordset("Checklist");
    rs->addNew();
    rs->setValue("CheckItem", "Order cake");
    rs->setValue("DueDate", QDate(2025, 6, 14));
    rs->setValue("Done", "Yes");
    rs->setValue("checktime", 4.0);
    rs->update();
    rs->moveFirst();
    EXPECT_EQ(rs->value("DueDate").toDateTime(), QDateTime(QDate(2025, 6, 14), QTime(0, 0)));
    EXPECT_EQ(rs->value("Done").metaType().id(), QMetaType::Bool);
    EXPECT_TRUE(rs->value("Done").toBool());
    EXPECT_EQ(rs->value("checktime").metaType().id(), QMetaType::LongLong);
    EXPECT_TRUE(rs->value("CheckDate").isNull());
    rs->edit();
    rs->setValue("DueDate", "7/4/2025");
    rs->setValue("CheckDate", "");  // empty text into a date: Null
    rs->setValue("checktime", QVariant());
    rs->update();
    EXPECT_EQ(storetest::rawValue(path_, "SELECT DueDate FROM Checklist"), "2025-07-04 00:00:00");
    EXPECT_TRUE(rs->value("checktime").isNull());
    rs->edit();
    EXPECT_STORE_ERROR(rs->setValue("DueDate", "next week"), err::TypeMismatch);
    EXPECT_STORE_ERROR(rs->setValue("checktime", "four"), err::TypeMismatch);
    EXPECT_STORE_ERROR(rs->setValue("Done", "maybe"), err::TypeMismatch);
    EXPECT_STORE_ERROR(rs->setValue("CheckItem", QString(101, 'x')), err::FieldTooLong);
    rs->setValue("CheckItem", QString(100, 'x'));
    EXPECT_STORE_ERROR(rs->setValue("Nope", 1), err::UnknownField);

    auto money = db().openRecordset("Expenses");
    money->addNew();
    money->setValue("Amount", "$1,234.5");
    money->setValue("Owing", Currency::fromRaw(5));
    money->update();
    money->moveFirst();
    EXPECT_EQ(money->value("Amount").value<Currency>().toString(), "1234.50");
    EXPECT_EQ(money->value("Owing").value<Currency>().raw(), 5);
    money->edit();
    EXPECT_STORE_ERROR(money->setValue("Amount", "12 dollars"), err::TypeMismatch);
}

TEST_F(RecordsetTest, CurrencySumsStayExactToTheCent)
{
    auto rs = db().openRecordset("Guests");
    for (int i = 0; i < 1000; ++i) {
        rs->addNew();
        rs->setValue("LastName", QStringLiteral("G%1").arg(i));
        rs->setValue("engamt", "0.10");
        rs->update();
    }
    Currency sum;
    for (rs->moveFirst(); !rs->eof(); rs->moveNext())
        if (!rs->value("engamt").isNull())
            sum += rs->value("engamt").value<Currency>();
    EXPECT_EQ(sum.toString(), "100.00");
    auto gifts = db().openRecordset("sumGifts", RecordsetType::Snapshot);
    EXPECT_EQ(gifts->value("sum of engamt").value<Currency>().toString(), "100.00");
    EXPECT_EQ(gifts->value("count of guests").toLongLong(), 1003);
    EXPECT_EQ(Currency::parse("(12.345)")->raw(), -123450);
    EXPECT_EQ(Currency::parse("0.00005")->raw(), 1);
    EXPECT_EQ(Currency::fromRaw(-5).toString(3), "-0.001");
    EXPECT_FALSE(Currency::parse("1.2.3"));
}

TEST_F(RecordsetTest, QueriesAndSortsOpenAsTheirOwnSets)
{
    EXPECT_EQ(db().tableNames(), QStringList({"BudgetPlan", "Checklist", "CityList", "Expenses", "General",
                                              "Guests", "StateList", "Tables", "Tips", "Vendors"}));
    EXPECT_EQ(db().queryNames(), QStringList({"sumGifts", "sumGuestof"}));
    auto byParty = db().openRecordset("sumGuestof");
    EXPECT_FALSE(byParty->updatable());
    EXPECT_EQ(byParty->value("Count").toLongLong(), 3);
    EXPECT_STORE_ERROR(db().openRecordset("sumGuestof", RecordsetType::Table), err::InvalidOperation);
    EXPECT_STORE_ERROR(db().openRecordset("Nothing"), err::UnknownObject);

    db().execute("UPDATE Guests SET Invited = rowid");
    auto rs = db().openRecordset("Guests");
    rs->setSort("[Invited] desc");
    auto sorted = rs->openRecordset();
    EXPECT_EQ(lastNames(*sorted), QStringList({"Moore", "Baker", "Young"}));
    EXPECT_EQ(lastNames(*rs), QStringList({"Young", "Baker", "Moore"}));
    rs->setFilter("[Invited] >= 2");
    EXPECT_EQ(lastNames(*rs->openRecordset(RecordsetType::Snapshot)), QStringList({"Moore", "Baker"}));
    EXPECT_STORE_ERROR(rs->setSort("[Invited] upward"), err::SyntaxError);
    auto table = db().openRecordset("Guests", RecordsetType::Table);
    EXPECT_STORE_ERROR(table->setSort("LastName"), err::NotSupported);
    EXPECT_STORE_ERROR(table->setIndex("NoSuchIndex"), err::UnknownIndex);

    sorted->moveFirst();
    auto clone = sorted->clone();
    clone->moveLast();
    EXPECT_EQ(sorted->absolutePosition(), 0);
    sorted->setBookmark(clone->bookmark());
    EXPECT_EQ(sorted->value("LastName").toString(), "Young");
}

TEST_F(RecordsetTest, ClosedSetsAndClosedDatabasesAreReported)
{
    auto rs = db().openRecordset("Guests");
    rs->close();
    EXPECT_FALSE(rs->isOpen());
    EXPECT_STORE_ERROR(rs->moveFirst(), err::ObjectNotSet);
    auto other = db().openRecordset("Guests");
    ws().close();
    EXPECT_STORE_ERROR(other->value("LastName"), err::ObjectNotSet);
    EXPECT_STORE_ERROR(other->recordCount(), err::ObjectNotSet);
}

// The schema look-ups stay prepared on their connection: they still see what another
// connection makes and drops after them, and a connection opened again makes its own.
TEST_F(StoreTest, LookUpsSeeTablesMadeAndDroppedAfterThem)
{
    EXPECT_STORE_ERROR(db().tableFields("Later"), err::UnknownObject);
    storetest::rawExec(path_, "CREATE TABLE Later (Name TEXT(20), Seats NUMBER)");
    ASSERT_EQ(db().tableFields("later").size(), 2) << "found after it was made";
    EXPECT_EQ(db().tableFields("Later")[1].name, "Seats");
    storetest::rawExec(path_, "CREATE TABLE Gone (Note TEXT(10)); DROP TABLE Gone;");
    EXPECT_STORE_ERROR(db().tableFields("Gone"), err::UnknownObject);
    EXPECT_STORE_ERROR(db().openRecordset("Gone"), err::UnknownObject);
    EXPECT_EQ(db().tableFields("Guests").size(), db().openRecordset("Guests")->fields().size());

    ws().close();
    db_ = &ws().openDatabase(path_);
    EXPECT_EQ(db().tableFields("Later").size(), 2) << "a new connection prepares its own";
    EXPECT_STORE_ERROR(db().tableFields("Gone"), err::UnknownObject);
}

TEST_F(StoreTest, LongWalksReadEveryRowInOrderWhateverChangesMeanwhile)
{
    // Enough rows for several blocks, with equal and missing names.
    ws().beginTrans();
    for (int i = 0; i < 1500; ++i)
        db().execute(
            "INSERT INTO Guests (LastName, FirstName) VALUES (?, ?)",
            {i % 10 == 0 ? QVariant() : QVariant(QStringLiteral("N%1").arg(i % 37)), QString::number(i)});
    ws().commitTrans();
    auto expected = [&] {
        QStringList out;
        auto snap = db().openRecordset("SELECT FirstName FROM Guests ORDER BY LastName, FirstName, rowid",
                                       RecordsetType::Snapshot);
        for (; !snap->eof(); snap->moveNext())
            out << snap->value("FirstName").toString();
        return out;
    };
    const QStringList order = expected();
    auto rs = db().openRecordset("Guests", RecordsetType::Table);
    rs->setIndex("LastName");
    auto other = db().openRecordset("Guests");
    QStringList walked;
    int deletedSeen = 0;
    for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
        if (rs->absolutePosition() == 700) {
            // Another set deletes a row ahead and adds one; this set keeps its own rows.
            other->findFirst("[FirstName] = ?", {order[900]});
            other->deleteRecord();
            other->addNew();
            other->setValue("LastName", "N5");
            other->setValue("FirstName", "new");
            other->update();
        }
        try {
            walked << rs->value("FirstName").toString();
        } catch (const StoreError& e) {
            EXPECT_EQ(e.number(), err::RecordDeleted);
            ++deletedSeen;
            walked << order[rs->absolutePosition()];
        }
    }
    EXPECT_EQ(walked, order);
    EXPECT_EQ(deletedSeen, 1);
    // Backwards as well.
    QStringList backwards;
    rs->requery();
    for (rs->moveLast(); !rs->bof(); rs->movePrevious())
        backwards.prepend(rs->value("FirstName").toString());
    EXPECT_EQ(backwards, expected());
}
