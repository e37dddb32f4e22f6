// orvane-cli over the members: the catering summary on weddings with known answers, replies
// from a file matched blind to case and accents (unmatched and ambiguous rows listed, nothing
// else changed), and the member list exported and read back.
#include "cli/Commands.h"
#include "guests/GuestStore.h"
#include "guests/MemberStore.h"
#include "guests/PeopleLists.h"
#include "store/Backup.h"
#include "tests/exchange/ExchangeFixture.h"
#include "tests/store/StoreFixture.h"

#include <QDir>

using exchangetest::fileBytes;
using namespace guests;

namespace {

class MembersCommand : public exchangetest::WeddingTest {
protected:
    int run(const QStringList& args)
    {
        store::Workspace::defaultWorkspace().close();
        out_.clear();
        err_.clear();
        QTextStream out(&out_), err(&err_);
        const int status = cli::run(args, out, err);
        db_ = &store::Workspace::defaultWorkspace().openDatabase(path());
        return status;
    }
    qint64 table(const QString& name, int number)
    {
        db().execute("INSERT INTO Tables (tablename, tablenumber, max) VALUES (?, ?, 10)", {name, number});
        return raw("SELECT max(TableId) FROM Tables").toLongLong();
    }
    qint64 party(const QString& last, qint64 tableId = 0, bool reception = true)
    {
        const qint64 key = addGuest(db(), {}, last);
        db().execute("UPDATE Guests SET InvReception = ?, tableid = ? WHERE rowid = ?",
                     {reception, tableId, key});
        return key;
    }
    qint64 member(qint64 partyKey, const QString& first, const QString& last, Reply reply = Reply::None,
                  AgeGroup age = AgeGroup::Adult, int meal = -1, QStringList needs = {})
    {
        Member m;
        m.party = partyKey;
        m.firstName = first;
        m.lastName = last;
        m.ageGroup = age;
        m.setReply(Event::Reception, reply);
        if (meal >= 0)
            m.meal = loadMeals(db())[size_t(meal)].id;
        m.needs = needs;
        return addMember(db(), m);
    }
    QString raw(const QString& sql) { return storetest::rawValue(path(), sql); }
    QStringList csvLines(const QString& file)
    {
        QString text = QString::fromUtf8(fileBytes(file));
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    QString out_, err_;
};

}  // namespace

TEST_F(MembersCommand, CateringCountsThePeopleExpectedPerTable)
{
    const qint64 oak = table("Oak", 2);
    const qint64 head = table("Head", 1);
    table("", 3);  // an empty table still has its row
    const qint64 lee = party("Lee", oak);
    member(lee, "Ann", "Lee", Reply::Attending, AgeGroup::Adult, 0, {"Vegan"});
    member(lee, "Bo", "Lee", Reply::None, AgeGroup::Child, 3);
    member(lee, "Cy", "Lee", Reply::Declined, AgeGroup::Adult, 0);  // left out
    const qint64 kim = party("Kim", head);
    member(kim, "Kay", "Kim", Reply::Attending, AgeGroup::Infant);
    // Not invited to the reception and not replied: not expected.
    member(party("Ray", head, false), "Al", "Ray");
    // Seated at a table that has gone: not seated.
    member(party("Fox", 99), "Di", "Fox", Reply::Attending, AgeGroup::Adult, 1);
    // A party without members is not counted by its typed figures.
    db().execute(
        "INSERT INTO Guests (LastName, InvReception, Invited, NumberAttending) VALUES ('Typed', True, 5, 5)");

    const QString out = tempPath("catering.csv");
    ASSERT_EQ(run({"catering", path(), out}), 0) << err_.toStdString();
    EXPECT_EQ(csvLines(out),
              QStringList({"Table,Adults,Children,Infants,Beef,Salmon,Vegetarian,Kids' meal,No meal chosen",
                           "Head,0,0,1,0,0,0,0,1", "Oak,1,1,0,1,0,0,1,0", "Table 3,0,0,0,0,0,0,0,0",
                           "Not seated,1,0,0,0,1,0,0,0", "Total,2,1,1,1,1,0,1,1"}));

    const CateringSummary summary = cateringOf(loadPeople(db()));
    ASSERT_EQ(summary.needs.size(), 1u);
    EXPECT_EQ(summary.needs[0].table, "Oak");
    EXPECT_EQ(summary.needs[0].name, "Ann Lee");
}

TEST_F(MembersCommand, CateringOnAGeneratedWeddingAddsUp)
{
    std::vector<qint64> tables;
    for (int t = 1; t <= 5; ++t)
        tables.push_back(table(QStringLiteral("T%1").arg(t), t));
    store::Workspace::defaultWorkspace().beginTrans();
    // 100 parties of 4: one attending adult, one child without reply, one declined, one infant
    // attending with a meal. Every tenth party is not seated.
    for (int p = 0; p < 100; ++p) {
        const qint64 key = party(QStringLiteral("P%1").arg(p), p % 10 == 0 ? 0 : tables[size_t(p % 5)]);
        member(key, "A", QString::number(p), Reply::Attending);
        member(key, "B", QString::number(p), Reply::None, AgeGroup::Child);
        member(key, "C", QString::number(p), Reply::Declined);
        member(key, "D", QString::number(p), Reply::Attending, AgeGroup::Infant, p % 4);
    }
    store::Workspace::defaultWorkspace().commitTrans();
    const CateringSummary s = cateringOf(loadPeople(db()));
    ASSERT_EQ(s.rows.size(), 7u);
    const CateringRow& total = s.rows.back();
    EXPECT_EQ(total.adults, 100);
    EXPECT_EQ(total.children, 100);
    EXPECT_EQ(total.infants, 100);
    EXPECT_EQ(total.meals, (std::vector<int>{25, 25, 25, 25}));
    EXPECT_EQ(total.noMeal, 200);
    EXPECT_EQ(s.rows[5].label, "Not seated");
    EXPECT_EQ(s.rows[5].people(), 30);
    int seated = 0;
    for (size_t i = 0; i < 5; ++i)
        seated += s.rows[i].people();
    EXPECT_EQ(seated, 270);
    EXPECT_EQ(raw("SELECT sum(Invited) || '/' || sum(NumberAttending) FROM Guests"), "400/200");
}

TEST_F(MembersCommand, RepliesAreMatchedByNameAndTheRestListedWithNothingChanged)
{
    const qint64 dupont = party("Dupont");
    const qint64 emile = member(dupont, "Émile", "Dupont");
    const qint64 lee = party("Lee");
    const qint64 ann = member(lee, "Ann", "Lee");
    member(lee, "Sam", "Lee");
    member(party("Lee"), "Sam", "Lee");
    const qint64 bob = member(lee, "Bob", "Lee", Reply::Attending);
    const QString before = raw("SELECT group_concat(MemberId || Reply) FROM GuestsMemberReplies");
    const exchangetest::TempFile file("replies.csv",
                                      "Name,Attending,Meal,Dietary Needs\n"
                                      "  EMILE dupont ,yes,salmon,\n"
                                      "Ann Lee,No,,\"vegan; no onions\"\n"
                                      "Sam Lee,yes,,\n"
                                      "Nobody Here,yes,,\n"
                                      "Bob Lee,maybe,,\n");
    ASSERT_EQ(run({"import-replies", path(), file.path(), "--dry-run"}), 1);
    EXPECT_EQ(raw("SELECT group_concat(MemberId || Reply) FROM GuestsMemberReplies"), before);

    EXPECT_EQ(run({"import-replies", path(), file.path()}), 1);
    EXPECT_TRUE(out_.contains("2 rows match a member.")) << out_.toStdString();
    EXPECT_TRUE(out_.contains("line 4: Sam Lee (2 members of that name)")) << out_.toStdString();
    EXPECT_TRUE(out_.contains("line 5: Nobody Here")) << out_.toStdString();
    EXPECT_TRUE(out_.contains("line 6: Bob Lee: \"maybe\" is no reply for the reception"))
        << out_.toStdString();
    EXPECT_EQ(store::backup::list(path()).size(), 1u);

    const auto reply = [&](qint64 id) {
        return raw(QStringLiteral("SELECT Reply FROM GuestsMemberReplies WHERE MemberId = %1").arg(id));
    };
    EXPECT_EQ(reply(emile), "Attending");
    EXPECT_EQ(reply(ann), "Declined");
    EXPECT_EQ(reply(bob), "Attending");
    EXPECT_EQ(raw(QStringLiteral("SELECT Needs || '|' || NeedsNote FROM GuestsMembers WHERE MemberId = %1")
                      .arg(ann)),
              "Vegan|no onions");
    EXPECT_EQ(
        raw(QStringLiteral("SELECT m.Name FROM GuestsMembers g JOIN GuestsMeals m ON m.MealId = g.MealId "
                           "WHERE g.MemberId = %1")
                .arg(emile)),
        "Salmon");
    EXPECT_EQ(raw("SELECT count(*) FROM GuestsMemberReplies"), "3");
    // The parties' counts moved with the replies.
    EXPECT_EQ(raw(QStringLiteral("SELECT Invited || '/' || NumberAttending || '/' || Confirmed FROM Guests "
                                 "WHERE rowid = %1")
                      .arg(dupont)),
              "1/1/1");

    // A file without a reply column says so and changes nothing.
    const exchangetest::TempFile names("names.csv", "Name,Phone\nAnn Lee,123\n");
    EXPECT_EQ(run({"import-replies", path(), names.path()}), 1);
    EXPECT_TRUE(out_.contains("no column of replies")) << out_.toStdString();
    EXPECT_TRUE(out_.contains("Nothing was changed."));
}

TEST_F(MembersCommand, TheMemberListIsExportedOneRowPerMemberAndReadsBackAsReplies)
{
    const qint64 oak = table("Oak", 1);
    const qint64 lee = party("Lee", oak);
    const qint64 ann = member(lee, "Ann", "Lee", Reply::Attending, AgeGroup::Adult, 1, {"Nut allergy"});
    Member guest;
    guest.party = lee;
    guest.plusOneOf = ann;
    addMember(db(), guest);
    const QString out = tempPath("members.csv");
    ASSERT_EQ(run({"export", path(), "members", out}), 0) << err_.toStdString();
    const QStringList lines = csvLines(out);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "Party,Name,Age Group,Plus-One Of,Meal,Dietary Needs,E-mail,Mobile,Reception,Table");
    EXPECT_EQ(lines[1], "Lee,Ann Lee,Adult,,Salmon,Nut allergy,,,Attending,Oak") << lines[1].toStdString();
    EXPECT_EQ(lines[2], "Lee,Guest of Ann Lee,Adult,Ann Lee,,,,,,Oak");

