// The guest list's own changes to the wedding database, apart from the bound fields:
// adding a party, removing one, and growing the city and state lists.
#pragma once

#include "store/Store.h"

#include <QString>

namespace guests {

// Adds a party with the two names as typed and the side "Both" (every other field its
// default) through a table-type set over Guests; returns the new row's bookmark.
store::Bookmark addGuest(store::Database& database, const QString& firstName, const QString& lastName);

// Deletes the current row of a set over Guests. A party seated at a reception table
// gives its seats back in the same transaction: the table's `assigned` drops by the
// party's `tabletot` (never below 0), so the table does not go on counting seats
// nobody holds.
void removeGuest(store::Recordset& guests);

// Appends a value to a one-field list (CityList, StateList) through its set. Each step
// (add, set, save) is tried even when the one before failed, and failures are dropped:
// a value already listed or an empty text simply is not added.
void appendListValue(store::Recordset& list, const QString& field, const QString& value);

}  // namespace guests
