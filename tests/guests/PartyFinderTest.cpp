// Finding parties: the search blind to case, accents and punctuation on the names couples
// really have, and every filter alone and combined, checked against counts made by SQL.
#include "guests/MemberStore.h"
#include "guests/PartyFinder.h"
#include "shell/TextFold.h"
#include "store/Store.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>

#include <sqlite3.h>

using namespace guests;

namespace {

class PartyFinder : public ::testing::Test {
protected:
    void SetUp() override
    {
        program_ = std::make_unique<testsupport::ProgramDir>();
        db_ = &store::Workspace::defaultWorkspace().openDatabase(program_->databasePath());
    }
    void TearDown() override { store::Workspace::defaultWorkspace().close(); }

    void add(const QString& prefix, const QString& first, const QString& last, const QString& address = {},
             const QString& city = {}, const QString& phone = {})
    {
        db_->execute(
            "INSERT INTO Guests (Prefix, FirstName, LastName, Address, City, HomePhone) VALUES (?, ?, ?, ?, "
            "?, ?)",
            {prefix, first, last, address, city, phone});
    }
    QStringList namesFound(const QString& search, const QStringList& filters = {})
    {
        const PartyList list = loadParties(*db_);
        QStringList names;
        for (int i : findParties(list, search, *parseFilters(filters)))
            names << list.rows[size_t(i)].name;
        return names;
    }
    // The number of parties a condition on Guests holds for, counted by SQLite itself.
    int sqlCount(const QString& condition)
    {
        sqlite3* raw = nullptr;
        sqlite3_open_v2(QFile::encodeName(program_->databasePath()).constData(), &raw, SQLITE_OPEN_READONLY,
                        nullptr);
        sqlite3_stmt* st = nullptr;
        const QByteArray sql = ("SELECT count(*) FROM Guests WHERE " + condition).toUtf8();
        EXPECT_EQ(sqlite3_prepare_v2(raw, sql.constData(), -1, &st, nullptr), SQLITE_OK)
            << sqlite3_errmsg(raw);
        sqlite3_step(st);
        const int n = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
        sqlite3_close(raw);
        return n;
    }

    std::unique_ptr<testsupport::ProgramDir> program_;
    store::Database* db_ = nullptr;
};

}  // namespace

TEST(TextFold, AccentsCaseAndPunctuationDoNotCount)
{
    EXPECT_EQ(shell::searchKey(QString::fromUtf8("Dr. Chloé O'Brien-Smith")), "drchloeobriensmith");
    EXPECT_EQ(shell::searchKey(QString::fromUtf8("NGUYỄN")), "nguyen");
    EXPECT_EQ(shell::searchKey(QString::fromUtf8("Zoë ﬁnch")), "zoefinch") << "a ligature is its letters";
    EXPECT_EQ(shell::plainText("O'Brien-Smith"), "o brien smith");
    EXPECT_EQ(shell::searchKey(QString::fromUtf8("💍 ' - ")), "");
}

TEST_F(PartyFinder, TheSearchFindsAnyPartOfAnyNameBlindToCaseAccentsAndPunctuation)
{
    add("Mr. and Mrs.", "Liam", "O'Connell", "9 Old Mill Road", "Cork", "(555) 0105-3132");
    add("Dr.", QString::fromUtf8("Chloé"), "Moreau-Lefèvre", QString::fromUtf8("12 Rue de la Paix"), "Paris");
    add("", "Minh", QString::fromUtf8("Nguyễn"), "4 Lotus Lane", "Hanoi");
    add("", "An", "Nguyen", "", "Da Nang");
    add("Ms.", "Anne-Marie", "Dubois");
    db_->execute("UPDATE Guests SET wedlbl = 'The Dubois Family' WHERE LastName = 'Dubois'");

    EXPECT_EQ(namesFound("oconnell"), QStringList{"Mr. and Mrs. Liam O'Connell"});
    EXPECT_EQ(namesFound("O’Connell"), QStringList{"Mr. and Mrs. Liam O'Connell"}) << "a curly apostrophe";
    EXPECT_EQ(namesFound("liam o'c"), QStringList{"Mr. and Mrs. Liam O'Connell"})
        << "across first and last name";
    EXPECT_EQ(namesFound("CHLOE"), QStringList{QString::fromUtf8("Dr. Chloé Moreau-Lefèvre")});
    EXPECT_EQ(namesFound("lefevre"), QStringList{QString::fromUtf8("Dr. Chloé Moreau-Lefèvre")});
    EXPECT_EQ(namesFound("moreau lefevre"), QStringList{QString::fromUtf8("Dr. Chloé Moreau-Lefèvre")});
    EXPECT_EQ(namesFound("nguyen").size(), 2) << "with and without the accents";
    EXPECT_EQ(namesFound("anne marie"), QStringList{"Ms. Anne-Marie Dubois"});
    EXPECT_EQ(namesFound("dubois family"), QStringList{"Ms. Anne-Marie Dubois"}) << "the envelope line";
    EXPECT_EQ(namesFound("rue de la"), QStringList{QString::fromUtf8("Dr. Chloé Moreau-Lefèvre")});
    EXPECT_EQ(namesFound("hanoi"), QStringList{QString::fromUtf8("Minh Nguyễn")});
    EXPECT_EQ(namesFound("555 0105"), QStringList{"Mr. and Mrs. Liam O'Connell"}) << "a phone as typed";
    EXPECT_EQ(namesFound("corkparis"), QStringList()) << "no match runs from one field into the next";
    EXPECT_EQ(namesFound("").size(), 5);
    EXPECT_EQ(namesFound("  ").size(), 5);
    EXPECT_EQ(namesFound("zz").size(), 0);
}

