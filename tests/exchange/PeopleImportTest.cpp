// Importing a list of people grouped into parties: which columns group them, what each
// party takes from its first row and each member from their own, the parties' counts after
// the import, the duplicate rules (party against party, member against the members of the
// wedding, never within one household) and hostile files.
#include "exchange/GuestImport.h"

#include "guests/MemberImport.h"
#include "guests/MemberStore.h"
#include "store/Undo.h"
#include "tests/exchange/ExchangeFixture.h"

#include <QFile>

using namespace exchange;

namespace {

class PeopleImport : public exchangetest::WeddingTest {
protected:
    ImportReview review(const CsvTable& table, std::vector<GuestField> mapping = {})
    {
        ImportSettings settings;
        settings.mapping = mapping.empty() ? guessMapping(table.headers) : std::move(mapping);
        settings.people = &guests::memberImport();
        return reviewImport(table, settings, loadGuestList(db(), settings.people));
    }
    ImportReview reviewText(const QByteArray& text)
    {
        file_ = std::make_unique<exchangetest::TempFile>("people.csv", text);
        return review(readCsvFile(file_->path()));
    }
    ImportReview reviewSample()
    {
        return review(readCsvFile(exchangetest::importSamplesDir() + "/website-guest-export.csv"));
    }
    ImportResult import(const ImportReview& r) { return runImport(db(), r); }
    qint64 partyKey(const QString& last)
    {
        auto set = db().openRecordset("SELECT rowid FROM Guests WHERE LastName = ?", {last});
        return set->eof() ? 0 : set->value(0).toLongLong();
    }
    QVariant field(qint64 party, const QString& column)
    {
        auto set = db().openRecordset(QString("SELECT %1 FROM Guests WHERE rowid = ?").arg(column), {party});
        return set->value(0);
    }
    QStringList names(qint64 party)
    {
        QStringList out;
        for (const guests::Member& m : guests::loadMembers(db(), party))
            out << (m.firstName + " " + m.lastName).trimmed();
        return out;
    }
    int memberCount()
    {
        auto set = db().openRecordset("SELECT count(*) FROM GuestsMembers");
        return set->value(0).toInt();
    }
    QString mealName(const guests::Member& m)
    {
        for (const guests::Meal& meal : guests::loadMeals(db()))
            if (m.meal && meal.id == *m.meal)
                return meal.name;
        return {};
    }
    std::unique_ptr<exchangetest::TempFile> file_;
};

}  // namespace

TEST_F(PeopleImport, EachGroupingHeaderInAnyCaseGroupsAListOfNamesButNotAListOfParties)
{
    for (const QString header : {"Household", "PARTY", "family", "Group", "invitation"}) {
        const std::vector<GuestField> m = guessMapping({header, "First Name", "Last Name", "Meal", "E-mail"});
        EXPECT_EQ(m[0], GuestField::Group) << header.toStdString();
        EXPECT_EQ(m[3], GuestField::Meal);
        EXPECT_EQ(m[4], GuestField::Email);
    }
    // Without a column of names, "Party" and "Household" still hold the whole envelope name,
    // and a mobile column is still the party's phone: a list of parties reads as it always did.
    const std::vector<GuestField> parties = guessMapping({"Household", "Address", "Mobile", "Meal"});
    EXPECT_EQ(parties[0], GuestField::WholeName);
    EXPECT_EQ(parties[2], GuestField::HomePhone);
    EXPECT_EQ(parties[3], GuestField::NotImported);
    EXPECT_FALSE(groupsPeople(parties));
    // Two needs columns are both read.
    const std::vector<GuestField> needs = guessMapping({"Party", "Name", "Dietary Needs", "Allergies"});
    EXPECT_EQ(needs[2], GuestField::Needs);
    EXPECT_EQ(needs[3], GuestField::Needs);
}

