#include "tests/seating/SeatingFixture.h"

#include "controls/DataSource.h"

#include <QApplication>
#include <QCursor>
#include <QLineEdit>

using namespace seatingtest;
using testsupport::findNamed;

namespace {

QLineEdit* box(frmTables& editor, int index)
{
    return editor.txtFields[size_t(index)];
}

void typeInto(QLineEdit* box, const QString& keys)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, keys);
}

}  // namespace

class TableEditorTest : public SeatingTest {};

TEST_F(TableEditorTest, AddingTheFirstTableProposesNumberOneAndNoSeats)
{
    frmSeater w;
    open(w);
    dialogs->clear();
    QStringList shown;
    onEditor([&](frmTables& ed) {
        for (int i = 0; i < 4; ++i)
            shown << box(ed, i)->text();
        typeInto(box(ed, 1), "10");
        ed.cmdUpdate->click();
    });
    w.Command1->click();
    EXPECT_EQ(shown, QStringList({"1", "0", "Table #1", "0"}));
    ASSERT_EQ(tableCount(), 1);
    EXPECT_TRUE(seating::tableEdit().TableSaved);
    // The new table is current and selected.
    EXPECT_EQ(w.DBList1->text(), "Table #1");
    EXPECT_EQ(w.lblseats->text(), "10");
    EXPECT_EQ(w.Label8->text(), "Tables  (1)");
    EXPECT_EQ(store::Workspace::defaultWorkspace().transactionDepth(), 0);
}

TEST_F(TableEditorTest, ALaterTableTakesTheNextNumberAndTheCurrentTablesSeats)
{
    addTable("Head Table", 8, 0, 1);
    addTable("Family", 10, 0, 2);
    addTable("Friends", 6, 0, 3);
    frmSeater w;
    open(w);
    pickTable(w, 1);  // Family, 10 seats
    QStringList shown;
    onEditor([&](frmTables& ed) {
        for (int i = 0; i < 3; ++i)
            shown << box(ed, i)->text();
        ed.cmdUpdate->click();
    });
    w.Command1->click();
    EXPECT_EQ(shown, QStringList({"4", "10", "Table #4"}));
    EXPECT_EQ(tableCount(), 4);
    EXPECT_EQ(w.DBList1->text(), "Table #4");
}

TEST_F(TableEditorTest, CancelledAddLeavesNoRowAndTheSelectionAsBefore)
{
    addTable("Head Table", 8);
    addTable("Family", 10);
    frmSeater w;
    open(w);
    pickTable(w, 1);
    onEditor([&](frmTables& ed) {
        typeInto(box(ed, 2), "Never saved");
        ed.cmdClose->click();
    });
    w.Command1->click();
    EXPECT_EQ(tableCount(), 2);
    EXPECT_FALSE(seating::tableEdit().TableSaved);
    EXPECT_EQ(w.DBList1->text(), "Family");
    EXPECT_EQ(store::Workspace::defaultWorkspace().transactionDepth(), 0);
}

TEST_F(TableEditorTest, ClosingThroughTheFrameDiscardsLikeCancel)
{
    const qint64 id = addTable("Head Table", 8, 2);
    frmSeater w;
    open(w);
    onEditor([&](frmTables& ed) {
        typeInto(box(ed, 1), "12");
        ed.close();  // the frame's close box
    });
    w.Command4->click();
    EXPECT_EQ(table(id).max, 8);
    EXPECT_FALSE(seating::tableEdit().TableSaved);
    EXPECT_EQ(store::Workspace::defaultWorkspace().transactionDepth(), 0);
    EXPECT_TRUE(messages().empty());
}

