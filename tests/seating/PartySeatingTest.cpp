#include <QLineEdit>
#include "store/Handle.h"
#include "tests/seating/SeatingFixture.h"

using namespace seatingtest;
using controls::DialogCall;

class PartySeatingTest : public SeatingTest {
protected:
    // Input box answers, front first; (false, "") cancels.
    void answer(std::initializer_list<std::pair<bool, QString>> replies)
    {
        dialogs->inputAnswers.assign(replies.begin(), replies.end());
    }
    static std::pair<bool, QString> typed(const QString& text) { return {true, text}; }
    int row(const QListWidget* list, const QString& text) { return int(texts(list).indexOf(text)); }

    // With the first party picked, adds a table of six seats through the table editor
    // (Add Table, Save), then presses Add Guest and answers 2 to the count asked for, at the
    // table the list shows selected, which must be `shownTable`.
    void addTableAndSeatTwoOfTheFirstParty(frmSeater& w, const QString& shownTable)
    {
        pick(w.List1, 0);
        onEditor([&](frmTables& ed) {
            ed.txtFields[1]->setFocus();
            ed.txtFields[1]->selectAll();
            QTest::keyClicks(ed.txtFields[1], "6");
            ed.cmdUpdate->click();
        });
        QTest::mouseClick(w.Command1, Qt::LeftButton);
        testsupport::pumpEvents();
        ASSERT_EQ(w.DBList1->text(), shownTable);
        dialogs->clear();
        answer({typed("2")});
        QTest::mouseClick(w.Command5, Qt::LeftButton);
        ASSERT_FALSE(dialogs->calls.empty());
        EXPECT_EQ(dialogs->calls[0].kind, DialogCall::Kind::InputBox) << dialogs->calls[0].text.toStdString();
    }
};

TEST_F(PartySeatingTest, PickingAPartyShowsItsSize)
{
    addTable("Head Table", 8);
    addParty("Ms.", "Siobhan", "O'Brien", 1);
    addParty("Mr. and Mrs.", "John", "Smith", 2);
    frmSeater w;
    open(w);
    pick(w.List1, 0);
    EXPECT_EQ(w.Label5->text(), "1");
    EXPECT_EQ(w.Label4->text(), "Person");
    pick(w.List1, 1);
    EXPECT_EQ(w.Label5->text(), "2");
    EXPECT_EQ(w.Label4->text(), "People");
}

TEST_F(PartySeatingTest, AFullTableRefusesWithoutAPrompt)
{
    addTable("Head Table", 8, 8);
    addParty("Mr.", "John", "Smith", 2);
    frmSeater w;
    open(w);
    pick(w.List1, 0);
    w.Command5->click();
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].kind, DialogCall::Kind::MessageBox);
    EXPECT_EQ(dialogs->calls[0].text, "You have no more seats available at this table.");
    EXPECT_EQ(dialogs->calls[0].title, "Can't Add Guest");
}

TEST_F(PartySeatingTest, AnswersOverTheFreeSeatsZeroAndTextAreAskedAgainCancelChangesNothing)
{
    const qint64 head = addTable("Head Table", 8, 5);
    const qint64 smith = addParty("Mr. and Mrs.", "John", "Smith", 2);
    frmSeater w;
    open(w);
    pick(w.List1, 0);
    answer({typed("4"), typed("0"), typed("abc"), typed("-1"), {false, ""}});
    w.Command5->click();

    const auto& calls = dialogs->calls;
    ASSERT_EQ(calls.size(), 8u);
    const QString prompt =
        "How many people in the group of\nMr. and Mrs. John Smith to add?\n\nYou have 3 available seats at "
        "this table.";
    EXPECT_EQ(calls[0].kind, DialogCall::Kind::InputBox);
    EXPECT_EQ(calls[0].text, prompt);
    EXPECT_EQ(calls[0].title, "Assign Guests to Head Table");
    EXPECT_EQ(calls[0].defaultText, "2");
    EXPECT_EQ(calls[1].kind, DialogCall::Kind::Beep);  // 4 > 3
    EXPECT_EQ(calls[2].text, "You only have 3 seats available at this table");
    EXPECT_EQ(calls[2].title, "Not Enough Room");
    EXPECT_EQ(calls[3].kind, DialogCall::Kind::InputBox);  // 0
    EXPECT_EQ(calls[4].text,
              "You have to specify the amount of people in the group of Mr. and Mrs. John Smith");
    EXPECT_EQ(calls[4].title, "How many  people?");
    EXPECT_EQ(calls[5].kind, DialogCall::Kind::InputBox);  // abc: asked again silently
    EXPECT_EQ(calls[6].kind, DialogCall::Kind::InputBox);  // -1: likewise
    EXPECT_EQ(calls[7].kind, DialogCall::Kind::InputBox);  // cancelled: the end
    EXPECT_EQ(party(smith).tableid, 0);
    EXPECT_EQ(table(head).assigned, 5);
}