TEST_F(PartyFinder, EveryFilterAndTheirCombinationsCountWhatSqlCounts)
{
    QRandomGenerator random(20261209);
    db_->execute("INSERT INTO Tables (tablename, tablenumber, max, assigned) VALUES ('Rose', 1, 10, 0)");
    const QStringList sides = {"Bride", "Groom", "Both", ""};
    for (int i = 0; i < 400; ++i) {
        const bool reception = random.bounded(4) != 0;
        const bool replied = random.bounded(2) == 0;
        db_->execute(
            "INSERT INTO Guests (FirstName, LastName, Address, guestof, InvCeremony, InvReception, "
            "ShowerGuest, InvRehearsal, Invited, Confirmed, NumberAttending, tableid, EngageGift, "
            "EngageNoteSent, wedamt, WeddingNoteSent) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?)",
            {QStringLiteral("P%1").arg(i), QStringLiteral("Family %1").arg(i % 37),
             random.bounded(5) == 0 ? QString() : QStringLiteral("%1 Main St").arg(i),
             sides[random.bounded(4)], random.bounded(2) == 0, reception, random.bounded(3) == 0,
             random.bounded(5) == 0, 1 + random.bounded(4), replied, replied ? random.bounded(3) : 0,
             reception && random.bounded(3) == 0 ? 1 : 0,
             random.bounded(4) == 0 ? QStringLiteral("Vase") : QString(), random.bounded(2) == 0,
             random.bounded(4) == 0 ? QVariant(25) : QVariant(), random.bounded(2) == 0});
    }
    const struct {
        const char* filter;
        const char* sql;
    } filters[] = {
        {"no-reply", "InvReception = 1 AND Confirmed = 0"},
        {"attending", "Confirmed = 1 AND NumberAttending > 0"},
        {"declined", "InvReception = 1 AND Confirmed = 1 AND coalesce(NumberAttending, 0) = 0"},
        {"not-seated", "InvReception = 1 AND tableid = 0"},
        {"no-address", "coalesce(trim(Address), '') = ''"},
        {"no-thank-you",
         "((coalesce(EngageGift, '') <> '' OR coalesce(engamt, 0) <> 0) AND EngageNoteSent = 0) OR "
         "((coalesce(ShowerGift, '') <> '' OR coalesce(showamt, 0) <> 0) AND ShowerNoteSent = 0) OR "
         "((coalesce(WeddingGift, '') <> '' OR coalesce(wedamt, 0) <> 0) AND WeddingNoteSent = 0)"},
        {"side:Bride", "guestof = 'Bride'"},
        {"side:groom", "guestof = 'Groom'"},
        {"SIDE:Both", "guestof = 'Both'"},
        {"invited:ceremony", "InvCeremony = 1"},
        {"invited:reception", "InvReception = 1"},
        {"invited:shower", "ShowerGuest = 1"},
        {"invited:rehearsal", "InvRehearsal = 1"},
    };
    const PartyList list = loadParties(*db_);
    ASSERT_EQ(list.rows.size(), 400u);
    for (const auto& one : filters) {
        const int expected = sqlCount(QString::fromLatin1(one.sql));
        EXPECT_EQ(int(findParties(list, {}, *parseFilters({one.filter})).size()), expected) << one.filter;
        EXPECT_GT(expected, 0) << one.filter << ": the generated wedding tests nothing";
        for (const auto& two : filters) {
            const int both = sqlCount(QStringLiteral("(%1) AND (%2)").arg(one.sql, two.sql));
            EXPECT_EQ(int(findParties(list, {}, *parseFilters({one.filter, two.filter})).size()), both)
                << one.filter << " and " << two.filter;
        }
    }
    // A search and filters together: "family 3" is in Family 3 and Family 30 to 36.
    EXPECT_EQ(
        int(findParties(list, "family 3", *parseFilters({"no-reply"})).size()),
        sqlCount(
            "(LastName = 'Family 3' OR LastName LIKE 'Family 3_') AND InvReception = 1 AND Confirmed = 0"));

    const auto attending = findParties(list, {}, *parseFilters({"attending"}));
    const FoundCounts counts = countFound(list, attending);
    EXPECT_EQ(counts.parties, int(attending.size()));
    int people = 0;
    for (int i : attending)
        people += list.rows[size_t(i)].attending;
    EXPECT_EQ(counts.attending, people);

    QString bad;
    EXPECT_FALSE(parseFilters({"no-reply", "side:Aunt"}, &bad));
    EXPECT_EQ(bad, "side:Aunt");
    EXPECT_FALSE(parseFilter("table:Rose"));
}

