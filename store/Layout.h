// Bringing an older wedding file up to the current layout when it is opened.
//
//   store::Database& db = workspace.openDatabase(path);
//   store::upgradeLayout(db);   // no-op on a current file
//
// An older file gets every missing step (store/LayoutSteps.h) in one transaction, after a
// backup of the file, and its version last; nothing already in the file changes. A file of
// a newer layout than this program knows is left as it is.
#pragma once

#include <QString>

namespace store {

class Database;

// The layout version of the open file (PRAGMA user_version).
int layoutVersion(Database& db);

struct LayoutUpgrade {
    int fromVersion = 0;
    int toVersion = 0;
    QString backupPath;  // empty when nothing was upgraded
    bool upgraded() const { return toVersion > fromVersion; }
};

// Upgrades the open file when it is older than the latest layout. Needs no transaction
// open. Throws StoreError when the backup or a step fails; the file is then unchanged.
LayoutUpgrade upgradeLayout(Database& db);

}  // namespace store
