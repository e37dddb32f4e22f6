// The guest window as a whole and its Address tab: opening, the record change, the
// quick search, the city and state lists, Remove Guest, Help and the data error message.
#include "tests/guests/GuestWindowFixture.h"

#include "controls/DataList.h"
#include "controls/DataNavigator.h"
#include "controls/DataSource.h"
#include "guests/frmNewGuest.h"
#include "shell/HelpViewer.h"
#include "shell/Program.h"
#include "tests/support/FileLock.h"
#include "tests/support/WidgetTestUtils.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include "controls/MaskedEdit.h"

using controls::mb::DefaultButton2;
using controls::mb::No;
using controls::mb::Question;
using controls::mb::Yes;
using controls::mb::YesNo;

namespace {

QString caption(frmGuests& w)
{
    return w.navigator->caption();
}

}  // namespace

TEST_F(GuestWindowTest, EmptyListDisablesTabsAndRemoveAndShowsTipOneUntilTheFirstGuestIsAdded)
{
    openWindow();
    EXPECT_TRUE(w().GuestListEmpty);
    EXPECT_FALSE(w().SSTab1->isEnabled());
    EXPECT_FALSE(w().SSCommand3->isEnabled());
    EXPECT_TRUE(w().SSCommand2->isEnabled());
    EXPECT_EQ(tipsShown_, std::vector<int>{1});
    EXPECT_EQ(w().lblguestcount->text(), QStringLiteral("0"));

    newGuestDialog_ = [](frmNewGuest& dialog) {
        dialog.txtnewfirst->setText(QStringLiteral("Siobhan"));
        dialog.txtnewlast->setText(QStringLiteral("O'Brien"));
        dialog.Command1_Click();
        return 1;
    };
    QTest::mouseClick(w().SSCommand2, Qt::LeftButton);
    testsupport::pumpEvents();

    EXPECT_FALSE(w().GuestListEmpty);
    EXPECT_TRUE(w().SSTab1->isEnabled());
    EXPECT_TRUE(w().SSCommand3->isEnabled());
    EXPECT_EQ(caption(w()), QStringLiteral(" Siobhan O'Brien"));
    EXPECT_EQ(w().lblguestcount->text(), QStringLiteral("1"));
    EXPECT_EQ(tipsShown_, std::vector<int>{1});  // not again
}

TEST_F(GuestWindowTest, ListsGuestsByLastNameAndTheQuickSearchMovesToThePickedGuest)
{
    insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Zimmer"));
    const auto obrien =
        insertGuest(QStringLiteral("Ms."), QStringLiteral("Siobhan"), QStringLiteral("O'Brien"));
    insertGuest(QStringLiteral("Dr."), QStringLiteral("Anneliese"), QStringLiteral("Müller"));
    const auto nguyen =
        insertGuest(QStringLiteral("Mr."), QStringLiteral("Văn Thành"), QStringLiteral("Nguyễn"));
    openWindow();

    ASSERT_EQ(w().addDBList1->count(), 4);
    EXPECT_EQ(w().addDBList1->itemText(0), QStringLiteral("Müller"));
    EXPECT_EQ(w().addDBList1->itemText(1), QStringLiteral("Nguyễn"));
    EXPECT_EQ(w().addDBList1->itemText(2), QStringLiteral("O'Brien"));
    EXPECT_EQ(w().addDBList1->itemText(3), QStringLiteral("Zimmer"));
    EXPECT_EQ(caption(w()), QStringLiteral("Dr. Anneliese Müller"));
    EXPECT_EQ(w().lblguestcount->text(), QStringLiteral("4"));
    EXPECT_TRUE(tipsShown_.empty());

    pickGuest(obrien);
    EXPECT_EQ(caption(w()), QStringLiteral("Ms. Siobhan O'Brien"));
    EXPECT_EQ(w().addtxtFields[0]->text(), QStringLiteral("O'Brien"));
    pickGuest(nguyen);
    EXPECT_EQ(w().addtxtFields[2]->text(), QStringLiteral("Văn Thành"));
    EXPECT_EQ(caption(w()), QStringLiteral("Mr. Văn Thành Nguyễn"));

    QTest::mouseClick(testsupport::findNamed<QWidget>(w().navigator, QStringLiteral("Next")), Qt::LeftButton);
    EXPECT_EQ(caption(w()), QStringLiteral("Ms. Siobhan O'Brien"));
}