TEST_F(PeopleImport, TheWebsiteExportBecomesFivePartiesWithTheirMembersAndCounts)
{
    const ImportReview r = reviewSample();
    EXPECT_TRUE(r.notImported.isEmpty()) << r.notImported.join(", ").toStdString();
    ASSERT_EQ(r.rows.size(), 5u);
    EXPECT_EQ(r.newCount(), 5) << "one household's members share a last name and a street";
    const ImportResult result = import(r);
    EXPECT_EQ(result.added, 5);
    EXPECT_EQ(result.people, 12);
    EXPECT_TRUE(result.summary().contains("12 people added to the parties."))
        << result.summary().toStdString();
    EXPECT_TRUE(result.summary().contains("Added to the menu: Chicken, Children's menu, Fish."))
        << result.summary().toStdString();
    EXPECT_TRUE(QFile::exists(result.backupPath));
    ASSERT_TRUE(store::undo::last(path()).has_value());
    EXPECT_EQ(store::undo::last(path())->what, "Import 5 parties");

    const qint64 okafor = partyKey("Okafor");
    EXPECT_EQ(names(okafor), QStringList({"Samuel Okafor", "Adaeze Okafor", "Chidi Okafor"}));
    EXPECT_EQ(field(okafor, "Address").toString(), "9 Old Mill Road");
    EXPECT_EQ(field(okafor, "guestof").toString(), "Groom");
    EXPECT_EQ(field(okafor, "wedlbl").toString(), "The Okafor Family");
    EXPECT_EQ(field(okafor, "Invited").toInt(), 3);
    EXPECT_TRUE(guests::countDifferences(guests::storedCounts(db(), okafor),
                                         guests::countsOf(guests::loadMembers(db(), okafor)), false)
                    .empty());

    const std::vector<guests::Member> okafors = guests::loadMembers(db(), okafor);
    EXPECT_EQ(okafors[2].ageGroup, guests::AgeGroup::Child);
    EXPECT_EQ(mealName(okafors[2]), "Children's menu");
    EXPECT_EQ(okafors[2].needsNote, "peanut allergy");
    EXPECT_EQ(okafors[1].needs, QStringList{"Vegan"});
    EXPECT_EQ(mealName(okafors[1]), "Vegetarian") << "a meal of the menu is not added again";

    const qint64 moreau = partyKey("Moreau");
    const std::vector<guests::Member> moreaus = guests::loadMembers(db(), moreau);
    ASSERT_EQ(moreaus.size(), 2u);
    EXPECT_FALSE(moreaus[1].hasName());
    EXPECT_EQ(moreaus[1].plusOneOf, moreaus[0].id) << "the unnamed plus-one is Grace's guest";
    EXPECT_EQ(field(moreau, "FirstName").toString(), "Grace");
    EXPECT_EQ(field(moreau, "Invited").toInt(), 2);

    const std::vector<guests::Member> schaefer = guests::loadMembers(db(), partyKey("Schäfer"));
    ASSERT_EQ(schaefer.size(), 4u);
    EXPECT_EQ(schaefer[3].ageGroup, guests::AgeGroup::Infant) << "\"Baby\"";
    EXPECT_EQ(schaefer[0].needs, QStringList{"Gluten-free"});

    const qint64 both = partyKey("Nguyen");
    EXPECT_EQ(field(both, "wedlbl").toString(), "Linh Nguyen & Erik Lindqvist");
    EXPECT_EQ(field(both, "guestof").toString(), "Both");
    EXPECT_EQ(memberCount(), 12);

    // Undo takes the parties, their members and the meals added back.
    store::undo::undoLast(db());
    EXPECT_EQ(memberCount(), 0);
    EXPECT_EQ(guestCount(), 0);
    EXPECT_EQ(guests::loadMeals(db()).size(), 4u);
}

