// The floor plan driven with the mouse and keys as a person would: parties dragged from
// the list onto tables, between tables and off them, with the seating manager's prompts and
// the same rows written; the seating manager and the plan agreeing; table places kept
// across sessions; automatic seating shown, applied and undone exactly.
#include "SeatingFixture.h"

#include "seating/FloorPlanScene.h"
#include "seating/FloorPlanView.h"
#include "seating/SeatPlanStore.h"
#include "seating/SeatRules.h"
#include "seating/frmFloorPlan.h"
#include "shell/Paths.h"

#include <QAbstractButton>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

using controls::DialogCall;
using seating::PartyItem;
using seating::TableItem;

namespace {

class FloorPlanTest : public seatingtest::SeatingTest {
protected:
    qint64 guest(const QString& last, int invited, qint64 table = 0, int seated = 0,
                 const QString& side = "Bride")
    {
        const qint64 key = addParty("Mr.", "Al", last, invited, table, seated);
        db->execute("UPDATE Guests SET InvReception = True, guestof = ? WHERE LastName = ?", {side, last});
        return key;
    }

    void open(frmFloorPlan& plan)
    {
        plan.Form_Load();
        testsupport::showActive(&plan);
        testsupport::pumpEvents();
    }

    // Viewport point of a scene point.
    static QPoint inView(frmFloorPlan& plan, QPointF scenePoint)
    {
        return plan.viewPlan->mapFromScene(scenePoint);
    }

    // Drags an entry of the unseated list onto a scene point, with the mouse.
    void dragFromList(frmFloorPlan& plan, qint64 party, QPointF scenePoint)
    {
        const int row = rowOfParty(plan.lstUnseated, party);
        ASSERT_GE(row, 0);
        QWidget* list = plan.lstUnseated->viewport();
        const QPoint start = plan.lstUnseated->visualItemRect(plan.lstUnseated->item(row)).center();
        const QPoint end =
            list->mapFromGlobal(plan.viewPlan->viewport()->mapToGlobal(inView(plan, scenePoint)));
        QTest::mousePress(list, Qt::LeftButton, {}, start);
        QTest::mouseMove(list, start + QPoint(12, 0));
        QTest::mouseMove(list, end);
        QTest::mouseRelease(list, Qt::LeftButton, {}, end);
        testsupport::pumpEvents();
    }

    // Drags with the mouse inside the plan, from one scene point to another.
    void dragInPlan(frmFloorPlan& plan, QPointF from, QPointF to)
    {
        QWidget* viewport = plan.viewPlan->viewport();
        const QPoint a = inView(plan, from), b = inView(plan, to);
        QTest::mousePress(viewport, Qt::LeftButton, {}, a);
        QTest::mouseMove(viewport, a + (b - a) / 2);
        QTest::mouseMove(viewport, b);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, b);
        testsupport::pumpEvents();
    }

    static QPointF centreOf(frmFloorPlan& plan, qint64 table)
    {
        return plan.scene()->tableItem(table)->pos();
    }
    static QPointF partyAt(frmFloorPlan& plan, qint64 party)
    {
        PartyItem* item = plan.scene()->partyItem(party);
        return item->mapToScene(item->boundingRect().center());
    }

    QString seatingDump() const
    {
        QString text;
        auto g = db->openRecordset("SELECT LastName, tableid, tabletot FROM Guests ORDER BY LastName",
                                   store::RecordsetType::Snapshot);
        for (; !g->eof(); g->moveNext())
            text +=
                g->value(0).toString() + ':' + g->value(1).toString() + '/' + g->value(2).toString() + ' ';
        auto t = db->openRecordset("SELECT TableId, assigned FROM Tables ORDER BY TableId",
                                   store::RecordsetType::Snapshot);
        for (; !t->eof(); t->moveNext())
            text += 'T' + t->value(0).toString() + '=' + t->value(1).toString() + ' ';
        return text;
    }
};

}  // namespace

