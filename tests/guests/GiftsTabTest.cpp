// The Gifts tab: the amount boxes with their display format, keys, tip and number rule.
#include "tests/guests/GuestWindowFixture.h"

#include "controls/DataNavigator.h"
#include "controls/DataSource.h"
#include "controls/MaskedEdit.h"
#include "shell/Program.h"
#include "tests/support/WidgetTestUtils.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTabWidget>

class GiftsTabTest : public GuestWindowTest {
protected:
    void openOnGifts(QVariantMap fields = {})
    {
        mark_ =
            insertGuest(QStringLiteral("Ms."), QStringLiteral("Siobhan"), QStringLiteral("O'Brien"), fields);
        insertGuest(QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Zimmer"));
        openWindow();
        chooseTab(frmGuests::GiftsTab);
    }
    void tabForward()
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        testsupport::pumpEvents();
    }
    int beeps() { return dialogs().beepCount(); }

    store::Bookmark mark_ = 0;
};

TEST_F(GiftsTabTest, TheGiftTipShowsOnceARunOnTheFirstAmountBoxEntered)
{
    openOnGifts();
    EXPECT_EQ(w().focusWidget(), w().gifText1);
    EXPECT_TRUE(shell::program().GiftTipPending);
    tabForward();
    EXPECT_EQ(QApplication::focusWidget(), w().gifMaskEdBox1);
    EXPECT_EQ(tipsShown_, std::vector<int>{2});
    EXPECT_EQ(beeps(), 1);
    EXPECT_FALSE(shell::program().GiftTipPending);

    tabForward();
    tabForward();
    tabForward();
    EXPECT_EQ(QApplication::focusWidget(), w().gifMaskEdBox2);
    focus(w().gifMaskEdBox3);
    focus(w().gifMaskEdBox1);
    EXPECT_EQ(tipsShown_, std::vector<int>{2});
    EXPECT_EQ(beeps(), 1);
}

TEST_F(GiftsTabTest, TheReceptionBoxShowsTheTipWithoutABeep)
{
    openOnGifts();
    focus(w().gifMaskEdBox3);
    EXPECT_EQ(tipsShown_, std::vector<int>{2});
    EXPECT_EQ(beeps(), 0);
}

TEST_F(GiftsTabTest, TwentyFiveShowsAsDollarsAndIsStoredWhileTheDecimalPointCannotBeTyped)
{
    openOnGifts();
    EXPECT_EQ(w().gifMaskEdBox1->toolTip(), QStringLiteral("Enter dollar amount"));
    typeInto(w().gifMaskEdBox1, QStringLiteral("2.5,-x"));
    EXPECT_EQ(w().gifMaskEdBox1->text(), QStringLiteral("25"));
    focus(w().gifText2);
    EXPECT_EQ(w().gifMaskEdBox1->text(), QStringLiteral("$25.00"));

    typeInto(w().gifMaskEdBox2, QStringLiteral("$1234"));
    focus(w().gifText3);
    EXPECT_EQ(w().gifMaskEdBox2->text(), QStringLiteral("$1,234.00"));

    w().Data1->updateRecord();
    EXPECT_EQ(stored(mark_, QStringLiteral("engamt")).value<store::Currency>(),
              store::Currency::fromUnits(25));
    EXPECT_EQ(stored(mark_, QStringLiteral("showamt")).value<store::Currency>(),
              store::Currency::fromUnits(1234));
    EXPECT_TRUE(messages().empty());
}

TEST_F(GiftsTabTest, StoredAmountsShowFormattedAndPlainWhileEdited)
{
    openOnGifts({{"wedamt", QVariant::fromValue(*store::Currency::parse("1500.5"))}});
    EXPECT_EQ(w().gifMaskEdBox3->text(), QStringLiteral("$1,500.50"));
    focus(w().gifMaskEdBox3);
    EXPECT_EQ(w().gifMaskEdBox3->text(), QStringLiteral("1500.5"));
    EXPECT_EQ(w().gifMaskEdBox3->selectedText(), QStringLiteral("1500.5"));
    focus(w().gifCheck9);
    EXPECT_EQ(w().gifMaskEdBox3->text(), QStringLiteral("$1,500.50"));
    w().Data1->updateRecord();
    EXPECT_EQ(stored(mark_, QStringLiteral("wedamt")).value<store::Currency>(),
              *store::Currency::parse("1500.5"));
}

TEST_F(GiftsTabTest, EscapeEmptiesTheBoxAndLeavingItLeavesZero)
{
    openOnGifts({{"engamt", QVariant::fromValue(store::Currency::fromUnits(40))}});
    focus(w().gifMaskEdBox1);
    key(w().gifMaskEdBox1, Qt::Key_Escape);
    EXPECT_EQ(w().gifMaskEdBox1->text(), QString());
    EXPECT_TRUE(w().isVisible());
    focus(w().gifCheck7);
    EXPECT_EQ(w().gifMaskEdBox1->text(), QStringLiteral("0"));
    w().Data1->updateRecord();
    EXPECT_EQ(stored(mark_, QStringLiteral("engamt")).value<store::Currency>(), store::Currency());
}

TEST_F(GiftsTabTest, APastedNonNumberBeepsAndKeepsTheFocusWithTheTipForShowerAndReception)
{
    openOnGifts();
    shell::program().GiftTipPending = false;
    for (int box = 1; box <= 3; ++box) {
        controls::MaskedEdit* amount = box == 1   ? w().gifMaskEdBox1
                                       : box == 2 ? w().gifMaskEdBox2
                                                  : w().gifMaskEdBox3;
        tipsShown_.clear();
        dialogs().clear();
        focus(amount);
        amount->setText(QStringLiteral("a vase"));
        focus(w().gifText1);
        testsupport::pumpEvents();
        EXPECT_EQ(QApplication::focusWidget(), amount) << box;
        EXPECT_EQ(beeps(), 1) << box;
        EXPECT_EQ(tipsShown_, box == 1 ? std::vector<int>{} : std::vector<int>{2}) << box;
        amount->setText(QString());
    }
}

TEST_F(GiftsTabTest, ANonNumberThatReachesTheStoreIsReportedAsInvalidData)
{
    openOnGifts();
    w().gifMaskEdBox1->setText(QStringLiteral("a vase"));
    QTest::mouseClick(testsupport::findNamed<QWidget>(w().navigator, QStringLiteral("Next")), Qt::LeftButton);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, QStringLiteral("You have entered invalid data"));
    EXPECT_EQ(w().navigator->caption(), QStringLiteral("Ms. Siobhan O'Brien"));
}
