// Members' seats in the wedding file: automatic seating gives each party's members seats side
// by side in member order; a member dragged on the plan to another seat swaps with whoever
// sits there; seats follow their party (moved, unseated, removed) and their member; undo of a
// seating plan, the program's and the floor plan's, puts the seats back too.
#include "SeatingFixture.h"

#include "seating/FloorPlanScene.h"
#include "seating/FloorPlanView.h"
#include "seating/MemberSeats.h"
#include "seating/SeatPlanStore.h"
#include "seating/SeatingActions.h"
#include "seating/frmFloorPlan.h"
#include "store/Undo.h"

#include <QPushButton>
#include <QTest>

using seating::SeatItem;

namespace {

class MemberSeatsTest : public seatingtest::SeatingTest {
protected:
    // A party invited to the reception with a member of each name (in that order).
    qint64 withMembers(const QString& last, const QStringList& members, qint64 table = 0)
    {
        const qint64 key =
            addParty("Mr.", "Al", last, int(members.size()), table, table ? int(members.size()) : 0);
        db->execute("UPDATE Guests SET InvReception = True, guestof = 'Bride' WHERE rowid = ?", {key});
        int order = 0;
        for (const QString& first : members) {
            db->execute(
                "INSERT INTO GuestsMembers (PartyKey, SortOrder, FirstName, LastName) VALUES (?, ?, ?, ?)",
                {key, ++order, first, last});
            ids[first] = lastRowid();
        }
        return key;
    }

    // "member:table/seat" for every kept seat, in member order.
    QString seats() const
    {
        QStringList text;
        auto rs = db->openRecordset(
            "SELECT m.FirstName, s.TableId, s.Seat FROM GuestsSeats s JOIN GuestsMembers m ON m.MemberId = "
            "s.MemberId ORDER BY s.TableId, s.Seat",
            store::RecordsetType::Snapshot);
        for (; !rs->eof(); rs->moveNext())
            text << rs->value(0).toString() + ':' + rs->value(1).toString() + '/' + rs->value(2).toString();
        return text.join(' ');
    }
    int seatOf(const QString& member) const
    {
        auto rs = db->openRecordset("SELECT Seat FROM GuestsSeats WHERE MemberId = ?", {ids.value(member)},
                                    store::RecordsetType::Snapshot);
        return rs->eof() ? -1 : rs->value(0).toInt();
    }

    void open(frmFloorPlan& plan)
    {
        plan.Form_Load();
        testsupport::showActive(&plan);
        testsupport::pumpEvents();
    }

    // Drags a member's seat mark onto another seat of its table, with the mouse on the view.
    void dragSeat(frmFloorPlan& plan, const QString& member, int toSeat)
    {
        SeatItem* item = plan.scene()->seatItem(ids.value(member));
        ASSERT_NE(item, nullptr);
        auto* table = static_cast<seating::TableItem*>(item->parentItem());
        QWidget* viewport = plan.viewPlan->viewport();
        const QPoint a = plan.viewPlan->mapFromScene(item->scenePos());
        const QPoint b = plan.viewPlan->mapFromScene(table->mapToScene(table->seatPosition(toSeat)));
        QTest::mousePress(viewport, Qt::LeftButton, {}, a);
        QTest::mouseMove(viewport, a + (b - a) / 2);
        QTest::mouseMove(viewport, b);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, b);
        testsupport::pumpEvents();
    }

    QHash<QString, qint64> ids;
};

}  // namespace