TEST_F(GuestWindowTest, AGuestWithoutTitleGetsExtraBlanksInCaptionAndRemoveQuestion)
{
    const auto smith = insertGuest(QString(), QStringLiteral("John"), QStringLiteral("Smith"));
    insertGuest(QStringLiteral("Ms."), QStringLiteral("Ada"), QStringLiteral("Abbott"));
    openWindow();
    pickGuest(smith);
    EXPECT_EQ(caption(w()), QStringLiteral(" John Smith"));

    dialogs().messageAnswers = {No};
    QTest::mouseClick(w().SSCommand3, Qt::LeftButton);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, QStringLiteral("Do you want to delete  John Smith"));
    EXPECT_EQ(messages()[0].title, QStringLiteral("Confirm Delete"));
    EXPECT_EQ(messages()[0].style, YesNo | Question | DefaultButton2);
    EXPECT_EQ(guestCount(), 2);
    EXPECT_EQ(caption(w()), QStringLiteral(" John Smith"));

    dialogs().messageAnswers = {Yes};
    QTest::mouseClick(w().SSCommand3, Qt::LeftButton);
    EXPECT_EQ(guestCount(), 1);
    EXPECT_EQ(caption(w()), QStringLiteral("Ms. Ada Abbott"));
    EXPECT_EQ(w().lblguestcount->text(), QStringLiteral("1"));
    EXPECT_EQ(w().addDBList1->count(), 1);

    dialogs().messageAnswers = {Yes};
    QTest::mouseClick(w().SSCommand3, Qt::LeftButton);
    EXPECT_EQ(guestCount(), 0);
    EXPECT_TRUE(w().GuestListEmpty);
    EXPECT_FALSE(w().SSTab1->isEnabled());
    EXPECT_FALSE(w().SSCommand3->isEnabled());
    // Nothing shows the removed guest any more.
    EXPECT_EQ(w().lblguestcount->text(), QStringLiteral("0"));
    EXPECT_EQ(caption(w()), QString());
}

TEST_F(GuestWindowTest, RemovingASeatedGuestGivesItsSeatsBackToItsTable)
{
    rawSql(
        QStringLiteral("INSERT INTO Tables (TableId, tablename, tablenumber, max, assigned) VALUES "
                       "(7, 'Family', 1, 8, 5), (8, 'Friends', 2, 6, 3)"));
    const auto seated = insertGuest(QStringLiteral("Mr. and Mrs."), QStringLiteral("John"),
                                    QStringLiteral("Smith"), {{"tableid", 7}, {"tabletot", 2}});
    insertGuest(QStringLiteral("Mr. and Mrs."), QStringLiteral("John"), QStringLiteral("Smith"),
                {{"tableid", 8}, {"tabletot", 3}});
    const auto unseated = insertGuest(QStringLiteral("Ms."), QStringLiteral("Ada"), QStringLiteral("Abbott"));
    openWindow();
    auto assigned = [](int table) {
        auto tables = shell::database().openRecordset(
            QStringLiteral("SELECT assigned FROM Tables WHERE TableId = ") + QString::number(table),
            store::RecordsetType::Snapshot);
        return tables->value(QStringLiteral("assigned")).toInt();
    };

    pickGuest(seated);
    dialogs().messageAnswers = {Yes};
    w().SSCommand3_Click();
    EXPECT_EQ(assigned(7), 3);
    EXPECT_EQ(assigned(8), 3);

    pickGuest(unseated);
    dialogs().messageAnswers = {Yes};
    w().SSCommand3_Click();
    EXPECT_EQ(assigned(7), 3);
    EXPECT_EQ(assigned(8), 3);
    EXPECT_EQ(guestCount(), 1);
    EXPECT_EQ(messages().size(), 2u);  // the two questions, no error
}

