// Keeping the wedding file safe around the program's own work: backups at the start of a day,
// removing what interrupted maintenance left, the truthful repair message, restoring a backup,
// and the way on when the file cannot be opened at start-up.
#pragma once

#include "app/Maintenance.h"
#include "store/Store.h"

#include <QString>

class QWidget;

namespace app {

// Removes temporary files that an interrupted compaction, repair or restore left beside the
// wedding file or in the program directory. Never fails.
void removeMaintenanceLeftovers();

// Makes the day's first backup of the open wedding file. A backup that cannot be made is
// reported in one message; the program goes on.
void makeDailyBackup(QWidget* parent = nullptr);

// The words for a table in the messages ("the guest list").
QString listName(const QString& table);
// What the user is told after a repair: "Database has been repaired!" when nothing was lost,
// otherwise how many rows of which lists are missing and where the original is kept.
QString repairMessage(const store::Workspace::RepairReport& report, const QString& keptOriginal);

// Repairs the closed wedding file after keeping it as a backup; returns the message to show.
// Throws store::StoreError.
QString repairWeddingFile();

// "Restore from Backup...": lists the backups, and on a choice closes the database, keeps the
// current file as a backup, puts the chosen one in its place and reopens it.
void restoreFromBackup(const MaintenanceHooks& hooks, QWidget* parent = nullptr);

// After "Can't open database." at start-up: offers to repair the file, restore a backup or
// quit. True when the file was repaired or restored (the start-up is then tried again).
bool offerRecovery(const store::StoreError& failure);

}  // namespace app
