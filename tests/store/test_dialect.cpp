// The desktop dialect: the exact statements the seating and label windows run, conditions,
// sorts, Null propagation of +, and names or values that try to break a statement.
#include "StoreFixture.h"

#include "store/Dialect.h"

#include <QSize>

using namespace store;
using storetest::StoreTest;

namespace {

// The three seating sets, joined from the window's texts.
const QString kSeatHead = QStringLiteral("SELECT Guests.Guestof, Guests.Invited, [Prefix]+\" \" ");
const QString kSeatHeadOccupants = QStringLiteral("SELECT Guests.Guestof, Guests.Invited, [Prefix]+\" \"");
const QString kSeatBody = QStringLiteral(
    "+ Trim$([Firstname])+ \" \"+[LastName] as Expr1, Guests.tableid, Guests.tabletot From Guests ");
const QString kUnassigned =
    kSeatHead + kSeatBody + "Where (((Guests.TableId) = 0))ORDER BY Guests.tableid, Guests.LastName;";
const QString kAssigned = kSeatHead + kSeatBody + "Where (((Guests.TableId) > 0))ORDER BY Guests.LastName;";
QString occupants(int tableId)
{
    return kSeatHeadOccupants + kSeatBody + "Where (Guests.tableid = " + QString::number(tableId) + ")" +
           " ORDER BY Guests.tableid, Guests.LastName;";
}

const QStringList kLabelSets = {
    "SELECT Guests.wedlbl, Guests.printit From Guests ORDER BY Guests.LastName;",
    "SELECT Guests.wedlbl, Guests.printit From Guests Where ((Guests.InvCeremony) = True) ORDER BY "
    "Guests.LastName;",
    "SELECT Guests.wedlbl, Guests.printit From Guests Where ((Guests.InvReception) = True) ORDER BY "
    "Guests.LastName;",
    "SELECT Guests.showlbl, Guests.printit From Guests Where ((Guests.ShowerGuest) = True) ORDER BY "
    "Guests.LastName;",
    "SELECT Guests.wedlbl, Guests.printit From Guests Where ((Guests.InvRehearsal) = True) ORDER BY "
    "Guests.LastName;",
};

QStringList column(Recordset& rs, const QString& name)
{
    QStringList out;
    if (rs.recordCount() == 0)
        return out;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const QVariant v = rs.value(name);
        out << (v.isNull() ? QStringLiteral("<null>") : v.toString());
    }
    return out;
}

}  // namespace

TEST(Dialect, TranslatesNamesLiteralsAndBooleans)
{
    EXPECT_EQ(translateCondition("[TableId] = 5"), "\"TableId\" = 5");
    EXPECT_EQ(translateCondition("TableId = 5"), "\"TableId\" = 5");
    EXPECT_EQ(translateCondition("expr1= 'O''Brien'"), "\"expr1\" = 'O''Brien' COLLATE NOCASE");
    EXPECT_EQ(translateCondition("[Done] = True AND Guests.printit = False"),
              "(\"Done\" = 1) AND (\"Guests\".\"printit\" = 0)");
    EXPECT_EQ(translateCondition("[Name] = \"say \"\"hi\"\"\""), "\"Name\" = 'say \"hi\"' COLLATE NOCASE");
    EXPECT_EQ(translateSort("[DueDate] desc"), "\"DueDate\" DESC");
    EXPECT_EQ(translateSort("LastName, [First Name] ASC"), "\"LastName\", \"First Name\" ASC");
    EXPECT_EQ(translateCondition("[Name] Like 'Sm*th?'"), "\"Name\" LIKE 'Sm%th_' ESCAPE '\\'");
    EXPECT_EQ(translateCondition("[d] < #12/25/2024#"), "\"d\" < '2024-12-25 00:00:00'");
}

