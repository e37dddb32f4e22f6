// The wedding's plan as an iCalendar file: the shower, the ceremony and the reception
// (date, time, place, contact) and every scheduled task not yet done as an all-day event
// on its due date. Events only, since several calendar programs ignore to-dos. UIDs are
// stable, so importing a newer file updates the events instead of adding them again.
#pragma once

#include "store/Store.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace exchange {

struct CalendarEvent {
    QString uid;
    QString summary;
    QString location;
    QString contact;  // "name, telephone"
    QString description;
    QDate date;
    std::optional<QTime> time;  // none: an all-day event
    int minutes = 60;           // length of a timed event
};

// The three events of table General that have a date, then the open tasks by due date. An
// event whose date or time cannot be read, or a task whose due date cannot, is left out
// (never written as an all-day event or with an empty date) and said in *problems by name.
std::vector<CalendarEvent> calendarEvents(store::Database& database, QStringList* problems = nullptr);
// The iCalendar text (RFC 5545: CRLF lines, texts escaped, long lines folded). stamp is
// the export's time: it gives DTSTAMP and a SEQUENCE that grows with each export.
// ExchangeError when the calendar module cannot be loaded.
QByteArray calendarText(const std::vector<CalendarEvent>& events, const QDateTime& stamp);
// Writes the file (replacing it only once complete; never the wedding file, its journal or a
// backup); returns the number of events. ExchangeError on failure.
int writeCalendar(store::Database& database, const QString& path, QStringList* problems = nullptr);

// The entry point of the calendar module (orvane_calendar, over libical): the iCalendar text of
// the events, with DTSTAMP at stampSecs (seconds since 1970, UTC) and the given SEQUENCE.
using CalendarTextFunction = void (*)(const std::vector<CalendarEvent>*, qint64 stampSecs, int sequence,
                                      QByteArray* out);
inline constexpr const char* CalendarTextName = "orvaneCalendarText";
inline constexpr const char* CalendarModuleName = "orvane_calendar";

// A time as people type it: "3:30 PM", "3:30pm", "3 PM", "15:30", "9:00", "9.00 a.m."; nullopt
// for a text that is none of these.
std::optional<QTime> eventTime(const QString& text);
// A date an iCalendar file can hold (years 1 to 9999).
bool calendarDate(const QDate& date);

}  // namespace exchange
