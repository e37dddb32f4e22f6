// The Members tab as a person uses it: keys and clicks on the real widgets, then what the
// wedding file holds.
#include "tests/guests/GuestWindowFixture.h"

#include "controls/DataSource.h"
#include "guests/MemberStore.h"
#include "guests/frmGuestsMembers.h"
#include "guests/frmMeals.h"
#include "shell/HelpViewer.h"
#include "shell/Program.h"
#include "tests/support/WidgetTestUtils.h"

#include <QApplication>
#include <QComboBox>
#include <QTableWidget>

using guests::MembersTab;

namespace {

QString cell(QTableWidget* list, int row, int column)
{
    const QTableWidgetItem* item = list->item(row, column);
    return item ? item->text() : QString();
}

}  // namespace

class MembersTabTest : public GuestWindowTest {
protected:
    MembersTab& tab() { return *w().memTab; }
    QString counts(store::Bookmark party)
    {
        return stored(party, "Invited").toString() + '/' + stored(party, "NumberAttending").toString() + '/' +
               (stored(party, "Confirmed").toBool() ? "Yes" : "No");
    }
    void altKey(Qt::Key k)
    {
        QTest::keyClick(tab().memList, k, Qt::AltModifier);
        testsupport::pumpEvents();
    }
    // Picks an entry of a combo from the keyboard as a person does: focus, then its first letter.
    void pick(QComboBox* combo, const QString& text)
    {
        focus(combo);
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        while (combo->currentIndex() != index) {
            QTest::keyClick(combo, combo->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
            testsupport::pumpEvents();
        }
    }
};

TEST_F(MembersTabTest, MembersTypedInKeepThePartysCountsAndADetailsTabInStep)
{
    const auto lee = insertGuest("Mr.", "Tom", "Lee", {{"InvReception", true}, {"ShowerGuest", true}});
    openWindow();
    chooseTab(frmGuests::MembersTab);
    EXPECT_EQ(tab().memList->rowCount(), 0);
    EXPECT_FALSE(tab().memCounts->isVisible());
    EXPECT_FALSE(tab().memFrame->isEnabled());

    key(tab().memList, Qt::Key_Insert);
    ASSERT_EQ(tab().memList->rowCount(), 1);
    EXPECT_EQ(tab().memLast->text(), "Lee");  // the party's last name by default
    EXPECT_TRUE(tab().memFirst->hasFocus());
    typeKeys(tab().memFirst, "Tom");
    key(tab().memFirst, Qt::Key_Tab);
    pick(tab().memReply[size_t(guests::Event::Reception)], "Attending");
    pick(tab().memMeal, "Salmon");
    clickBox(tab().memNeed[3]);  // nut allergy
    EXPECT_EQ(cell(tab().memList, 0, 0), "Tom Lee");
    EXPECT_EQ(cell(tab().memList, 0, 2), "Salmon");
    EXPECT_EQ(cell(tab().memList, 0, 3), "Nut allergy");
    EXPECT_EQ(cell(tab().memList, 0, 4), "Attending");
    EXPECT_EQ(counts(lee), "1/1/Yes");

    // Ann brings a guest; Ann's unnamed guest is listed by her name.
    focus(tab().memList);
    key(tab().memList, Qt::Key_Insert);
    typeKeys(tab().memFirst, "Ann");
    key(tab().memFirst, Qt::Key_Tab);
    clickBox(tab().memPlusOne);
    ASSERT_EQ(tab().memList->rowCount(), 3);
    EXPECT_EQ(cell(tab().memList, 2, 0), "Guest of Ann Lee");
    EXPECT_EQ(counts(lee), "3/1/No");
    EXPECT_EQ(stored(lee, "ShowerInvited").toInt(), 3);

    // The Details tab shows the counts that were written, and typing in it is kept.
    chooseTab(frmGuests::DetailsTab);
    EXPECT_EQ(w().detText1->text(), "3");
    EXPECT_EQ(w().detText2->text(), "1");
    EXPECT_FALSE(w().detCheck1->isChecked());
    EXPECT_TRUE(messages().empty());

    // F1 on the tab opens its own topic, and Tab stays among its controls.
    chooseTab(frmGuests::MembersTab);
    focus(tab().memList);
    QTest::keyClick(tab().memList, Qt::Key_F1);
    testsupport::pumpEvents();
    ASSERT_NE(shell::currentHelpViewer(), nullptr);
    EXPECT_EQ(shell::currentHelpViewer()->currentKey(), "1015");
    shell::currentHelpViewer()->close();
    testsupport::pumpEvents();
    testsupport::showActive(&w());
    focus(tab().memList);
    key(tab().memList, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), tab().memFirst);
}

