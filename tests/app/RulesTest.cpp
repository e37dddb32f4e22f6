// Rules without windows: due dates, version texts, navigation colours.
#include "app/NavLabel.h"
#include "app/Version.h"
#include "checklist/DueDates.h"

#include <gtest/gtest.h>

namespace {

QDateTime at(int y, int m, int d, QTime t = QTime(0, 0))
{
    return QDateTime(QDate(y, m, d), t);
}

QDate due(const QDateTime& wedding, const QVariant& code)
{
    const auto result = checklist::dueDateFor(wedding, code);
    return result ? result->date() : QDate();
}

TEST(DueDates, EveryCodeFromTheLastDayOfAugust)
{
    const QDateTime wedding = at(1998, 8, 31);
    EXPECT_EQ(due(wedding, 1), QDate(1998, 2, 28));
    EXPECT_EQ(due(wedding, 2), QDate(1998, 4, 30));
    EXPECT_EQ(due(wedding, 3), QDate(1998, 6, 30));
    EXPECT_EQ(due(wedding, 4), QDate(1998, 7, 31));
    EXPECT_EQ(due(wedding, 5), QDate(1998, 8, 17));
    EXPECT_EQ(due(wedding, 6), QDate(1998, 8, 24));
    EXPECT_EQ(due(wedding, 7), QDate(1998, 8, 29));
    EXPECT_EQ(due(wedding, 8), QDate(1998, 8, 30));
    EXPECT_EQ(due(wedding, 9), QDate(1998, 8, 31));
}

TEST(DueDates, MonthsClampToTheLastDayIncludingLeapYears)
{
    EXPECT_EQ(due(at(2000, 3, 31), 4), QDate(2000, 2, 29));
    EXPECT_EQ(due(at(2001, 3, 31), 4), QDate(2001, 2, 28));
    EXPECT_EQ(due(at(2001, 1, 15), 1), QDate(2000, 7, 15));  // across a year
}

TEST(DueDates, TimeOfDayIsKept)
{
    const QDateTime wedding = at(2026, 6, 20, QTime(15, 30));
    for (int code = 1; code <= 9; ++code)
        EXPECT_EQ(checklist::dueDateFor(wedding, code)->time(), QTime(15, 30)) << code;
}

TEST(DueDates, CodesOutsideOneToNineScheduleNothing)
{
    const QDateTime wedding = at(1998, 8, 31);
    for (const QVariant& code : {QVariant(), QVariant(0), QVariant(10), QVariant(-1), QVariant(2.5),
                                 QVariant(QStringLiteral("x")), QVariant(QString())})
        EXPECT_FALSE(checklist::dueDateFor(wedding, code).has_value()) << code.toString().toStdString();
    EXPECT_EQ(due(wedding, QVariant(qint64(4))), QDate(1998, 7, 31));
    EXPECT_EQ(due(wedding, QVariant(4.0)), QDate(1998, 7, 31));
}

TEST(VersionTexts, MinorAndRevisionRunTogether)
{
    EXPECT_EQ(app::splashVersionText({1, 0, 5}), "Version 1.05");
    EXPECT_EQ(app::aboutVersionText({1, 0, 5}), "v. 1.05");
    EXPECT_EQ(app::splashVersionText({2, 1, 0}), "Version 2.10");
    EXPECT_EQ(app::aboutVersionText({2, 1, 0}), "v. 2.10");
    EXPECT_EQ(app::splashVersionText({1, 2, 13}), "Version 1.213");
}

TEST(NavigationColours, PlatformValuesHaveRedInTheLowByte)
{
    EXPECT_EQ(app::colourFromValue(app::HighlightColour), QColor(255, 0, 0));
    EXPECT_EQ(app::colourFromValue(app::RestColour), QColor(255, 192, 192));
    EXPECT_EQ(app::colourValue(QColor(255, 192, 192)), 12632319);
}

}  // namespace
