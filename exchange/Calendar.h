// The wedding's plan as an iCalendar file: the shower, the ceremony and the reception
// (date, time, place, contact) and every scheduled task not yet done as an all-day event
// on its due date. Events only, since several calendar programs ignore to-dos. UIDs are
// stable, so importing a newer file updates the events instead of adding them again.
#pragma once

#include "store/Store.h"

#include <QDate>
#include <QDateTime>
#include <QString>

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

// The three events of table General that have a date, then the open tasks by due date.
std::vector<CalendarEvent> calendarEvents(store::Database& database);
// The iCalendar text (RFC 5545: CRLF lines, texts escaped, long lines folded). stamp is
// the export's time: it gives DTSTAMP and a SEQUENCE that grows with each export.
QByteArray calendarText(const std::vector<CalendarEvent>& events, const QDateTime& stamp);
// Writes the file (replacing it only once complete); returns the number of events.
int writeCalendar(store::Database& database, const QString& path);

// "02:30 PM" -> 14:30; nullopt for any other text.
std::optional<QTime> eventTime(const QString& text);

}  // namespace exchange