TEST_F(TableEditorTest, EscapeThenEnterInTheSeatBoxAsksForSeatsAndKeepsEditing)
{
    addTable("Head Table", 8);
    frmSeater w;
    open(w);
    dialogs->clear();
    bool stillOpen = false, focusInSeats = false;
    int depth = 0;
    QString typedName;
    onEditor([&](frmTables& ed) {
        typeInto(box(ed, 2), "Garden");
        box(ed, 1)->setFocus();
        QTest::keyClick(box(ed, 1), Qt::Key_Escape);
        EXPECT_EQ(box(ed, 1)->text(), "");
        QTest::keyClick(box(ed, 1), Qt::Key_Return);
        testsupport::pumpEvents();
        stillOpen = ed.isVisible();
        focusInSeats = box(ed, 1)->hasFocus();
        depth = store::Workspace::defaultWorkspace().transactionDepth();
        // The message box closing repaints the window: nothing is prepared again.
        ed.hide();
        ed.show();
        typedName = box(ed, 2)->text();
        ed.cmdClose->click();
    });
    w.Command1->click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "You did not specify the amount of seats for this table.");
    EXPECT_EQ(messages()[0].title, "Incomplete Information");
    EXPECT_EQ(messages()[0].style, controls::mb::OKOnly | controls::mb::Information);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(focusInSeats);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(typedName, "Garden");
    EXPECT_EQ(tableCount(), 1);
}

TEST_F(TableEditorTest, NumberBoxesIgnoreLettersAndBackspaceTheNameBoxTakesAnything)
{
    frmSeater w;
    open(w);
    QStringList after;
    onEditor([&](frmTables& ed) {
        for (int i : {0, 1, 3}) {
            typeInto(box(ed, i), "4a-");
            QTest::keyClick(box(ed, i), Qt::Key_Backspace);
            QTest::keyClicks(box(ed, i), "$");
            after << box(ed, i)->text();
        }
        typeInto(box(ed, 2), "Rose's 1");
        QTest::keyClick(box(ed, 2), Qt::Key_Backspace);
        after << box(ed, 2)->text();
        // Delete types no character and still deletes.
        box(ed, 1)->setCursorPosition(0);
        QTest::keyClick(box(ed, 1), Qt::Key_Delete);
        after << box(ed, 1)->text();
        ed.cmdClose->click();
    });
    w.Command1->click();
    EXPECT_EQ(after, QStringList({"4$", "4$", "4$", "Rose's ", "$"}));
}

TEST_F(TableEditorTest, EditShowsTheStoredValuesAndCancelLeavesTheRow)
{
    const qint64 id = addTable("Head Table", 8, 3, 1);
    frmSeater w;
    open(w);
    QStringList shown;
    QString caption;
    onEditor([&](frmTables& ed) {
        for (int i = 0; i < 4; ++i)
            shown << box(ed, i)->text();
        caption = ed.datPrimaryRS->caption();
        typeInto(box(ed, 1), "20");
        typeInto(box(ed, 2), "Changed");
        ed.cmdClose->click();
    });
    w.Command4->click();
    EXPECT_EQ(shown, QStringList({"1", "8", "Head Table", "3"}));
    EXPECT_EQ(caption, "Record: 1");
    const TableRow row = table(id);
    EXPECT_EQ(row.name, "Head Table");
    EXPECT_EQ(row.max, 8);
    EXPECT_EQ(store::Workspace::defaultWorkspace().transactionDepth(), 0);
}

TEST_F(TableEditorTest, EditKeepsTheTableCurrentWithItsNewValues)
{
    addTable("Head Table", 8, 0, 1);
    const qint64 family = addTable("Family", 10, 4, 2);
    addTable("Friends", 6, 0, 3);
    frmSeater w;
    open(w);
    pickTable(w, 1);
    QString caption;
    onEditor([&](frmTables& ed) {
        caption = ed.datPrimaryRS->caption();
        typeInto(box(ed, 1), "12");
        typeInto(box(ed, 3), "5");
        QTest::keyClick(box(ed, 3), Qt::Key_Return);  // Enter saves
    });
    w.Command4->click();
    EXPECT_EQ(caption, "Record: 2");
    EXPECT_EQ(table(family).max, 12);
    EXPECT_EQ(table(family).assigned, 5);
    EXPECT_EQ(w.DBList1->text(), "Family");
    EXPECT_EQ(w.lblseats->text(), "12");
    EXPECT_EQ(w.lblpeople->text(), "5");
    EXPECT_EQ(store::Workspace::defaultWorkspace().transactionDepth(), 0);
}

