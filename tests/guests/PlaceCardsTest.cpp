// The cards for the tables on a generated wedding: exactly the people expected at the reception
// whose party is seated get one (declined, not invited to the reception and not seated get
// none), in table order for place cards and alphabetically for escort cards.
#include "guests/GuestStore.h"
#include "guests/MemberStore.h"
#include "guests/PlaceCards.h"
#include "tests/exchange/ExchangeFixture.h"

using namespace guests;

namespace {

class PlaceCards : public exchangetest::WeddingTest {
protected:
    qint64 table(const QString& name, int number)
    {
        db().execute("INSERT INTO Tables (tablename, tablenumber, max) VALUES (?, ?, 10)", {name, number});
        return db().openRecordset("SELECT max(TableId) FROM Tables")->value(0).toLongLong();
    }
    qint64 party(const QString& last, qint64 tableId, bool reception = true)
    {
        const qint64 key = addGuest(db(), {}, last);
        db().execute("UPDATE Guests SET InvReception = ?, tableid = ? WHERE rowid = ?",
                     {reception, tableId, key});
        return key;
    }
    qint64 member(qint64 partyKey, const QString& first, const QString& last, Reply reply = Reply::Attending,
                  int meal = -1, std::optional<qint64> plusOneOf = {})
    {
        Member m;
        m.party = partyKey;
        m.firstName = first;
        m.lastName = last;
        m.setReply(Event::Reception, reply);
        if (meal >= 0)
            m.meal = loadMeals(db())[size_t(meal)].id;
        m.plusOneOf = plusOneOf;
        return addMember(db(), m);
    }
    static QStringList names(const Cards& cards)
    {
        QStringList out;
        for (const PlaceCard& c : cards.cards)
            out << c.name;
        return out;
    }
    // A wedding with every kind of person the cards must tell apart.
    void generate()
    {
        std::vector<Meal> meals = loadMeals(db());
        meals[0].mark = "B";
        meals[1].mark = " S ";
        saveMeals(db(), meals);
        const qint64 oak = table("Oak", 2);
        const qint64 head = table("", 1);
        table("Empty", 3);
        const qint64 lee = party("Lee", oak);
        const qint64 ann = member(lee, "Ann", "Lee", Reply::Attending, 0);
        member(lee, "bea", "Lee", Reply::None, 1);      // not replied, invited: expected
        member(lee, "Cy", "Lee", Reply::Declined, 0);   // declined: no card
        member(lee, "", "", Reply::Attending, 2, ann);  // Ann's unnamed plus-one
        const qint64 kim = party("Kim", head);
        member(kim, "Émile", "Ångström", Reply::Attending, 3);
        member(kim, "Eva", "angstrom");
        member(kim, "🎉🎊", "🥂");                    // no letter at all
        const qint64 far = party("Far", oak, false);  // not invited to the reception
        member(far, "Fay", "Far", Reply::None);
        const qint64 ng = party("Ng", 0);  // not seated
        member(ng, "Nia", "Ng");
        member(ng, "Noa", "Ng", Reply::None);
        const qint64 gone = party("Gone", 99);  // a table that no longer exists
        member(gone, "Gus", "Gone");
    }
};

}  // namespace

TEST_F(PlaceCards, PlaceCardsNameExactlyTheExpectedSeatedPeopleByTableThenPartyThenMember)
{
    generate();
    const Cards cards = placeCardsOf(loadPeople(db()));
    EXPECT_EQ(names(cards), QStringList({"Émile Ångström", "Eva angstrom", "🎉🎊 🥂", "Ann Lee",
                                         "bea Lee", "Guest of Ann Lee"}));
    EXPECT_EQ(cards.notSeated, 3);  // Nia, Noa and Gus, whose table is gone
    EXPECT_EQ(notSeatedNote(cards),
              "3 people expected at the reception are not seated at a table and have no card.");
    ASSERT_EQ(cards.cards.size(), 6u);
    EXPECT_EQ(cards.cards[0].lines(), QStringList({"Émile Ångström", "Table 1", "K"}));
    EXPECT_EQ(cards.cards[1].lines(), QStringList({"Eva angstrom", "Table 1", ""}));  // no meal
    EXPECT_EQ(cards.cards[3].lines(), QStringList({"Ann Lee", "Oak · Table 2", "B"}));
    EXPECT_EQ(cards.cards[4].mark, "S");  // trimmed
    EXPECT_EQ(cards.cards[5].table, "Oak · Table 2");
}

TEST_F(PlaceCards, EscortCardsGoByLastThenFirstNameBlindToCaseAndAccentsWithTheirTable)
{
    generate();
    const Cards cards = escortCardsOf(loadPeople(db()));
    // "Ångström" and "angstrom" are one last name; "Émile" sorts before "Eva"; "bea" before
    // "Guest of Ann Lee" would be wrong: a plus-one follows the member who brings them.
    EXPECT_EQ(names(cards), QStringList({"Émile Ångström", "Eva angstrom", "Ann Lee", "Guest of Ann Lee",
                                         "bea Lee", "🎉🎊 🥂"}));
    EXPECT_EQ(cards.notSeated, 3);
    for (const PlaceCard& c : cards.cards)
        EXPECT_TRUE(c.mark.isEmpty()) << c.name.toStdString();
    EXPECT_EQ(cards.cards[2].table, "Oak · Table 2");
    EXPECT_EQ(cards.cards[0].table, "Table 1");
}

TEST(TableLine, TheTableIsNamedWithItsNumberOnceOnly)
{
    auto line = [](const QString& name, qint64 number) { return tableLine({1, name, number}); };
    EXPECT_EQ(line("Oak", 3), "Oak · Table 3");
    EXPECT_EQ(line("  Oak   Tree ", 3), "Oak Tree · Table 3");
    EXPECT_EQ(line("", 3), "Table 3");
    EXPECT_EQ(line("3", 3), "Table 3");
    EXPECT_EQ(line("Table #3", 3), "Table #3");
    EXPECT_EQ(line("TABLE 3", 3), "TABLE 3");
    EXPECT_EQ(line("Table 30", 3), "Table 30 · Table 3");  // a name that says another number is kept
    EXPECT_EQ(line("🌸", 3), "🌸 · Table 3");
}

TEST_F(PlaceCards, AWeddingWithoutMembersOrWithoutSeatsHasNoCards)
{
    EXPECT_TRUE(placeCardsOf(loadPeople(db())).cards.empty());
    member(party("Ng", 0), "Nia", "Ng");
    const Cards cards = escortCardsOf(loadPeople(db()));
    EXPECT_TRUE(cards.cards.empty());
    EXPECT_EQ(cards.notSeated, 1);
    EXPECT_EQ(notSeatedNote({{}, 0}), "");
}
