// What the seating manager and the table editor tell each other: the editor's mode, the
// table to edit, and whether the editor saved a row. Program-wide, read and written by
// those two windows only.
#pragma once

#include <QVariant>

namespace seating {

inline constexpr qint16 AddTableMode = 1;   // create a new table
inline constexpr qint16 EditTableMode = 2;  // change the table whose key is CurrentTableId

struct TableEditState {
    qint16 TableEditMode = 0;
    QVariant CurrentTableId;  // TableId of the seating manager's current table
    bool TableSaved = false;  // true after Save committed, false after Cancel
};

TableEditState& tableEdit();

}  // namespace seating