TEST_F(GuestWindowTest, ANewCityIsAddedOnceWhenTheBoxIsLeftAndADuplicateChangesNothing)
{
    insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"));
    openWindow();
    auto cities = [] {
        return shell::database()
            .openRecordset(QStringLiteral("CityList"), store::RecordsetType::Snapshot)
            ->recordCount();
    };
    const int before = cities();
    const int listed = w().addDBCombo1->count();

    w().addDBCombo1->lineEdit()->clear();
    typeInto(w().addDBCombo1, QStringLiteral("Saint-Jérôme"));
    focus(w().addDBCombo2);
    EXPECT_EQ(cities(), before + 1);
    EXPECT_EQ(w().addDBCombo1->count(), listed + 1);
    EXPECT_FALSE(w().CityChanged);
    EXPECT_EQ(w().addDBCombo1->currentText(), QStringLiteral("Saint-Jérôme"));

    w().addDBCombo1->lineEdit()->clear();
    typeInto(w().addDBCombo1, QStringLiteral("saint-jérôme"));
    focus(w().addDBCombo2);
    w().addDBCombo1->lineEdit()->clear();
    typeInto(w().addDBCombo1, QStringLiteral("   "));
    focus(w().addtxtFields[7]);
    EXPECT_EQ(cities(), before + 1);
    EXPECT_TRUE(messages().empty());

    // Leaving the box without an edit adds nothing either.
    focus(w().addDBCombo1);
    focus(w().addtxtFields[7]);
    EXPECT_EQ(cities(), before + 1);
}

TEST_F(GuestWindowTest, ANewStateIsAddedWhenTheBoxIsLeftAndTheGuestKeepsItsOwnValues)
{
    const auto guest = insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"));
    insertGuest(QStringLiteral("Ms."), QStringLiteral("Zoe"), QStringLiteral("Zimmer"));
    openWindow();
    w().addDBCombo2->lineEdit()->clear();
    typeInto(w().addDBCombo2, QStringLiteral("Québec"));
    focus(w().addtxtFields[7]);
    auto states =
        shell::database().openRecordset(QStringLiteral("StateList"), store::RecordsetType::Snapshot);
    states->findFirst(QStringLiteral("[State] = ?"), {QStringLiteral("Québec")});
    EXPECT_FALSE(states->noMatch());

    QTest::mouseClick(testsupport::findNamed<QWidget>(w().navigator, QStringLiteral("Next")), Qt::LeftButton);
    EXPECT_EQ(stored(guest, QStringLiteral("State")).toString(), QStringLiteral("Québec"));
}

TEST_F(GuestWindowTest, AddressBoxesHoldTheirLimitsAndKeepAccentsAndApostrophes)
{
    const auto guest = insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"));
    insertGuest(QStringLiteral("Ms."), QStringLiteral("Zoe"), QStringLiteral("Zimmer"));
    openWindow();
    const std::pair<int, int> limits[] = {{2, 20}, {0, 20}, {4, 40}, {7, 20}, {8, 20}, {10, 20}};
    for (auto [index, limit] : limits)
        EXPECT_EQ(w().addtxtFields[size_t(index)]->maxLength(), limit) << index;

    const QString last = QStringLiteral("O'Brien-Nguyễn-Müll");    // 19 characters
    const QString first = QStringLiteral("Ánh-Siobhán Đặng Thị");  // 20 characters
    ASSERT_EQ(first.size(), 20);
    typeInto(w().addtxtFields[0], last + QStringLiteral("erXYZ"));
    EXPECT_EQ(w().addtxtFields[0]->text(), last + QStringLiteral("e"));
    typeInto(w().addtxtFields[2], first);
    QTest::mouseClick(testsupport::findNamed<QWidget>(w().navigator, QStringLiteral("Next")), Qt::LeftButton);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(stored(guest, QStringLiteral("LastName")).toString(), last + QStringLiteral("e"));
    EXPECT_EQ(stored(guest, QStringLiteral("FirstName")).toString(), first);
}

