// The Find Guests window as a person uses it: typing narrows the list at each key, the filters
// combine, a header click sorts, Shift+Down selects several parties, Enter opens the party in
// the guest window and the list shows what was changed there, Esc closes.
#include "guests/MemberStore.h"
#include "guests/frmFindGuests.h"
#include "guests/frmGuests.h"
#include "shell/Help.h"
#include "shell/HelpViewer.h"
#include "tests/guests/GuestWindowFixture.h"
#include "tests/support/WidgetTestUtils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using guests::frmFindGuests;
using testsupport::findNamed;

namespace {

class FindGuestsTest : public GuestWindowTest {
protected:
    void SetUp() override
    {
        GuestWindowTest::SetUp();
        liam_ = insertGuest("Mr. and Mrs.", "Liam", "O'Connell",
                            {{"City", "Cork"}, {"guestof", "Groom"}, {"InvReception", true}, {"Invited", 2}});
        chloe_ = insertGuest("Dr.", QString::fromUtf8("Chloé"), "Moreau",
                             {{"City", "Paris"},
                              {"guestof", "Bride"},
                              {"InvReception", true},
                              {"Invited", 1},
                              {"Confirmed", true},
                              {"NumberAttending", 1}});
        insertGuest("", "Minh", QString::fromUtf8("Nguyễn"),
                    {{"City", "Hanoi"}, {"guestof", "Bride"}, {"InvReception", true}, {"Invited", 3}});
        insertGuest("Ms.", "Ana", "Zapata", {{"guestof", "Both"}, {"ShowerGuest", true}, {"Invited", 1}});
        find_ = std::make_unique<frmFindGuests>();
        find_->Form_Load();
        testsupport::showActive(find_.get());
    }
    void TearDown() override
    {
        find_.reset();
        GuestWindowTest::TearDown();
    }
    QStringList shownNames()
    {
        QStringList names;
        auto* model = find_->grdFound->model();
        for (int r = 0; r < model->rowCount(); ++r)
            names << model->index(r, 0).data().toString();
        return names;
    }

    // Opens the Change menu from the keyboard and types keys into the menus that open, one key
    // per menu, as a person picks an entry by its underlined letter.
    void chooseFromChangeMenu(const QList<Qt::Key>& keys)
    {
        QList<Qt::Key> left = keys;
        std::function<void()> next = [&left, &next] {
            QWidget* popup = QApplication::activePopupWidget();
            if (!popup || left.isEmpty())
                return;
            const Qt::Key k = left.takeFirst();
            QTest::keyClick(popup, k);
            if (!left.isEmpty())
                QTimer::singleShot(0, next);
        };
        QTimer::singleShot(0, next);
        find_->cmdChange->setFocus();
        QTest::keyClick(find_->cmdChange, Qt::Key_Space);
        EXPECT_TRUE(left.isEmpty()) << "every key reached a menu";
    }

    store::Bookmark liam_ = 0, chloe_ = 0;
    std::unique_ptr<frmFindGuests> find_;
};

}  // namespace

TEST_F(FindGuestsTest, TypingNarrowsTheListAtEachKeyAndTheFiltersCombine)
{
    EXPECT_EQ(shownNames().size(), 4);
    EXPECT_EQ(find_->lblCounts->text(), "4 of 4 parties shown: 7 people invited, 1 attending");
    find_->txtSearch->setFocus();
    QTest::keyClicks(find_->txtSearch, "ngu");
    EXPECT_EQ(shownNames(), QStringList{QString::fromUtf8("Minh Nguyễn")}) << "blind to the accents";
    QTest::keyClick(find_->txtSearch, Qt::Key_Backspace);
    QTest::keyClick(find_->txtSearch, Qt::Key_Backspace);
    QTest::keyClick(find_->txtSearch, Qt::Key_Backspace);
    QTest::keyClicks(find_->txtSearch, "oc");
    EXPECT_EQ(shownNames(), QStringList{"Mr. and Mrs. Liam O'Connell"}) << "the apostrophe does not count";
    find_->txtSearch->clear();

    clickBox(find_->chkNoReply);
    EXPECT_EQ(shownNames(), (QStringList{QString::fromUtf8("Minh Nguyễn"), "Mr. and Mrs. Liam O'Connell"}));
    auto* side = find_->cboSide;
    side->setCurrentIndex(side->findText("Bride"));
    EXPECT_EQ(shownNames(), QStringList{QString::fromUtf8("Minh Nguyễn")});
    EXPECT_EQ(find_->lblCounts->text(), "1 of 4 parties shown: 3 people invited, 0 attending");
    clickBox(find_->chkNoReply);
    clickBox(find_->chkAttending);
    EXPECT_EQ(shownNames(), QStringList{QString::fromUtf8("Dr. Chloé Moreau")});
    clickBox(find_->chkAttending);
    side->setCurrentIndex(0);
    find_->cboEvent->setCurrentIndex(find_->cboEvent->findText("Shower"));
    EXPECT_EQ(shownNames(), QStringList{"Ms. Ana Zapata"});
    find_->cboEvent->setCurrentIndex(0);
    QTest::keyClicks(find_->txtSearch, "zz");
    EXPECT_TRUE(shownNames().isEmpty());
    EXPECT_EQ(find_->lblCounts->text(), "0 of 4 parties shown: 0 people invited, 0 attending");
    EXPECT_TRUE(find_->isVisible()) << "Enter in the search box does not close the window";
    QTest::keyClick(find_->txtSearch, Qt::Key_Return);
    EXPECT_TRUE(find_->isVisible());
}

