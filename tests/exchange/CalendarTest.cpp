// The wedding in a calendar file: the three events and the open tasks, read back by
// libical and by an independent reader, with UIDs that stay the same between exports.
#include "exchange/Calendar.h"

#include "tests/exchange/ExchangeFixture.h"

#include <libical/ical.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

using namespace exchange;
using exchangetest::fileBytes;

namespace {

class Calendar : public exchangetest::WeddingTest {
protected:
    void SetUp() override
    {
        WeddingTest::SetUp();
        db().execute(
            "UPDATE General SET bridesname = 'Emma', groomsname = 'Noah', weddingdate = #2026-06-13#, "
            "weddingtime = '02:30 PM', weddingloc = 'St. Mary''s, Main Street; Hall 2', weddingcont = 'Rev. "
            "Lund', "
            "weddingphone = '555-0100', recdate = #2026-06-13#, rectime = '', receptloc = 'The Old Mill', "
            "showdate = Null");
        db().execute("UPDATE Checklist SET DueDate = Null, Done = False");
        auto tasks = db().openRecordset("Checklist");
        tasks->edit();
        tasks->setValue("DueDate", QDateTime(QDate(2026, 5, 1), QTime(0, 0)));
        tasks->setValue("CheckItem",
                        QString("Order the flowers, the cake; and a very long description that runs on "
                                "well past the seventy-five octets a calendar line may hold"));
        tasks->update();
        tasks->moveNext();
        tasks->edit();
        tasks->setValue("DueDate", QDateTime(QDate(2026, 4, 1), QTime(0, 0)));
        tasks->setValue("Done", true);
        tasks->update();
    }

    QJsonArray readWithPython(const QString& path)
    {
        const char* script = R"(
import json, sys, icalendar
cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())
out = []
for e in cal.walk('VEVENT'):
    start = e.decoded('DTSTART')
    out.append({"uid": str(e['UID']), "summary": str(e['SUMMARY']), "start": start.isoformat(),
                "allday": not hasattr(start, 'hour'), "location": str(e.get('LOCATION', ''))})
print(json.dumps(out))
)";
        QProcess python;
        python.start("/usr/bin/python3", {"-c", script, path});
        python.waitForFinished(60000);
        EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    }
};

}  // namespace

TEST_F(Calendar, EventsAndOpenTasksAreReadBackByTwoReaders)
{
    const QString path = tempPath("wedding.ics");
    EXPECT_EQ(writeCalendar(db(), path), 3) << "ceremony, reception, and the one open task with a due date";
    const QByteArray text = fileBytes(path);

    // RFC 5545: CRLF line ends, no line over 75 octets, texts escaped.
    for (const QByteArray& line : text.split('\n')) {
        if (line.isEmpty())
            continue;
        EXPECT_TRUE(line.endsWith('\r')) << line.toStdString();
        EXPECT_LE(line.size() - 1, 75) << line.toStdString();
    }
    EXPECT_TRUE(text.contains("St. Mary's\\, Main Street\\; Hall 2"));
    EXPECT_FALSE(text.contains("VTODO"));

    icalcomponent* cal = icalparser_parse_string(text.constData());
    ASSERT_NE(cal, nullptr);
    int events = 0;
    for (icalcomponent* e = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT))
        ++events;
    EXPECT_EQ(events, 3);
    icalcomponent_free(cal);

    const QJsonArray parsed = readWithPython(path);
    ASSERT_EQ(parsed.size(), 3);
    const QJsonObject ceremony = parsed[0].toObject();
    EXPECT_EQ(ceremony["summary"].toString(), "Wedding ceremony: Emma & Noah");
    EXPECT_EQ(ceremony["start"].toString(), "2026-06-13T14:30:00");
    EXPECT_EQ(ceremony["location"].toString(), "St. Mary's, Main Street; Hall 2");
    const QJsonObject reception = parsed[1].toObject();
    EXPECT_TRUE(reception["allday"].toBool()) << "a reception without a time is an all-day event";
    const QJsonObject task = parsed[2].toObject();
    EXPECT_TRUE(task["allday"].toBool());
    EXPECT_EQ(task["start"].toString(), "2026-05-01");
    EXPECT_TRUE(task["summary"].toString().endsWith("a calendar line may hold"))
        << "folded lines unfold whole";
}

TEST_F(Calendar, UidsStayTheSameAcrossExportsAndTheSequenceGrows)
{
    const std::vector<CalendarEvent> events = calendarEvents(db());
    const QByteArray first = calendarText(events, QDateTime(QDate(2026, 1, 1), QTime(10, 0), Qt::UTC));
    const QByteArray later =
        calendarText(calendarEvents(db()), QDateTime(QDate(2026, 2, 1), QTime(10, 0), Qt::UTC));
    auto uids = [](const QByteArray& text) {
        QStringList list;
        for (const QByteArray& line : text.split('\n'))
            if (line.startsWith("UID:"))
                list << QString::fromUtf8(line.trimmed());
        return list;
    };
    EXPECT_EQ(uids(first).size(), 3);
    EXPECT_EQ(uids(first), uids(later));
    auto sequence = [](const QByteArray& text) {
        const int at = int(text.indexOf("SEQUENCE:"));
        return text.mid(at + 9, text.indexOf('\r', at) - at - 9).toInt();
    };
    EXPECT_GT(sequence(later), sequence(first));
    EXPECT_EQ(eventTime("11:30 PM"), QTime(23, 30));
    EXPECT_EQ(eventTime("noon"), std::nullopt);
}

TEST(CalendarTimes, TheCommonWaysOfWritingATimeAreRead)
{
    const struct {
        const char* text;
        std::optional<QTime> time;
    } cases[] = {
        {"3:30 PM", QTime(15, 30)},
        {"3:30pm", QTime(15, 30)},
        {"15:30", QTime(15, 30)},
        {"3 PM", QTime(15, 0)},
        {"9:00", QTime(9, 0)},
        {"02:30 PM", QTime(14, 30)},
        {"12:15 am", QTime(0, 15)},
        {"12 PM", QTime(12, 0)},
        {"9.45 a.m.", QTime(9, 45)},
        {" 7:05 P.M. ", QTime(19, 5)},
        {"3", std::nullopt},
        {"25:00", std::nullopt},
        {"13 PM", std::nullopt},
        {"3:75 PM", std::nullopt},
        {"half past three", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(eventTime(QString::fromUtf8(c.text)), c.time) << c.text;
}

TEST_F(Calendar, AnEventWhoseTimeCannotBeReadIsLeftOutAndNamed)
{
    db().execute(
        "UPDATE General SET weddingtime = '3:30pm', rectime = 'after the ceremony', "
        "showdate = #2026-05-02#, showtime = '3 PM'");
    QStringList problems;
    const std::vector<CalendarEvent> events = calendarEvents(db(), &problems);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems[0],
              "The reception was left out: its time \"after the ceremony\" cannot be read (write it "
              "as 3:30 PM or 15:30).");
    ASSERT_EQ(events.size(), 3u) << "the shower, the ceremony and the open task";
    EXPECT_EQ(events[0].time, QTime(15, 0));
    EXPECT_EQ(events[1].time, QTime(15, 30));
    const QByteArray text = calendarText(events, QDateTime::currentDateTimeUtc());
    EXPECT_FALSE(text.contains("reception-")) << "never written as an all-day event";
    EXPECT_FALSE(text.contains("DTSTART:0000"));
    EXPECT_FALSE(text.contains("DTSTART;VALUE=DATE:0000"));
}