TEST_F(GuestWindowTest, AValueTheFieldCannotHoldShowsInvalidDataAndTheGuestStays)
{
    const auto guest = insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"));
    insertGuest(QStringLiteral("Ms."), QStringLiteral("Zoe"), QStringLiteral("Zimmer"));
    openWindow();
    w().addCombo1->setEditText(QStringLiteral("The Right Honourable Lord"));  // the field holds 20
    QTest::mouseClick(testsupport::findNamed<QWidget>(w().navigator, QStringLiteral("Next")), Qt::LeftButton);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, QStringLiteral("You have entered invalid data"));
    EXPECT_EQ(messages()[0].title, QStringLiteral("Invalid Data"));
    EXPECT_EQ(messages()[0].style, controls::mb::OKOnly | controls::mb::Exclamation);
    EXPECT_TRUE(messages()[0].informative.endsWith(QStringLiteral(" takes at most 20 characters.")))
        << messages()[0].informative.toStdString();
    EXPECT_EQ(w().addCombo1->currentText(), QStringLiteral("The Right Honourable Lord"))
        << "kept to be corrected";
    EXPECT_EQ(caption(w()), QStringLiteral("Mr. Tom Abbott"));
    EXPECT_EQ(stored(guest, QStringLiteral("Prefix")).toString(), QStringLiteral("Mr."));
}

TEST_F(GuestWindowTest, AnEmptiedLastNameIsRefusedAndTheGuestKeepsItsName)
{
    const auto tom = insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"));
    insertGuest(QStringLiteral("Ms."), QStringLiteral("Zoe"), QStringLiteral("Zimmer"));
    openWindow();
    QLineEdit* last = w().addtxtFields[0];
    focus(last);
    QTest::keyClick(last, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(last, Qt::Key_Delete);
    ASSERT_TRUE(last->text().isEmpty());
    QTest::mouseClick(testsupport::findNamed<QWidget>(w().navigator, QStringLiteral("Next")), Qt::LeftButton);
    testsupport::pumpEvents();

    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, QStringLiteral("You must enter a last name"));
    EXPECT_EQ(dialogs().beepCount(), 1);
    EXPECT_EQ(stored(tom, QStringLiteral("LastName")).toString(), QStringLiteral("Abbott"));
    EXPECT_EQ(caption(w()), QStringLiteral("Mr. Tom Abbott"));  // still on Tom's row

    typeInto(last, QStringLiteral("Abbot-Smith"));
    QTest::mouseClick(testsupport::findNamed<QWidget>(w().navigator, QStringLiteral("Next")), Qt::LeftButton);
    testsupport::pumpEvents();
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_EQ(stored(tom, QStringLiteral("LastName")).toString(), QStringLiteral("Abbot-Smith"));
}

TEST_F(GuestWindowTest, HelpButtonAndF1OpenTheGuestTopic)
{
    QFile help(shell::program().HelpFilePath);
    ASSERT_TRUE(help.open(QIODevice::WriteOnly | QIODevice::Truncate));
    help.write(
        "== 1000 General Information\nAbout the wedding.\n\n== 1001 Guest List Manager\nAbout guests.\n");
    help.close();
    insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"));
    openWindow();
    QTest::mouseClick(w().SSCommand1, Qt::LeftButton);
    ASSERT_NE(shell::currentHelpViewer(), nullptr);
    EXPECT_EQ(shell::currentHelpViewer()->currentKey(), QStringLiteral("1001"));
    shell::currentHelpViewer()->close();
    testsupport::pumpEvents();

    testsupport::showActive(&w());
    focus(w().addtxtFields[4]);
    QTest::keyClick(w().addtxtFields[4], Qt::Key_F1);
    testsupport::pumpEvents();
    ASSERT_NE(shell::currentHelpViewer(), nullptr);
    EXPECT_EQ(shell::currentHelpViewer()->currentKey(), QStringLiteral("1001"));
    shell::currentHelpViewer()->close();
}

