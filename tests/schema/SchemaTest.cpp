// The tables, fields, indexes and defaults of the delivered database.
#include "tests/schema/SqliteDb.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <QRegularExpression>

#include <map>

using schematest::DeliveredCopy;
using schematest::SqliteDb;

namespace {

QStringList userTables(SqliteDb& db)
{
    QStringList names;
    for (const auto& row : db.rows("SELECT name FROM sqlite_master WHERE type = 'table' "
                                   "AND name NOT LIKE 'sqlite_%' AND name NOT LIKE 'orv_%' "
                                   "ORDER BY name COLLATE NOCASE"))
        names << row[0].toString();
    return names;
}

// Field name -> declared type, in declaration order.
std::vector<std::pair<QString, QString>> fieldsOf(SqliteDb& db, const QString& table)
{
    std::vector<std::pair<QString, QString>> fields;
    for (const auto& row : db.rows(QString("PRAGMA table_info(\"%1\")").arg(table)))
        fields.emplace_back(row[1].toString(), row[2].toString());
    return fields;
}

// The kind of a declared type: TEXT(20) and TEXT are "TEXT".
QString kindOf(const QString& declared)
{
    return QString(declared).remove(QRegularExpression("\\(.*\\)$")).trimmed().toUpper();
}

int sizeOf(const QString& declared)
{
    const auto m = QRegularExpression("\\((\\d+)\\)").match(declared);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

}  // namespace

TEST(Schema, HoldsTheTenTablesWithGuestsSixthInNameOrder)
{
    DeliveredCopy copy;
    const QStringList expected{"BudgetPlan", "Checklist", "CityList", "Expenses", "General",
                               "Guests",     "StateList", "Tables",   "Tips",     "Vendors"};
    const QStringList tables = userTables(copy.db());
    QStringList original;
    for (const QString& name : tables)
        if (expected.contains(name))
            original << name;
    EXPECT_EQ(original, expected);
    // Tables added by later layouts sort after Guests, so Guests keeps its place in the order.
    ASSERT_GE(tables.size(), 6);
    EXPECT_EQ(tables.at(5), "Guests");
}

TEST(Schema, EveryFieldHasItsNameAndType)
{
    DeliveredCopy copy;
    const std::map<QString, QStringList> expected{
        {"BudgetPlan", {"Description TEXT"}},
        {"Checklist",
         {"CheckItem TEXT", "checktime NUMBER", "DueDate DATETIME", "Done YESNO", "CheckDate DATETIME"}},
        {"CityList", {"City TEXT"}},
        {"Expenses",
         {"Description TEXT", "Amount CURRENCY", "Quantity NUMBER", "Downpayment CURRENCY", "Paid CURRENCY",
          "Total CURRENCY", "Owing CURRENCY"}},
        {"General",
         {"bridesname TEXT", "groomsname TEXT", "weddingdate DATETIME", "weddingtime TEXT", "weddingloc TEXT",
          "weddingcont TEXT", "weddingphone TEXT", "showdate DATETIME", "showtime TEXT", "showloc TEXT",
          "showcont TEXT", "showphone TEXT", "recdate DATETIME", "rectime TEXT", "receptloc TEXT",
          "reccont TEXT", "recphone TEXT"}},
        {"Guests",
         {"Prefix TEXT",
          "FirstName TEXT",
          "LastName TEXT",
          "Address TEXT",
          "City TEXT",
          "State TEXT",
          "PostalCode TEXT",
          "Country TEXT",
          "HomePhone TEXT",
          "guestof TEXT",
          "InvCeremony YESNO",
          "InvReception YESNO",
          "ShowerGuest YESNO",
          "InvRehearsal YESNO",
          "Invited NUMBER",
          "Confirmed YESNO",
          "NumberAttending NUMBER",
          "ShowerInvited NUMBER",
          "ShowerReplied YESNO",
          "ShowerComing NUMBER",
          "EngageGift TEXT",
          "engamt CURRENCY",
          "EngageNoteSent YESNO",
          "ShowerGift TEXT",
          "showamt CURRENCY",
          "ShowerNoteSent YESNO",
          "WeddingGift TEXT",
          "wedamt CURRENCY",
          "WeddingNoteSent YESNO",
          "wedlbl TEXT",
          "showlbl TEXT",
          "tableid NUMBER",
          "tabletot NUMBER",
          "printit YESNO"}},
        {"StateList", {"State TEXT"}},
        {"Tables",
         {"TableId INTEGER", "tablename TEXT", "tablenumber NUMBER", "max NUMBER", "assigned NUMBER"}},
        {"Tips", {"tip TEXT"}},
        {"Vendors",
         {"VendorName TEXT", "Address1 TEXT", "Address2 TEXT", "City TEXT", "State TEXT", "Zip TEXT",
          "Contact TEXT", "Phone TEXT", "Fax TEXT", "Notes TEXT", "Service TEXT"}},
    };
    for (const auto& [table, fields] : expected) {
        QStringList actual;
        for (const auto& [name, type] : fieldsOf(copy.db(), table))
            actual << name + " " + kindOf(type);
        EXPECT_EQ(actual, fields) << table.toStdString();
    }
}

TEST(Schema, TextFieldsHaveTheGuestWindowLimitsAndIgnoreCase)
{
    DeliveredCopy copy;
    std::map<QString, int> guestSizes;
    for (const auto& [name, type] : fieldsOf(copy.db(), "Guests"))
        guestSizes[name] = sizeOf(type);
    for (const char* field : {"FirstName", "LastName", "PostalCode", "Country", "HomePhone"})
        EXPECT_EQ(guestSizes[field], 20) << field;
    EXPECT_EQ(guestSizes["Address"], 40);
    // The proposed label line is title, blank, first name, blank, last name.
    const int longestLine = guestSizes["Prefix"] + 1 + guestSizes["FirstName"] + 1 + guestSizes["LastName"];
    EXPECT_GE(guestSizes["wedlbl"], longestLine);
    EXPECT_GE(guestSizes["showlbl"], longestLine);

    // Notes take several lines without a limit.
    for (const auto& [name, type] : fieldsOf(copy.db(), "Vendors"))
        if (name == "Notes") {
            EXPECT_EQ(type.toUpper(), "TEXT");
        }

    for (const QString& table : userTables(copy.db())) {
        for (const auto& [name, type] : fieldsOf(copy.db(), table)) {
            if (kindOf(type) != "TEXT")
                continue;
            const char* collation = nullptr;
            ASSERT_EQ(sqlite3_table_column_metadata(copy.db().handle(), "main", table.toUtf8().constData(),
                                                    name.toUtf8().constData(), nullptr, &collation, nullptr,
                                                    nullptr, nullptr),
                      SQLITE_OK);
            EXPECT_STREQ(collation, "NOCASE") << table.toStdString() << "." << name.toStdString();
        }
    }
}

TEST(Schema, NewRowsGetTheDefaultsLaterWindowsRelyOn)
{
    DeliveredCopy copy;
    auto& db = copy.db();
    db.exec("INSERT INTO Guests (FirstName, LastName, guestof) VALUES ('Ann', 'Lee', 'Both')");
    const auto guest = db.rows(
        "SELECT tableid, tabletot, InvCeremony, InvReception, ShowerGuest, "
        "InvRehearsal, Confirmed, ShowerReplied, EngageNoteSent, "
        "ShowerNoteSent, WeddingNoteSent, printit, Invited, engamt "
        "FROM Guests");
    ASSERT_EQ(guest.size(), 1u);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(guest[0][i], QVariant(qint64(0))) << "column " << i;
    EXPECT_TRUE(guest[0][12].isNull());  // counts and amounts stay empty until entered
    EXPECT_TRUE(guest[0][13].isNull());

    // A Yes/No field never holds Null: a Null written reads back as No.
    db.exec("UPDATE Guests SET ShowerGuest = NULL, Confirmed = 1");
    EXPECT_EQ(db.scalar("SELECT ShowerGuest FROM Guests"), QVariant(qint64(0)));
    EXPECT_EQ(db.scalar("SELECT Confirmed FROM Guests"), QVariant(qint64(1)));

    db.exec("INSERT INTO Checklist (CheckItem) VALUES ('Call the florist')");
    EXPECT_EQ(db.scalar("SELECT Done FROM Checklist WHERE CheckItem = 'call the FLORIST'"),
              QVariant(qint64(0)));

    db.exec("INSERT INTO Tables (tablename) VALUES ('Head Table')");
    EXPECT_EQ(db.rows("SELECT TableId, max, assigned FROM Tables").front(),
              (QVariantList{qint64(1), qint64(0), qint64(0)}));
}

TEST(Schema, TableIdsAreAssignedAndNeverReused)
{
    DeliveredCopy copy;
    auto& db = copy.db();
    db.exec("INSERT INTO Tables (tablename) VALUES ('One'); INSERT INTO Tables (tablename) VALUES ('Two')");
    db.exec("DELETE FROM Tables WHERE tablename = 'Two'");
    db.exec("INSERT INTO Tables (tablename) VALUES ('Three')");
    EXPECT_EQ(db.scalar("SELECT TableId FROM Tables WHERE tablename = 'Three'"), QVariant(qint64(3)));
}

TEST(Schema, NamedIndexesOrderGuestsAndVendorsIgnoringCase)
{
    DeliveredCopy copy;
    auto& db = copy.db();
    EXPECT_EQ(db.rows("SELECT name FROM pragma_index_info('LastName')").front().value(0), "LastName");
    EXPECT_EQ(db.scalar("SELECT tbl_name FROM sqlite_master WHERE name = 'LastName'"), "Guests");
    EXPECT_EQ(db.rows("SELECT name FROM pragma_index_info('CompanyName')").front().value(0), "VendorName");
    EXPECT_EQ(db.scalar("SELECT tbl_name FROM sqlite_master WHERE name = 'CompanyName'"), "Vendors");
    for (const char* index : {"LastName", "CompanyName"}) {
        EXPECT_EQ(db.scalar(QString("SELECT coll FROM pragma_index_xinfo('%1') WHERE key = 1").arg(index)),
                  "NOCASE")
            << index;
    }

    db.exec("INSERT INTO Guests (LastName) VALUES ('carter'), ('Baker'), ('adams')");
    QStringList order;
    for (const auto& row : db.rows("SELECT LastName FROM Guests INDEXED BY LastName "
                                   "WHERE LastName IS NOT NULL ORDER BY LastName"))
        order << row[0].toString();
    EXPECT_EQ(order, (QStringList{"adams", "Baker", "carter"}));
}

TEST(Schema, CityAndStateListsRefuseDuplicatesAndEmptyValues)
{
    DeliveredCopy copy;
    auto& db = copy.db();
    for (const auto& [table, field, present] :
         {std::tuple{"CityList", "City", "Boston"}, std::tuple{"StateList", "State", "IL"}}) {
        const QString insert = QString("INSERT INTO %1 (%2) VALUES (%3)").arg(table, field);
        EXPECT_FALSE(db.tryExec(insert.arg(QString("'%1'").arg(QString(present).toLower())))) << table;
        EXPECT_FALSE(db.tryExec(insert.arg("''"))) << table;
        EXPECT_FALSE(db.tryExec(insert.arg("'   '"))) << table;
        EXPECT_FALSE(db.tryExec(insert.arg("NULL"))) << table;
        EXPECT_TRUE(db.tryExec(insert.arg("'Zanzibar'"))) << table;
    }
}