TEST_F(FindGuestsTest, HeadersSortAndSeveralPartiesAreSelectedWithTheKeyboard)
{
    EXPECT_EQ(shownNames().first(), "Dr. Chloé Moreau")
        << "by last name first: Moreau, Nguyễn, O'Connell, Zapata";
    auto* header = find_->grdFound->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(5) + 10, header->height() / 2));  // People
    EXPECT_EQ(shownNames().mid(2),
              (QStringList{"Mr. and Mrs. Liam O'Connell", QString::fromUtf8("Minh Nguyễn")}))
        << "fewest people first";
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(5) + 10, header->height() / 2));
    EXPECT_EQ(shownNames().first(), QString::fromUtf8("Minh Nguyễn"))
        << "a second click turns the order round";

    find_->txtSearch->setFocus();
    QTest::keyClick(find_->txtSearch, Qt::Key_Down);
    EXPECT_TRUE(find_->grdFound->hasFocus()) << "Down leaves the search box for the list";
    find_->grdFound->setCurrentIndex(find_->grdFound->model()->index(0, 0));
    QTest::keyClick(find_->grdFound, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(find_->grdFound, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(find_->selectedParties().size(), 3u);
    EXPECT_EQ(find_->shownParties().size(), 4u);
    QTest::keyClick(find_->grdFound, Qt::Key_F1);
    ASSERT_NE(shell::currentHelpViewer(), nullptr);
    EXPECT_EQ(shell::currentHelpViewer()->currentKey(), "1014");
    shell::quitHelp();
    testsupport::showActive(find_.get());
    QTest::keyClick(find_->grdFound, Qt::Key_Escape);
    EXPECT_FALSE(find_->isVisible());
}

TEST_F(FindGuestsTest, EnterOpensThePartyAndTheListShowsWhatWasChangedThere)
{
    QString opened;
    controls::setModalHook([&](QWidget* window) {
        if (auto* guests = qobject_cast<frmGuests*>(window)) {
            opened = guests->windowTitle() + "|" + guests->addtxtFields[2]->text();
            rawSql("UPDATE Guests SET City = 'Dublin' WHERE LastName = 'O''Connell'");
            guests->close();
        }
        return 0;
    });
    QTest::keyClicks(find_->txtSearch, "liam");
    ASSERT_EQ(shownNames().size(), 1);
    QTest::keyClick(find_->txtSearch, Qt::Key_Down);
    QTest::keyClick(find_->grdFound, Qt::Key_Return);
    EXPECT_EQ(opened, "Guest List Manager|Liam") << "opened at the party";
    EXPECT_EQ(find_->grdFound->model()->index(0, 2).data().toString(), "Dublin");
    EXPECT_EQ(find_->selectedParties(), std::vector<qint64>{liam_});
}

TEST_F(FindGuestsTest, TheChangeMenuChangesThePartiesPickedAndUndoTakesItBack)
{
    // The two Bride parties not yet at the ceremony, picked with the keyboard.
    find_->cboSide->setCurrentIndex(1);
    ASSERT_EQ(shownNames().size(), 2);
    find_->grdFound->setFocus();
    find_->grdFound->setCurrentIndex(find_->grdFound->model()->index(0, 0));
    QTest::keyClick(find_->grdFound, Qt::Key_Down, Qt::ShiftModifier);
    chooseFromChangeMenu({Qt::Key_I, Qt::Key_C});  // Invite to > Ceremony
    EXPECT_TRUE(stored(chloe_, "InvCeremony").toBool());
    EXPECT_FALSE(stored(liam_, "InvCeremony").toBool()) << "a party not picked is left alone";
    EXPECT_EQ(find_->lblDone->text(), "Invited 2 parties to the ceremony.");
    EXPECT_TRUE(find_->cmdUndo->isEnabled());
    EXPECT_TRUE(find_->cmdUndo->toolTip().startsWith("Undo Invite 2 parties to the ceremony"));

    // Every party shown, not only the ones selected.
    find_->cboSide->setCurrentIndex(0);
    find_->mnuChangeShown->setChecked(true);
    chooseFromChangeMenu({Qt::Key_D, Qt::Key_G});  // Set Side > Groom
    EXPECT_EQ(stored(chloe_, "guestof").toString(), "Groom");
    EXPECT_EQ(find_->lblDone->text(), "Set the side of 3 parties to Groom. 1 party needed no change.");

    // Ctrl+Z asks, then undoes the last change only.
    dialogs().clear();
    QTest::keyClick(find_->grdFound, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_FALSE(messages().empty());
    EXPECT_EQ(messages().front().text,
              QString::fromUtf8("Undo \u201CSet the side of 3 parties to Groom\u201D?"));
    EXPECT_EQ(stored(chloe_, "guestof").toString(), "Bride");
    EXPECT_TRUE(stored(chloe_, "InvCeremony").toBool());
    EXPECT_EQ(find_->lblDone->text(), "Undone: Set the side of 3 parties to Groom.");
    EXPECT_FALSE(find_->cmdUndo->isEnabled()) << "one change is undone, not the one before";
}

TEST_F(FindGuestsTest, DeletingManyPartiesAsksNamingHowManyAndTheListFollows)
{
    find_->mnuChangeShown->setChecked(true);
    chooseFromChangeMenu({Qt::Key_L});  // Delete..., answered with its default button: No
    ASSERT_FALSE(messages().empty());
    EXPECT_EQ(messages().back().text, "Delete these 4 parties from the guest list?");
    EXPECT_EQ(guestCount(), 4);
    dialogs().messageAnswers = {controls::mb::Yes};
    QTest::keyClicks(find_->txtSearch,
                     "o");  // Moreau, O'Connell, Nguyễn (Minh) ... and not Zapata? all with an o
    const int shown = int(find_->shownParties().size());
    chooseFromChangeMenu({Qt::Key_L});
    EXPECT_EQ(guestCount(), 4 - shown);
    EXPECT_TRUE(shownNames().isEmpty());
    EXPECT_TRUE(find_->lblCounts->text().startsWith(QStringLiteral("0 of %1 parties shown").arg(4 - shown)))
        << find_->lblCounts->text().toStdString();
}

TEST_F(FindGuestsTest, PrintLabelsHandsTheChosenPartiesToTheLabelWindow)
{
    std::vector<qint64> printed;
    guests::setLabelPrinter([&](QWidget*, const std::vector<qint64>& parties) { printed = parties; });
    find_ = std::make_unique<frmFindGuests>();  // the entry is offered when a printer is installed
    find_->Form_Load();
    testsupport::showActive(find_.get());
    QTest::keyClicks(find_->txtSearch, "moreau");
    chooseFromChangeMenu({Qt::Key_B});
    guests::setLabelPrinter({});
    EXPECT_EQ(printed, std::vector<qint64>{chloe_});
}

TEST_F(FindGuestsTest, TheMealAndNeedsListsNarrowToThePartiesWhoseMembersHaveThem)
{
    store::Database& db = *store::Workspace::defaultWorkspace().database();
    guests::saveMeals(db, {});
    find_ = std::make_unique<frmFindGuests>();
    find_->Form_Load();
    EXPECT_FALSE(find_->cboMeal->isEnabled()) << "an empty menu";
    guests::saveMeals(db, {{0, "Beef", ""}, {0, "Fish", ""}});
    guests::Member m;
    m.party = chloe_;
    m.firstName = "Lucie";
    m.lastName = "Moreau";
    m.meal = guests::loadMeals(db).at(1).id;
    m.needs = QStringList{"Gluten-free"};
    guests::addMember(db, m);
    find_ = std::make_unique<frmFindGuests>();
    find_->Form_Load();
    testsupport::showActive(find_.get());
    ASSERT_TRUE(find_->cboMeal->isEnabled());
    EXPECT_EQ(find_->cboMeal->count(), 3);
    find_->txtSearch->setFocus();
    QTest::keyClicks(find_->txtSearch, "lucie");
    EXPECT_EQ(shownNames(), QStringList{QString::fromUtf8("Dr. Chloé Moreau")}) << "found by a member's name";
    find_->txtSearch->clear();
    find_->cboMeal->setFocus();
    QTest::keyClick(find_->cboMeal, Qt::Key_F);
    EXPECT_EQ(find_->cboMeal->currentText(), "Fish");
    EXPECT_EQ(shownNames(), QStringList{QString::fromUtf8("Dr. Chloé Moreau")});
    find_->cboMeal->setCurrentIndex(0);
    EXPECT_EQ(shownNames().size(), 4);
    find_->cboNeed->setCurrentText("Vegan");
    EXPECT_TRUE(shownNames().isEmpty());
    find_->cboNeed->setCurrentText("Gluten-free");
    EXPECT_EQ(shownNames(), QStringList{QString::fromUtf8("Dr. Chloé Moreau")});
}