TEST_F(MembersTabTest, KeysReorderAndRemoveAndRemovingThePartyRemovesItsMembers)
{
    const auto lee = insertGuest("Mr.", "Tom", "Lee", {{"InvReception", true}});
    const auto kim = insertGuest("Ms.", "Kay", "Kim", {{"InvReception", true}});
    for (const char* name : {"Ann", "Bob", "Cy"}) {
        guests::Member m;
        m.party = lee;
        m.firstName = name;
        guests::addMember(shell::database(), m);
    }
    guests::Member k;
    k.party = kim;
    k.firstName = "Kay";
    guests::addMember(shell::database(), k);
    openWindow();
    pickGuest(lee);
    chooseTab(frmGuests::MembersTab);
    ASSERT_EQ(tab().memList->rowCount(), 3);
    tab().memList->setCurrentCell(2, 0);
    altKey(Qt::Key_Up);
    altKey(Qt::Key_Up);
    altKey(Qt::Key_Up);  // already first
    EXPECT_EQ(cell(tab().memList, 0, 0), "Cy");
    EXPECT_EQ(tab().memList->currentRow(), 0);

    dialogs().messageAnswers = {controls::mb::No, controls::mb::Yes};
    key(tab().memList, Qt::Key_Delete);
    EXPECT_EQ(tab().memList->rowCount(), 3);
    key(tab().memList, Qt::Key_Delete);
    EXPECT_EQ(tab().memList->rowCount(), 2);
    EXPECT_EQ(cell(tab().memList, 0, 0), "Ann");
    EXPECT_EQ(counts(lee), "2/0/No");

    dialogs().messageAnswers = {controls::mb::Yes};
    QTest::mouseClick(w().SSCommand3, Qt::LeftButton);
    testsupport::pumpEvents();
    EXPECT_EQ(guests::loadMembers(shell::database(), lee).size(), 0u);
    EXPECT_EQ(guests::loadMembers(shell::database(), kim).size(), 1u);
    // The tab follows the window to the party now shown.
    EXPECT_EQ(cell(tab().memList, 0, 0), "Kay");
}

TEST_F(MembersTabTest, TypedCountsThatDisagreeAreShownAndChangedOnlyWhenAsked)
{
    const auto lee =
        insertGuest("Mr.", "Tom", "Lee",
                    {{"InvReception", true}, {"Invited", 4}, {"NumberAttending", 3}, {"Confirmed", true}});
    rawSql(
        QStringLiteral("INSERT INTO GuestsMembers (PartyKey, SortOrder, FirstName, LastName) VALUES (%1, 1, "
                       "'Tom', 'Lee');"
                       "INSERT INTO GuestsMemberReplies SELECT max(MemberId), 'Reception', 'Attending' FROM "
                       "GuestsMembers")
            .arg(lee));
    openWindow();
    chooseTab(frmGuests::MembersTab);
    EXPECT_TRUE(tab().memCounts->isVisible());
    EXPECT_TRUE(
        tab().memCounts->text().contains("Total people invited: 4 on the Details tab, 1 by the members."))
        << tab().memCounts->text().toStdString();
    EXPECT_EQ(counts(lee), "4/3/Yes");  // looking changes nothing
    ASSERT_TRUE(tab().memAddPlaces->isVisible());
    QTest::mouseClick(tab().memAddPlaces, Qt::LeftButton);
    testsupport::pumpEvents();
    EXPECT_EQ(tab().memList->rowCount(), 4);
    EXPECT_EQ(cell(tab().memList, 3, 0), "Guest of Mr. Tom Lee");
    EXPECT_EQ(counts(lee), "4/3/Yes");
    EXPECT_FALSE(tab().memCounts->isVisible());

    // A count typed afterwards on the Details tab is corrected on request.
    chooseTab(frmGuests::DetailsTab);
    typeInto(w().detText1, "9");
    chooseTab(frmGuests::MembersTab);
    EXPECT_EQ(stored(lee, "Invited").toInt(), 9);
    EXPECT_TRUE(tab().memCorrect->isVisible());
    QTest::mouseClick(tab().memCorrect, Qt::LeftButton);
    testsupport::pumpEvents();
    EXPECT_EQ(counts(lee), "4/3/Yes");
    chooseTab(frmGuests::DetailsTab);
    EXPECT_EQ(w().detText1->text(), "4");
}