TEST(Dialect, QuotesEveryNameSoNoTextLeavesItsPlace)
{
    // A bracketed name with a double quote, a percent sign and a semicolon stays one name.
    EXPECT_EQ(translateCondition("[a\"b;%c] = 1"), "\"a\"\"b;%c\" = 1");
    EXPECT_EQ(quoteText("O'Brien; DROP TABLE Guests"), "'O''Brien; DROP TABLE Guests'");
    // A second statement is refused, never run.
    EXPECT_STORE_ERROR(translateSql("SELECT * FROM Guests; DELETE FROM Guests"), err::SyntaxError);
    EXPECT_STORE_ERROR(translateCondition("1 = 1; DROP TABLE Guests"), err::SyntaxError);
    EXPECT_STORE_ERROR(translateSql("DROP TABLE Guests"), err::SyntaxError);
    EXPECT_STORE_ERROR(translateCondition("load_extension('x') = 1"), err::SyntaxError);
}

TEST(Dialect, RejectsBrokenTextWithSyntaxError)
{
    for (const char* bad : {"[LastName] = ", "[LastName = 'x'", "LastName = 'x", "(a = 1", "a = 1)", "= 5",
                            "a # 5", "Trim$ = 1", "a NOT 5", "x IS 5"})
        EXPECT_STORE_ERROR(translateCondition(QString::fromLatin1(bad)), err::SyntaxError);
    EXPECT_STORE_ERROR(translateSort("[DueDate] sideways"), err::SyntaxError);
    EXPECT_STORE_ERROR(translateSort("a;b"), err::SyntaxError);
}

TEST_F(StoreTest, SeatingQueriesRunWithNullMakingTheDisplayTextNull)
{
    addGuest("Mr.", "  John ", "Smith", 0, 2);
    addGuest("Mrs.", "Ann", "Adams", 3, 1);
    addGuest(QString(), "No", "Prefix", 0);  // no prefix: no display text
    addGuest("Dr.", "Eve", "O'Brien", 3, 4);
    addGuest("Ms.", QString(), "Nofirst", 0);

    auto unassigned = db().openRecordset(kUnassigned);
    EXPECT_EQ(unassigned->type(), RecordsetType::Dynaset);
    EXPECT_EQ(column(*unassigned, "expr1"), QStringList({"<null>", "<null>", "Mr. John Smith"}));
    EXPECT_EQ(column(*unassigned, "Guestof"), QStringList({"<null>", "<null>", "<null>"}));

    auto assigned = db().openRecordset(kAssigned);
    EXPECT_EQ(column(*assigned, "Expr1"), QStringList({"Mrs. Ann Adams", "Dr. Eve O'Brien"}));

    auto table3 = db().openRecordset(occupants(3));
    EXPECT_EQ(table3->recordCount(), 2);
    EXPECT_EQ(column(*table3, "tabletot"), QStringList({"0", "0"}));

    // Picking a party by its display text, quotes doubled, then seating it through the set.
    assigned->findFirst("expr1= 'Dr. Eve O''Brien'");
    ASSERT_FALSE(assigned->noMatch());
    EXPECT_EQ(assigned->value("Invited").toLongLong(), 4);
    assigned->edit();
    assigned->setValue("TableId", 0);
    assigned->setValue("tabletot", 4);
    assigned->update();
    EXPECT_STORE_ERROR(assigned->setValue("expr1", "x"), err::NotInEditMode);
    assigned->edit();
    EXPECT_STORE_ERROR(assigned->setValue("expr1", "x"), err::FieldNotUpdatable);
    assigned->cancelUpdate();
    unassigned->requery();
    EXPECT_EQ(unassigned->recordCount(), 4);
    unassigned->findFirst("expr1= 'Dr. Eve O''Brien'");
    EXPECT_FALSE(unassigned->noMatch());
    EXPECT_EQ(unassigned->value("tabletot").toLongLong(), 4);
}

