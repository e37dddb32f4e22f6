// The saved queries: their column names and types, and the figures they give on a small
// guest list.
#include "tests/schema/SqliteDb.h"

#include <gtest/gtest.h>

#include <map>

using schematest::DeliveredCopy;
using schematest::SqliteDb;

namespace {

QVariant n(qint64 value)
{
    return QVariant(value);
}
const QVariant Null;

QString selectAll(const QString& view)
{
    return QString("SELECT * FROM \"%1\"").arg(view);
}

// One guest party; the fields not named keep the table's defaults.
void addParty(SqliteDb& db, const QString& assignments)
{
    QStringList names, values;
    for (const QString& pair : assignments.split(", ")) {
        names << pair.section('=', 0, 0);
        values << pair.section('=', 1);
    }
    db.exec(QString("INSERT INTO Guests (%1) VALUES (%2)").arg(names.join(", "), values.join(", ")));
}

}  // namespace

TEST(SavedQueries, HaveExactlyTheColumnsTheWindowsRead)
{
    DeliveredCopy copy;
    const std::map<QString, QStringList> expected{
        {"Invited Query", {"count of guests"}},
        {"sumGuestof", {"guestof", "Count"}},
        {"sumGifts", {"sum of engamt", "sum of showamt", "sum of wedamt"}},
        {"sumShower", {"showerreplied", "count of guests", "sum of ShowerInvited", "sum of ShowerComing"}},
        {"sumReception",
         {"Confirmed", "count of guests", "sum of ReceptionInvited", "sum of ReceptionComing"}},
        {"sumCeremony", {"count of guests"}},
        {"sumRehearsal", {"count of guests"}},
    };
    QStringList views;
    for (const auto& row : copy.db().rows("SELECT name FROM sqlite_master WHERE type = 'view' ORDER BY name"))
        views << row[0].toString();
    EXPECT_EQ(views.size(), int(expected.size()));
    for (const auto& [view, columns] : expected)
        EXPECT_EQ(copy.db().columnNames(selectAll(view)), columns) << view.toStdString();
}

TEST(SavedQueries, EveryColumnHasADeclaredType)
{
    DeliveredCopy copy;
    auto& db = copy.db();
    std::map<std::pair<QString, QString>, QString> listed;
    for (const auto& row : db.rows("SELECT object, name, type FROM orv_columns"))
        listed[{row[0].toString(), row[1].toString()}] = row[2].toString();

    int expressionColumns = 0;
    for (const auto& row : db.rows("SELECT name FROM sqlite_master WHERE type = 'view'")) {
        const QString view = row[0].toString();
        const QStringList names = db.columnNames(selectAll(view));
        const QStringList types = db.declaredTypes(selectAll(view));
        for (int i = 0; i < names.size(); ++i) {
            const bool isListed = listed.count(std::pair(view, names[i])) > 0;
            // A column is typed either by its table column or by the list, never by both.
            EXPECT_NE(types[i].isEmpty(), !isListed) << view.toStdString() << "." << names[i].toStdString();
            expressionColumns += isListed;
        }
    }
    EXPECT_EQ(expressionColumns, int(listed.size()));  // nothing listed that no query has
    const auto typeOf = [&](const QString& view, const QString& column) { return listed[{view, column}]; };
    EXPECT_EQ(typeOf("sumGifts", "sum of wedamt"), "CURRENCY");
    EXPECT_EQ(typeOf("Invited Query", "count of guests"), "NUMBER");
}

TEST(SavedQueries, OnAnEmptyGuestListCountZeroAndSumNull)
{
    DeliveredCopy copy;
    auto& db = copy.db();
    EXPECT_EQ(db.rows(selectAll("Invited Query")), (std::vector<QVariantList>{{n(0)}}));
    EXPECT_EQ(db.rows(selectAll("sumGifts")), (std::vector<QVariantList>{{Null, Null, Null}}));
    EXPECT_TRUE(db.rows(selectAll("sumGuestof")).empty());
    EXPECT_TRUE(db.rows(selectAll("sumShower")).empty());
    EXPECT_TRUE(db.rows(selectAll("sumReception")).empty());
    EXPECT_EQ(db.rows(selectAll("sumCeremony")), (std::vector<QVariantList>{{n(0)}}));
    EXPECT_EQ(db.rows(selectAll("sumRehearsal")), (std::vector<QVariantList>{{n(0)}}));
}