TEST_F(FloorPlanTest, DroppingAPartyOnATableAsksAndSeatsItAsAddGuestDoes)
{
    const qint64 oak = addTable("Oak", 8, 3);
    const qint64 full = addTable("Full", 4, 4);
    const qint64 smith = guest("Smith", 2);
    frmFloorPlan plan;
    open(plan);

    // A full table refuses without asking.
    dragFromList(plan, smith, centreOf(plan, full));
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].text, "You have no more seats available at this table.");
    EXPECT_EQ(dialogs->calls[0].title, "Can't Add Guest");

    // Too many, then 0, then a good answer.
    dialogs->clear();
    dialogs->inputAnswers = {{true, "6"}, {true, "0"}, {true, "2"}};
    dragFromList(plan, smith, centreOf(plan, oak));
    ASSERT_GE(dialogs->calls.size(), 4u);
    EXPECT_EQ(dialogs->calls[0].kind, DialogCall::Kind::InputBox);
    EXPECT_EQ(dialogs->calls[0].text, seating::seatPromptText("Mr. Al Smith", 5));
    EXPECT_EQ(dialogs->calls[0].title, "Assign Guests to Oak");
    EXPECT_EQ(dialogs->calls[0].defaultText, "2");
    EXPECT_EQ(dialogs->beepCount(), 1);
    const auto messages = dialogs->messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].title, "Not Enough Room");
    EXPECT_EQ(messages[0].text, "You only have 5 seats available at this table");
    EXPECT_EQ(messages[1].title, "How many  people?");

    EXPECT_EQ(party(smith).tableid, oak);
    EXPECT_EQ(party(smith).tabletot, 2);
    EXPECT_EQ(table(oak).assigned, 5);
    EXPECT_EQ(plan.lstUnseated->count(), 0);
    ASSERT_NE(plan.scene()->partyItem(smith), nullptr);
    EXPECT_EQ(plan.scene()->partyItem(smith)->party().table, oak);

    // Cancelling the prompt changes nothing.
    const qint64 jones = guest("Jones", 1);
    plan.reload();
    dialogs->clear();
    dragFromList(plan, jones, centreOf(plan, oak));
    EXPECT_EQ(party(jones).tableid, 0);
    EXPECT_EQ(table(oak).assigned, 5);
}

TEST_F(FloorPlanTest, DraggingBetweenTablesMovesAndOffATableUnseats)
{
    const qint64 a = addTable("Aspen", 8, 2, 1);
    const qint64 b = addTable("Birch", 8, 0, 2);
    const qint64 smith = guest("Smith", 2, a, 2);
    frmFloorPlan plan;
    open(plan);
    dialogs->inputAnswers = {{true, "2"}};
    dragInPlan(plan, partyAt(plan, smith), centreOf(plan, b));
    EXPECT_EQ(party(smith).tableid, b);
    EXPECT_EQ(table(a).assigned, 0);
    EXPECT_EQ(table(b).assigned, 2);

    // Off every table: unseated as "Remove Guest" does, without a question; tabletot stays.
    dialogs->clear();
    const QPointF empty = plan.scene()->itemsBoundingRect().bottomRight() + QPointF(-5, -5);
    ASSERT_EQ(plan.scene()->tableAt(empty), 0);
    dragInPlan(plan, partyAt(plan, smith), empty);
    EXPECT_TRUE(dialogs->calls.empty());
    EXPECT_EQ(party(smith).tableid, 0);
    EXPECT_EQ(party(smith).tabletot, 2);
    EXPECT_EQ(table(b).assigned, 0);
    EXPECT_EQ(rowOfParty(plan.lstUnseated, smith), 0);
}

TEST_F(FloorPlanTest, DeleteAsksBeforeUnseatingTheSelectedParty)
{
    const qint64 a = addTable("Aspen", 8, 2);
    const qint64 smith = guest("Smith", 2, a, 2);
    frmFloorPlan plan;
    open(plan);
    plan.scene()->partyItem(smith)->setSelected(true);
    plan.viewPlan->setFocus();
    dialogs->messageAnswers = {controls::mb::No};
    QTest::keyClick(plan.viewPlan, Qt::Key_Delete);
    testsupport::pumpEvents();
    ASSERT_EQ(dialogs->messages().size(), 1u);
    EXPECT_EQ(dialogs->messages()[0].text, "Remove Mr. Al Smith from Aspen?");
    EXPECT_EQ(party(smith).tableid, a);
    plan.scene()->partyItem(smith)->setSelected(true);
    dialogs->messageAnswers = {controls::mb::Yes};
    QTest::keyClick(plan.viewPlan, Qt::Key_Delete);
    testsupport::pumpEvents();
    EXPECT_EQ(party(smith).tableid, 0);
    EXPECT_EQ(table(a).assigned, 0);
}