TEST_F(StoreTest, LabelQueriesSelectByYesNoAndMarkPrintit)
{
    db().execute(
        "INSERT INTO Guests (LastName, wedlbl, showlbl, InvCeremony, InvReception, ShowerGuest, "
        "InvRehearsal) "
        "VALUES ('Cole', 'The Coles', 'Mrs. Cole', 1, 1, 0, 0), ('Baker', 'The Bakers', NULL, 0, 1, 1, 0), "
        "('Avery', '', 'Ms. Avery', 1, 0, 1, 1)");
    std::vector<std::unique_ptr<Recordset>> sets;
    for (const QString& sql : kLabelSets)
        sets.push_back(db().openRecordset(sql));
    EXPECT_EQ(column(*sets[0], "wedlbl"), QStringList({"", "The Bakers", "The Coles"}));
    EXPECT_EQ(column(*sets[1], "wedlbl"), QStringList({"", "The Coles"}));
    EXPECT_EQ(column(*sets[2], "wedlbl"), QStringList({"The Bakers", "The Coles"}));
    EXPECT_EQ(column(*sets[3], "showlbl"), QStringList({"Ms. Avery", "<null>"}));
    EXPECT_EQ(sets[4]->recordCount(), 1);

    // Clear every mark, then mark position 1 of the shower set.
    for (sets[0]->moveFirst(); !sets[0]->eof(); sets[0]->moveNext()) {
        sets[0]->edit();
        sets[0]->setValue("printit", false);
        sets[0]->update();
    }
    sets[3]->setAbsolutePosition(1);
    sets[3]->edit();
    sets[3]->setValue("printit", true);
    sets[3]->update();
    EXPECT_EQ(sets[3]->value("printit").toBool(), true);
    EXPECT_EQ(storetest::rawValue(path_, "SELECT group_concat(LastName) FROM Guests WHERE printit = 1"),
              "Baker");
}

TEST_F(StoreTest, PlusAddsNumbersJoinsTextsAndPropagatesNull)
{
    db().execute(
        "INSERT INTO Expenses (Description, Amount, Quantity) VALUES ('Cake', 1250000, 2), (NULL, 100, "
        "NULL)");
    auto rs = db().openRecordset(
        "SELECT [Description] + \" x\" AS Label, [Quantity] + 1 AS More, "
        "[Description] + [Quantity] AS Mixed FROM Expenses",
        RecordsetType::Snapshot);
    EXPECT_EQ(rs->value("Label").toString(), "Cake x");
    EXPECT_EQ(rs->value("More").toLongLong(), 3);
    EXPECT_EQ(rs->value("Mixed").toString(), "Cake2");
    rs->moveNext();
    EXPECT_TRUE(rs->value("Label").isNull());
    EXPECT_TRUE(rs->value("More").isNull());
}

TEST_F(StoreTest, CurrencyConditionsCompareInStoredScale)
{
    db().execute(
        "INSERT INTO Expenses (Description, Amount, Owing) VALUES ('Band', 125000, 0), ('Hall', 1000000, 0)");
    db().execute("UPDATE Expenses SET Owing = 20.25 WHERE Amount = 100");
    EXPECT_EQ(storetest::rawValue(path_, "SELECT Owing FROM Expenses WHERE Description = 'Hall'"), "202500");
    auto rs = db().openRecordset("Expenses");
    rs->findFirst("[Amount] = 12.5");
    EXPECT_FALSE(rs->noMatch());
    EXPECT_EQ(rs->value("Description").toString(), "Band");
    rs->findFirst("[Owing] > 0");
    EXPECT_EQ(rs->value("Description").toString(), "Hall");
    EXPECT_EQ(rs->value("Owing").value<Currency>(), Currency::fromRaw(202500));
    auto owing = db().openRecordset("SELECT * FROM Expenses WHERE Owing = 0");
    EXPECT_EQ(owing->recordCount(), 1);
}