TEST_F(PartySeatingTest, SeatingMovesThePartyAndRemovingItGivesTheSeatsBack)
{
    const qint64 head = addTable("Head Table", 8, 3);
    addParty("Dr.", "Eve", "Young", 3, head, 3);
    const qint64 smith = addParty("Mr. and Mrs.", "John", "Smith", 2);
    addParty("Ms.", "Ann", "Adams", 1);
    frmSeater w;
    open(w);
    pick(w.List1, row(w.List1, "Mr. and Mrs. John Smith"));
    answer({typed("2")});
    w.Command5->click();
    EXPECT_EQ(table(head).assigned, 5);
    EXPECT_EQ(party(smith).tableid, head);
    EXPECT_EQ(party(smith).tabletot, 2);
    EXPECT_EQ(texts(w.List1), QStringList({"Ms. Ann Adams"}));
    EXPECT_EQ(texts(w.List2), QStringList({"Mr. and Mrs. John Smith", "Dr. Eve Young"}));
    EXPECT_EQ(texts(w.List3), QStringList({"Mr. and Mrs. John Smith", "Dr. Eve Young"}));
    EXPECT_EQ(w.Label2->text(), "Unassigned Guests   (1)");
    EXPECT_EQ(w.Label3->text(), "Assigned Guests   (2)");
    EXPECT_EQ(w.lblpeople->text(), "5");
    EXPECT_EQ(w.lblgroups->text(), "2");
    EXPECT_EQ(w.DBList1->text(), "Head Table");

    pick(w.List3, row(w.List3, "Mr. and Mrs. John Smith"));
    w.Command6->click();
    EXPECT_EQ(table(head).assigned, 3);
    EXPECT_EQ(party(smith).tableid, 0);
    EXPECT_EQ(party(smith).tabletot, 2);  // kept
    EXPECT_EQ(texts(w.List1), QStringList({"Ms. Ann Adams", "Mr. and Mrs. John Smith"}));
    EXPECT_EQ(texts(w.List3), QStringList({"Dr. Eve Young"}));
    EXPECT_EQ(w.lblpeople->text(), "3");
}

TEST_F(PartySeatingTest, APartyMaySendFewerPeopleThanItHas)
{
    const qint64 head = addTable("Head Table", 8);
    const qint64 family = addParty("Mr. and Mrs.", "Tom", "Lee", 4);
    frmSeater w;
    open(w);
    pick(w.List1, 0);
    answer({typed("2")});
    w.Command5->click();
    EXPECT_EQ(party(family).tabletot, 2);
    EXPECT_EQ(table(head).assigned, 2);
}

TEST_F(PartySeatingTest, AddGuestAgainWithoutANewPickAsksForAPartyAndATable)
{
    addTable("Head Table", 8);
    addParty("Mr.", "John", "Smith", 1);
    addParty("Ms.", "Ann", "Adams", 1);
    frmSeater w;
    open(w);
    pick(w.List1, 0);
    answer({typed("1"), typed("1")});
    w.Command5->click();
    dialogs->calls.clear();
    w.Command5->click();
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].text,
              "You have to select a guest group AND a table to add this guest group to.");
    EXPECT_EQ(dialogs->calls[0].title, "Can't Add Guest");
    EXPECT_EQ(w.List1->count(), 1);
}

