// The members of a party in the wedding file: the party's counts after every change, the
// rules behind them, removing a party with its members, and member keys that survive
// compaction and repair.
#include "guests/GuestStore.h"
#include "guests/MemberRules.h"
#include "guests/MemberStore.h"
#include "store/Store.h"
#include "tests/store/StoreFixture.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace guests;

namespace {

class MemberStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program_ = std::make_unique<testsupport::ProgramDir>();
        db_ = &store::Workspace::defaultWorkspace().openDatabase(program_->databasePath());
    }
    void TearDown() override { store::Workspace::defaultWorkspace().close(); }

    qint64 party(const QString& last, const QString& more = {})
    {
        db_->execute("INSERT INTO Guests (FirstName, LastName, guestof, InvReception" +
                         QString(more.isEmpty() ? "" : ", ShowerGuest") + ") VALUES ('Tom', ?, 'Both', True" +
                         QString(more.isEmpty() ? "" : ", True") + ")",
                     {last});
        return raw("SELECT max(rowid) FROM Guests").toLongLong();
    }
    qint64 add(qint64 partyKey, const QString& first, Reply reception = Reply::None)
    {
        Member m;
        m.party = partyKey;
        m.firstName = first;
        m.lastName = raw(QStringLiteral("SELECT LastName FROM Guests WHERE rowid = %1").arg(partyKey));
        m.setReply(Event::Reception, reception);
        return addMember(*db_, m);
    }
    QString raw(const QString& sql) { return storetest::rawValue(program_->databasePath(), sql); }
    // Invited/NumberAttending/Confirmed of a party as stored, as "3/1/0".
    QString counts(qint64 partyKey)
    {
        return raw(QStringLiteral("SELECT Invited || '/' || NumberAttending || '/' || Confirmed FROM Guests "
                                  "WHERE rowid = %1")
                       .arg(partyKey));
    }
    QString names(qint64 partyKey)
    {
        QStringList out;
        for (const Member& m : loadMembers(*db_, partyKey))
            out << m.firstName;
        return out.join(',');
    }

    std::unique_ptr<testsupport::ProgramDir> program_;
    store::Database* db_ = nullptr;
};

}  // namespace

TEST(MemberRules, CountsNamesAndTheTextsOfRepliesAndNeeds)
{
    std::vector<Member> family(3);
    family[0].id = 1;
    family[0].firstName = QStringLiteral("Ann");
    family[0].lastName = QStringLiteral("Lee");
    family[1].id = 2;
    family[1].plusOneOf = 1;
    family[2].id = 3;
    EXPECT_EQ(memberName(family[1], family, QStringLiteral("Mr. Tom Lee")), "Guest of Ann Lee");
    EXPECT_EQ(memberName(family[2], family, QStringLiteral("Mr. Tom Lee")), "Guest of Mr. Tom Lee");
    EXPECT_EQ(memberName(family[0], family, {}), "Ann Lee");

    // Confirmed only once everyone has a reception reply; declined members count as replied.
    EXPECT_EQ(countsOf(family), (PartyCounts{3, 0, false, 3, 0, false}));
    family[0].setReply(Event::Reception, Reply::Attending);
    family[1].setReply(Event::Reception, Reply::Declined);
    EXPECT_FALSE(countsOf(family).confirmed);
    family[2].setReply(Event::Reception, Reply::Attending);
    family[2].setReply(Event::Shower, Reply::Attending);
    EXPECT_EQ(countsOf(family), (PartyCounts{3, 2, true, 3, 1, false}));
    EXPECT_FALSE(countsOf({}).confirmed);

    EXPECT_EQ(replyOf(" YES "), Reply::Attending);
    EXPECT_EQ(replyOf("Regrets"), Reply::Declined);
    EXPECT_EQ(replyOf(""), Reply::None);
    EXPECT_EQ(replyOf("maybe"), std::nullopt);
    EXPECT_EQ(ageGroupOf("Kid"), AgeGroup::Child);
    EXPECT_EQ(ageGroupOf("bébé"), std::nullopt);

    QStringList rest;
    EXPECT_EQ(needsOf("nut ALLERGY; vegan, no coriander", &rest), (QStringList{"Vegan", "Nut allergy"}));
    EXPECT_EQ(rest, QStringList{"no coriander"});
}

