// The lists behind the city and state boxes grow by the names typed into those boxes:
//
//     controls::appendListValue(*Data3, "City", addDBCombo1->currentText());
//
// The new row is added through the DataSource that feeds the box, so the box offers the
// name at once. The list table decides what it refuses (an empty name, a duplicate); a
// refusal is not an error for the window, so it is only returned.
#pragma once

#include <QString>

namespace controls {

class DataSource;

// Adds a row with field := text through source's record set and saves it; the lists over
// the source are refilled. A store failure cancels the new row and returns false.
bool appendListValue(DataSource& source, const QString& field, const QString& text);

}  // namespace controls