    // Read back as replies, every member is found and nothing is changed by it.
    const QString before = raw("SELECT group_concat(MemberId || Reply) FROM GuestsMemberReplies");
    EXPECT_EQ(run({"import-replies", path(), out}), 0) << out_.toStdString();
    EXPECT_TRUE(out_.contains("2 rows match a member."));
    EXPECT_EQ(raw("SELECT group_concat(MemberId || Reply) FROM GuestsMemberReplies"), before);

    EXPECT_EQ(run({"export", path(), "people", out}), 2);
    EXPECT_TRUE(err_.contains("choose guests, members"));
    EXPECT_EQ(run({"catering", path()}), 2);
    EXPECT_EQ(run({"catering", path(), path()}), 1);  // never over the wedding file
    EXPECT_FALSE(err_.isEmpty());
}

TEST_F(MembersCommand, PlaceCardsAreWrittenAsPdfForTheSeatedPeopleOnlyReadingTheWedding)
{
    const qint64 oak = table("Oak", 1);
    const qint64 lee = party("Lee", oak);
    member(lee, "Ann", "Lee", Reply::Attending, AgeGroup::Adult, 0);
    member(lee, "Cy", "Lee", Reply::Declined);
    member(party("Ng"), "Nia", "Ng", Reply::Attending);  // not seated
    const QByteArray before = fileBytes(path());
    const QString pdf = tempPath("cards.pdf");

    ASSERT_EQ(run({"place-cards", path(), pdf}), 0) << err_.toStdString();
    EXPECT_EQ(out_, QStringLiteral("1 place card on 1 sheet written to %1.\n"
                                   "1 person expected at the reception is not seated at a table and has no "
                                   "card.\n")
                        .arg(pdf));
    EXPECT_TRUE(fileBytes(pdf).startsWith("%PDF-"));
    ASSERT_EQ(run({"place-cards", path(), pdf, "--escort", "--stock", "TENT"}), 0) << err_.toStdString();
    EXPECT_TRUE(out_.startsWith("1 escort card on 1 sheet"));
    store::Workspace::defaultWorkspace().close();
    EXPECT_EQ(fileBytes(path()), before);  // only read
    EXPECT_TRUE(store::backup::list(path()).empty());
    db_ = &store::Workspace::defaultWorkspace().openDatabase(path());
}

