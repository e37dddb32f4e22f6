// The replies window as cards come back: a few keys per person, then what the file holds.
#include "tests/guests/GuestWindowFixture.h"

#include "guests/MemberStore.h"
#include "guests/frmReplies.h"
#include "shell/Program.h"
#include "tests/support/WidgetTestUtils.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

using namespace guests;

class RepliesWindowTest : public GuestWindowTest {
protected:
    qint64 member(store::Bookmark party, const QString& first, const QString& last)
    {
        Member m;
        m.party = party;
        m.firstName = first;
        m.lastName = last;
        return addMember(shell::database(), m);
    }
    void press(QWidget* widget, Qt::Key k)
    {
        QTest::keyClick(widget, k);
        testsupport::pumpEvents();
    }
};

TEST_F(RepliesWindowTest, APersonIsFoundByPartOfANameAndAnsweredInAFewKeys)
{
    const auto dupont = insertGuest("Mr.", "Paul", "Dupont", {{"InvReception", true}});
    const auto lee = insertGuest("Ms.", "Ann", "Lee", {{"InvReception", true}});
    const qint64 emile = member(dupont, "Émile", "Dupont");
    member(dupont, "Zoé", "Dupont");
    member(lee, "Ann", "Lee");

    frmReplies window;
    window.Form_Load();
    ASSERT_TRUE(testsupport::showActive(&window));
    EXPECT_EQ(window.grdPeople->rowCount(), 3);
    typeInto(window.txtFind, "EMI");
    ASSERT_EQ(window.grdPeople->rowCount(), 1);
    EXPECT_EQ(window.grdPeople->item(0, 0)->text(), "Émile Dupont");
    EXPECT_EQ(window.grdPeople->item(0, 1)->text(), "Mr. Paul Dupont");
    EXPECT_EQ(window.grdPeople->item(0, 2)->text(), "No reply");

    press(window.txtFind, Qt::Key_Down);
    ASSERT_TRUE(window.grdPeople->hasFocus());
    press(window.grdPeople, Qt::Key_A);
    press(window.grdPeople, Qt::Key_2);
    EXPECT_EQ(window.grdPeople->item(0, 2)->text(), "Attending");
    EXPECT_EQ(window.grdPeople->item(0, 3)->text(), "Salmon");
    const Member now = loadMembers(shell::database(), dupont).front();
    EXPECT_EQ(now.id, emile);
    EXPECT_EQ(now.reply(Event::Reception), Reply::Attending);
    EXPECT_EQ(now.meal, loadMeals(shell::database())[1].id);
    EXPECT_EQ(stored(dupont, "NumberAttending").toInt(), 1);
    EXPECT_FALSE(stored(dupont, "Confirmed").toBool());  // Zoé has not replied

    // The party is not invited to the shower: the key is refused in words.
    window.cboEvent->setCurrentIndex(window.cboEvent->findText("Shower"));
    testsupport::pumpEvents();
    window.grdPeople->setFocus();
    press(window.grdPeople, Qt::Key_D);
    EXPECT_TRUE(window.lblStatus->text().contains("not invited to the shower"))
        << window.lblStatus->text().toStdString();
    EXPECT_EQ(loadMembers(shell::database(), dupont).front().reply(Event::Shower), Reply::None);
    // A digit beyond the menu is refused too; 0 takes the meal away.
    press(window.grdPeople, Qt::Key_9);
    EXPECT_EQ(loadMembers(shell::database(), dupont).front().meal, loadMeals(shell::database())[1].id);
    press(window.grdPeople, Qt::Key_0);
    EXPECT_EQ(loadMembers(shell::database(), dupont).front().meal, std::nullopt);
}
