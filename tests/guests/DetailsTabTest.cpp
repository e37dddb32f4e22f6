// The Details tab: the side, the four events, the reception and shower counts.
#include "tests/guests/GuestWindowFixture.h"

#include "controls/DataNavigator.h"
#include "controls/DataSource.h"
#include "controls/MaskedEdit.h"
#include "shell/Program.h"
#include "tests/support/WidgetTestUtils.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

void clickNext(frmGuests& w)
{
    QTest::mouseClick(testsupport::findNamed<QWidget>(w.navigator, QStringLiteral("Next")), Qt::LeftButton);
    testsupport::pumpEvents();
}

}  // namespace

TEST_F(GuestWindowTest, EmptyCountBoxesShowZeroOnTheDetailsTabAndTheZerosAreSaved)
{
    const auto guest = insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"));
    insertGuest(QStringLiteral("Ms."), QStringLiteral("Zoe"), QStringLiteral("Zimmer"), {{"Invited", 3}});
    openWindow();
    chooseTab(frmGuests::DetailsTab);
    for (QLineEdit* box : {w().detText1, w().detText2, w().detText3, w().detText4})
        EXPECT_EQ(box->text(), QStringLiteral("0")) << box->objectName().toStdString();
    // The gift amounts too.
    EXPECT_EQ(w().gifMaskEdBox1->text(), QStringLiteral("0"));

    clickNext(w());
    EXPECT_EQ(w().detText1->text(), QStringLiteral("3"));
    for (const char* field : {"Invited", "NumberAttending", "ShowerInvited", "ShowerComing", "engamt"}) {
        const QVariant value = stored(guest, QString::fromLatin1(field));
        EXPECT_FALSE(value.isNull()) << field;
        EXPECT_EQ(value.toDouble(), 0.0) << field;
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(GuestWindowTest, SideOptionsShowTheCoupleAndClickingOneStoresItAtOnce)
{
    const auto guest = insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"),
                                   {{"guestof", QStringLiteral("Both")}});
    openWindow();
    EXPECT_EQ(w().detside[0]->text(), QStringLiteral("Anna"));
    EXPECT_EQ(w().detside[1]->text(), QStringLiteral("Ben"));
    EXPECT_EQ(w().detside[2]->text(), QStringLiteral("Both"));
    chooseTab(frmGuests::DetailsTab);
    EXPECT_TRUE(w().detside[2]->isChecked());

    w().addtxtFields[2]->setText(QStringLiteral("Thomas"));  // an edit not yet written
    clickBox(w().detside[1]);
    EXPECT_EQ(stored(guest, QStringLiteral("guestof")).toString(), QStringLiteral("Groom"));
    EXPECT_EQ(stored(guest, QStringLiteral("FirstName")).toString(), QStringLiteral("Tom"));
    clickNext(w());  // the only guest: the row is left and written
    w().Data1->updateRecord();
    EXPECT_EQ(stored(guest, QStringLiteral("FirstName")).toString(), QStringLiteral("Thomas"));
    EXPECT_EQ(stored(guest, QStringLiteral("guestof")).toString(), QStringLiteral("Groom"));
}

TEST_F(GuestWindowTest, SideCaptionsAreEmptyWithoutTheCouplesNamesAndOtherSidesSelectNothing)
{
    shell::program().BrideName.clear();
    shell::program().GroomName.clear();
    const auto cousin = insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"),
                                    {{"guestof", QStringLiteral("Cousin")}});
    const auto bride = insertGuest(QStringLiteral("Ms."), QStringLiteral("Zoe"), QStringLiteral("Zimmer"),
                                   {{"guestof", QStringLiteral("Bride")}});
    openWindow();
    EXPECT_EQ(w().detside[0]->text(), QString());
    EXPECT_EQ(w().detside[1]->text(), QString());
    EXPECT_EQ(w().detside[2]->text(), QStringLiteral("Both"));
    for (QRadioButton* option : w().detside)
        EXPECT_FALSE(option->isChecked());

    pickGuest(bride);
    EXPECT_TRUE(w().detside[0]->isChecked());
    // Arriving at a party of another side shows no side at all, not the previous party's.
    pickGuest(cousin);
    for (QRadioButton* option : w().detside)
        EXPECT_FALSE(option->isChecked());
    chooseTab(frmGuests::DetailsTab);
    focus(w().detside[0]);
    for (QRadioButton* option : w().detside)
        EXPECT_FALSE(option->isChecked());
    EXPECT_EQ(stored(cousin, QStringLiteral("guestof")).toString(), QStringLiteral("Cousin"));

    clickNext(w());  // to the bride's party and back with the navigator
    EXPECT_TRUE(w().detside[0]->isChecked());
    QTest::mouseClick(testsupport::findNamed<QWidget>(w().navigator, QStringLiteral("Previous")),
                      Qt::LeftButton);
    testsupport::pumpEvents();
    for (QRadioButton* option : w().detside)
        EXPECT_FALSE(option->isChecked());
    EXPECT_EQ(stored(cousin, QStringLiteral("guestof")).toString(), QStringLiteral("Cousin"));
}

