// The File menu's entries for guest and expense import, exports and the calendar file.
#pragma once

class QMenu;
class QString;
class QWidget;

namespace app {

// Adds "Import Guests...", "Import Expenses...", "Import Replies...", "Replies...", "Export..." and
// "Export to Calendar..." (objects mnuImportGuests, mnuImportExpenses, mnuImportReplies, mnuReplies,
// mnuExport, mnuExportCalendar) and a separator to menu; the windows open over owner.
void addExchangeItems(QMenu* menu, QWidget* owner);

// Reads replies from a CSV file, shows the review (rows matched, and those that match nobody or
// more than one member) and, when the user says Yes, applies the matched rows after a backup in
// one transaction. Failures are shown in words; nothing is changed then.
void importRepliesFrom(const QString& path, QWidget* owner);

}  // namespace app
