// The Mail Labels tab: the wedding and shower label lines.
#include "tests/guests/GuestWindowFixture.h"

#include "controls/DataNavigator.h"
#include "controls/DataSource.h"
#include "tests/support/WidgetTestUtils.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

TEST_F(GuestWindowTest, LabelLinesAreFilledOnArrivalAndSavedWithTheGuest)
{
    const auto smith =
        insertGuest(QStringLiteral("Mr. and Mrs."), QStringLiteral("John"), QStringLiteral("Smith"));
    const auto obrien =
        insertGuest(QStringLiteral("Ms."), QStringLiteral("Siobhan"), QStringLiteral("O'Brien"));
    const auto berg = insertGuest(QString(), QStringLiteral("Pieter"), QStringLiteral("van der Berg"));
    const auto kept = insertGuest(
        QStringLiteral("Dr."), QStringLiteral("Anneliese"), QStringLiteral("Müller"),
        {{"wedlbl", QStringLiteral("Prof. Dr. A. Müller")}, {"showlbl", QStringLiteral("Frau Müller")}});
    openWindow();

    pickGuest(smith);
    EXPECT_EQ(w().maiText2->text(), QStringLiteral("Mr. and Mrs. John Smith"));
    EXPECT_EQ(w().maiText3->text(), QStringLiteral("Mrs. Smith"));
    pickGuest(obrien);
    EXPECT_EQ(w().maiText2->text(), QStringLiteral("Ms. Siobhan O'Brien"));
    EXPECT_EQ(w().maiText3->text(), QStringLiteral("Ms. O'Brien"));
    pickGuest(berg);
    EXPECT_EQ(w().maiText2->text(), QStringLiteral(" Pieter van der Berg"));
    EXPECT_EQ(w().maiText3->text(), QStringLiteral("Mrs. van der Berg"));
    pickGuest(kept);
    EXPECT_EQ(w().maiText2->text(), QStringLiteral("Prof. Dr. A. Müller"));
    EXPECT_EQ(w().maiText3->text(), QStringLiteral("Frau Müller"));

    EXPECT_EQ(stored(smith, QStringLiteral("wedlbl")).toString(), QStringLiteral("Mr. and Mrs. John Smith"));
    EXPECT_EQ(stored(obrien, QStringLiteral("showlbl")).toString(), QStringLiteral("Ms. O'Brien"));
    EXPECT_EQ(stored(berg, QStringLiteral("wedlbl")).toString(), QStringLiteral(" Pieter van der Berg"));
}

TEST_F(GuestWindowTest, AClearedWeddingLineIsFilledAgainWhenTheGuestComesBack)
{
    const auto smith =
        insertGuest(QStringLiteral("Mr. and Mrs."), QStringLiteral("John"), QStringLiteral("Smith"));
    const auto other = insertGuest(QStringLiteral("Ms."), QStringLiteral("Zoe"), QStringLiteral("Zimmer"));
    openWindow();
    pickGuest(smith);
    chooseTab(frmGuests::MailLabelsTab);
    EXPECT_EQ(QApplication::focusWidget(), w().maiText2);
    w().maiText2->clear();
    pickGuest(other);
    EXPECT_TRUE(stored(smith, QStringLiteral("wedlbl")).toString().isEmpty());
    pickGuest(smith);
    EXPECT_EQ(w().maiText2->text(), QStringLiteral("Mr. and Mrs. John Smith"));
}

TEST_F(GuestWindowTest, AutoFillUsesTheNameTheGuestHadOnArrivalAndTheStoredTitle)
{
    insertGuest(QStringLiteral("Ms."), QStringLiteral("Siobhan"), QStringLiteral("O'Brien"),
                {{"wedlbl", QStringLiteral("x")}, {"showlbl", QStringLiteral("y")}});
    openWindow();
    w().addtxtFields[2]->setText(QStringLiteral("Róisín"));
    w().addCombo1->setEditText(QStringLiteral("Dr."));
    chooseTab(frmGuests::MailLabelsTab);
    QTest::mouseClick(w().maifillwed, Qt::LeftButton);
    QTest::mouseClick(w().maifillshow, Qt::LeftButton);
    EXPECT_EQ(w().maiText2->text(), QStringLiteral("Ms. Siobhan O'Brien"));
    EXPECT_EQ(w().maiText3->text(), QStringLiteral("Ms. O'Brien"));
    focus(w().maiText3);
    EXPECT_EQ(w().maiText3->selectedText(), QStringLiteral("Ms. O'Brien"));
}

TEST_F(GuestWindowTest, TheShowerFrameShowsOnlyForShowerGuestsButItsLineIsFilledForAll)
{
    const auto notInvited = insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"),
                                        QStringLiteral("Abbott"), {{"ShowerGuest", false}});
    const auto invited = insertGuest(QStringLiteral("Ms."), QStringLiteral("Zoe"), QStringLiteral("Zimmer"),
                                     {{"ShowerGuest", true}});
    openWindow();
    chooseTab(frmGuests::MailLabelsTab);
    pickGuest(notInvited);
    EXPECT_FALSE(w().Frame11->isVisible());
    EXPECT_EQ(w().maiText3->text(), QStringLiteral("Mrs. Abbott"));
    pickGuest(invited);
    EXPECT_TRUE(w().Frame11->isVisible());

    // Choosing the tab follows the Details tab's Shower box, saved or not.
    chooseTab(frmGuests::DetailsTab);
    clickBox(w().detCheck4);
    chooseTab(frmGuests::MailLabelsTab);
    EXPECT_FALSE(w().Frame11->isVisible());
}
