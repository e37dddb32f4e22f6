// The seating as the crash tests compare it, read from the wedding file through a
// connection of its own (so only what was committed counts).
#pragma once

#include <QString>

namespace crashtest {

// One number (never negative) for every table's row and every party's table and seats:
// equal numbers, equal seating.
qint64 seatingFingerprint(const QString& databasePath);

// How many places the seating contradicts itself: tables whose assigned seats are not
// the seats of the parties at them, and parties at a table that does not exist.
int seatingDisagreements(const QString& databasePath);

}  // namespace crashtest
