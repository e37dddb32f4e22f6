// Undo of the last large change (a change of many parties, an import, a seating plan applied,
// a table cleared): the change is taken back by putting back, table by table, the rows of the
// backup made just before it, so the file is exactly as it was.
//
//   const QString before = store::backup::make(db.path(), store::backup::Reason::Change);
//   ... the change, in one transaction ...
//   store::undo::remember(db, before, "Invite 12 parties to the reception");
//   ...
//   const QString undone = store::undo::undoLast(db);   // throws StoreError with the reason
//
// What undoes the change is kept beside the backups ("<wedding>-undo.json" in the backups
// folder) with a digest of every table as the change left it. Undo refuses, in words, when
// any table has changed since (undoing then would take back later work as well), when the
// backup is gone, or when there is nothing to undo; it then changes nothing. Undo itself
// makes a backup first and is one transaction; once done, there is nothing left to undo.
#pragma once

#include "store/StoreError.h"

#include <QDateTime>
#include <QHash>
#include <QString>

#include <optional>

namespace store {
class Database;
}

namespace store::undo {

// Digests of every table's rows (in key order) and of the layout ("" key), as the file holds them.
using Digests = QHash<QString, QByteArray>;
Digests digests(Database& db);

// The change that can be undone.
struct Step {
    QString what;        // "Invite 12 parties to the reception"
    QString backupPath;  // the backup made just before it
    QDateTime made;
    Digests after;  // the tables as the change left them
};

// Keeps what undoes the change just committed on db: the backup made just before it. A failure
// to keep it is not a failure of the change: it only leaves nothing to undo (and says so to the
// log). Replaces what was kept for an earlier change.
void remember(Database& db, const QString& backupPath, const QString& what);

// The change that can be undone on the wedding file at databasePath, if any.
std::optional<Step> last(const QString& databasePath);

// Forgets the change that could be undone (after a restore, for example).
void forget(const QString& databasePath);

// Undoes the last change on db (no transaction may be open): returns its description. Throws
// StoreError (3219) with the reason when it cannot, having changed nothing.
QString undoLast(Database& db);

}  // namespace store::undo
