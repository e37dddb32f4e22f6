// The File menu's entries for guest import, exports and the calendar file.
#pragma once

class QMenu;
class QWidget;

namespace app {

// Adds "Import Guests...", "Export..." and "Export to Calendar..." (objects mnuImportGuests,
// mnuExport, mnuExportCalendar) and a separator to menu; the windows open over owner.
void addExchangeItems(QMenu* menu, QWidget* owner);

}  // namespace app
