// Walking long table-type sets in index order, across the blocks of rows the store reads
// at once, while rows change through the set itself and through other statements: every
// row is seen once, in order, with its own values.
#include "StoreFixture.h"

#include <set>

using namespace store;
using storetest::StoreTest;

namespace {

constexpr int Rows = 7400;  // several blocks of rows read on in order, growing as the walk goes on

// Guest i (Invited = i): last names run opposite to the keys, three guests share each.
QString lastNameOf(qint64 i)
{
    return QStringLiteral("L%1").arg((Rows - i) / 3, 4, 10, QChar('0'));
}

class WalkTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        storetest::rawExec(path_,
                           QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n "
                                          "WHERE i < %1) INSERT INTO Guests (FirstName, LastName, City, "
                                          "Invited) SELECT 'F' || (i % 3), printf('L%04d', (%2 - i) / 3), "
                                          "'C' || i, i FROM n")
                               .arg(Rows - 1)
                               .arg(Rows));
        guests_ = db().openRecordset("Guests", RecordsetType::Table);
        guests_->setIndex("LastName");
    }

    // The current row's Invited, after checking that its names are its own and in order.
    qint64 checkRow(QString& previous)
    {
        const qint64 invited = guests_->value("Invited").toLongLong();
        const QString last = guests_->value("LastName").toString();
        EXPECT_EQ(last, lastNameOf(invited)) << "at position " << guests_->absolutePosition();
        const QString key = last + ' ' + guests_->value("FirstName").toString();
        EXPECT_LE(previous, key) << "out of order at position " << guests_->absolutePosition();
        previous = key;
        return invited;
    }

    std::unique_ptr<Recordset> guests_;
};

}  // namespace

TEST_F(WalkTest, EveryRowOnceInIndexOrder)
{
    std::set<qint64> seen;
    QString previous;
    for (guests_->moveFirst(); !guests_->eof(); guests_->moveNext())
        seen.insert(checkRow(previous));
    EXPECT_EQ(int(seen.size()), Rows);
    // Backwards too, after the forward walk filled the blocks.
    int count = 0;
    for (guests_->moveLast(); !guests_->bof(); guests_->movePrevious())
        ++count;
    EXPECT_EQ(count, Rows);
}

TEST_F(WalkTest, ChangesDuringTheWalkAreSeen)
{
    std::vector<qint64> order;
    QString previous;
    for (guests_->moveFirst(); !guests_->eof(); guests_->moveNext())
        order.push_back(checkRow(previous));
    ASSERT_EQ(int(order.size()), Rows);

    previous.clear();
    int position = 0;
    int seen = 0;
    for (guests_->moveFirst(); !guests_->eof(); guests_->moveNext(), ++position) {
        const qint64 invited = checkRow(previous);
        EXPECT_EQ(invited, order[size_t(position)]) << "at position " << position;
        ++seen;
        if (position == 700) {  // changed through the set: the set shows the change at once
            guests_->edit();
            guests_->setValue("City", QStringLiteral("edited"));
            guests_->update();
            EXPECT_EQ(guests_->value("City").toString(), "edited");
        }
        if (position == 900)  // changed by another statement, further on
            db().execute("UPDATE Guests SET City = 'elsewhere' WHERE Invited = ?", {order[2000]});
        if (position == 1000) {  // deleted through the set: the walk goes on with the next row
            guests_->deleteRecord();
            continue;
        }
        if (position >= 1200) {  // a field first read in the middle of the walk
            const QString city = guests_->value("City").toString();
            EXPECT_EQ(city,
                      invited == order[2000] ? QStringLiteral("elsewhere") : "C" + QString::number(invited))
                << "at position " << position;
        }
    }
    EXPECT_EQ(seen, Rows);

    guests_->setAbsolutePosition(700);
    EXPECT_EQ(guests_->value("City").toString(), "edited");
    EXPECT_EQ(guests_->value("Invited").toLongLong(), order[700]);
    guests_->setAbsolutePosition(1000);
    EXPECT_EQ(guests_->value("Invited").toLongLong(), order[1001]);
    EXPECT_EQ(guests_->recordCount(), Rows - 1);
}

// An index with few values: most rows share their order value with thousands of others, so
// a scan cannot seek to the row after the previous one and reads on exactly instead.
TEST_F(WalkTest, AnIndexOfFewValuesIsWalkedOnceInOrder)
{
    storetest::rawExec(path_, QStringLiteral("CREATE INDEX ByFirst ON Guests (FirstName COLLATE NOCASE)"));
    auto byFirst = db().openRecordset("Guests", RecordsetType::Table);
    byFirst->setIndex("ByFirst");
    std::set<qint64> seen;
    QString previousFirst;
    qint64 previousInvited = -1;
    for (byFirst->moveFirst(); !byFirst->eof(); byFirst->moveNext()) {
        const qint64 invited = byFirst->value("Invited").toLongLong();
        const QString first = byFirst->value("FirstName").toString();
        ASSERT_EQ(first, "F" + QString::number(invited % 3)) << "at position " << byFirst->absolutePosition();
        ASSERT_EQ(byFirst->value("LastName").toString(), lastNameOf(invited));
        ASSERT_TRUE(first > previousFirst || (first == previousFirst && invited > previousInvited))
            << "out of order at position " << byFirst->absolutePosition();
        previousFirst = first;
        previousInvited = invited;
        seen.insert(invited);
    }
    EXPECT_EQ(int(seen.size()), Rows);
}
