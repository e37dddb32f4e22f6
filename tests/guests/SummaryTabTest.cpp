// The Summary tab and GuestSummary: figures from the saved queries in the grid and labels.
#include "tests/guests/GuestWindowFixture.h"

#include "controls/DataNavigator.h"
#include "controls/DataSource.h"
#include "guests/GuestSummary.h"
#include "guests/frmNewGuest.h"
#include "shell/Program.h"
#include "tests/support/WidgetTestUtils.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

class SummaryTabTest : public GuestWindowTest {
protected:
    QString cell(int row, int column)
    {
        QTableWidgetItem* item = w().MSFlexGrid1->item(row, column);
        return item ? item->text() : QString();
    }
    QStringList row(int r) { return {cell(r, 1), cell(r, 2), cell(r, 3), cell(r, 4)}; }
    QStringList sides() { return {w().sumBride->text(), w().sumGroom->text(), w().sumBoth->text()}; }
    QStringList gifts() { return {w().sumengage->text(), w().sumshower->text(), w().sumreception->text()}; }
};

TEST_F(SummaryTabTest, HeadingsAndRowsWithoutPeopleFigures)
{
    insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"),
                {{"InvCeremony", true}, {"InvRehearsal", true}});
    openWindow();
    chooseTab(frmGuests::SummaryTab);
    EXPECT_EQ(cell(1, 0), QStringLiteral("Shower"));
    EXPECT_EQ(cell(4, 0), QStringLiteral("Rehearsal"));
    EXPECT_TRUE(cell(0, 1).startsWith(QStringLiteral("Invitations")));
    EXPECT_EQ(cell(0, 4), QStringLiteral("Persons Attending"));
    EXPECT_EQ(row(3), (QStringList{" 1", "-", "-", "-"}));
    EXPECT_EQ(row(4), (QStringList{" 1", "-", "-", "-"}));
    EXPECT_EQ(w().MSFlexGrid1->item(3, 2)->textAlignment(), int(Qt::AlignLeft | Qt::AlignVCenter));
    EXPECT_TRUE(messages().empty());
}

TEST_F(SummaryTabTest, BrideOnlyPartiesNoGiftsAndShowerGuestsWithoutReplies)
{
    insertGuest(QStringLiteral("Ms."), QStringLiteral("Siobhan"), QStringLiteral("O'Brien"),
                {{"guestof", QStringLiteral("Bride")}, {"ShowerGuest", true}, {"ShowerInvited", 1}});
    insertGuest(QStringLiteral("Mr. and Mrs."), QStringLiteral("John"), QStringLiteral("Smith"),
                {{"guestof", QStringLiteral("Bride")}, {"ShowerGuest", true}, {"ShowerInvited", 2}});
    insertGuest(QStringLiteral("Dr."), QStringLiteral("Anneliese"), QStringLiteral("Müller"),
                {{"guestof", QStringLiteral("Bride")}, {"InvReception", true}});  // counts never entered
    openWindow();
    chooseTab(frmGuests::SummaryTab);
    EXPECT_EQ(sides(), (QStringList{"3", "0", "0"}));
    EXPECT_EQ(gifts(), (QStringList{"0", "0", "0"}));
    EXPECT_EQ(row(1), (QStringList{" 2", " 3", " 0", " 0"}));
    EXPECT_EQ(row(2), (QStringList{" 1", " 0", " 0", " 0"}));
    EXPECT_EQ(row(3), (QStringList{" 0", "-", "-", "-"}));
}

TEST_F(SummaryTabTest, RepliesSidesAndGiftTotals)
{
    auto money = [](const char* text) {
        return QVariant::fromValue(*store::Currency::parse(QString::fromLatin1(text)));
    };
    insertGuest(QStringLiteral("Mr. and Mrs."), QStringLiteral("John"), QStringLiteral("Smith"),
                {{"guestof", QStringLiteral("Bride")},
                 {"InvReception", true},
                 {"Invited", 2},
                 {"Confirmed", true},
                 {"NumberAttending", 2},
                 {"wedamt", money("150")},
                 {"engamt", money("20.25")}});
    insertGuest(QStringLiteral("Mr. and Mrs."), QStringLiteral("John"), QStringLiteral("Smith"),
                {{"guestof", QStringLiteral("Groom")},
                 {"InvReception", true},
                 {"Invited", 4},
                 {"Confirmed", true},
                 {"NumberAttending", 3},
                 {"wedamt", money("0.5")}});
    insertGuest(QStringLiteral("Ms."), QStringLiteral("Siobhan"), QStringLiteral("O'Brien"),
                {{"guestof", QStringLiteral("Both")},
                 {"InvReception", true},
                 {"Invited", 1},
                 {"ShowerGuest", true},
                 {"ShowerInvited", 1},
                 {"ShowerReplied", true},
                 {"ShowerComing", 1},
                 {"showamt", money("40")}});
    insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Abbott"),
                {{"guestof", QStringLiteral("Cousin")}});
    openWindow();
    chooseTab(frmGuests::SummaryTab);
    EXPECT_EQ(sides(), (QStringList{"1", "1", "1"}));
    EXPECT_EQ(gifts(), (QStringList{"20.25", "40", "150.5"}));
    EXPECT_EQ(row(1), (QStringList{" 1", " 1", " 1", " 1"}));
    EXPECT_EQ(row(2), (QStringList{" 3", " 7", " 2", " 5"}));
}