TEST_F(FloorPlanTest, TablePlacesAndShapesSurviveClosingAndReopening)
{
    const qint64 a = addTable("Aspen", 8);
    const qint64 b = addTable("Birch", 10);
    QPointF moved;
    {
        frmFloorPlan plan;
        open(plan);
        // New tables stand in the grid.
        EXPECT_EQ(centreOf(plan, a), seating::gridPlace(0));
        EXPECT_EQ(centreOf(plan, b), seating::gridPlace(1));
        dragInPlan(plan, centreOf(plan, b) + QPointF(0, 40), centreOf(plan, b) + QPointF(300, 340));
        moved = centreOf(plan, b);
        EXPECT_NE(moved, seating::gridPlace(1));
        // Arrows move the selected table; the shape button turns it rectangular.
        plan.scene()->clearSelection();
        plan.scene()->tableItem(a)->setSelected(true);
        plan.viewPlan->setFocus();
        QTest::keyClick(plan.viewPlan, Qt::Key_Right);
        QTest::keyClick(plan.viewPlan, Qt::Key_Down);
        QTest::mouseClick(plan.cmdShape, Qt::LeftButton);
        testsupport::pumpEvents();
    }
    store::Workspace::defaultWorkspace().close();
    db = &store::Workspace::defaultWorkspace().openDatabase(dir.databasePath());
    frmFloorPlan again;
    open(again);
    EXPECT_EQ(centreOf(again, b), QPointF(qRound(moved.x()), qRound(moved.y())));
    EXPECT_EQ(centreOf(again, a), seating::gridPlace(0) + QPointF(10, 10));
    EXPECT_EQ(again.scene()->tableItem(a)->table().place.shape, seating::TableShape::Rectangle);
    EXPECT_EQ(again.scene()->tableItem(b)->table().place.shape, seating::TableShape::Round);
}

TEST_F(FloorPlanTest, TheSeatingManagerAndTheFloorPlanShowTheSameSeating)
{
    const qint64 oak = addTable("Oak", 8);
    const qint64 smith = guest("Smith", 2);
    const qint64 jones = guest("Jones", 3);
    frmSeater manager;
    SeatingTest::open(manager);
    // Seated with the manager's button: the plan shows it at its table.
    manager.List1->setCurrentRow(rowOfParty(manager.List1, smith));
    manager.List1_Click();
    dialogs->inputAnswers = {{true, "2"}, {true, "3"}};
    QTest::mouseClick(manager.Command5, Qt::LeftButton);
    controls::setModalHook([&](QWidget* window) {
        auto* plan = qobject_cast<frmFloorPlan*>(window);
        if (!plan)
            return 0;
        testsupport::showActive(plan);
        EXPECT_NE(plan->scene()->partyItem(smith), nullptr);
        EXPECT_EQ(rowOfParty(plan->lstUnseated, smith), -1);
        // Seated on the plan: the manager's lists show it once the plan closes.
        dragFromList(*plan, jones, centreOf(*plan, oak));
        return 0;
    });
    QTest::mouseClick(manager.cmdFloorPlan, Qt::LeftButton);
    EXPECT_EQ(party(jones).tableid, oak);
    EXPECT_EQ(table(oak).assigned, 5);
    EXPECT_EQ(rowOfParty(manager.List1, jones), -1);
    EXPECT_GE(rowOfParty(manager.List2, jones), 0);
    EXPECT_GE(rowOfParty(manager.List3, jones), 0);
    EXPECT_EQ(manager.lblpeople->text(), "5");
}