// Members are found by their own names, and a party by the meals and needs of its members;
// a party without members is found as before.
TEST_F(PartyFinder, MembersAreFoundByNameMealAndNeed)
{
    add("Mr.", "Tom", "Nguyen");
    add("Ms.", "Anh", "Nguyen");
    add("Mr.", "Sam", "Smith");
    const PartyList before = loadParties(*db_);
    saveMeals(*db_, {{0, "Beef", "B"}, {0, QString::fromUtf8("Saumon fumé"), "S"}});
    const std::vector<Meal> menu = loadMeals(*db_);
    ASSERT_EQ(menu.size(), 2u);
    const auto member = [&](qint64 party, const QString& first, const QString& last,
                            std::optional<qint64> meal, QStringList needs, const QString& note = {}) {
        Member m;
        m.party = party;
        m.firstName = first;
        m.lastName = last;
        m.meal = meal;
        m.needs = needs;
        m.needsNote = note;
        addMember(*db_, m);
    };
    const qint64 anh = before.rows[0].key, tom = before.rows[1].key;
    ASSERT_EQ(before.rows[1].name, "Mr. Tom Nguyen");
    member(tom, "Linh", "Nguyen", menu[0].id, {"Vegan"});
    member(tom, QString::fromUtf8("Bảo"), "Nguyen", menu[1].id, {}, "no coriander");
    member(anh, "Mai", "Tran", std::nullopt, {"Nut allergy"});
    member(anh, "", "", std::nullopt, {});  // an unnamed place

    EXPECT_EQ(loadParties(*db_).menu, QStringList({"Beef", QString::fromUtf8("Saumon fumé")}));
    EXPECT_EQ(namesFound("linh"), QStringList{"Mr. Tom Nguyen"});
    EXPECT_EQ(namesFound("BAO NGUY"), QStringList{"Mr. Tom Nguyen"}) << "blind to accents and case";
    EXPECT_EQ(namesFound("tran"), QStringList{"Ms. Anh Nguyen"});
    EXPECT_EQ(namesFound("guest of"), QStringList{}) << "an unnamed place has no name to find";
    EXPECT_EQ(namesFound("nguyen").size(), 2);
    EXPECT_EQ(namesFound("smith"), QStringList{"Mr. Sam Smith"});

    EXPECT_EQ(namesFound("", {"meal:BEEF"}), QStringList{"Mr. Tom Nguyen"});
    EXPECT_EQ(namesFound("", {"meal:saumon fume"}), QStringList{"Mr. Tom Nguyen"});
    EXPECT_EQ(namesFound("", {"meal:Sau"}), QStringList{}) << "a meal is named whole";
    EXPECT_EQ(namesFound("", {"diet:vegan"}), QStringList{"Mr. Tom Nguyen"});
    EXPECT_EQ(namesFound("", {"diet:nut"}), QStringList{"Ms. Anh Nguyen"});
    EXPECT_EQ(namesFound("", {"diet:coriander"}), QStringList{"Mr. Tom Nguyen"}) << "a need written besides";
    EXPECT_EQ(namesFound("", {"meal:beef", "diet:coriander"}), QStringList{"Mr. Tom Nguyen"})
        << "the filters hold for the party, each by one of its members";
    EXPECT_EQ(namesFound("", {"meal:beef", "diet:nut"}), QStringList{});
    for (const char* bad : {"meal:", "diet:  ", "meal", "diet:--"})
        EXPECT_FALSE(parseFilter(bad)) << bad;
}