TEST_F(PeopleImport, AnEmptyHouseholdCellIsAPartyOfItsOwnAndLaterRowsDoNotChangeTheAddress)
{
    const ImportReview r = reviewText(
        "Household,First Name,Last Name,Address,Child\n"
        "H1,Ana,Ruiz,1 Elm Street,\n"
        ",Bo,Lund,2 Oak Road,\n"
        "h1 ,Tito,Ruiz,99 Other Way,x\n"
        ",Cy,Lund,2 Oak Road,\n");
    ASSERT_EQ(r.rows.size(), 3u) << "H1 twice (case and blanks aside), and two parties of their own";
    EXPECT_EQ(r.rows[0].personRows.size(), 2u);
    EXPECT_EQ(r.duplicateCount(), 1) << "Cy Lund, alone, shares Bo Lund's last name and street";
    import(r);
    const qint64 ruiz = partyKey("Ruiz");
    EXPECT_EQ(field(ruiz, "Address").toString(), "1 Elm Street");
    EXPECT_EQ(field(ruiz, "FirstName").toString(), "Ana & Tito");
    EXPECT_EQ(guests::loadMembers(db(), ruiz)[1].ageGroup, guests::AgeGroup::Child);
    EXPECT_EQ(names(partyKey("Lund")), QStringList{"Bo Lund"});
}

TEST_F(PeopleImport, APartyHoldingAMemberOfTheWeddingIsALikelyDuplicateOfThatMembersParty)
{
    addParty("Ada", "Okafor", "4 Somewhere Else");
    const qint64 existing = partyKey("Okafor");
    guests::Member adaeze;
    adaeze.party = existing;
    adaeze.firstName = "Adaeze";
    adaeze.lastName = "Okafor";
    guests::addMember(db(), adaeze);
    ImportReview r = reviewSample();
    ASSERT_EQ(r.duplicateCount(), 1);
    const ReviewRow& dup = *std::find_if(r.rows.begin(), r.rows.end(),
                                         [](const ReviewRow& row) { return row.duplicate.has_value(); });
    EXPECT_EQ(dup.duplicate->existing, existing);
    EXPECT_TRUE(dup.duplicate->reason.contains("Adaeze Okafor")) << dup.duplicate->reason.toStdString();
    // Filling the party adds only the members it lacks.
    for (ReviewRow& row : r.rows)
        row.duplicateAction = DuplicateAction::Fill;
    const ImportResult result = import(r);
    EXPECT_EQ(result.added, 4);
    EXPECT_EQ(result.updated, 1);
    EXPECT_EQ(names(existing), QStringList({"Adaeze Okafor", "Samuel Okafor", "Chidi Okafor"}));
    EXPECT_EQ(field(existing, "Address").toString(), "4 Somewhere Else") << "only empty fields are filled";
    EXPECT_EQ(field(existing, "Invited").toInt(), 3);
}

TEST_F(PeopleImport, ValuesTheMembersCannotKeepAreProblemsThatCanBeMended)
{
    const QString longName(40, QChar('a'));
    ImportReview r = reviewText(("Party,First Name,Last Name,Age Group,Meal\n"
                                 "P1," +
                                 longName +
                                 ",Berg,Adult,\n"
                                 "P1,Eva,Berg,Senior,\n"
                                 "P2,Max,Holm,Child,Fish\n")
                                    .toUtf8());
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.problemCount(), 1);
    QStringList texts;
    for (const Problem& p : r.rows[0].problems)
        texts << p.text();
    EXPECT_TRUE(texts.join("|").contains("First name (row 2) is longer than its 30 characters"))
        << texts.join("|").toStdString();
    EXPECT_TRUE(texts.join("|").contains("Person: age group (row 3) cannot be read: \"Senior\"") ||
                texts.join("|").contains("Age group (row 3) cannot be read: \"Senior\""))
        << texts.join("|").toStdString();
    r.rows[0].problemAction = ProblemAction::Fix;
    import(r);
    const std::vector<guests::Member> berg = guests::loadMembers(db(), partyKey("Berg"));
    ASSERT_EQ(berg.size(), 2u);
    EXPECT_EQ(berg[0].firstName.size(), 30);
    EXPECT_EQ(berg[1].ageGroup, guests::AgeGroup::Adult) << "an unreadable age group is left out";
}

