// Read-only queries for code that writes its own SELECT: declarations found as declared,
// values read as the fields read them, and no statement that would write gets through.
#include "StoreFixture.h"
#include "store/ReadQuery.h"

using namespace store;
using storetest::StoreTest;

TEST_F(StoreTest, DeclarationsAreFoundWithoutRegardToCaseButNeverTheEnginesOwn)
{
    const auto guests = findDeclared(db(), "guests");
    ASSERT_TRUE(guests.has_value());
    EXPECT_EQ(guests->name, "Guests");
    const auto amount = std::find_if(guests->fields.begin(), guests->fields.end(),
                                     [](const FieldInfo& f) { return f.name == "engamt"; });
    ASSERT_NE(amount, guests->fields.end());
    EXPECT_EQ(amount->type, FieldType::Currency);
    EXPECT_TRUE(findDeclared(db(), "SUMGIFTS").has_value());  // a saved query
    EXPECT_FALSE(findDeclared(db(), "sqlite_master").has_value());
    EXPECT_FALSE(findDeclared(db(), "Nothere").has_value());
}

TEST_F(StoreTest, ReadQueriesReadAsFieldsReadAndRefuseToWrite)
{
    addGuest("Mr.", "Alan", "Baker", 0, 2);
    db().execute("UPDATE Guests SET engamt = 12.5, InvCeremony = True");
    {
        ReadQuery query(db(),
                        "SELECT engamt, LastName, InvCeremony, Confirmed FROM Guests WHERE Invited = ?",
                        {qint64(2)});
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(0, FieldType::Currency).value<Currency>(), Currency::fromRaw(125000));
        EXPECT_EQ(query.value(1, FieldType::Text).toString(), "Baker");
        EXPECT_EQ(query.value(2, FieldType::YesNo), QVariant(true));
        EXPECT_EQ(query.value(3, FieldType::YesNo), QVariant(false));
        EXPECT_FALSE(query.next());
    }
    EXPECT_STORE_ERROR(ReadQuery(db(), "DELETE FROM Guests"), err::InvalidOperation);
    EXPECT_STORE_ERROR(ReadQuery(db(), "SELECT 1; DELETE FROM Guests"), err::SyntaxError);
    EXPECT_STORE_ERROR(ReadQuery(db(), "SELECT Nickname FROM Guests"), err::UnknownField);
    EXPECT_EQ(storetest::rawValue(path_, "SELECT count(*) FROM Guests"), "1");
}