TEST_F(PartySeatingTest, RemoveGuestWithoutAPickSaysWhatToDo)
{
    const qint64 head = addTable("Head Table", 8, 2);
    addParty("Mr.", "John", "Smith", 2, head, 2);
    frmSeater w;
    open(w);
    w.Command6->click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Select a guest to remove by clicking on the list to the right");
    EXPECT_EQ(messages()[0].title, "Remove Guest");
    EXPECT_EQ(table(head).assigned, 2);
}

TEST_F(PartySeatingTest, ANameWithAnApostropheIsSeatedAndRemoved)
{
    const qint64 head = addTable("Head Table", 8);
    const qint64 obrien = addParty("Ms.", "Siobhan", "O'Brien", 1);
    frmSeater w;
    open(w);
    pick(w.List1, 0);
    EXPECT_EQ(w.Label5->text(), "1");
    answer({typed("1")});
    w.Command5->click();
    EXPECT_EQ(party(obrien).tableid, head);
    EXPECT_EQ(texts(w.List3), QStringList({"Ms. Siobhan O'Brien"}));
    pick(w.List3, 0);
    w.Command6->click();
    EXPECT_EQ(party(obrien).tableid, 0);
    EXPECT_EQ(table(head).assigned, 0);
    EXPECT_TRUE(messages().empty());
}

TEST_F(PartySeatingTest, PartiesNamedAlikeAtDifferentTablesAreEachRemovedFromTheirOwn)
{
    const qint64 head = addTable("Head Table", 8, 2);
    const qint64 second = addTable("Table #2", 8, 3);
    const qint64 first = addParty("Mr. and Mrs.", "John", "Smith", 2, head, 2);
    const qint64 other = addParty("Mr. and Mrs.", "John", "Smith", 3, second, 3);
    frmSeater w;
    open(w);
    pickTable(w, 1);
    pick(w.List3, 0);
    w.Command6->click();
    EXPECT_EQ(party(other).tableid, 0);
    EXPECT_EQ(table(second).assigned, 0);  // its own 3, not the other party's 2
    EXPECT_EQ(party(first).tableid, head);
    EXPECT_EQ(table(head).assigned, 2);

    pickTable(w, 0);
    pick(w.List3, 0);
    w.Command6->click();
    EXPECT_EQ(party(first).tableid, 0);
    EXPECT_EQ(table(head).assigned, 0);
}

TEST_F(PartySeatingTest, PartiesNamedAlikeAreSeatedAsPicked)
{
    const qint64 head = addTable("Head Table", 8);
    addParty("Mr. and Mrs.", "John", "Smith", 2);
    const qint64 second = addParty("Mr. and Mrs.", "John", "Smith", 5);
    frmSeater w;
    open(w);
    pick(w.List1, rowOfParty(w.List1, second));
    EXPECT_EQ(w.Label5->text(), "5");
    answer({typed("5")});
    w.Command5->click();
    EXPECT_EQ(dialogs->calls[0].defaultText, "5");
    EXPECT_EQ(party(second).tableid, head);
    EXPECT_EQ(table(head).assigned, 5);
}

TEST_F(PartySeatingTest, APartyWithoutTitleOrSizeCanBeSeated)
{
    const qint64 head = addTable("Head Table", 8);
    db->execute("INSERT INTO Guests (FirstName, LastName) VALUES ('Pieter', 'van der Berg')");
    const qint64 key = lastRowid();
    frmSeater w;
    open(w);
    ASSERT_EQ(texts(w.List1), QStringList({"Pieter van der Berg"}));
    pick(w.List1, 0);
    EXPECT_EQ(w.Label5->text(), "0");
    answer({typed("2")});
    w.Command5->click();
    EXPECT_EQ(party(key).tableid, head);
    EXPECT_EQ(table(head).assigned, 2);
}