TEST(MemberRules, DifferencesAndTheUnnamedPlacesThatKeepWhatWasTyped)
{
    std::vector<Member> two(2);
    two[0].setReply(Event::Reception, Reply::Attending);
    two[1].setReply(Event::Reception, Reply::Attending);
    const PartyCounts typed{5, 4, true, 0, 0, false};
    const auto diffs = countDifferences(typed, countsOf(two), false);
    ASSERT_EQ(diffs.size(), 2u);
    EXPECT_EQ(diffs[0].caption, "Total people invited");
    EXPECT_EQ(diffs[0].typed, "5");
    EXPECT_EQ(diffs[0].fromMembers, "2");
    EXPECT_TRUE(countDifferences(countsOf(two), countsOf(two), true).empty());

    std::vector<Member> places = unnamedPlaces(two, typed, false);
    ASSERT_EQ(places.size(), 3u);
    std::vector<Member> all = two;
    all.insert(all.end(), places.begin(), places.end());
    EXPECT_EQ(countsOf(all).attending, 4);
    EXPECT_TRUE(countsOf(all).confirmed);
    EXPECT_EQ(countsOf(all).invited, 5);
    // No reply typed: the new places have none either.
    EXPECT_EQ(unnamedPlaces(two, {4, 0, false, 0, 0, false}, false)[0].reply(Event::Reception), Reply::None);
    EXPECT_TRUE(unnamedPlaces(two, {1, 0, false, 0, 0, false}, false).empty());
}

TEST_F(MemberStoreTest, EveryMemberChangeWritesThePartysCountsAndOthersAreLeftAlone)
{
    db_->execute(
        "INSERT INTO Guests (LastName, Invited, NumberAttending, Confirmed) VALUES ('Apart', 7, 3, True)");
    const QString untouched = counts(raw("SELECT rowid FROM Guests WHERE LastName = 'Apart'").toLongLong());
    const qint64 lee = party("Lee", "shower");

    const qint64 ann = add(lee, "Ann", Reply::Attending);
    EXPECT_EQ(counts(lee), "1/1/1");
    const qint64 bob = add(lee, "Bob");
    EXPECT_EQ(counts(lee), "2/1/0");
    setReply(*db_, bob, Event::Reception, Reply::Declined);
    EXPECT_EQ(counts(lee), "2/1/1");
    setReply(*db_, bob, Event::Shower, Reply::Attending);
    EXPECT_EQ(
        raw(QStringLiteral("SELECT ShowerInvited || '/' || ShowerComing || '/' || ShowerReplied FROM Guests "
                           "WHERE rowid = %1")
                .arg(lee)),
        "2/1/0");

    // A plus-one brought by Ann goes with her; a named one would stay.
    Member guest;
    guest.party = lee;
    guest.plusOneOf = ann;
    guest.setReply(Event::Reception, Reply::Attending);
    const qint64 plusOne = addMember(*db_, guest);
    EXPECT_EQ(counts(lee), "3/2/1");
    removeMember(*db_, ann);
    EXPECT_EQ(counts(lee), "1/0/1");
    EXPECT_EQ(raw(QStringLiteral("SELECT count(*) FROM GuestsMembers WHERE MemberId = %1").arg(plusOne)),
              "0");
    EXPECT_EQ(raw("SELECT count(*) FROM GuestsMemberReplies WHERE MemberId NOT IN (SELECT MemberId FROM "
                  "GuestsMembers)"),
              "0");

    // Saving a member's fields keeps the party and recounts.
    Member b = loadMembers(*db_, lee).front();
    b.ageGroup = AgeGroup::Child;
    b.needs = {QStringLiteral("Vegan")};
    b.setReply(Event::Reception, Reply::Attending);
    b.party = 999;
    saveMember(*db_, b);
    EXPECT_EQ(counts(lee), "1/1/1");
    EXPECT_EQ(loadMembers(*db_, lee).front().ageGroup, AgeGroup::Child);
    EXPECT_EQ(loadMembers(*db_, lee).front().needs, QStringList{"Vegan"});

    EXPECT_EQ(counts(raw("SELECT rowid FROM Guests WHERE LastName = 'Apart'").toLongLong()), untouched);
}

TEST_F(MemberStoreTest, OrderIsKeptAndMovesStopAtTheEnds)
{
    const qint64 lee = party("Lee");
    const qint64 a = add(lee, "A");
    add(lee, "B");
    const qint64 c = add(lee, "C");
    moveMember(*db_, c, -1);
    EXPECT_EQ(names(lee), "A,C,B");
    moveMember(*db_, a, -1);
    moveMember(*db_, c, -1);
    EXPECT_EQ(names(lee), "C,A,B");
    removeMember(*db_, a);
    add(lee, "D");
    EXPECT_EQ(names(lee), "C,B,D");
}

