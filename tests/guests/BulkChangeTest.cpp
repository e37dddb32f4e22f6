// Changing many parties at once and undoing it: each change touches exactly the parties picked,
// in one transaction after a backup; Undo puts the file's rows back exactly and refuses, changing
// nothing, once anything has changed since.
#include "guests/BulkChange.h"
#include "guests/MemberStore.h"
#include "store/Backup.h"
#include "store/Handle.h"
#include "store/Store.h"
#include "store/Undo.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

#include <sqlite3.h>

using namespace guests;
using K = BulkChange::Kind;

namespace {

class BulkChanges : public ::testing::Test {
protected:
    void SetUp() override
    {
        program_ = std::make_unique<testsupport::ProgramDir>();
        db_ = &store::Workspace::defaultWorkspace().openDatabase(program_->databasePath());
        db_->execute("INSERT INTO Tables (tablename, tablenumber, max, assigned) VALUES ('Rose', 1, 8, 5)");
        table_ = db_->openRecordset("SELECT TableId FROM Tables", store::RecordsetType::Snapshot)
                     ->value(0)
                     .toLongLong();
        // Ana: seated with 2, attending; Ben: invited to the reception, no reply; Chloé: declined,
        // a wedding gift with its card sent; Dan: not invited anywhere, an engagement gift; Émile:
        // seated with 3, a wedding gift without its card.
        add("Ana", "Alves", "Bride", true, 2, true, 2, table_, 2, "", false);
        add("Ben", "Brown", "Groom", true, 2, false, 0, 0, 0, "", false);
        add(QString::fromUtf8("Chloé"), "Costa", "Both", true, 1, true, 0, 0, 0, "Vase", true);
        add("Dan", "Dunn", "Groom", false, 1, false, 0, 0, 0, "", false, "Book");
        add(QString::fromUtf8("Émile"), "Evans", "Bride", true, 3, true, 3, table_, 3, "Clock", false);
    }
    void TearDown() override { store::Workspace::defaultWorkspace().close(); }