TEST_F(PartySeatingTest, WhenTheTableCannotBeWrittenThePartyStaysUnseated)
{
    const qint64 head = addTable("Head Table", 8, 3);
    const qint64 smith = addParty("Mr. and Mrs.", "John", "Smith", 2);
    frmSeater w;
    open(w);
    pick(w.List1, 0);
    ASSERT_EQ(
        sqlite3_exec(
            store::handleOf(*db),
            "CREATE TEMP TRIGGER refuse BEFORE UPDATE ON Tables BEGIN SELECT RAISE(ABORT, 'disk full'); END",
            nullptr, nullptr, nullptr),
        SQLITE_OK);
    answer({typed("2")});
    w.Command5->click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].title.startsWith("Error #")) << messages()[0].title.toStdString();
    EXPECT_EQ(party(smith).tableid, 0);
    EXPECT_EQ(party(smith).tabletot, 0);
    EXPECT_EQ(table(head).assigned, 3);
    EXPECT_EQ(store::Workspace::defaultWorkspace().transactionDepth(), 0);
}

TEST_F(PartySeatingTest, AfterAddTableAndSaveTheTableShownSelectedIsTheOneSeatedAt)
{
    addTable("Head Table", 8, 0, 1);
    const qint64 smith = addParty("Mr.", "John", "Smith", 2);
    frmSeater w;
    open(w);
    addTableAndSeatTwoOfTheFirstParty(w, "Table #2");
    ASSERT_FALSE(HasFatalFailure());
    const qint64 added = db->openRecordset("SELECT TableId FROM Tables WHERE tablename = 'Table #2'",
                                           store::RecordsetType::Snapshot)
                             ->value("TableId")
                             .toLongLong();
    EXPECT_EQ(party(smith).tableid, added);
    EXPECT_EQ(table(added).assigned, 2);
}

TEST_F(PartySeatingTest, AddGuestUsesThePartyAndTableTheListsShowSelected)
{
    const qint64 head = addTable("Head Table", 8, 0, 1);
    const qint64 garden = addTable("Garden", 8, 0, 2);
    const qint64 smith = addParty("Mr.", "John", "Smith", 2);
    const qint64 adams = addParty("Ms.", "Ann", "Adams", 1);
    frmSeater w;
    open(w);
    const QString askAgain = "You have to select a guest group AND a table to add this guest group to.";

    // A party picked, then unpicked again (Ctrl+click): nothing looks selected, nothing is seated.
    pick(w.List1, rowOfParty(w.List1, smith));
    const QRect at = w.List1->visualItemRect(w.List1->item(rowOfParty(w.List1, smith)));
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, Qt::ControlModifier, at.center());
    ASSERT_TRUE(w.List1->selectedItems().isEmpty());
    dialogs->clear();
    QTest::mouseClick(w.Command5, Qt::LeftButton);
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].text, askAgain);
    EXPECT_EQ(party(smith).tableid, 0);

    // No table shown selected: the same.
    pick(w.List1, rowOfParty(w.List1, adams));
    const QRect first = w.DBList1->visualRect(w.DBList1->model()->index(0, 0));
    QTest::mouseClick(w.DBList1->viewport(), Qt::LeftButton, Qt::ControlModifier, first.center());
    ASSERT_FALSE(w.DBList1->selectedBookmark());
    dialogs->clear();
    QTest::mouseClick(w.Command5, Qt::LeftButton);
    ASSERT_EQ(dialogs->calls.size(), 1u);
    EXPECT_EQ(dialogs->calls[0].text, askAgain);
    EXPECT_EQ(party(adams).tableid, 0);

    // The table picked with the keyboard is the one seated at.
    w.DBList1->setFocus();
    QTest::keyClick(w.DBList1, Qt::Key_Down);
    QTest::keyClick(w.DBList1, Qt::Key_Space);
    testsupport::pumpEvents();
    ASSERT_EQ(w.DBList1->text(), "Garden");
    pick(w.List1, rowOfParty(w.List1, adams));
    dialogs->clear();
    answer({typed("1")});
    QTest::mouseClick(w.Command5, Qt::LeftButton);
    EXPECT_EQ(party(adams).tableid, garden);
    EXPECT_EQ(table(garden).assigned, 1);
    EXPECT_EQ(table(head).assigned, 0);
}

TEST_F(PartySeatingTest, TheFirstTableAddedIsTheOneSeatedAt)
{
    const qint64 smith = addParty("Mr.", "John", "Smith", 2);
    frmSeater w;
    open(w);
    addTableAndSeatTwoOfTheFirstParty(w, "Table #1");
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_NE(party(smith).tableid, 0);
}
