#include "tests/seating/SeatingFixture.h"

using namespace seatingtest;

class SeatingManagerTest : public SeatingTest {};

TEST_F(SeatingManagerTest, OpeningWithNoTablesSaysSoOnceAndOffersAddTable)
{
    addParty("Mr.", "John", "Smith", 2);
    frmSeater w;
    open(w);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text,
              "There are no tables setup.\n\nClick the 'Add Table' button to add tables to your "
              "table list.");
    EXPECT_EQ(messages()[0].title, "No Tables");
    EXPECT_EQ(messages()[0].style, controls::mb::OKOnly);
    EXPECT_TRUE(w.Command1->hasFocus());
    EXPECT_EQ(w.Label8->text(), "Tables  (0)");
    EXPECT_EQ(w.Label2->text(), "Unassigned Guests   (1)");
    EXPECT_EQ(w.Label3->text(), "Assigned Guests   (0)");
}

TEST_F(SeatingManagerTest, ListsPartiesWithTheirCountsAndTheFirstTablesPanel)
{
    const qint64 head = addTable("Head Table", 8, 3, 1);
    addTable("Family", 10, 0, 2);
    addParty("Mr. and Mrs.", "John", "Smith", 2, head, 2);
    addParty("Ms.", "Siobhan", "O'Brien", 1, head, 1);
    addParty(QVariant(), "Pieter", "van der Berg", 3);  // no title: listed all the same
    addParty("Dr.", QVariant(), "Adams", 1);            // no first name
    addParty("Mr.", "Nobody", QVariant(), 1);           // no last name: not listed
    frmSeater w;
    open(w);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(w.Label8->text(), "Tables  (2)");
    EXPECT_EQ(w.DBList1->text(), "Head Table");
    EXPECT_EQ(texts(w.List1), QStringList({"Dr. Adams", "Pieter van der Berg"}));
    EXPECT_EQ(w.Label2->text(), "Unassigned Guests   (2)");
    EXPECT_EQ(texts(w.List2), QStringList({"Ms. Siobhan O'Brien", "Mr. and Mrs. John Smith"}));
    EXPECT_EQ(w.Label3->text(), "Assigned Guests   (2)");
    EXPECT_EQ(texts(w.List3), QStringList({"Ms. Siobhan O'Brien", "Mr. and Mrs. John Smith"}));
    EXPECT_EQ(w.Label7->text(), "Table Occupants");
    EXPECT_EQ(w.lblseats->text(), "8");
    EXPECT_EQ(w.lblpeople->text(), "3");
    EXPECT_EQ(w.lblgroups->text(), "2");

    pickTable(w, 1);
    EXPECT_EQ(w.lblseats->text(), "10");
    EXPECT_EQ(w.lblpeople->text(), "0");
    EXPECT_EQ(w.lblgroups->text(), "0");
    EXPECT_EQ(w.List3->count(), 0);
}

TEST_F(SeatingManagerTest, TheAssignedListKeepsNoSelection)
{
    const qint64 head = addTable("Head Table", 8, 2);
    addParty("Mr.", "John", "Smith", 2, head, 2);
    frmSeater w;
    open(w);
    pick(w.List2, 0);
    EXPECT_TRUE(w.List2->selectedItems().isEmpty());
}

