// The File menu's entries for guest and expense import, exports and the calendar file.
#pragma once

class QMenu;
class QWidget;

namespace app {

// Adds "Import Guests...", "Import Expenses...", "Export..." and "Export to Calendar..." (objects
// mnuImportGuests, mnuImportExpenses, mnuExport, mnuExportCalendar) and a separator to menu; the windows open
// over owner.
void addExchangeItems(QMenu* menu, QWidget* owner);

}  // namespace app