TEST_F(GuestWindowTest, ReceptionAndShowerFramesFollowTheirBoxes)
{
    insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"),
                {{"InvReception", true}, {"ShowerGuest", false}});
    insertGuest(QStringLiteral("Ms."), QStringLiteral("Zoe"), QStringLiteral("Zimmer"),
                {{"InvReception", false}, {"ShowerGuest", true}});
    openWindow();
    chooseTab(frmGuests::DetailsTab);
    EXPECT_TRUE(w().Frame3->isVisible());
    EXPECT_FALSE(w().showerframe->isVisible());
    clickNext(w());
    EXPECT_FALSE(w().Frame3->isVisible());
    EXPECT_TRUE(w().showerframe->isVisible());
    clickBox(w().detCheck3);
    EXPECT_TRUE(w().Frame3->isVisible());
    clickBox(w().detCheck4);
    EXPECT_FALSE(w().showerframe->isVisible());
}

TEST_F(GuestWindowTest, BackspaceWorksOnlyInTheAttendingBoxes)
{
    insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"),
                {{"InvReception", true},
                 {"ShowerGuest", true},
                 {"Invited", 12},
                 {"NumberAttending", 12},
                 {"ShowerInvited", 34},
                 {"ShowerComing", 34},
                 {"Confirmed", true},
                 {"ShowerReplied", true}});
    openWindow();
    chooseTab(frmGuests::DetailsTab);
    for (QLineEdit* box : {w().detText1, w().detText2, w().detText3, w().detText4}) {
        focus(box);
        box->end(false);
        key(box, Qt::Key_Backspace);
    }
    EXPECT_EQ(w().detText1->text(), QStringLiteral("12"));
    EXPECT_EQ(w().detText2->text(), QStringLiteral("1"));
    EXPECT_EQ(w().detText3->text(), QStringLiteral("34"));
    EXPECT_EQ(w().detText4->text(), QStringLiteral("3"));

    // Letters and signs are dropped everywhere.
    typeInto(w().detText1, QStringLiteral("a-5."));
    EXPECT_EQ(w().detText1->text(), QStringLiteral("5"));
}

TEST_F(GuestWindowTest, AttendingDigitsTickTheReplyAndUntickingResetsTheCount)
{
    insertGuest(
        QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"),
        {{"InvReception", true}, {"ShowerGuest", true}, {"ShowerComing", 4}, {"ShowerReplied", true}});
    openWindow();
    chooseTab(frmGuests::DetailsTab);
    EXPECT_FALSE(w().detCheck1->isChecked());
    typeInto(w().detText2, QStringLiteral("0"));
    EXPECT_TRUE(w().detCheck1->isChecked());
    focus(w().detText3);
    EXPECT_EQ(w().detText2->text(), QStringLiteral("0"));
    EXPECT_TRUE(w().detCheck1->isChecked());

    typeInto(w().detText1, QStringLiteral("007"));
    focus(w().detText3);
    EXPECT_EQ(w().detText1->text(), QStringLiteral("7"));

    EXPECT_EQ(w().detText4->text(), QStringLiteral("4"));
    clickBox(w().detCheck6);
    EXPECT_FALSE(w().detCheck6->isChecked());
    EXPECT_EQ(w().detText4->text(), QStringLiteral("0"));

    // A pasted count ticks the reply when the box is left.
    w().detText4->setText(QStringLiteral("05"));
    focus(w().detText4);
    focus(w().detText3);
    EXPECT_EQ(w().detText4->text(), QStringLiteral("5"));
    EXPECT_TRUE(w().detCheck6->isChecked());
}

TEST_F(GuestWindowTest, EscapeInACountBoxAsksToRemoveTheGuestAndNoKeepsIt)
{
    insertGuest(QStringLiteral("Mr. and Mrs."), QStringLiteral("John"), QStringLiteral("Smith"),
                {{"InvReception", true}, {"ShowerGuest", true}});
    insertGuest(QStringLiteral("Ms."), QStringLiteral("Zoe"), QStringLiteral("Zimmer"),
                {{"InvReception", true}, {"ShowerGuest", true}});
    openWindow();
    chooseTab(frmGuests::DetailsTab);
    for (QLineEdit* box : {w().detText1, w().detText2, w().detText3, w().detText4}) {
        dialogs().clear();
        dialogs().messageAnswers = {controls::mb::No};
        focus(box);
        key(box, Qt::Key_Escape);
        ASSERT_EQ(messages().size(), 1u) << box->objectName().toStdString();
        EXPECT_EQ(messages()[0].title, QStringLiteral("Confirm Delete"));
        EXPECT_EQ(messages()[0].text, QStringLiteral("Do you want to delete Mr. and Mrs. John Smith"));
        EXPECT_EQ(guestCount(), 2);
        EXPECT_TRUE(w().isVisible());
    }
    dialogs().clear();
    dialogs().messageAnswers = {controls::mb::Yes};
    key(w().detText4, Qt::Key_Escape);
    EXPECT_EQ(guestCount(), 1);
    EXPECT_EQ(w().navigator->caption(), QStringLiteral("Ms. Zoe Zimmer"));
}