TEST_F(TableEditorTest, AValueTheStoreRefusesShowsTheDataErrorAndKeepsTheWindowOpen)
{
    addTable("Head Table", 8);
    frmSeater w;
    open(w);
    dialogs->clear();
    bool stillOpen = false;
    onEditor([&](frmTables& ed) {
        typeInto(box(ed, 1), "8");
        typeInto(box(ed, 0), "$");  // no number in the table number
        ed.cmdUpdate->click();
        stillOpen = ed.isVisible();
        ed.cmdClose->click();
    });
    w.Command1->click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].text.startsWith("Data error event hit err:"))
        << messages()[0].text.toStdString();
    EXPECT_GT(messages()[0].text.size(), QString("Data error event hit err:").size());
    EXPECT_EQ(messages()[0].title, "Orvane");
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(tableCount(), 1);
    EXPECT_EQ(store::Workspace::defaultWorkspace().transactionDepth(), 0);
}

TEST_F(TableEditorTest, SeatCountsTheFieldCannotHoldAreRefusedNeverWrapped)
{
    const qint64 head = addTable("Head Table", 8, 2, 1);
    frmSeater w;
    open(w);
    dialogs->clear();
    bool openAfterMax = false, openAfterAssigned = false;
    onEditor([&](frmTables& ed) {
        typeInto(box(ed, 1), "40000");
        QTest::keyClick(box(ed, 1), Qt::Key_Return);
        testsupport::pumpEvents();
        openAfterMax = ed.isVisible() && box(ed, 1)->hasFocus();
        typeInto(box(ed, 1), "12");
        typeInto(box(ed, 3), "99999999999999999999");
        ed.cmdUpdate->click();
        testsupport::pumpEvents();
        openAfterAssigned = ed.isVisible() && box(ed, 3)->hasFocus();
        typeInto(box(ed, 3), "32767");
        QTest::keyClick(box(ed, 3), Qt::Key_Return);
    });
    w.Command4->click();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].text, "Data error event hit err:Maximum Seats can be at most 32767.");
    EXPECT_EQ(messages()[1].text, "Data error event hit err:Assigned Seats can be at most 32767.");
    EXPECT_TRUE(openAfterMax);
    EXPECT_TRUE(openAfterAssigned);
    EXPECT_EQ(table(head).max, 12);
    EXPECT_EQ(table(head).assigned, 32767);
    EXPECT_EQ(store::Workspace::defaultWorkspace().transactionDepth(), 0);

    // A refused new table is not stored at all when the user gives up.
    onEditor([&](frmTables& ed) {
        typeInto(box(ed, 1), "$40000");
        ed.cmdUpdate->click();
        ed.cmdClose->click();
    });
    w.Command1->click();
    EXPECT_EQ(messages().size(), 3u);
    EXPECT_EQ(tableCount(), 1);
}

TEST_F(TableEditorTest, ThePointerIsNormalWhileTheEditorWaitsForTheUser)
{
    addTable("Head Table", 8, 0, 1);
    frmSeater w;
    open(w);
    dialogs->clear();
    auto pointerIsNormal = [] {
        const QCursor* cursor = QApplication::overrideCursor();
        return !cursor || cursor->shape() == Qt::ArrowCursor;
    };
    std::vector<bool> waiting;  // the pointer was normal while each message was up
    dialogs->onShow = [&](const controls::DialogCall&) { waiting.push_back(pointerIsNormal()); };
    bool normalWhileTyping = false, normalAfterRefusal = false;
    onEditor([&](frmTables& ed) {
        testsupport::pumpEvents();
        typeInto(box(ed, 2), "Garden");
        testsupport::pumpEvents();
        normalWhileTyping = pointerIsNormal();
        typeInto(box(ed, 1), "40000");
        ed.cmdUpdate->click();
        testsupport::pumpEvents();
        normalAfterRefusal = pointerIsNormal();
        typeInto(box(ed, 1), "6");
        ed.cmdUpdate->click();
    });
    w.Command1->click();  // add mode: no move follows the new row
    EXPECT_TRUE(normalWhileTyping);
    EXPECT_TRUE(normalAfterRefusal);
    EXPECT_EQ(waiting, std::vector<bool>{true});
    testsupport::pumpEvents();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(tableCount(), 2);
}