TEST_F(SummaryTabTest, EachVisitRecountsIncludingEditsAddedAndRemovedGuests)
{
    insertGuest(QStringLiteral("Ms."), QStringLiteral("Zoe"), QStringLiteral("Zimmer"),
                {{"guestof", QStringLiteral("Bride")}});
    openWindow();
    chooseTab(frmGuests::SummaryTab);
    EXPECT_EQ(sides(), (QStringList{"1", "0", "0"}));
    chooseTab(frmGuests::AddressTab);
    chooseTab(frmGuests::SummaryTab);
    EXPECT_EQ(sides(), (QStringList{"1", "0", "0"}));

    // An edit not yet written is counted: the summary writes the row first.
    chooseTab(frmGuests::DetailsTab);
    clickBox(w().detCheck2);
    chooseTab(frmGuests::SummaryTab);
    EXPECT_EQ(row(3), (QStringList{" 1", "-", "-", "-"}));
    EXPECT_EQ(w().navigator->caption(), QStringLiteral("Ms. Zoe Zimmer"));

    newGuestDialog_ = [](frmNewGuest& dialog) {
        dialog.txtnewfirst->setText(QStringLiteral("Tom"));
        dialog.txtnewlast->setText(QStringLiteral("Abbott"));
        dialog.Command1_Click();
        return 1;
    };
    w().SSCommand2_Click();
    chooseTab(frmGuests::SummaryTab);
    EXPECT_EQ(sides(), (QStringList{"1", "0", "1"}));

    dialogs().messageAnswers = {controls::mb::Yes};
    w().SSCommand3_Click();  // Tom Abbott, the current guest
    chooseTab(frmGuests::AddressTab);
    chooseTab(frmGuests::SummaryTab);
    EXPECT_EQ(sides(), (QStringList{"1", "0", "0"}));
    EXPECT_EQ(guestCount(), 1);
}

TEST_F(SummaryTabTest, AMissingQueryStopsTheRunWithErrorAndKeepsWhatWasShown)
{
    insertGuest(QStringLiteral("Ms."), QStringLiteral("Zoe"), QStringLiteral("Zimmer"),
                {{"guestof", QStringLiteral("Bride")}, {"ShowerGuest", true}, {"InvCeremony", true}});
    openWindow();
    rawSql(QStringLiteral("DROP VIEW sumCeremony"));
    chooseTab(frmGuests::SummaryTab);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].title.startsWith(QStringLiteral("Error #")));
    EXPECT_EQ(messages()[0].title, QStringLiteral("Error #") + QString::number(store::err::UnknownObject));
    EXPECT_EQ(row(1), (QStringList{" 1", " 0", " 0", " 0"}));  // written before the failure
    EXPECT_EQ(row(3), (QStringList{"", "", "", ""}));
    EXPECT_EQ(sides(), (QStringList{"", "", ""}));
}

namespace {

struct RecordingView : guests::SummaryView {
    QStringList shown;
    void showEventRow(int row, const guests::EventFigures&) override
    {
        shown << QStringLiteral("row %1").arg(row);
    }
    void showCountRow(int row, qint64) override { shown << QStringLiteral("row %1").arg(row); }
    void showLabels(const QVariant&, const QVariant&, const QVariant&, const QVariant&, const QVariant&,
                    const QVariant&) override
    {
        shown << QStringLiteral("labels");
    }
};

}  // namespace

TEST_F(SummaryTabTest, CountersBeyondSixteenBitsStopTheRunBeforeTheyAreShown)
{
    rawSql(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 32768) "
        "INSERT INTO Guests (LastName, guestof, InvRehearsal) SELECT 'G' || i, 'Groom', 1 FROM n"));
    RecordingView view;
    try {
        guests::readGuestSummary(shell::database(), view);
        FAIL() << "no overflow";
    } catch (const store::StoreError& e) {
        EXPECT_EQ(e.number(), guests::OverflowError);
    }
    // The groom's count is not a 16-bit counter; the rehearsal count is.
    EXPECT_EQ(view.shown, (QStringList{"row 1", "row 2", "row 3"}));
}