TEST(SavedQueries, BrideOnlyPartiesWithoutGiftsOrReplies)
{
    DeliveredCopy copy;
    auto& db = copy.db();
    // Shower guests with no replies yet; one whose counts were never entered.
    addParty(db, "LastName='Avery', guestof='Bride', ShowerGuest=1, ShowerInvited=2");
    addParty(db, "LastName='Brook', guestof='Bride', ShowerGuest=1, ShowerInvited=1");
    addParty(db, "LastName='Crane', guestof='Bride', ShowerGuest=1");

    EXPECT_EQ(db.rows(selectAll("Invited Query")), (std::vector<QVariantList>{{n(3)}}));
    EXPECT_EQ(db.rows(selectAll("sumGuestof")), (std::vector<QVariantList>{{"Bride", n(3)}}));
    EXPECT_EQ(db.rows(selectAll("sumGifts")), (std::vector<QVariantList>{{Null, Null, Null}}));
    EXPECT_EQ(db.rows(selectAll("sumShower")), (std::vector<QVariantList>{{n(0), n(3), n(3), n(0)}}));
    EXPECT_TRUE(db.rows(selectAll("sumReception")).empty());

    // People figures that were never entered count as none, not as Null.
    db.exec("UPDATE Guests SET ShowerInvited = NULL");
    EXPECT_EQ(db.rows(selectAll("sumShower")), (std::vector<QVariantList>{{n(0), n(3), n(0), n(0)}}));
}

TEST(SavedQueries, FiguresOfAMixedGuestList)
{
    DeliveredCopy copy;
    auto& db = copy.db();
    // Amounts are ten-thousandths: 0.10 + 0.20 must add up to exactly 0.30.
    addParty(db,
             "LastName='Adams', guestof='Bride', InvCeremony=1, InvReception=1, Invited=2, "
             "Confirmed=1, NumberAttending=2, ShowerGuest=1, ShowerInvited=1, ShowerReplied=1, "
             "ShowerComing=1, engamt=1000, wedamt=1500000");
    addParty(db,
             "LastName='Baker', guestof='Groom', InvCeremony=1, InvReception=1, Invited=4, "
             "Confirmed=0, InvRehearsal=1, engamt=2000");
    addParty(db,
             "LastName='Clark', guestof='Groom', InvReception=1, Invited=3, Confirmed=1, "
             "NumberAttending=1, ShowerGuest=1, ShowerInvited=2, showamt=0");
    addParty(db,
             "LastName='Drake', guestof='Both', InvCeremony=1, InvRehearsal=1, "
             "ShowerGuest=1, ShowerInvited=3, ShowerReplied=1, ShowerComing=2");

    EXPECT_EQ(db.rows(selectAll("Invited Query")), (std::vector<QVariantList>{{n(4)}}));
    EXPECT_EQ(db.rows(selectAll("sumGuestof")),
              (std::vector<QVariantList>{{"Both", n(1)}, {"Bride", n(1)}, {"Groom", n(2)}}));
    EXPECT_EQ(db.rows(selectAll("sumGifts")), (std::vector<QVariantList>{{n(3000), n(0), n(1500000)}}));
    EXPECT_EQ(db.rows(selectAll("sumShower")),
              (std::vector<QVariantList>{{n(0), n(1), n(2), n(0)}, {n(1), n(2), n(4), n(3)}}));
    EXPECT_EQ(db.rows(selectAll("sumReception")),
              (std::vector<QVariantList>{{n(0), n(1), n(4), n(0)}, {n(1), n(2), n(5), n(3)}}));
    EXPECT_EQ(db.scalar(selectAll("sumCeremony")), n(3));
    EXPECT_EQ(db.scalar(selectAll("sumRehearsal")), n(2));

    // Removing a party shows at once: the queries hold no figures of their own.
    db.exec("DELETE FROM Guests WHERE LastName = 'Drake'");
    EXPECT_EQ(db.scalar(selectAll("sumRehearsal")), n(1));
    EXPECT_EQ(db.scalar(selectAll("Invited Query")), n(3));
}
