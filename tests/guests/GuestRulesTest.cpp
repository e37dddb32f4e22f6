// The rules of the guest window's tabs, without the window.
#include "guests/GuestRules.h"

#include "controls/Events.h"

#include <gtest/gtest.h>

using namespace guests;
using store::Currency;

namespace {

QVariant none()
{
    return QVariant();
}

}  // namespace

TEST(GuestNames, PartsJoinWithSingleBlanksAndMissingPartsAsEmptyText)
{
    EXPECT_EQ(partyName(QStringLiteral("Mr. and Mrs."), QStringLiteral("John"), QStringLiteral("Smith")),
              QStringLiteral("Mr. and Mrs. John Smith"));
    EXPECT_EQ(partyName(none(), QStringLiteral("John"), QStringLiteral("Smith")),
              QStringLiteral(" John Smith"));
    EXPECT_EQ(partyName(QString(""), QStringLiteral("Siobhan"), QStringLiteral("O'Brien")),
              QStringLiteral(" Siobhan O'Brien"));
    EXPECT_EQ(partyName(none(), none(), none()), QStringLiteral("  "));
    EXPECT_EQ(partyName(QStringLiteral("Dr."), QStringLiteral("Anneliese"), QStringLiteral("Müller")),
              QStringLiteral("Dr. Anneliese Müller"));
}

TEST(GuestNames, ShowerLineIsMsOnlyForExactlyMs)
{
    EXPECT_EQ(showerLine(QStringLiteral("Ms."), QStringLiteral("O'Brien")), QStringLiteral("Ms. O'Brien"));
    for (const QVariant& other :
         {QVariant(QStringLiteral("Mr.")), QVariant(QStringLiteral("Mrs.")),
          QVariant(QStringLiteral("Mr. and Mrs.")), QVariant(QStringLiteral("Dr.")),
          QVariant(QStringLiteral("ms.")), QVariant(QStringLiteral("Ms")), QVariant(QString("")), none()})
        EXPECT_EQ(showerLine(other, QStringLiteral("Nguyễn")), QStringLiteral("Mrs. Nguyễn"))
            << other.toString().toStdString();
    EXPECT_EQ(showerLine(QStringLiteral("Ms."), none()), QStringLiteral("Ms. "));
}

TEST(CountBoxes, InvitedBoxesTakeDigitsOnly)
{
    for (int digit = '0'; digit <= '9'; ++digit)
        EXPECT_EQ(countKeyAction(digit, false), CountKey::Accept);
    for (int other : {int(controls::key::Back), int('.'), int('-'), int('a'), int(' '), int('$')})
        EXPECT_EQ(countKeyAction(other, false), CountKey::Discard) << other;
    EXPECT_EQ(countKeyAction(controls::key::Escape, false), CountKey::RemoveGuest);
}

TEST(CountBoxes, ReplyBoxesTakeBackspaceAndDigitsThatTickTheReply)
{
    EXPECT_EQ(countKeyAction('0', true), CountKey::AcceptAndReply);
    EXPECT_EQ(countKeyAction('7', true), CountKey::AcceptAndReply);
    EXPECT_EQ(countKeyAction(controls::key::Back, true), CountKey::Accept);
    EXPECT_EQ(countKeyAction('x', true), CountKey::Discard);
    EXPECT_EQ(countKeyAction(controls::key::Escape, true), CountKey::RemoveGuest);
}

TEST(CountBoxes, TextBecomesTheNumberOfItsLeadingDigits)
{
    EXPECT_EQ(countText(QStringLiteral("007")), QStringLiteral("7"));
    EXPECT_EQ(countText(QStringLiteral("12")), QStringLiteral("12"));
    EXPECT_EQ(countText(QStringLiteral("")), QStringLiteral("0"));
    EXPECT_EQ(countText(QStringLiteral("000")), QStringLiteral("0"));
    EXPECT_EQ(countText(QStringLiteral("abc")), QStringLiteral("0"));
    EXPECT_EQ(countText(QStringLiteral("12abc3")), QStringLiteral("12"));
    EXPECT_EQ(countText(QStringLiteral("  5")), QStringLiteral("5"));
    EXPECT_EQ(countText(QStringLiteral("-5")), QStringLiteral("0"));
    // Long digit runs are kept whole rather than cut or wrapped.
    EXPECT_EQ(countText(QStringLiteral("0099999999999999999999")), QStringLiteral("99999999999999999999"));
}

