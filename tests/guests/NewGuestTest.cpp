// The new guest dialog and what it does to the guest window.
#include "tests/guests/GuestWindowFixture.h"

#include "controls/DataList.h"
#include "controls/DataNavigator.h"
#include "controls/DataSource.h"
#include "guests/frmNewGuest.h"
#include "shell/Program.h"
#include "tests/support/WidgetTestUtils.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

// What the dialog looked like when the hook gave it back.
struct DialogOutcome {
    bool stillOpen = false;
    QString first, last;
};

}  // namespace

class NewGuestTest : public GuestWindowTest {
protected:
    // Opens the dialog from the window's button; type runs inside the dialog.
    DialogOutcome addGuest(const std::function<void(frmNewGuest&)>& type)
    {
        DialogOutcome outcome;
        newGuestDialog_ = [&](frmNewGuest& dialog) {
            testsupport::showActive(&dialog);
            type(dialog);
            testsupport::pumpEvents();
            outcome.stillOpen = dialog.isVisible();
            outcome.first = dialog.txtnewfirst->text();
            outcome.last = dialog.txtnewlast->text();
            dialog.hide();
            return dialog.result();
        };
        QTest::mouseClick(w().SSCommand2, Qt::LeftButton);
        testsupport::showActive(&w());
        testsupport::pumpEvents();
        return outcome;
    }
};

TEST_F(NewGuestTest, MissingNamesAreReportedLastNameFirstAndTheDialogStaysOpen)
{
    insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"));
    openWindow();

    DialogOutcome outcome = addGuest([](frmNewGuest& d) { QTest::mouseClick(d.Command1, Qt::LeftButton); });
    EXPECT_TRUE(outcome.stillOpen);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, QStringLiteral("You must enter a last name"));
    EXPECT_EQ(messages()[0].title, QStringLiteral("New Guest"));
    EXPECT_EQ(messages()[0].style, controls::mb::OKOnly);
    ASSERT_FALSE(dialogs().calls.empty());
    EXPECT_EQ(dialogs().calls[0].kind, controls::DialogCall::Kind::Beep);

    dialogs().clear();
    outcome = addGuest([](frmNewGuest& d) {
        typeKeys(d.txtnewlast, QStringLiteral("Müller"));
        QTest::mouseClick(d.Command1, Qt::LeftButton);
    });
    EXPECT_TRUE(outcome.stillOpen);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, QStringLiteral("You must enter a first name"));
    EXPECT_EQ(dialogs().beepCount(), 1);
    EXPECT_EQ(outcome.last, QStringLiteral("Müller"));
    EXPECT_EQ(guestCount(), 1);
}

TEST_F(NewGuestTest, EnterInTheLastNameBoxAddsTheGuestAndTheWindowShowsItOnTheAddressTab)
{
    insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"));
    insertGuest(QStringLiteral("Ms."), QStringLiteral("Zoe"), QStringLiteral("Zimmer"));
    openWindow();
    chooseTab(frmGuests::GiftsTab);
    EXPECT_EQ(w().lblguestcount->text(), QStringLiteral("2"));

    const DialogOutcome outcome = addGuest([](frmNewGuest& d) {
        EXPECT_TRUE(d.txtnewfirst->hasFocus());
        typeKeys(d.txtnewfirst, QStringLiteral("Siobhan"));
        QTest::keyClick(d.txtnewfirst, Qt::Key_Return);  // nothing special here
        EXPECT_TRUE(d.isVisible());
        typeKeys(d.txtnewlast, QStringLiteral("O'Brien"));
        QTest::keyClick(d.txtnewlast, Qt::Key_Return);
    });
    EXPECT_FALSE(outcome.stillOpen);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(guestCount(), 3);
    EXPECT_EQ(w().navigator->caption(), QStringLiteral(" Siobhan O'Brien"));
    EXPECT_EQ(w().addtxtFields[0]->text(), QStringLiteral("O'Brien"));
    EXPECT_EQ(w().SSTab1->currentIndex(), frmGuests::AddressTab);
    EXPECT_EQ(w().lblguestcount->text(), QStringLiteral("3"));
    EXPECT_EQ(w().addDBList1->count(), 3);
    testsupport::pumpEvents();
    EXPECT_EQ(w().focusWidget(), w().addCombo1);

    const store::Bookmark mark = *w().Data1->bookmark();
    EXPECT_EQ(stored(mark, QStringLiteral("guestof")).toString(), QStringLiteral("Both"));
    EXPECT_EQ(stored(mark, QStringLiteral("FirstName")).toString(), QStringLiteral("Siobhan"));
    EXPECT_TRUE(stored(mark, QStringLiteral("Prefix")).isNull());
    chooseTab(frmGuests::DetailsTab);
    EXPECT_TRUE(w().detside[2]->isChecked());
}

