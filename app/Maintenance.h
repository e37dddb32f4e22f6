// Database maintenance: compacting and repairing wedding.mdb from the Database menu.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace app {

// What the caller must do around the moment the database is closed: release every record
// set it holds before, open them again after the database is reopened.
struct MaintenanceHooks {
    std::function<void()> beforeClose;
    std::function<void()> afterReopen;
};

// Asks first ("Compact Database?"); on Yes closes the database, removes a leftover
// tempovdb.mdb, compacts wedding.mdb into it, renames the copy over the original in one
// step and reopens it. Failures: one message per engine error; the database is reopened
// whenever its file still exists.
void compactDatabase(const MaintenanceHooks& hooks, QWidget* parent = nullptr);
// Asks first ("Repair Database?"); on Yes closes the database, repairs the file in place
// and reopens it. Failures as for compaction.
void repairDatabase(const MaintenanceHooks& hooks, QWidget* parent = nullptr);

// The prompts, as shown.
QString compactPrompt();
QString repairPrompt();
// Path of the compaction's temporary file, beside the wedding file.
QString compactTempPath();

}  // namespace app
