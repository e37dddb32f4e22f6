// The calendar module: writes the events as iCalendar text with libical. A module of its
// own, loaded when a calendar is written, so that the program does not load libical at every
// start.
#include "exchange/Calendar.h"

#include <libical/ical.h>

#include <cstdlib>

using exchange::CalendarEvent;

namespace {

icaltimetype dateValue(const QDate& d)
{
    icaltimetype t = icaltime_null_time();
    t.year = d.year();
    t.month = d.month();
    t.day = d.day();
    t.is_date = 1;
    return t;
}

// A local ("floating") time: the wedding happens at its own place's clock time.
icaltimetype dateTimeValue(const QDateTime& dt)
{
    icaltimetype t = dateValue(dt.date());
    t.is_date = 0;
    t.hour = dt.time().hour();
    t.minute = dt.time().minute();
    t.second = 0;
    return t;
}

void addText(icalcomponent* event, icalproperty* (*make)(const char*), const QString& text)
{
    if (!text.isEmpty())
        icalcomponent_add_property(event, make(text.toUtf8().constData()));
}

icalcomponent* eventComponent(const CalendarEvent& e, const icaltimetype& stamp, int sequence)
{
    icalcomponent* event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    addText(event, icalproperty_new_uid, e.uid);
    icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp));
    icalcomponent_add_property(event, icalproperty_new_sequence(sequence));
    if (e.time) {
        const QDateTime start(e.date, *e.time);
        icalcomponent_add_property(event, icalproperty_new_dtstart(dateTimeValue(start)));
        icalcomponent_add_property(event,
                                   icalproperty_new_dtend(dateTimeValue(start.addSecs(e.minutes * 60))));
    } else {
        icalcomponent_add_property(event, icalproperty_new_dtstart(dateValue(e.date)));
        icalcomponent_add_property(event, icalproperty_new_dtend(dateValue(e.date.addDays(1))));
        icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    }
    addText(event, icalproperty_new_summary, e.summary);
    addText(event, icalproperty_new_location, e.location);
    addText(event, icalproperty_new_contact, e.contact);
    addText(event, icalproperty_new_description, e.description);
    return event;
}

}  // namespace
QByteArray calendarText(const std::vector<CalendarEvent>& events, const QDateTime& stamp)
{
    icalcomponent* calendar = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
    icalcomponent_add_property(calendar, icalproperty_new_prodid("-//Orvane//Wedding Planner//EN"));
    icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar, icalproperty_new_calscale("GREGORIAN"));
    icalcomponent_add_property(calendar, icalproperty_new_method(ICAL_METHOD_PUBLISH));
    const icaltimetype when =
        icaltime_from_timet_with_zone(stamp.toSecsSinceEpoch(), 0, icaltimezone_get_utc_timezone());
    // Grows by one each minute, so a calendar takes a newer export as the newer version.
    const int sequence =
        int(std::max<qint64>(0, (stamp.toSecsSinceEpoch() -
                                 QDateTime(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch()) /
                                    60));
    for (const CalendarEvent& e : events)
        icalcomponent_add_component(calendar, eventComponent(e, when, sequence));
    char* text = icalcomponent_as_ical_string_r(calendar);
    QByteArray out(text);
    free(text);
    icalcomponent_free(calendar);
    return out;
}

extern "C" __attribute__((visibility("default"))) void orvaneCalendarText(
    const std::vector<CalendarEvent>* events, qint64 stampSecs, int sequence, QByteArray* out)
{
    icalcomponent* calendar = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
    icalcomponent_add_property(calendar, icalproperty_new_prodid("-//Orvane//Wedding Planner//EN"));
    icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar, icalproperty_new_calscale("GREGORIAN"));
    icalcomponent_add_property(calendar, icalproperty_new_method(ICAL_METHOD_PUBLISH));
    const icaltimetype when = icaltime_from_timet_with_zone(stampSecs, 0, icaltimezone_get_utc_timezone());
    for (const CalendarEvent& e : *events)
        icalcomponent_add_component(calendar, eventComponent(e, when, sequence));
    char* text = icalcomponent_as_ical_string_r(calendar);
    *out = QByteArray(text);
    free(text);
    icalcomponent_free(calendar);
}