TEST_F(SeatingManagerTest, ClearTableReturnsEveryOccupantAndEmptiesTheTable)
{
    const qint64 head = addTable("Head Table", 8, 5);
    const qint64 family = addTable("Family", 10, 2);
    const qint64 a = addParty("Mr.", "John", "Smith", 2, head, 2);
    const qint64 b = addParty("Ms.", "Ann", "Adams", 4, head, 3);
    const qint64 c = addParty("Dr.", "Eve", "Young", 2, family, 2);
    frmSeater w;
    open(w);
    w.Command2->click();
    EXPECT_EQ(party(a).tableid, 0);
    EXPECT_EQ(party(a).tabletot, 0);
    EXPECT_EQ(party(b).tableid, 0);
    EXPECT_EQ(party(b).tabletot, 0);
    EXPECT_EQ(party(c).tableid, family);  // other tables keep theirs
    EXPECT_EQ(table(head).assigned, 0);
    EXPECT_EQ(table(family).assigned, 2);
    EXPECT_EQ(w.List3->count(), 0);
    EXPECT_EQ(w.lblpeople->text(), "0");
    EXPECT_EQ(w.Label2->text(), "Unassigned Guests   (2)");
    EXPECT_EQ(w.DBList1->text(), "Head Table");

    w.Command2->click();  // nothing left to clear
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "There are no Guest Groups to remove from this table.");
    EXPECT_EQ(messages()[0].title, "Can't Clear Table");
}

TEST_F(SeatingManagerTest, DeleteTableAsksNothingFreesItsPartiesAndShowsTheFirstTable)
{
    const qint64 head = addTable("Head Table", 8, 1);
    const qint64 family = addTable("Family", 10, 5);
    const qint64 a = addParty("Mr.", "John", "Smith", 2, family, 2);
    const qint64 b = addParty("Ms.", "Ann", "Adams", 4, family, 3);
    addParty("Dr.", "Eve", "Young", 1, head, 1);
    frmSeater w;
    open(w);
    pickTable(w, 1);
    w.Command3->click();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(tableCount(), 1);
    EXPECT_EQ(table(family).name, "");
    for (qint64 key : {a, b}) {
        EXPECT_EQ(party(key).tableid, 0);
        EXPECT_EQ(party(key).tabletot, 0);
    }
    EXPECT_EQ(texts(w.List1), QStringList({"Ms. Ann Adams", "Mr. John Smith"}));
    EXPECT_EQ(w.Label8->text(), "Tables  (1)");
    EXPECT_EQ(w.DBList1->text(), "Head Table");
    EXPECT_EQ(w.lblseats->text(), "8");
    EXPECT_EQ(w.lblpeople->text(), "1");
    EXPECT_EQ(texts(w.List3), QStringList({"Dr. Eve Young"}));

    w.Command3->click();  // the last table
    EXPECT_EQ(tableCount(), 0);
    EXPECT_EQ(w.List3->count(), 0);
    EXPECT_EQ(w.Label8->text(), "Tables  (0)");
}

TEST_F(SeatingManagerTest, EditWithoutATableAsksForOne)
{
    frmSeater w;
    open(w);
    dialogs->clear();
    bool editorOpened = false;
    onEditor([&](frmTables&) { editorOpened = true; });
    w.Command4->click();
    EXPECT_FALSE(editorOpened);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "You must select a Table first");
    EXPECT_EQ(messages()[0].title, "Orvane");
}

TEST_F(SeatingManagerTest, TheMainWindowsEntryShowsTheManagerModallyEachTime)
{
    addTable("Head Table", 8);
    int shown = 0;
    QString caption;
    controls::setModalHook([&](QWidget* window) {
        auto* w = qobject_cast<frmSeater*>(window);
        if (!w)
            return 0;
        ++shown;
        testsupport::showActive(w);
        testsupport::pumpEvents();
        caption = w->Label8->text();
        w->SSCommand4->click();
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(w->unassignedParties(), nullptr);  // unloaded
        return 0;
    });
    showSeatingManager();
    addTable("Family", 10);
    showSeatingManager();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(caption, "Tables  (2)");
    EXPECT_EQ(frmSeater::instance()->windowTitle(), "Reception Seating Manager");
}

TEST_F(SeatingManagerTest, WithNoTablesDeleteAndClearTableShowNothing)
{
    frmSeater w;
    open(w);
    dialogs->clear();
    w.Command3->click();
    w.Command2->click();
    EXPECT_TRUE(messages().empty()) << messages().front().text.toStdString();
}