    // SQL the program never runs (tables and triggers of the test's own), on the open connection.
    void raw(const char* sql)
    {
        ASSERT_EQ(sqlite3_exec(store::handleOf(*db_), sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    }

    void add(const QString& first, const QString& last, const QString& side, bool reception, int invited,
             bool confirmed, int attending, qint64 table, int seats, const QString& weddingGift,
             bool cardSent, const QString& engagementGift = {})
    {
        db_->execute(
            "INSERT INTO Guests (Prefix, FirstName, LastName, guestof, InvReception, Invited, Confirmed, "
            "NumberAttending, tableid, tabletot, WeddingGift, WeddingNoteSent, EngageGift) VALUES ('Mr.', ?, "
            "?, "
            "?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {first, last, side, reception, invited, confirmed, attending, table, seats, weddingGift, cardSent,
             engagementGift});
    }
    qint64 key(const QString& last)
    {
        auto set = db_->openRecordset("Guests", store::RecordsetType::Dynaset);
        set->findFirst("[LastName] = ?", {last});
        return set->noMatch() ? 0 : set->bookmark();
    }
    std::vector<qint64> keys(const QStringList& lasts)
    {
        std::vector<qint64> k;
        for (const QString& l : lasts)
            k.push_back(key(l));
        return k;
    }
    QVariant field(const QString& last, const QString& name)
    {
        auto set = db_->openRecordset("Guests", store::RecordsetType::Dynaset);
        set->findFirst("[LastName] = ?", {last});
        return set->noMatch() ? QVariant() : set->value(name);
    }
    qint64 assigned()
    {
        return db_->openRecordset("Tables", store::RecordsetType::Snapshot)->value("assigned").toLongLong();
    }
    int backups(store::backup::Reason reason)
    {
        int n = 0;
        for (const auto& e : store::backup::list(program_->databasePath(), false))
            n += e.reason == reason;
        return n;
    }
    BulkOutcome apply(const QStringList& lasts, const BulkChange& change)
    {
        return applyChange(*db_, keys(lasts), change);
    }

    std::unique_ptr<testsupport::ProgramDir> program_;
    store::Database* db_ = nullptr;
    qint64 table_ = 0;
};

BulkChange invite(Event e)
{
    return {K::Invite, e, {}, Reply::Attending, Occasion::Wedding};
}

}  // namespace

TEST_F(BulkChanges, EachChangeTouchesExactlyThePartiesPickedAndSaysWhatItDid)
{
    const auto before = store::undo::digests(*db_);
    BulkOutcome done = apply({"Alves", "Dunn"}, invite(Event::Shower));
    EXPECT_EQ(done.changed(), 2);
    EXPECT_EQ(done.summary(), "Invited 2 parties to the shower.");
    EXPECT_TRUE(field("Alves", "ShowerGuest").toBool());
    EXPECT_TRUE(field("Dunn", "ShowerGuest").toBool());
    EXPECT_FALSE(field("Brown", "ShowerGuest").toBool()) << "a party not picked is left alone";
    EXPECT_EQ(backups(store::backup::Reason::Change), 1);

    done = apply({"Alves", "Brown", "Dunn"}, invite(Event::Shower));
    EXPECT_EQ(done.changed(), 1);
    EXPECT_EQ(done.summary(), "Invited 1 party to the shower. 2 parties needed no change.");

    done =
        apply({"Brown", "Costa"}, {K::Side, Event::Reception, "Bride", Reply::Attending, Occasion::Wedding});
    EXPECT_EQ(field("Brown", "guestof").toString(), "Bride");
    EXPECT_EQ(field("Costa", "guestof").toString(), "Bride");
    EXPECT_EQ(field("Dunn", "guestof").toString(), "Groom");

    // A reply sets the reception's two fields; a party not at the reception keeps its reply.
    done = apply({"Brown", "Costa", "Dunn"},
                 {K::Reply, Event::Reception, {}, Reply::Attending, Occasion::Wedding});
    EXPECT_EQ(done.changed(), 2);
    EXPECT_TRUE(done.summary().contains("1 party not invited to the reception kept their reply."));
    EXPECT_TRUE(field("Brown", "Confirmed").toBool());
    EXPECT_EQ(field("Brown", "NumberAttending").toInt(), 2) << "everyone invited is attending";
    EXPECT_EQ(field("Costa", "NumberAttending").toInt(), 1);
    EXPECT_FALSE(field("Dunn", "Confirmed").toBool());
    apply({"Brown"}, {K::Reply, Event::Reception, {}, Reply::None, Occasion::Wedding});
    EXPECT_FALSE(field("Brown", "Confirmed").toBool());
    EXPECT_EQ(field("Brown", "NumberAttending").toInt(), 0);

    // Thank-you cards only where there is a gift of that occasion.
    done = apply({"Costa", "Dunn", "Evans"},
                 {K::ThankYouSent, Event::Reception, {}, Reply::Attending, Occasion::Wedding});
    EXPECT_EQ(done.changed(), 1);
    EXPECT_EQ(done.plan.alreadySo, 1);
    EXPECT_EQ(done.plan.noGift, 1);
    EXPECT_TRUE(field("Evans", "WeddingNoteSent").toBool());
    EXPECT_FALSE(field("Dunn", "WeddingNoteSent").toBool());
    EXPECT_NE(store::undo::digests(*db_), before);
}

TEST_F(BulkChanges, TakingPartiesOffTheReceptionOrDeletingThemGivesTheirSeatsBack)
{
    BulkOutcome done =
        apply({"Alves"}, {K::Uninvite, Event::Reception, {}, Reply::Attending, Occasion::Wedding});
    EXPECT_EQ(done.seatsReleased, 1);
    EXPECT_FALSE(field("Alves", "InvReception").toBool());
    EXPECT_EQ(field("Alves", "tableid").toLongLong(), 0);
    EXPECT_EQ(assigned(), 3) << "Ana's 2 seats are free again";
    done = apply({"Evans", "Brown"}, {K::Delete, Event::Reception, {}, Reply::Attending, Occasion::Wedding});
    EXPECT_EQ(done.summary(), "Deleted 2 parties. 1 party gave back their seats at the reception tables.");
    EXPECT_EQ(key("Evans"), 0);
    EXPECT_EQ(key("Brown"), 0);
    EXPECT_NE(key("Costa"), 0);
    EXPECT_EQ(assigned(), 0);
    // Nothing to change: no backup, no transaction, and what could be undone stays.
    const int made = backups(store::backup::Reason::Change);
    done = apply({"Costa"}, invite(Event::Reception));
    EXPECT_EQ(done.changed(), 0);
    EXPECT_TRUE(done.backupPath.isEmpty());
    EXPECT_EQ(backups(store::backup::Reason::Change), made);
    EXPECT_EQ(store::undo::last(program_->databasePath())->what, "Delete 2 parties");
}

TEST_F(BulkChanges, AFailureHalfwayLeavesEveryPartyAsItWas)
{
    // The last party's row refuses the change: the parties written before it go back too.
    raw("CREATE TRIGGER refuse BEFORE UPDATE ON Guests WHEN new.LastName = 'Evans' "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    const auto before = store::undo::digests(*db_);
    EXPECT_THROW(apply({"Alves", "Brown", "Dunn", "Evans"}, invite(Event::Rehearsal)), store::StoreError);
    EXPECT_EQ(store::undo::digests(*db_), before);
    EXPECT_EQ(store::Workspace::defaultWorkspace().transactionDepth(), 0);
    EXPECT_FALSE(store::undo::last(program_->databasePath()).has_value()) << "nothing was changed to undo";
}

TEST_F(BulkChanges, UndoPutsBackExactlyWhatTheFileHeldAndThenHasNothingLeft)
{
    const auto before = store::undo::digests(*db_);
    const qint64 evans = key("Evans");
    apply({"Alves", "Evans", "Costa"},
          {K::Delete, Event::Reception, {}, Reply::Attending, Occasion::Wedding});
    ASSERT_EQ(store::undo::last(program_->databasePath())->what, "Delete 3 parties");
    EXPECT_EQ(store::undo::undoLast(*db_), "Delete 3 parties");
    EXPECT_EQ(store::undo::digests(*db_), before) << "every table's rows as they were";
    EXPECT_EQ(key("Evans"), evans) << "a party keeps its key";
    EXPECT_EQ(assigned(), 5);
    EXPECT_EQ(backups(store::backup::Reason::Undo), 1) << "a backup of the file before the undo";
    try {
        store::undo::undoLast(*db_);
        FAIL() << "a second undo";
    } catch (const store::StoreError& e) {
        EXPECT_EQ(e.description(), "There is nothing to undo.");
    }
    EXPECT_EQ(store::undo::digests(*db_), before);
}

TEST_F(BulkChanges, UndoRefusesInWordsOnceAnythingHasChangedSinceAndChangesNothing)
{
    apply({"Brown"}, invite(Event::Ceremony));
    db_->execute("UPDATE Guests SET City = 'Lisbon' WHERE LastName = 'Costa'");
    const auto now = store::undo::digests(*db_);
    try {
        store::undo::undoLast(*db_);
        FAIL() << "undo after a later change";
    } catch (const store::StoreError& e) {
        EXPECT_TRUE(e.description().startsWith(
            QString::fromUtf8("The wedding has changed since \u201CInvite 1 party to the ceremony\u201D")))
            << e.description().toStdString();
        EXPECT_TRUE(e.description().endsWith("Nothing was changed."));
    }
    EXPECT_EQ(store::undo::digests(*db_), now);
    EXPECT_TRUE(field("Brown", "InvCeremony").toBool());
    // Putting the later change back as it was makes the undo possible again.
    db_->execute("UPDATE Guests SET City = NULL WHERE LastName = 'Costa'");
    EXPECT_NO_THROW(store::undo::undoLast(*db_));
    EXPECT_FALSE(field("Brown", "InvCeremony").toBool());
}

TEST_F(BulkChanges, UndoWithoutItsBackupOrWithTriggersStaysExact)
{
    BulkOutcome done = apply({"Brown"}, invite(Event::Ceremony));
    ASSERT_TRUE(QFile::remove(done.backupPath));
    try {
        store::undo::undoLast(*db_);
        FAIL() << "undo without its backup";
    } catch (const store::StoreError& e) {
        EXPECT_TRUE(e.description().contains("is no longer in the backups folder"))
            << e.description().toStdString();
    }
    EXPECT_TRUE(field("Brown", "InvCeremony").toBool());

    // Rows kept beside a party and removed with it by a trigger come back with it, and the
    // trigger does not run while they are put back.
    raw("CREATE TABLE GuestsNotes (GuestKey INTEGER, note TEXT)");
    raw("INSERT INTO GuestsNotes SELECT rowid, 'note of ' || LastName FROM Guests");
    raw("CREATE TRIGGER notes AFTER DELETE ON Guests BEGIN DELETE FROM GuestsNotes WHERE "
        "GuestKey = old.rowid; END");
    const auto before = store::undo::digests(*db_);
    apply({"Alves", "Dunn"}, {K::Delete, Event::Reception, {}, Reply::Attending, Occasion::Wedding});
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(store::handleOf(*db_), "SELECT count(*) FROM GuestsNotes", -1, &st, nullptr);
    sqlite3_step(st);
    EXPECT_EQ(sqlite3_column_int(st, 0), 3) << "the trigger took the notes of the parties deleted";
    sqlite3_finalize(st);
    store::undo::undoLast(*db_);
    EXPECT_EQ(store::undo::digests(*db_), before);
}

TEST_F(BulkChanges, WhatUndoKeepsIsReadWarily)
{
    apply({"Brown"}, invite(Event::Ceremony));
    const QString record = store::backup::folderFor(program_->databasePath()) + "/wedding-undo.json";
    ASSERT_TRUE(QFile::exists(record));
    const auto now = store::undo::digests(*db_);
    for (const QByteArray& junk :
         {QByteArray("\x89PNG\r\n\x1a\n\0\0garbage", 18), QByteArray("{\"what\": 5}"),
          QByteArray("{\"what\": \"x\", \"backup\": \"../../wedding.mdb\"}")}) {
        QFile file(record);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(junk);
        file.close();
        EXPECT_FALSE(store::undo::last(program_->databasePath()).has_value()) << junk.toStdString();
        EXPECT_THROW(store::undo::undoLast(*db_), store::StoreError);
        EXPECT_EQ(store::undo::digests(*db_), now);
    }
}

TEST_F(BulkChanges, DeletingPartiesTakesTheirMembersAndUndoBringsThemBack)
{
    for (const char* first : {"Ana", "Rui", "Inês"}) {
        Member m;
        m.party = key("Alves");
        m.firstName = QString::fromUtf8(first);
        m.lastName = "Alves";
        addMember(*db_, m);
    }
    const auto members = [&] {
        return db_->openRecordset("SELECT count(*) FROM GuestsMembers", store::RecordsetType::Snapshot)
            ->value(0)
            .toInt();
    };
    ASSERT_EQ(members(), 3);
    const auto before = store::undo::digests(*db_);
    apply({"Alves", "Brown"}, {K::Delete, Event::Reception, {}, Reply::Attending, Occasion::Wedding});
    EXPECT_EQ(members(), 0);
    store::undo::undoLast(*db_);
    EXPECT_EQ(members(), 3);
    EXPECT_EQ(store::undo::digests(*db_), before);
    EXPECT_EQ(loadMembers(*db_, key("Alves")).size(), 3u);
}