TEST(AmountBoxes, DigitsAndDollarAreTypedEscapeClearsTheRestIsDropped)
{
    for (int digit = '0'; digit <= '9'; ++digit)
        EXPECT_EQ(amountKeyAction(digit), AmountKey::Accept);
    EXPECT_EQ(amountKeyAction('$'), AmountKey::Accept);
    for (int other : {int('.'), int(','), int('-'), int(controls::key::Back), int('a')})
        EXPECT_EQ(amountKeyAction(other), AmountKey::Discard) << other;
    EXPECT_EQ(amountKeyAction(controls::key::Escape), AmountKey::Clear);
}

TEST(AmountBoxes, DisplayFormatHasDollarGroupingTwoDecimalsAndParenthesesForNegatives)
{
    EXPECT_EQ(amountDisplayText(Currency::fromUnits(25)), QStringLiteral("$25.00"));
    EXPECT_EQ(amountDisplayText(Currency()), QStringLiteral("$0.00"));
    EXPECT_EQ(amountDisplayText(*Currency::parse("1234.5")), QStringLiteral("$1,234.50"));
    EXPECT_EQ(amountDisplayText(*Currency::parse("1234567.891")), QStringLiteral("$1,234,567.89"));
    EXPECT_EQ(amountDisplayText(*Currency::parse("999.995")), QStringLiteral("$1,000.00"));
    EXPECT_EQ(amountDisplayText(*Currency::parse("-3")), QStringLiteral("($3.00)"));
    EXPECT_EQ(amountDisplayText(*Currency::parse("-1234.5")), QStringLiteral("($1,234.50)"));
}

TEST(AmountBoxes, EditTextAndNumberTestRoundTripTheDisplayForm)
{
    EXPECT_EQ(amountEditText(*Currency::parse("1234.5")), QStringLiteral("1234.5"));
    EXPECT_EQ(amountEditText(Currency::fromUnits(25)), QStringLiteral("25"));
    for (const char* text : {"25", "$25", "$1,234.50", "($3.00)", "0", "1234.5"}) {
        EXPECT_TRUE(isAmountText(QString::fromLatin1(text))) << text;
        const Currency amount = amountOf(QString::fromLatin1(text));
        EXPECT_EQ(amountOf(amountDisplayText(amount)), amount) << text;
        EXPECT_EQ(amountOf(amountEditText(amount)), amount) << text;
    }
    for (const char* text : {"abc", "$", "12abc", "1.2.3", "5$", ""})
        EXPECT_FALSE(isAmountText(QString::fromLatin1(text))) << text;
}

TEST(SummaryFormats, GridCellsLeadWithABlankUnlessNegative)
{
    EXPECT_EQ(summaryCellText(3), QStringLiteral(" 3"));
    EXPECT_EQ(summaryCellText(0), QStringLiteral(" 0"));
    EXPECT_EQ(summaryCellText(1200), QStringLiteral(" 1200"));
    EXPECT_EQ(summaryCellText(-2), QStringLiteral("-2"));
}

TEST(SummaryFormats, LabelsShowThePlainNumber)
{
    EXPECT_EQ(summaryLabelText(QVariant::fromValue(*Currency::parse("150.5"))), QStringLiteral("150.5"));
    EXPECT_EQ(summaryLabelText(QVariant::fromValue(Currency::fromUnits(150))), QStringLiteral("150"));
    EXPECT_EQ(summaryLabelText(QVariant::fromValue(*Currency::parse("1234.25"))), QStringLiteral("1234.25"));
    EXPECT_EQ(summaryLabelText(QVariant(qint64(12))), QStringLiteral("12"));
    EXPECT_EQ(summaryLabelText(QVariant(0)), QStringLiteral("0"));
    EXPECT_EQ(summaryLabelText(none()), QStringLiteral("0"));
}

TEST(KeyboardStops, NamePrefixMatchesTheTabCaptionIgnoringCase)
{
    EXPECT_TRUE(keepsTabStop(QStringLiteral("addCombo1"), QStringLiteral("Address")));
    EXPECT_TRUE(keepsTabStop(QStringLiteral("detside(0)"), QStringLiteral("Details")));
    EXPECT_TRUE(keepsTabStop(QStringLiteral("maiText2"), QStringLiteral("Mail Labels")));
    EXPECT_TRUE(keepsTabStop(QStringLiteral("GIFText1"), QStringLiteral("Gifts")));
    EXPECT_FALSE(keepsTabStop(QStringLiteral("MSFlexGrid1"), QStringLiteral("Summary")));
    EXPECT_FALSE(keepsTabStop(QStringLiteral("detText1"), QStringLiteral("Address")));
    EXPECT_FALSE(keepsTabStop(QStringLiteral("Frame11"), QStringLiteral("Mail Labels")));
}