TEST_F(MemberStoreTest, TypedCountsAreCorrectedOrFilledWithUnnamedPlacesOnlyWhenAsked)
{
    const qint64 lee = party("Lee");
    add(lee, "Ann", Reply::Attending);
    db_->execute(QStringLiteral(
                     "UPDATE Guests SET Invited = 4, NumberAttending = 3, Confirmed = True WHERE rowid = %1")
                     .arg(lee));
    EXPECT_EQ(counts(lee), "4/3/1");
    EXPECT_EQ(addUnnamedPlaces(*db_, lee), 3);
    EXPECT_EQ(counts(lee), "4/3/1");
    EXPECT_EQ(loadMembers(*db_, lee).size(), 4u);
    EXPECT_EQ(addUnnamedPlaces(*db_, lee), 0);

    db_->execute(QStringLiteral("UPDATE Guests SET Invited = 9 WHERE rowid = %1").arg(lee));
    correctCounts(*db_, lee);
    EXPECT_EQ(counts(lee), "4/3/1");
}

TEST_F(MemberStoreTest, RemovingAPartyRemovesItsMembersInTheSameTransaction)
{
    const qint64 lee = party("Lee");
    const qint64 kim = party("Kim");
    add(lee, "Ann", Reply::Attending);
    add(lee, "Bob");
    add(kim, "Kay");
    auto guests = db_->openRecordset("Guests", store::RecordsetType::Table);
    guests->setBookmark(lee);
    removeGuest(*guests);
    guests->close();
    EXPECT_EQ(raw("SELECT group_concat(FirstName) FROM GuestsMembers"), "Kay");
    EXPECT_EQ(raw("SELECT count(*) FROM GuestsMemberReplies"), "0");

    // A change that fails part-way leaves members and counts as they were.
    storetest::rawExec(program_->databasePath(),
                       "CREATE TRIGGER NoReplies BEFORE INSERT ON GuestsMemberReplies BEGIN "
                       "SELECT RAISE(ABORT, 'no'); END");
    Member m;
    m.party = kim;
    m.firstName = "Zed";
    m.setReply(Event::Reception, Reply::Attending);
    EXPECT_THROW(addMember(*db_, m), store::StoreError);
    EXPECT_EQ(names(kim), "Kay");
    EXPECT_EQ(counts(kim), "1/0/0");
}

TEST_F(MemberStoreTest, MemberKeysSurviveCompactionAndRepair)
{
    store::Workspace::defaultWorkspace().close();
    const QString path = program_->databasePath();
    QString parties, members;
    for (int i = 0; i < 600; ++i)
        parties += QStringLiteral("%1('P%2', '%3')").arg(i ? "," : "").arg(i).arg(QString(200, 'x'));
    storetest::rawExec(path, "INSERT INTO Guests (LastName, Address) VALUES " + parties);
    for (int i = 0; i < 1800; ++i)
        members += QStringLiteral("%1(%2, %3, 'M%4', '%5')")
                       .arg(i ? "," : "")
                       .arg(i / 3 + 1)
                       .arg(i % 3)
                       .arg(i)
                       .arg(QString(200, 'y'));
    storetest::rawExec(path, "INSERT INTO GuestsMembers (PartyKey, SortOrder, FirstName, Note) VALUES " +
                                 members +
                                 "; DELETE FROM GuestsMembers WHERE MemberId % 4 = 0;"
                                 "INSERT INTO GuestsMemberReplies SELECT MemberId, 'Reception', 'Attending' "
                                 "FROM GuestsMembers");
    const QString keys =
        "SELECT group_concat(MemberId || '=' || FirstName || '@' || PartyKey) FROM GuestsMembers";
    const QString before = storetest::rawValue(path, keys);
    const QString compacted = program_->file("compacted.mdb");
    store::Workspace::compactDatabase(path, compacted);
    EXPECT_EQ(storetest::rawValue(compacted, keys), before);

    const int pages = int(QFile(compacted).size() / 4096);
    {
        QFile f(compacted);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(qint64(pages * 3 / 4) * 4096);
        f.write(QByteArray(4096, char(0xA5)));
    }
    ASSERT_TRUE(store::Workspace::repairDatabase(compacted).wasDamaged);
    const QStringList after = storetest::rawValue(compacted, keys).split(',');
    EXPECT_GT(after.size(), 1000);
    const QStringList all = before.split(',');
    for (const QString& key : after)
        EXPECT_TRUE(all.contains(key)) << key.toStdString();
    // A new member never takes the key of one that was removed.
    storetest::rawExec(compacted, "INSERT INTO GuestsMembers (PartyKey, FirstName) VALUES (1, 'New')");
    EXPECT_EQ(storetest::rawValue(compacted, "SELECT MemberId FROM GuestsMembers WHERE FirstName = 'New'"),
              "1801");
}
