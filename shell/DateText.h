// Dates as the date picker and the typed date fields write and read them.
#pragma once

#include <QDate>
#include <QString>

namespace shell {

// A date as the picker writes it: the user's short date format with a four-digit year, so
// that reading it back never guesses the century.
QString dateText(const QDate& date);
// Reads a date the way bound date fields read it (controls::parseCell); an invalid QDate
// when the text is not a date.
QDate parseDateText(const QString& text);

}  // namespace shell
