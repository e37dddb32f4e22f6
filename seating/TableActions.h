// Adding, changing and deleting reception tables, shared by the seating manager's buttons and
// the floor plan's, so that both open the same table editor, say the same and write the same.
//
//   if (seating::runTableEditor(tables, seating::AddTableMode, {}, window)) ...
//   seating::deleteTable(db, key);
#pragma once

#include "seating/SeatPlan.h"

#include <QVariant>

class QWidget;

namespace controls {
class DataSource;
}
namespace store {
class Database;
}

namespace seating {

// Opens the table editor modally over tables (a data source over Tables: in add mode the editor
// takes the number of tables and the seats of its current table from it), in AddTableMode or in
// EditTableMode on the table with that key. True when the editor saved a row.
bool runTableEditor(controls::DataSource* tables, qint16 mode, const QVariant& tableId, QWidget* parent);

// Deletes the table and returns its parties to the unseated ones (their table and seated people
// 0), in one transaction. A table that is gone already is passed over.
void deleteTable(store::Database& db, TableKey table);

// "You must select a Table first" (title "Orvane"): a table command without a table chosen.
void saySelectTableFirst(QWidget* parent);

}  // namespace seating
