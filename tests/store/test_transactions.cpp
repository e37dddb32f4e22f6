// Transactions of the default workspace: nesting through savepoints, rollback of added and
// edited rows, errors without a transaction, and closing with one open.
#include "StoreFixture.h"
#include "store/Transaction.h"

#include <memory>

using namespace store;
using storetest::StoreTest;

TEST_F(StoreTest, RollbackRemovesAnAddedRowAndUndoesAnEdit)
{
    addGuest("Mr.", "Alan", "Baker");
    auto rs = db().openRecordset("Guests");
    ws().beginTrans();
    rs->edit();
    rs->setValue("City", "Rome");
    rs->update();
    rs->addNew();
    rs->setValue("LastName", "Temp");
    rs->update();
    EXPECT_EQ(rs->recordCount(), 2);
    ws().rollback();
    EXPECT_EQ(ws().transactionDepth(), 0);
    EXPECT_TRUE(rs->value("City").isNull());  // the set re-reads the row after the rollback
    rs->requery();
    EXPECT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(storetest::rawValue(path_, "SELECT count(*) FROM Guests"), "1");
}

TEST_F(StoreTest, NestedTransactionsCommitOrRollBackTheirOwnPart)
{
    auto rs = db().openRecordset("Tables");
    auto add = [&](const QString& name) {
        rs->addNew();
        rs->setValue("tablename", name);
        rs->update();
    };
    ws().beginTrans();
    add("outer");
    ws().beginTrans();
    add("inner rolled back");
    EXPECT_EQ(ws().transactionDepth(), 2);
    ws().rollback();
    ws().beginTrans();
    add("inner kept");
    ws().commitTrans();
    // Nothing is on disk for another connection before the outer commit.
    EXPECT_EQ(storetest::rawValue(path_, "SELECT count(*) FROM Tables"), "0");
    ws().commitTrans();
    EXPECT_EQ(storetest::rawValue(path_, "SELECT group_concat(tablename, '|') FROM Tables"),
              "outer|inner kept");
}

TEST_F(StoreTest, CommitOrRollbackWithoutTransactionIsAnError)
{
    EXPECT_STORE_ERROR(ws().commitTrans(), err::NoTransaction);
    EXPECT_STORE_ERROR(ws().rollback(), err::NoTransaction);
    ws().beginTrans();
    ws().commitTrans();
    EXPECT_STORE_ERROR(ws().commitTrans(), err::NoTransaction);
}

TEST_F(StoreTest, ClosingTheWorkspaceRollsBackAnOpenTransaction)
{
    ws().beginTrans();
    db().execute("INSERT INTO CityList (City) VALUES ('Lost')");
    ws().close();
    EXPECT_EQ(storetest::rawValue(path_, "SELECT count(*) FROM CityList"), "0");
    db_ = &ws().openDatabase(path_);
    EXPECT_EQ(ws().transactionDepth(), 0);
    EXPECT_STORE_ERROR(ws().rollback(), err::NoTransaction);
}

// store::Transaction: what a change of several writes uses.
TEST_F(StoreTest, ATransactionThatIsLeftHalfWayChangesNothing)
{
    addGuest("Mr.", "Alan", "Baker");
    auto rs = db().openRecordset("Guests");
    try {
        Transaction change;
        rs->edit();
        rs->setValue("City", "Rome");
        rs->update();
        rs->addNew();
        rs->setValue("LastName", "Temp");
        rs->update();
        rs->addNew();
        rs->setValue("NoSuchField", "x");  // fails half-way
        rs->update();
        change.commit();
        FAIL() << "the bad field was accepted";
    } catch (const StoreError&) {
    }
    EXPECT_EQ(ws().transactionDepth(), 0);
    EXPECT_EQ(storetest::rawValue(path_, "SELECT count(*) || '|' || ifnull(max(City), '') FROM Guests"),
              "1|");
}

TEST_F(StoreTest, NestedTransactionsEndOnlyTheirOwnLevel)
{
    auto rs = db().openRecordset("Tables");
    auto add = [&](const QString& name) {
        rs->addNew();
        rs->setValue("tablename", name);
        rs->update();
    };
    Transaction outer;
    add("outer");
    {
        Transaction dropped;
        add("dropped");
    }
    {
        Transaction kept;
        add("kept");
        kept.commit();
        EXPECT_FALSE(kept.isOpen());
        EXPECT_STORE_ERROR(kept.commit(), err::NoTransaction);
    }
    EXPECT_TRUE(outer.isOpen());
    outer.commit();
    EXPECT_EQ(storetest::rawValue(path_, "SELECT group_concat(tablename, '|') FROM Tables"), "outer|kept");
}

// Committing an outer transaction with an inner one open would save the inner's half-done
// writes: refused, and the destructor then rolls back both.
TEST_F(StoreTest, CommittingOverAnOpenInnerTransactionIsRefused)
{
    auto rs = db().openRecordset("Tables");
    {
        Transaction outer;
        rs->addNew();
        rs->setValue("tablename", "outer");
        rs->update();
        ws().beginTrans();  // begun by hand and never ended
        rs->addNew();
        rs->setValue("tablename", "inner");
        rs->update();
        EXPECT_STORE_ERROR(outer.commit(), err::InvalidOperation);
        EXPECT_EQ(ws().transactionDepth(), 2);
    }
    EXPECT_EQ(ws().transactionDepth(), 0);
    EXPECT_EQ(storetest::rawValue(path_, "SELECT count(*) FROM Tables"), "0");
}

TEST_F(StoreTest, ATransactionOutlivingItsDatabaseEndsQuietly)
{
    auto change = std::make_unique<Transaction>();
    addGuest("Mr.", "Alan", "Baker");
    ws().close();  // rolls back
    EXPECT_FALSE(change->isOpen());
    EXPECT_STORE_ERROR(change->commit(), err::General);
    change.reset();
    EXPECT_EQ(storetest::rawValue(path_, "SELECT count(*) FROM Guests"), "0");
    db_ = &ws().openDatabase(path_);
}