TEST_F(MemberSeatsTest, AutomaticSeatingSeatsEachPartysMembersSideBySideAndUndoPutsSeatsBack)
{
    const qint64 oak = addTable("Oak", 8, 2, 1);
    const qint64 elm = addTable("Elm", 8, 0, 2);
    const qint64 early = withMembers("Early", {"Eve", "Ezra"}, oak);
    db->execute("INSERT INTO GuestsSeats (MemberId, TableId, Seat) VALUES (?, ?, 3), (?, ?, 4)",
                {ids["Eve"], oak, ids["Ezra"], oak});
    withMembers("Adams", {"Ann", "Abe", "Amy"});
    withMembers("Brown", {"Bo", "Bea"});
    withMembers("Cole", {"Cy", "Cat", "Cal"});
    addParty("Ms.", "Di", "Dunn", 2);  // a party without members takes seats as before
    db->execute("UPDATE Guests SET InvReception = True WHERE LastName = 'Dunn'");
    const QString before = seats();

    seating::SeatProblem problem = seating::loadProblem(*db, false);
    problem.timeLimitSeconds = 5;
    const seating::SeatPlan plan = seating::solveSeating(problem);
    ASSERT_TRUE(plan.complete());
    seating::applyPlanKept(*db, problem, plan);

    // The party already seated keeps its seats; every other member has one, party by party in
    // consecutive seats of its table and in member order, no seat given twice.
    EXPECT_EQ(seatOf("Eve"), 3);
    EXPECT_EQ(seatOf("Ezra"), 4);
    EXPECT_EQ(party(early).tableid, oak);
    for (const QStringList& members :
         {QStringList{"Ann", "Abe", "Amy"}, {"Bo", "Bea"}, {"Cy", "Cat", "Cal"}}) {
        for (int i = 1; i < members.size(); ++i)
            EXPECT_EQ(seatOf(members[i]), (seatOf(members[i - 1]) + 1) % 8) << seats().toStdString();
    }
    QSet<QString> places;
    auto rs = db->openRecordset("SELECT TableId, Seat FROM GuestsSeats", store::RecordsetType::Snapshot);
    for (; !rs->eof(); rs->moveNext())
        places.insert(rs->value(0).toString() + '/' + rs->value(1).toString());
    EXPECT_EQ(places.size(), 10);
    EXPECT_EQ(db->openRecordset("SELECT count(*) FROM GuestsSeats WHERE TableId NOT IN (?, ?)", {oak, elm},
                                store::RecordsetType::Snapshot)
                  ->value(0)
                  .toInt(),
              0);

    // Undo puts the file back as it was, seats and all.
    store::undo::undoLast(*db);
    EXPECT_EQ(seats(), before);
    EXPECT_EQ(party(early).tableid, oak);
}

TEST_F(MemberSeatsTest, AMemberWhoDeclinedTakesNoSeatAndAPartyNoMoreThanItsSeatedPeople)
{
    const qint64 oak = addTable("Oak", 8);
    const qint64 kim = withMembers("Kim", {"Kai", "Kit", "Kip"});
    db->execute("INSERT INTO GuestsMemberReplies VALUES (?, 'Reception', 'Declined')", {ids["Kit"]});
    dialogs->inputAnswers = {{true, "1"}};  // of its three invited, one takes a seat
    ASSERT_TRUE(seating::seatParty(*db, kim, oak, nullptr));
    EXPECT_EQ(seats(), QString("Kai:%1/0").arg(oak));

    seating::unseatParty(*db, kim);
    dialogs->inputAnswers = {{true, "3"}};
    ASSERT_TRUE(seating::seatParty(*db, kim, oak, nullptr));
    EXPECT_EQ(seats(), QString("Kai:%1/0 Kip:%1/1").arg(oak));
}

