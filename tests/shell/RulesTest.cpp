// Rules of the shared floor without windows: the help file, wave headers, centring.
#include "shell/HelpFile.h"
#include "shell/WaveFile.h"
#include "shell/Windows.h"

#include <gtest/gtest.h>

#include <QtEndian>

namespace {

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

TEST(Centring, HalfOfWhatIsLeftOnEachSide)
{
    EXPECT_EQ(shell::centredPosition(QRect(0, 0, 1024, 768), QSize(400, 300)), QPoint(312, 234));
    EXPECT_EQ(shell::centredPosition(QRect(1920, 0, 1280, 1024), QSize(401, 301)), QPoint(1920 + 439, 361));
}

}  // namespace