TEST_F(StoreTest, UserTextsWithQuotesBracketsPercentAndSemicolonsStayValues)
{
    const QStringList names = {"O'Brien",    "a]b",    "[x]",    "100%",
                               "semi;colon", "\"dq\"", "_under", "back\\slash"};
    for (const QString& n : names)
        addGuest("Mr.", "A", n);
    auto rs = db().openRecordset("Guests", RecordsetType::Dynaset);
    for (const QString& n : names) {
        rs->findFirst("[LastName] = " + quoteText(n));
        ASSERT_FALSE(rs->noMatch()) << n.toStdString();
        EXPECT_EQ(rs->value("LastName").toString(), n);
        rs->findFirst("[LastName] = ?", {n});
        EXPECT_EQ(rs->value("LastName").toString(), n);
    }
    rs->findFirst("[LastName] Like '100[%]'");
    EXPECT_EQ(rs->value("LastName").toString(), "100%");
    EXPECT_EQ(rs->recordCount(), names.size());
    EXPECT_EQ(storetest::rawValue(path_, "SELECT count(*) FROM Guests"), QString::number(names.size()));
}

// Values given to a query with "?" in their places: a value's text never changes the statement.
TEST_F(StoreTest, QueryValuesStayValues)
{
    addGuest("Mr.", "Sean", "O'Brien", 3);
    addGuest("Ms.", "Ann", "Lee", 3);
    addGuest("Mr.", "Tom", "Hill", 0);
    auto names = [](Recordset& rs) {
        QStringList out;
        for (; !rs.eof(); rs.moveNext())
            out << rs.value("LastName").toString();
        return out.join('|');
    };
    auto tricky = db().openRecordset("SELECT * FROM Guests WHERE LastName = ?", {"O'Brien' OR 'a' = 'a"},
                                     RecordsetType::Snapshot);
    EXPECT_EQ(names(*tricky), "");
    auto quoted = db().openRecordset("SELECT * FROM Guests WHERE FirstName <> '?' AND LastName = ?",
                                     {QStringLiteral("O'Brien")}, RecordsetType::Snapshot);
    EXPECT_EQ(names(*quoted), "O'Brien");
    auto none = db().openRecordset("SELECT * FROM Guests WHERE LastName = ?", {QVariant()});
    EXPECT_TRUE(none->eof());
    EXPECT_STORE_ERROR(db().openRecordset("SELECT * FROM Guests WHERE tableid = ?", QVariantList{}),
                       err::InvalidArgument);
    EXPECT_STORE_ERROR(db().openRecordset("SELECT * FROM Guests WHERE tableid = ?", {1, 2}),
                       err::InvalidArgument);
    EXPECT_STORE_ERROR(
        db().openRecordset("SELECT * FROM Guests WHERE tableid = ?", {QVariant::fromValue(QSize())}),
        err::InvalidArgument);
}

// A set over a SELECT with values is keyed like any other: writable, and it re-reads.
TEST_F(StoreTest, AKeyedSetWithValuesWritesAndReReads)
{
    addGuest("Mr.", "Sean", "Baker", 3);
    addGuest("Ms.", "Ann", "Lee", 3);
    addGuest("Mr.", "Tom", "Hill", 4);
    auto atTable =
        db().openRecordset("SELECT LastName, tableid FROM Guests WHERE tableid = ? ORDER BY LastName",
                           {qint64(3)}, RecordsetType::Dynaset);
    ASSERT_EQ(atTable->recordCount(), 2);
    atTable->moveFirst();
    atTable->edit();
    atTable->setValue("LastName", "Barker");
    atTable->update();
    db().execute("UPDATE Guests SET tableid = ? WHERE LastName = ?", {3, "Hill"});
    atTable->requery();
    EXPECT_EQ(atTable->recordCount(), 3);
    EXPECT_EQ(storetest::rawValue(path_, "SELECT group_concat(LastName, '|') FROM Guests WHERE tableid = 3"),
              "Barker|Lee|Hill");
    auto day = db().openRecordset("SELECT * FROM Guests WHERE ? > #2000-01-01#", {QDate(2026, 6, 1)});
    EXPECT_EQ(day->recordCount(), 3);
}