TEST_F(MemberSeatsTest, DraggingAMemberToAnotherSeatSwapsOrMovesAndIsKept)
{
    const qint64 oak = addTable("Oak", 6, 0, 1);
    const qint64 lee = withMembers("Lee", {"Lin", "Lou", "Lux"});
    dialogs->inputAnswers = {{true, "3"}};
    ASSERT_TRUE(seating::seatParty(*db, lee, oak, nullptr));
    ASSERT_EQ(seats(), QString("Lin:%1/0 Lou:%1/1 Lux:%1/2").arg(oak));

    frmFloorPlan plan;
    open(plan);
    ASSERT_NE(plan.scene()->seatItem(ids["Lou"]), nullptr);
    EXPECT_EQ(plan.scene()->seatItem(ids["Lou"])->seat().name, "Lou Lee");
    // Onto a taken seat: the two swap.
    dragSeat(plan, "Lin", 2);
    EXPECT_EQ(seats(), QString("Lux:%1/0 Lou:%1/1 Lin:%1/2").arg(oak));
    // Onto a free seat: the member moves there alone.
    dragSeat(plan, "Lou", 4);
    EXPECT_EQ(seats(), QString("Lux:%1/0 Lin:%1/2 Lou:%1/4").arg(oak));
    // Dropped where no seat is: nothing changes.
    SeatItem* item = plan.scene()->seatItem(ids["Lux"]);
    const QPoint a = plan.viewPlan->mapFromScene(item->scenePos());
    QTest::mousePress(plan.viewPlan->viewport(), Qt::LeftButton, {}, a);
    QTest::mouseMove(plan.viewPlan->viewport(), a + QPoint(150, 150));
    QTest::mouseRelease(plan.viewPlan->viewport(), Qt::LeftButton, {}, a + QPoint(150, 150));
    testsupport::pumpEvents();
    EXPECT_EQ(seats(), QString("Lux:%1/0 Lin:%1/2 Lou:%1/4").arg(oak));
    EXPECT_TRUE(dialogs->messages().empty());

    // The seats are read back as kept when the plan opens again.
    frmFloorPlan again;
    open(again);
    EXPECT_EQ(again.scene()->seatItem(ids["Lou"])->seat().seat, 4);
    EXPECT_FALSE(seating::moveMemberToSeat(*db, ids["Lou"], 6));  // no seat 7 at a table of 6
    EXPECT_FALSE(seating::moveMemberToSeat(*db, ids["Lou"], 4));
}

TEST_F(MemberSeatsTest, SeatsGoWhenThePartyMovesIsUnseatedOrRemovedAndWithTheMemberOrTable)
{
    const qint64 oak = addTable("Oak", 6);
    const qint64 elm = addTable("Elm", 6);
    const qint64 ng = withMembers("Ng", {"Nia", "Ned"});
    const qint64 ota = withMembers("Ota", {"Oli", "Ona"});
    dialogs->inputAnswers = {{true, "2"}, {true, "2"}};
    ASSERT_TRUE(seating::seatParty(*db, ng, oak, nullptr));
    ASSERT_TRUE(seating::seatParty(*db, ota, oak, nullptr));
    ASSERT_TRUE(seating::moveMemberToSeat(*db, ids["Nia"], 5));
    EXPECT_EQ(seats(), QString("Ned:%1/1 Oli:%1/2 Ona:%1/3 Nia:%1/5").arg(oak));

    // Moved to another table: the party's kept seats there go, and it sits together again.
    dialogs->inputAnswers = {{true, "2"}};
    ASSERT_TRUE(seating::seatParty(*db, ng, elm, nullptr));
    EXPECT_EQ(seats(), QString("Oli:%1/2 Ona:%1/3 Nia:%2/0 Ned:%2/1").arg(oak).arg(elm));
    // Unseated, or by a change of the table outside the seating windows: no seats left.
    seating::unseatParty(*db, ng);
    EXPECT_EQ(seats(), QString("Oli:%1/2 Ona:%1/3").arg(oak));
    db->execute("UPDATE Guests SET tabletot = 2 WHERE rowid = ?", {ota});  // not a move
    EXPECT_EQ(seats(), QString("Oli:%1/2 Ona:%1/3").arg(oak));
    // A member removed takes its seat; a party removed, its members' seats.
    db->execute("DELETE FROM GuestsMembers WHERE MemberId = ?", {ids["Ona"]});
    EXPECT_EQ(seats(), QString("Oli:%1/2").arg(oak));
    db->execute("DELETE FROM Guests WHERE rowid = ?", {ota});
    EXPECT_EQ(seats(), "");
    EXPECT_EQ(db->openRecordset("SELECT count(*) FROM GuestsMembers", store::RecordsetType::Snapshot)
                  ->value(0)
                  .toInt(),
              2);

    // A table removed takes the seats at it.
    dialogs->inputAnswers = {{true, "2"}};
    ASSERT_TRUE(seating::seatParty(*db, ng, elm, nullptr));
    db->execute("DELETE FROM Tables WHERE TableId = ?", {elm});
    EXPECT_EQ(seats(), "");
}