TEST_F(NewGuestTest, CancelAndEscapeStoreNothingAndDuplicatesAreAllowed)
{
    insertGuest(QStringLiteral("Mr. and Mrs."), QStringLiteral("John"), QStringLiteral("Smith"));
    openWindow();
    DialogOutcome outcome = addGuest([](frmNewGuest& d) {
        typeKeys(d.txtnewfirst, QStringLiteral("John"));
        QTest::keyClick(d.txtnewfirst, Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible());
        typeKeys(d.txtnewlast, QStringLiteral("Smith"));
        QTest::mouseClick(d.Command2, Qt::LeftButton);
    });
    EXPECT_FALSE(outcome.stillOpen);
    EXPECT_EQ(guestCount(), 1);

    // Each showing starts empty.
    outcome = addGuest([](frmNewGuest& d) {
        EXPECT_TRUE(d.txtnewfirst->text().isEmpty());
        EXPECT_TRUE(d.txtnewlast->text().isEmpty());
        d.txtnewfirst->setText(QStringLiteral("John"));
        d.txtnewlast->setText(QStringLiteral("Smith"));
        QTest::mouseClick(d.Command1, Qt::LeftButton);
    });
    EXPECT_FALSE(outcome.stillOpen);
    EXPECT_EQ(guestCount(), 2);
    EXPECT_EQ(w().lblguestcount->text(), QStringLiteral("2"));
    EXPECT_EQ(w().navigator->caption(), QStringLiteral(" John Smith"));  // the new one, without title
}

TEST_F(NewGuestTest, NamesOfSpacesCountAsFilledInAndNamesAreLimitedLikeTheAddressTab)
{
    openWindow();
    const DialogOutcome outcome = addGuest([](frmNewGuest& d) {
        EXPECT_EQ(d.txtnewfirst->maxLength(), 20);
        EXPECT_EQ(d.txtnewlast->maxLength(), 20);
        d.txtnewfirst->setText(QStringLiteral(" "));
        typeKeys(d.txtnewlast, QStringLiteral("Castellano-Díaz-Nguyễn"));
        EXPECT_EQ(d.txtnewlast->text(), QStringLiteral("Castellano-Díaz-Nguy"));
        QTest::keyClick(d.txtnewlast, Qt::Key_Enter);
    });
    EXPECT_FALSE(outcome.stillOpen);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(w().addtxtFields[0]->text(), QStringLiteral("Castellano-Díaz-Nguy"));
}

TEST_F(NewGuestTest, AFailureToStoreTheGuestShowsAddGuestErrorAndKeepsTheDialog)
{
    insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"));
    openWindow();
    rawSql(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE INSERT ON Guests BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    const DialogOutcome outcome = addGuest([](frmNewGuest& d) {
        d.txtnewfirst->setText(QStringLiteral("Ada"));
        d.txtnewlast->setText(QStringLiteral("Lovelace"));
        QTest::mouseClick(d.Command1, Qt::LeftButton);
    });
    EXPECT_TRUE(outcome.stillOpen);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].title, QStringLiteral("Add Guest Error"));
    EXPECT_FALSE(messages()[0].text.isEmpty());
    EXPECT_EQ(guestCount(), 1);
    EXPECT_EQ(w().lblguestcount->text(), QStringLiteral("1"));
}