TEST_F(FloorPlanTest, SeatEveryoneIsShownBeforeItIsAppliedAndUndoPutsItAllBack)
{
    const qint64 a = addTable("Aspen", 6, 2, 1);
    addTable("Birch", 6, 0, 2);
    guest("Early", 2, a, 2);
    for (int i = 0; i < 4; ++i)
        guest(QStringLiteral("P%1").arg(i), 2, 0, 0, i % 2 ? "Bride" : "Groom");
    const QString before = seatingDump();
    frmFloorPlan plan;
    open(plan);
    plan.proposePlan(false, 5);
    ASSERT_TRUE(plan.hasProposal());
    EXPECT_FALSE(plan.fraPlan->isHidden());
    EXPECT_TRUE(plan.lblPlan->text().contains("4 parties (8 people) seated"))
        << plan.lblPlan->text().toStdString();
    EXPECT_EQ(seatingDump(), before);  // nothing written yet
    EXPECT_TRUE(plan.scene()->partyItem(plan.proposal()->moves.front().party)->highlighted());

    QTest::mouseClick(plan.cmdApply, Qt::LeftButton);
    EXPECT_FALSE(plan.hasProposal());
    EXPECT_EQ(plan.lstUnseated->count(), 0);
    EXPECT_EQ(table(a).assigned, 6);
    EXPECT_LE(table(a + 1).assigned, 6);
    EXPECT_TRUE(plan.cmdUndo->isEnabled());

    QTest::mouseClick(plan.cmdUndo, Qt::LeftButton);
    EXPECT_EQ(seatingDump(), before);
    EXPECT_EQ(plan.lstUnseated->count(), 4);
}

// The summary says whose plan is shown, and which rules could not be applied for want of
// seats, with the same plan as orvane-cli seat.
TEST_F(FloorPlanTest, SeatEveryoneSaysWhenTheSimpleSeatingIsShownAndWhichRulesWereNotApplied)
{
    addTable("Aspen", 4, 0, 1);
    const qint64 a = guest("Ash", 3);
    const qint64 b = guest("Beech", 3);
    guest("Cork", 2);
    seating::addRule(*db, {0, seating::RuleKind::Together, {a, b}, 0, {}});  // 6 people for 4 seats
    frmFloorPlan plan;
    open(plan);
    plan.proposePlan(false, 5);
    ASSERT_TRUE(plan.hasProposal());
    QString text = plan.lblPlan->text();
    EXPECT_TRUE(text.contains("1 parties (2 people) seated; the best plan under your rules"))
        << text.toStdString();
    EXPECT_TRUE(
        text.contains("Rules kept: 0 of 1. Not applied, as some of their parties have no seat: "
                      "Keep together: "))
        << text.toStdString();

    shell::setModuleDirectory(testsupport::poorSolverDir());
    plan.proposePlan(false, 5);
    shell::setModuleDirectory(testsupport::binDir());
    text = plan.lblPlan->text();
    EXPECT_TRUE(
        text.contains("1 parties (2 people) seated; the simple seating (largest parties first), since "
                      "the solver found no plan as good in the time allowed."))
        << text.toStdString();
}

TEST_F(FloorPlanTest, ThePlanFillsTheViewAsTheWindowChangesSizeUntilTheUserZooms)
{
    for (const char* name : {"Aspen", "Birch", "Cedar", "Dogwood"})
        addTable(name, 8);
    frmFloorPlan plan;
    open(plan);
    // The tables take up the view's width or height (a plan fitted to a view not yet laid
    // out would be a speck in the middle).
    auto shownShare = [&plan] {
        const QRect shown = plan.viewPlan->mapFromScene(plan.scene()->itemsBoundingRect()).boundingRect();
        const QSize view = plan.viewPlan->viewport()->size();
        return std::max(double(shown.width()) / view.width(), double(shown.height()) / view.height());
    };
    EXPECT_GT(shownShare(), 0.6);
    plan.resize(plan.width() - 200, plan.height() - 100);
    testsupport::pumpEvents();
    EXPECT_GT(shownShare(), 0.6);
    EXPECT_LE(shownShare(), 1.0);

    plan.cmdZoomIn->click();
    const qreal zoomed = plan.viewPlan->transform().m11();
    plan.resize(plan.width() + 200, plan.height() + 100);
    testsupport::pumpEvents();
    EXPECT_DOUBLE_EQ(plan.viewPlan->transform().m11(), zoomed) << "a zoom the user chose is kept";
}