TEST_F(MemberSeatsTest, TheFloorPlansUndoSeatingPutsMembersSeatsBack)
{
    const qint64 oak = addTable("Oak", 6, 2, 1);
    withMembers("Park", {"Pia", "Pat"}, oak);
    db->execute("INSERT INTO GuestsSeats (MemberId, TableId, Seat) VALUES (?, ?, 4), (?, ?, 5)",
                {ids["Pia"], oak, ids["Pat"], oak});
    withMembers("Quinn", {"Quy", "Qin"});
    const QString before = seats();
    frmFloorPlan plan;
    open(plan);
    plan.proposePlan(true, 5);  // everyone re-seated: Park may move too
    ASSERT_TRUE(plan.hasProposal());
    // The proposal shows where the members would sit, before anything is written.
    const seating::MemberSeat proposed = plan.scene()->seatItem(ids["Qin"])->seat();
    EXPECT_EQ(proposed.table, oak);
    EXPECT_EQ(seats(), before);
    QTest::mouseClick(plan.cmdApply, Qt::LeftButton);
    EXPECT_NE(seatOf("Quy"), -1);
    EXPECT_EQ(seatOf("Qin"), proposed.seat);
    QTest::mouseClick(plan.cmdUndo, Qt::LeftButton);
    EXPECT_EQ(seats(), before);
    EXPECT_EQ(plan.scene()->seatItem(ids["Quy"]), nullptr);
    EXPECT_EQ(plan.scene()->seatItem(ids["Pia"])->seat().seat, 4);
}

TEST_F(MemberSeatsTest, UndoSeatingLeavesTheSeatsAtTablesThePlanDidNotTouch)
{
    const qint64 oak = addTable("Oak", 6, 2, 1);
    const qint64 elm = addTable("Elm", 2, 2, 2);  // full: the plan seats no one there
    withMembers("Park", {"Pia", "Pat"}, oak);
    withMembers("Rao", {"Ravi", "Rui"}, elm);
    const qint64 quinn = withMembers("Quinn", {"Quy", "Qin"});
    frmFloorPlan plan;
    open(plan);
    plan.proposePlan(false, 5);
    ASSERT_TRUE(plan.hasProposal());
    QTest::mouseClick(plan.cmdApply, Qt::LeftButton);
    ASSERT_EQ(party(quinn).tableid, oak);
    EXPECT_EQ(seatOf("Pia"), 0);  // the table the plan seated at: every member there has a seat
    EXPECT_EQ(seatOf("Qin"), 3);
    // Changed after the plan, at a table it did not touch: Undo Seating leaves it so.
    ASSERT_TRUE(seating::moveMemberToSeat(*db, ids["Ravi"], 1));
    const QString atElm = QString("Rui:%1/0 Ravi:%1/1").arg(elm);
    EXPECT_TRUE(seats().endsWith(atElm)) << seats().toStdString();
    QTest::mouseClick(plan.cmdUndo, Qt::LeftButton);
    EXPECT_EQ(seatOf("Quy"), -1);
    EXPECT_TRUE(seats().endsWith(atElm)) << seats().toStdString();
    EXPECT_EQ(seatOf("Pia"), -1);  // Oak as it was: no seats kept there
    EXPECT_EQ(plan.scene()->seatItem(ids["Pat"])->seat().seat, 1);
}