TEST_F(GuestWindowTest, TabKeyStaysAmongTheControlsOfTheVisibleTab)
{
    insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"),
                {{"InvReception", true}, {"ShowerGuest", true}});
    openWindow();
    const QStringList outside = {QStringLiteral("SSCommand1"), QStringLiteral("SSCommand2"),
                                 QStringLiteral("SSCommand3"), QStringLiteral("SSCommand4")};
    const std::pair<int, const char*> tabs[] = {{frmGuests::AddressTab, "add"},
                                                {frmGuests::DetailsTab, "det"},
                                                {frmGuests::GiftsTab, "gif"},
                                                {frmGuests::SummaryTab, "sum"},
                                                {frmGuests::MailLabelsTab, "mai"}};
    for (auto [tab, prefix] : tabs) {
        chooseTab(tab);
        QSet<QString> visited;
        for (int i = 0; i < 40; ++i) {
            QWidget* at = QApplication::focusWidget();
            ASSERT_NE(at, nullptr);
            QTest::keyClick(at, Qt::Key_Tab);
            testsupport::pumpEvents(1);
            QWidget* now = QApplication::focusWidget();
            QString name = now->objectName();
            if (name.isEmpty() && now->parentWidget())
                name = now->parentWidget()->objectName();  // the edit part of a combo
            visited.insert(name);
        }
        for (const QString& name : visited)
            EXPECT_TRUE(name.startsWith(QLatin1String(prefix)) || outside.contains(name) ||
                        name == QLatin1String("qt_tabwidget_tabbar"))
                << prefix << ": " << name.toStdString();
    }
    // The grid on the Summary tab has no keyboard stop; the amount boxes keep theirs.
    EXPECT_FALSE(w().MSFlexGrid1->focusPolicy() & Qt::TabFocus);
    chooseTab(frmGuests::GiftsTab);
    EXPECT_TRUE(w().gifMaskEdBox2->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(w().addtxtFields[2]->focusPolicy() & Qt::TabFocus);
}

TEST_F(GuestWindowTest, ClosingWhenTheFileIsLockedKeepsTheWindowOpenWithWhatWasTyped)
{
    const auto tom = insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"));
    openWindow();
    QLineEdit* first = w().addtxtFields[2];
    focus(first);
    QTest::keyClick(first, Qt::Key_End);
    typeInto(first, QStringLiteral("as"));
    ASSERT_EQ(first->text(), QStringLiteral("Tomas"));

    auto other = std::make_unique<testsupport::FileLock>(dir_.databasePath());
    ASSERT_TRUE(other->locked());
    QTest::mouseClick(w().SSCommand4, Qt::LeftButton);
    testsupport::pumpEvents();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].text, QStringLiteral("You have entered invalid data"));
    EXPECT_EQ(messages()[0].informative, QStringLiteral("The database is locked by another program."));
    EXPECT_EQ(messages()[1].text, QStringLiteral("Close without saving your changes?"));
    EXPECT_EQ(messages()[1].style,
              controls::mb::YesNo | controls::mb::Question | controls::mb::DefaultButton2);
    EXPECT_TRUE(w().isVisible()) << "No (the default) keeps the window open";
    EXPECT_EQ(first->text(), QStringLiteral("Tomas"));
    EXPECT_EQ(caption(w()), QStringLiteral("Mr. Tom Abbott"));

    other->release();
    QTest::mouseClick(w().SSCommand4, Qt::LeftButton);
    testsupport::pumpEvents();
    EXPECT_FALSE(w().isVisible());
    EXPECT_EQ(messages().size(), 2u);
    EXPECT_EQ(stored(tom, QStringLiteral("FirstName")).toString(), QStringLiteral("Tomas"));
}

TEST_F(GuestWindowTest, TypedValuesAreGivenUpOnlyOnAClearYes)
{
    const auto tom = insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"));
    openWindow();
    QLineEdit* last = w().addtxtFields[0];
    focus(last);
    QTest::keyClick(last, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(last, Qt::Key_Delete);  // refused: a party needs its last name
    dialogs().messageAnswers = {controls::mb::OK, controls::mb::Yes};
    QTest::mouseClick(w().SSCommand4, Qt::LeftButton);
    testsupport::pumpEvents();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].text, QStringLiteral("You must enter a last name"));
    EXPECT_EQ(messages()[1].text, QStringLiteral("Close without saving your changes?"));
    EXPECT_FALSE(w().isVisible());
    EXPECT_EQ(stored(tom, QStringLiteral("LastName")).toString(), QStringLiteral("Abbott"));
}