TEST_F(FloorPlanTest, TablesAreAddedChangedAndDeletedOnThePlanWithTheManagersEditorAndWords)
{
    const qint64 head = addTable("Head Table", 8, 2, 1);
    const qint64 okafor = guest("Okafor", 2, head, 2);
    addParty("Ms.", "Bo", "Lund", 1);  // invited to nothing: not in the list, but counted
    frmFloorPlan plan;
    open(plan);
    EXPECT_TRUE(plan.lblUnseated->text().endsWith("\n1 party is not invited to the reception."))
        << plan.lblUnseated->text().toStdString();

    // Add Table: the table editor proposes the next number and the seats of the selected table.
    plan.scene()->tableItem(head)->setSelected(true);
    QStringList shown;
    onEditor([&](frmTables& ed) {
        for (int i = 0; i < 3; ++i)
            shown << ed.txtFields[size_t(i)]->text();
        ed.cmdUpdate->click();
    });
    QTest::mouseClick(plan.cmdAddTable, Qt::LeftButton);
    EXPECT_EQ(shown, QStringList({"2", "8", "Table #2"}));
    ASSERT_EQ(tableCount(), 2);
    auto added =
        db->openRecordset("SELECT TableId FROM Tables WHERE tablenumber = 2", store::RecordsetType::Snapshot);
    const qint64 second = added->value(0).toLongLong();
    EXPECT_NE(plan.scene()->tableItem(second), nullptr) << "the new table is drawn on the plan";

    // Edit Table: the selected table, in the editor, saved as typed.
    plan.scene()->tableItem(second)->setSelected(true);
    onEditor([&](frmTables& ed) {
        ed.txtFields[2]->selectAll();
        QTest::keyClicks(ed.txtFields[2], "Garden");
        ed.cmdUpdate->click();
    });
    QTest::mouseClick(plan.cmdEditTable, Qt::LeftButton);
    EXPECT_EQ(db->openRecordset("SELECT tablename FROM Tables WHERE TableId = " + QString::number(second),
                                store::RecordsetType::Snapshot)
                  ->value(0)
                  .toString(),
              "Garden");

    // Without a table selected: the manager's message; deleting frees the table's parties.
    plan.scene()->clearSelection();
    dialogs->clear();
    QTest::mouseClick(plan.cmdEditTable, Qt::LeftButton);
    QTest::mouseClick(plan.cmdDeleteTable, Qt::LeftButton);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].text, "You must select a Table first");
    EXPECT_EQ(messages()[1].title, "Orvane");
    plan.scene()->tableItem(head)->setSelected(true);
    QTest::mouseClick(plan.cmdDeleteTable, Qt::LeftButton);
    EXPECT_EQ(tableCount(), 1);
    EXPECT_EQ(party(okafor).tableid, 0);
    EXPECT_EQ(party(okafor).tabletot, 0);
    EXPECT_EQ(rowOfParty(plan.lstUnseated, okafor), 0) << "back in the list of parties to seat";
    EXPECT_EQ(store::Workspace::defaultWorkspace().transactionDepth(), 0);
}

TEST_F(FloorPlanTest, PrintAsksWhatThenThePrintDialogAndACancelPrintsNothing)
{
    const qint64 oak = addTable("Oak", 8);
    guest("Smith", 2, oak, 2);
    frmFloorPlan plan;
    open(plan);
    const QString printed = dir.file("printed-plan.pdf");
    const QString cards = dir.file("printed-cards.pdf");
    dialogs->printAnswers = {QString(), printed, cards};  // cancelled, then the plan, then the cards
    QStringList choices{"Floor Plan", "Floor Plan", "Escort Cards"};
    controls::setModalHook([&](QWidget* window) {
        auto* ask = qobject_cast<QMessageBox*>(window);
        EXPECT_NE(ask, nullptr);
        if (!ask || choices.isEmpty())
            return 0;
        const QString choice = choices.takeFirst();
        for (QAbstractButton* button : ask->buttons())
            if (button->text() == choice)
                button->click();
        return 0;
    });
    for (int i = 0; i < 3; ++i) {
        QTest::mouseClick(plan.cmdPrint, Qt::LeftButton);
        if (i == 0) {
            EXPECT_FALSE(QFile::exists(printed)) << "a cancelled print dialog prints nothing";
        }
    }
    controls::setModalHook({});
    const auto printDialogs = std::count_if(dialogs->calls.begin(), dialogs->calls.end(),
                                            [](const DialogCall& c) { return c.kind == DialogCall::Kind::Print; });
    EXPECT_EQ(printDialogs, 3);
    for (const QString& path : {printed, cards}) {
        QFile pdf(path);
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << path.toStdString();
        EXPECT_TRUE(pdf.readAll().startsWith("%PDF-"));
    }
}
