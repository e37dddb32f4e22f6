// Rules without windows: due dates, version texts, the help file, wave headers, colours,
// centring.
#include "app/NavLabel.h"
#include "app/Version.h"
#include "checklist/DueDates.h"
#include "shell/HelpFile.h"
#include "shell/WaveFile.h"
#include "shell/Windows.h"

#include <gtest/gtest.h>

#include <QtEndian>

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

TEST(HelpFile, TopicsKeysTitlesAndRendering)
{
    const QString text = QStringLiteral(
        "# comment\nstray line before any topic\n"
        "== 1000 General Information\nFirst line\njoined line.\n\n- one **bold**\n- two <b>\n"
        "== helponhelp Help on Help\r\nUsing help.\r\n# not shown\n== 1004\n");
    const QList<shell::HelpTopic> topics = shell::parseHelpFile(text);
    ASSERT_EQ(topics.size(), 3);
    EXPECT_EQ(topics[0].key, "1000");
    EXPECT_EQ(topics[0].title, "General Information");
    EXPECT_EQ(topics[1].key, "helponhelp");
    EXPECT_EQ(topics[1].body, "Using help.");
    EXPECT_EQ(topics[2].title, "1004");  // a topic without a title shows its key
    EXPECT_TRUE(shell::findTopic(topics, "HELPONHELP").has_value());
    EXPECT_FALSE(shell::findTopic(topics, "1003").has_value());

    const QString html = shell::topicHtml(topics[0]);
    EXPECT_TRUE(html.contains("<p>First line joined line.</p>"));
    EXPECT_TRUE(html.contains("<li>one <b>bold</b></li>"));
    EXPECT_TRUE(html.contains("<li>two &lt;b&gt;</li>"));  // text is escaped
}

QByteArray wave(int rate, int channels, int bits, const QByteArray& samples, quint16 format = 1)
{
    auto le32 = [](quint32 v) {
        QByteArray b(4, 0);
        qToLittleEndian(v, b.data());
        return b;
    };
    auto le16 = [](quint16 v) {
        QByteArray b(2, 0);
        qToLittleEndian(v, b.data());
        return b;
    };
    QByteArray fmt = le16(format) + le16(channels) + le32(rate) + le32(rate * channels * bits / 8) +
                     le16(channels * bits / 8) + le16(bits);
    QByteArray body = "WAVE" + QByteArray("LIST") + le32(3) + QByteArray("abc") + QByteArray(1, 0) + "fmt " +
                      le32(fmt.size()) + fmt + "data" + le32(samples.size()) + samples;
    return "RIFF" + le32(body.size()) + body;
}

TEST(WaveFile, ReadsPcmHeadersAndRefusesTheRest)
{
    const QByteArray samples(100, 'x');
    const auto info = shell::readWaveInfo(wave(22050, 1, 16, samples));
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->sampleRate, 22050);
    EXPECT_EQ(info->channels, 1);
    EXPECT_EQ(info->bitsPerSample, 16);
    EXPECT_EQ(info->dataSize, 100);
    EXPECT_EQ(wave(22050, 1, 16, samples).mid(info->dataOffset, 100), samples);  // skipped the odd chunk

    EXPECT_FALSE(shell::readWaveInfo(wave(22050, 1, 16, samples, 3)).has_value());  // not PCM
    EXPECT_FALSE(shell::readWaveInfo(wave(22050, 1, 24, samples)).has_value());
    EXPECT_FALSE(shell::readWaveInfo(QByteArray("RIFF")).has_value());
    EXPECT_FALSE(shell::readWaveInfo(wave(22050, 1, 16, samples).left(30)).has_value());
    const QByteArray truncated = wave(8000, 2, 8, samples).chopped(40);
    EXPECT_EQ(shell::readWaveInfo(truncated)->dataSize, 60);  // clipped to what is there
}

TEST(NavigationColours, PlatformValuesHaveRedInTheLowByte)
{
    EXPECT_EQ(app::colourFromValue(app::HighlightColour), QColor(255, 0, 0));
    EXPECT_EQ(app::colourFromValue(app::RestColour), QColor(255, 192, 192));
    EXPECT_EQ(app::colourValue(QColor(255, 192, 192)), 12632319);
}

TEST(Centring, HalfOfWhatIsLeftOnEachSide)
{
    EXPECT_EQ(shell::centredPosition(QRect(0, 0, 1024, 768), QSize(400, 300)), QPoint(312, 234));
    EXPECT_EQ(shell::centredPosition(QRect(1920, 0, 1280, 1024), QSize(401, 301)), QPoint(1920 + 439, 361));
}

}  // namespace
