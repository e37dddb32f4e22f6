#include "controls/CellFormat.h"
#include "controls/FailureReason.h"

#include <gtest/gtest.h>

#include <QDateTime>

using namespace controls;
using store::Currency;
using store::FieldType;

namespace {
QVariant money(int64_t raw)
{
    return QVariant::fromValue(Currency::fromRaw(raw));
}
}  // namespace

TEST(CellFormat, FormatsUnderEnglishUnitedStates)
{
    EXPECT_EQ(formatCell(true, CellFormat::YesNo), "Yes");
    EXPECT_EQ(formatCell(false, CellFormat::YesNo), "No");
    const QDateTime done(QDate(2024, 6, 5), QTime(14, 30));
    EXPECT_EQ(formatCell(done, CellFormat::MediumDate), "05-Jun-2024");  // the time is not shown
    EXPECT_EQ(formatCell(done, CellFormat::ShortDate), "6/5/2024");
    EXPECT_EQ(formatCell(done, CellFormat::AsEntered), "6/5/2024 2:30 PM");
    EXPECT_EQ(formatCell(money(12345000), CellFormat::Currency), "$1,234.50");
    EXPECT_EQ(formatCell(money(-30000), CellFormat::Currency), "($3.00)");
    EXPECT_EQ(formatCell(money(5), CellFormat::Currency), "$0.00");
    EXPECT_EQ(formatCell(money(12345000), CellFormat::GeneralNumber), "1234.5");
    EXPECT_EQ(formatCell(qint64(12000), CellFormat::GeneralNumber), "12000");
    EXPECT_EQ(formatCell(money(125000), CellFormat::AsEntered), "12.50");
    EXPECT_EQ(formatCell(money(1234), CellFormat::AsEntered), "0.1234");
}

TEST(CellFormat, NullAndMisfitValues)
{
    EXPECT_EQ(formatCell(QVariant(), CellFormat::Currency), "");
    EXPECT_EQ(formatCell(QVariant(), CellFormat::YesNo), "");
    // Text the store would refuse shows as typed (a cell refused later keeps showing it).
    EXPECT_EQ(formatCell(QString("abc"), CellFormat::Currency), "abc");
    EXPECT_EQ(formatCell(QString("soon"), CellFormat::MediumDate), "soon");
}

TEST(CellFormat, ParsesTypedTextByFieldType)
{
    EXPECT_FALSE(parseCell("  ", FieldType::Currency).isValid());
    EXPECT_EQ(parseCell("$1,234.50", FieldType::Currency).value<Currency>(), Currency::fromRaw(12345000));
    EXPECT_EQ(parseCell("(12.50)", FieldType::Currency).value<Currency>(), Currency::fromRaw(-125000));
    EXPECT_EQ(parseCell("-$3.00", FieldType::Currency).value<Currency>(), Currency::fromRaw(-30000));
    EXPECT_EQ(parseCell("($3.00)", FieldType::Currency).value<Currency>(), Currency::fromRaw(-30000));
    EXPECT_EQ(parseCell("4", FieldType::Number).toLongLong(), 4);
    EXPECT_EQ(parseCell("Yes", FieldType::YesNo).toBool(), true);
    EXPECT_EQ(parseCell("no", FieldType::YesNo).toBool(), false);
    EXPECT_EQ(parseCell("6/5/2024", FieldType::DateTime).toDateTime(),
              QDateTime(QDate(2024, 6, 5), QTime(0, 0)));
    EXPECT_EQ(parseCell("05-Jun-2024", FieldType::DateTime).toDateTime().date(), QDate(2024, 6, 5));
    EXPECT_EQ(parseCell("6/5/24", FieldType::DateTime).toDateTime().date(), QDate(2024, 6, 5));
    EXPECT_EQ(parseCell("6/5/2024 2:30 PM", FieldType::DateTime).toDateTime().time(), QTime(14, 30));
    // Unreadable text is handed on as text, for the store to refuse with its type error.
    EXPECT_EQ(parseCell("abc", FieldType::Currency).typeId(), QMetaType::QString);
    EXPECT_EQ(parseCell("31/31/2024", FieldType::DateTime).typeId(), QMetaType::QString);
    EXPECT_EQ(parseCell(" keep blanks ", FieldType::Text).toString(), " keep blanks ");
}

TEST(CellFormat, NumericTextAndMoney)
{
    for (const char* ok : {"12", "12.50", "$1,234.50", "-3", ".5", "(4.00)"})
        EXPECT_TRUE(isNumericText(ok)) << ok;
    for (const char* bad : {"", "abc", "12a", "1.2.3", "$", "--1"})
        EXPECT_FALSE(isNumericText(bad)) << bad;
    EXPECT_EQ(moneyOf(QVariant()), Currency());
    EXPECT_EQ(moneyOf(qint64(4)), Currency::fromUnits(4));
    EXPECT_EQ(moneyOf(QString("$2.50")), Currency::fromRaw(25000));
    EXPECT_EQ(moneyOf(QString("n/a")), Currency());
}

TEST(CellFormat, GroupingMustBeInThreesForTextToBeAnAmount)
{
    using store::FieldType;
    for (const char* bad : {"$1,2,3", "1,2", "12,34.5", "1,234,5", "1.234,50", ",123", "1,,234"}) {
        EXPECT_FALSE(isNumericText(bad)) << bad;
        EXPECT_EQ(parseCell(bad, FieldType::Currency).typeId(), QMetaType::QString) << bad;
        EXPECT_EQ(moneyOf(QString::fromLatin1(bad)), store::Currency()) << bad;
    }
    EXPECT_EQ(parseCell("$1,234.50", FieldType::Currency).value<store::Currency>(),
              store::Currency::fromRaw(12345000));
    EXPECT_EQ(parseCell("-$1,234,567", FieldType::Currency).value<store::Currency>(),
              store::Currency::fromUnits(-1234567));
    EXPECT_EQ(parseCell("(1,000)", FieldType::Currency).value<store::Currency>(),
              store::Currency::fromUnits(-1000));
    EXPECT_EQ(parseCell("123", FieldType::Number).toLongLong(), 123);
}

TEST(CellFormat, OneLineTextJoinsPastedLinesWithBlanks)
{
    EXPECT_EQ(oneLineText("Rose & Co\nFlorists"), "Rose & Co Florists");
    EXPECT_EQ(oneLineText("\r\nAustin\r\n\r\nTexas\n"), "Austin Texas");
    EXPECT_EQ(oneLineText("  no breaks  "), "  no breaks  ");
}

TEST(FailureReason, NamesTheFieldAndSaysWhyInTheUsersWords)
{
    namespace err = store::err;
    EXPECT_EQ(captionOfFieldName("LastName"), "Last Name");
    EXPECT_EQ(captionOfFieldName("bridesname"), "bridesname");
    EXPECT_EQ(
        failureReason(err::FieldTooLong,
                      "The text is too long for the field 'LastName': 25 characters, at most 20 allowed.",
                      "Last Name"),
        "Last Name takes at most 20 characters.");
    EXPECT_EQ(failureReason(err::TypeMismatch, "Type mismatch", "Due Date", store::FieldType::DateTime),
              "Due Date takes a date, such as 15-Aug-2027.");
    EXPECT_EQ(failureReason(err::FileLocked, "in use"), "The database is locked by another program.");
    EXPECT_EQ(failureReason(err::IoError, "Disk or input/output error: database or disk is full."),
              "The disk is full.");
    EXPECT_EQ(failureReason(err::General, "Something broke.", "City"), "City: Something broke.");
}