TEST_F(MembersCommand, PlaceCardsRefuseBadInputInWordsAndNeverWriteOverTheWedding)
{
    member(party("Lee", table("Oak", 1)), "Ann", "Lee");
    const QByteArray before = fileBytes(path());
    const QString pdf = tempPath("cards.pdf");

    EXPECT_EQ(run({"place-cards", path()}), 2);
    EXPECT_TRUE(err_.contains("place-cards needs WEDDING.mdb and OUT.pdf."));
    EXPECT_EQ(run({"place-cards", path(), pdf, "--stock", "round"}), 2);
    EXPECT_TRUE(err_.contains("--stock takes tent or flat, not \"round\"."));
    EXPECT_EQ(run({"place-cards", path(), pdf, "--fold"}), 2);
    EXPECT_EQ(run({"place-cards", tempPath("missing.mdb"), pdf}), 1);
    EXPECT_FALSE(err_.isEmpty());
    EXPECT_FALSE(QFile::exists(tempPath("missing.mdb")));

    // The wedding file itself, and a file that is not a wedding, as OUT or as WEDDING.
    EXPECT_EQ(run({"place-cards", path(), path()}), 1);
    EXPECT_FALSE(err_.isEmpty());
    store::Workspace::defaultWorkspace().close();
    EXPECT_EQ(fileBytes(path()), before);
    db_ = &store::Workspace::defaultWorkspace().openDatabase(path());
    QFile junk(tempPath("junk.mdb"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, '\x7f'));
    junk.close();
    EXPECT_EQ(run({"place-cards", junk.fileName(), pdf}), 1);
    EXPECT_FALSE(QFile::exists(pdf));

    EXPECT_EQ(run({"place-cards", "--help"}), 0);
    EXPECT_TRUE(
        out_.startsWith("Usage: orvane-cli place-cards WEDDING.mdb OUT.pdf [--stock tent|flat] [--escort]"));
}