TEST_F(PeopleImport, HostileListsChangeNothingTheyShouldNot)
{
    // All-emoji names are names like any other.
    const ImportReview emoji = reviewText(
        "Family,First Name,Last Name\n"
        "\xF0\x9F\x8E\x89,\xF0\x9F\x98\x80\xF0\x9F\x98\x80,\xF0\x9F\x8C\xB8\n"
        "\xF0\x9F\x8E\x89,\xF0\x9F\x8D\xB0,\xF0\x9F\x8C\xB8\n");
    ASSERT_EQ(emoji.newCount(), 1);
    import(emoji);
    EXPECT_EQ(names(partyKey("\xF0\x9F\x8C\xB8")).size(), 2);

    // A zero byte in a person's name is never stored; the party is a problem, not written.
    const QByteArray zero = QByteArray("Group,First Name,Last Name\nG,Ann") + QByteArray(1, '\0') +
                            QByteArray("a,Dahl\nG,Per,Dahl\n");
    const ImportReview binary = reviewText(zero);
    ASSERT_EQ(binary.rows.size(), 1u);
    EXPECT_EQ(binary.problemCount(), 1);
    const int before = memberCount();
    import(binary);
    EXPECT_EQ(memberCount(), before);
    EXPECT_EQ(partyKey("Dahl"), 0);

    // A household of 2,000 people under a name of 10,000 characters is one party of them all.
    QByteArray big = "Household,First Name,Last Name\n";
    const QByteArray household(10000, 'h');
    for (int i = 0; i < 2000; ++i)
        big += household + ",P" + QByteArray::number(i) + ",Vast\n";
    const ImportReview huge = reviewText(big);
    ASSERT_EQ(huge.rows.size(), 1u);
    import(huge);
    EXPECT_EQ(field(partyKey("Vast"), "Invited").toInt(), 2000);

    // A row with no name at all in a household of its own has no last name: skipped, said so.
    const ImportReview nameless = reviewText("Invitation,First Name,Last Name,Meal\n,,,Fish\n");
    ASSERT_EQ(nameless.rows.size(), 1u);
    EXPECT_EQ(nameless.rows[0].problems.front().kind, ProblemKind::NoLastName);
}

TEST_F(PeopleImport, WithoutTheMembersSideAListOfPeopleIsRefusedInWords)
{
    file_ = std::make_unique<exchangetest::TempFile>("p.csv", "Party,Name\nA,Ann Lee\n");
    const CsvTable table = readCsvFile(file_->path());
    ImportSettings settings;
    settings.mapping = guessMapping(table.headers);
    EXPECT_THROW(reviewImport(table, settings, loadGuestList(db())), ExchangeError);
}

TEST_F(PeopleImport, EachPersonsReplyIsTheirsAndTheCountsFollowThem)
{
    ImportReview r = reviewText(
        "Party,First Name,Last Name,RSVP,Ceremony\n"
        "A,Ann,Lee,Yes,Attending\n"
        "A,Bo,Lee,No,Declined\n"
        "A,Cy,Lee,,\n"
        "B,Di,Roe,maybe,Perhaps\n");
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.problemCount(), 1);
    ASSERT_FALSE(r.rows[1].problems.empty());
    EXPECT_EQ(r.rows[1].problems[0].text(), "Ceremony reply cannot be read: \"Perhaps\"");
    import(r);
    const qint64 lee = partyKey("Lee");
    const std::vector<guests::Member> lees = guests::loadMembers(db(), lee);
    ASSERT_EQ(lees.size(), 3u);
    EXPECT_EQ(lees[0].reply(guests::Event::Reception), guests::Reply::Attending);
    EXPECT_EQ(lees[1].reply(guests::Event::Reception), guests::Reply::Declined);
    EXPECT_EQ(lees[1].reply(guests::Event::Ceremony), guests::Reply::Declined);
    EXPECT_EQ(lees[2].reply(guests::Event::Reception), guests::Reply::None);
    EXPECT_TRUE(field(lee, "InvCeremony").toBool()) << "a reply to the ceremony means an invitation";
    EXPECT_EQ(field(lee, "Invited").toInt(), 3);
    EXPECT_EQ(field(lee, "NumberAttending").toInt(), 1);
    EXPECT_FALSE(field(lee, "Confirmed").toBool()) << "Cy has not replied";
}
