// The content the database is delivered with.
#include "tests/schema/SqliteDb.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using schematest::DeliveredCopy;

TEST(DeliveredContent, TipsFitTheWindowsThatShowThem)
{
    DeliveredCopy copy;
    QStringList tips;
    for (const auto& row : copy.db().rows("SELECT tip FROM Tips ORDER BY rowid"))
        tips << row[0].toString();
    ASSERT_GE(tips.size(), 8);
    for (const QString& tip : tips)
        EXPECT_FALSE(tip.trimmed().isEmpty());
    EXPECT_TRUE(tips[0].contains("guest list is empty")) << tips[0].toStdString();
    EXPECT_TRUE(tips[1].contains("amount")) << tips[1].toStdString();
    EXPECT_TRUE(tips[2].contains("no wedding date")) << tips[2].toStdString();
    EXPECT_TRUE(tips[4].startsWith("Welcome")) << tips[4].toStdString();
}

TEST(DeliveredContent, StandardTasksCoverEveryLeadTime)
{
    DeliveredCopy copy;
    auto& db = copy.db();
    EXPECT_GE(db.scalar("SELECT count(*) FROM Checklist").toInt(), 45);
    EXPECT_EQ(db.scalar("SELECT count(DISTINCT checktime) FROM Checklist WHERE checktime BETWEEN 1 AND 9"),
              9);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Checklist WHERE checktime NOT BETWEEN 1 AND 9 "
                        "OR checktime IS NULL OR trim(coalesce(CheckItem, '')) = '' "
                        "OR Done <> 0 OR DueDate IS NOT NULL OR CheckDate IS NOT NULL"),
              0);
    EXPECT_EQ(db.scalar("SELECT count(*) - count(DISTINCT CheckItem) FROM Checklist"), 0);
}

TEST(DeliveredContent, ListsOfSampleItemsStatesAndCities)
{
    DeliveredCopy copy;
    auto& db = copy.db();
    EXPECT_GE(
        db.scalar("SELECT count(DISTINCT Description) FROM BudgetPlan WHERE trim(Description) <> ''").toInt(),
        30);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM BudgetPlan WHERE trim(coalesce(Description, '')) = ''"), 0);

    // The fifty states, the District of Columbia, and the thirteen provinces and territories.
    EXPECT_EQ(db.scalar("SELECT count(*) FROM StateList"), 64);
    for (const char* province :
         {"AB", "BC", "MB", "NB", "NL", "NS", "NT", "NU", "ON", "PE", "QC", "SK", "YT"})
        EXPECT_EQ(db.scalar(QString("SELECT count(*) FROM StateList WHERE State = '%1'").arg(province)), 1)
            << province;
    EXPECT_GE(db.scalar("SELECT count(*) FROM CityList").toInt(), 20);
}

TEST(DeliveredContent, OneEmptyWeddingAndNoPlanningData)
{
    DeliveredCopy copy;
    auto& db = copy.db();
    EXPECT_EQ(db.rows("SELECT bridesname, groomsname, weddingdate FROM General"),
              (std::vector<QVariantList>{{"", "", QVariant()}}));
    for (const char* table : {"Guests", "Expenses", "Vendors", "Tables"})
        EXPECT_EQ(db.scalar(QString("SELECT count(*) FROM %1").arg(table)), 0) << table;
}

// SQLite does not hold text to a declared size; the store does, so delivered text must fit.
TEST(DeliveredContent, EveryTextFitsItsField)
{
    DeliveredCopy copy;
    auto& db = copy.db();
    const QRegularExpression sized("^TEXT\\((\\d+)\\)$", QRegularExpression::CaseInsensitiveOption);
    for (const auto& table :
         db.rows("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'")) {
        for (const auto& field : db.rows(QString("PRAGMA table_info(\"%1\")").arg(table[0].toString()))) {
            const auto m = sized.match(field[2].toString());
            if (!m.hasMatch())
                continue;
            const QString longest = QString("SELECT coalesce(max(length(\"%1\")), 0) FROM \"%2\"")
                                        .arg(field[1].toString(), table[0].toString());
            EXPECT_LE(db.scalar(longest).toInt(), m.captured(1).toInt())
                << table[0].toString().toStdString() << "." << field[1].toString().toStdString();
        }
    }
}

TEST(DeliveredContent, FileIsSoundAndUsesARollbackJournal)
{
    DeliveredCopy copy;
    EXPECT_EQ(copy.db().scalar("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(copy.db().scalar("PRAGMA journal_mode"), "delete");
}