TEST_F(MembersTabTest, TheMenuIsEditedInItsOwnDialogAndARemovedMealLeavesNoChoice)
{
    const auto lee = insertGuest("Mr.", "Tom", "Lee", {{"InvReception", true}});
    guests::Member m;
    m.party = lee;
    m.firstName = "Tom";
    m.meal = guests::loadMeals(shell::database()).front().id;  // Beef
    guests::addMember(shell::database(), m);
    controls::setModalHook([](QWidget* window) {
        auto* menu = qobject_cast<guests::frmMeals*>(window);
        if (!menu)
            return 0;
        testsupport::showActive(menu);
        menu->grdMeals->removeRow(0);
        QTest::mouseClick(menu->cmdAdd, Qt::LeftButton);
        testsupport::pumpEvents();
        typeKeys(QApplication::focusWidget(), "Duck");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::mouseClick(menu->cmdOK, Qt::LeftButton);
        return menu->result();
    });
    openWindow();
    chooseTab(frmGuests::MembersTab);
    QTest::mouseClick(tab().memMenu, Qt::LeftButton);
    testsupport::pumpEvents();
    QStringList names;
    for (const guests::Meal& meal : guests::loadMeals(shell::database()))
        names << meal.name;
    EXPECT_EQ(names, QStringList({"Salmon", "Vegetarian", "Kids' meal", "Duck"}))
        << names.join(',').toStdString();
    EXPECT_TRUE(messages().empty()) << (messages().empty() ? "" : messages()[0].text.toStdString());
    EXPECT_EQ(tab().memMeal->currentText(), "(none)");
    EXPECT_EQ(tab().memMeal->count(), 5);
}

TEST_F(MembersTabTest, TheSummaryShowsThePeopleBesideTheParties)
{
    const auto lee = insertGuest("Mr.", "Tom", "Lee", {{"InvReception", true}});
    const auto kim = insertGuest("Ms.", "Kay", "Kim", {{"InvReception", false}});
    insertGuest("Mr.", "Al", "Typed", {{"InvReception", true}, {"Invited", 6}});
    auto add = [](store::Bookmark party, guests::AgeGroup age, guests::Reply reply, int meal,
                  QStringList needs) {
        guests::Member m;
        m.party = party;
        m.firstName = QStringLiteral("X");
        m.ageGroup = age;
        m.setReply(guests::Event::Reception, reply);
        if (meal >= 0)
            m.meal = guests::loadMeals(shell::database())[size_t(meal)].id;
        m.needs = needs;
        guests::addMember(shell::database(), m);
    };
    add(lee, guests::AgeGroup::Adult, guests::Reply::Attending, 0, {"Vegan", "Nut allergy"});
    add(lee, guests::AgeGroup::Child, guests::Reply::None, 3, {"Nut allergy"});
    add(lee, guests::AgeGroup::Adult, guests::Reply::Declined, 0, {"Vegan"});
    add(kim, guests::AgeGroup::Infant, guests::Reply::None, -1, {});
    openWindow();
    chooseTab(frmGuests::SummaryTab);
    EXPECT_EQ(w().sumPeople->text(),
              "People invited: 4; attending 1, declined 1, no reply 1\n"
              "Adults 2, children 1, infants 1\n"
              "Meals: Beef 1, Salmon 0, Vegetarian 0, Kids' meal 1, no meal chosen 0\n"
              "Needs: Vegan 1, Nut allergy 2");
    // The party grid still counts the typed figures of the party without members.
    EXPECT_EQ(w().MSFlexGrid1->item(2, 2)->text(), " 9");
}
