// The guest list's own changes to the wedding database, apart from the bound fields:
// adding a party and removing one. (The city and state lists grow through
// controls::appendListValue, as every window's lists do.)
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

}  // namespace guests