TEST_F(MembersCommand, PlaceCardsWithNoOneSeatedSayWhyAndWriteNothing)
{
    const QString pdf = tempPath("cards.pdf");
    EXPECT_EQ(run({"place-cards", path(), pdf}), 1);
    EXPECT_EQ(out_, "No cards written: no one expected at the reception is seated at a table yet.\n");
    member(party("Ng"), "Nia", "Ng");
    EXPECT_EQ(run({"place-cards", path(), pdf, "--escort"}), 1);
    EXPECT_TRUE(
        out_.endsWith("1 person expected at the reception is not seated at a table and has no card.\n"));
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(MembersCommand, AListOfPeopleIsImportedGroupedAndTheExportOfMembersAddsNobodyBack)
{
    exchangetest::TempFile people("people.csv",
                                  "Home,First Name,Last Name,Age Group,Meal,Mobile\n"
                                  "A,Ann,Lee,Adult,Salmon,0170 1\n"
                                  "A,Bo,Lee,Child,Kids' meal,\n"
                                  "B,Cy,Roe,,Beef,\n");
    // "Home" is no grouping header: read as a list of parties, each row its own.
    ASSERT_EQ(run({"import-guests", path(), people.path(), "--dry-run"}), 0) << err_.toStdString();
    EXPECT_TRUE(out_.contains("New parties (3)")) << out_.toStdString();
    ASSERT_EQ(run({"import-guests", path(), people.path(), "--group-by", "home"}), 0) << err_.toStdString();
    EXPECT_TRUE(out_.contains("Home -> Household (groups people into parties)")) << out_.toStdString();
    EXPECT_TRUE(out_.contains("Mobile -> Person: mobile"));
    EXPECT_TRUE(out_.contains("2 parties added")) << out_.toStdString();
    EXPECT_TRUE(out_.contains("3 people added to the parties."));
    EXPECT_EQ(raw("SELECT group_concat(FirstName || ':' || AgeGroup || ':' || coalesce(Mobile, ''), ' ') "
                  "FROM GuestsMembers"),
              "Ann:Adult:0170 1 Bo:Child: Cy:Adult:");
    EXPECT_EQ(raw("SELECT group_concat(Invited) FROM Guests"), "2,1");

    const QString out = tempPath("members.csv");
    ASSERT_EQ(run({"export", path(), "members", out}), 0) << err_.toStdString();
    const QString members = raw("SELECT count(*) FROM GuestsMembers");
    const QString parties = raw("SELECT count(*) FROM Guests");
    run({"import-guests", path(), out});
    EXPECT_TRUE(out_.contains("Party -> Household (groups people into parties)")) << out_.toStdString();
    EXPECT_TRUE(out_.contains("0 parties added")) << out_.toStdString();
    EXPECT_TRUE(out_.contains("2 parties skipped: likely duplicates of parties already in the list"));
    EXPECT_EQ(raw("SELECT count(*) FROM GuestsMembers"), members);
    EXPECT_EQ(raw("SELECT count(*) FROM Guests"), parties);
}

TEST_F(MembersCommand, GroupByIsExplainedAndABadColumnIsRefusedInWords)
{
    ASSERT_EQ(run({"import-guests", "--help"}), 0);
    EXPECT_TRUE(out_.contains("--group-by COLUMN")) << out_.toStdString();
    exchangetest::TempFile people("people.csv", "Household,First Name,Last Name\nA,Ann,Lee\n");
    const QString before = raw("SELECT count(*) FROM Guests");
    EXPECT_NE(run({"import-guests", path(), people.path(), "--group-by", "Family Name"}), 0);
    EXPECT_TRUE(err_.contains("The file has no column \"Family Name\"")) << err_.toStdString();
    EXPECT_TRUE(err_.contains("Household, First Name, Last Name"));
    EXPECT_NE(run({"import-guests", path(), people.path(), "--group-by"}), 0);
    EXPECT_FALSE(err_.isEmpty());
    EXPECT_EQ(raw("SELECT count(*) FROM Guests"), before);
}
