// Backups of the wedding file, kept in a `backups` folder beside it.
//
// A backup is made with SQLite's online backup API from a connection of its own, so it holds
// exactly what was committed, even while the program has the file open (an open transaction
// of the program is not in it). A file SQLite cannot read as a database (a damaged one kept
// before it is repaired or replaced) is copied byte for byte instead.
//
//   const QString kept = store::backup::make(path, store::backup::Reason::Import);
//   for (const store::backup::Entry& e : store::backup::list(path)) ...
//   store::backup::restore(path, entries.front().path);  // the database must be closed
//
// Backup files are named "wedding-YYYYMMDD-HHMMSS[-n]-<reason>.mdb" after the local time they
// were made; only files of that form are listed, counted and pruned. Every failure is a
// StoreError with a description the user can be shown.
#pragma once

#include "store/StoreError.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

namespace store::backup {

// Why a backup was made (part of its file name, shown in the restore list).
enum class Reason { Daily, Compaction, Repair, Restore, Upgrade, Import, Manual, Seating, Change, Undo };

// The word for a reason in a file name ("daily", "compact", ...) and the words shown for it.
QString reasonKey(Reason reason);
QString reasonText(Reason reason);

// The folder holding the backups of this database file: "backups" beside the file the
// path leads to (a link is followed, so the backups lie beside the real file).
QString folderFor(const QString& databasePath);

// Copies the committed state of the database into a new backup file, then prunes the
// folder (prune()). Returns the new file's path. The copy is written under a temporary name,
// synced and renamed, so a backup that exists is whole. Throws StoreError (3024 when the
// database file is missing, 3043 when the folder or the copy cannot be written).
QString make(const QString& databasePath, Reason reason);

// Makes a Daily backup unless one was made today (local date). Returns the new file's
// path, or an empty string when none was due.
QString makeDailyIfDue(const QString& databasePath, const QDateTime& now = QDateTime::currentDateTime());

struct Entry {
    QString path;
    QDateTime made;   // local time from the file name
    qint64 size = 0;  // bytes
    Reason reason = Reason::Manual;
    int guestParties = -1;  // rows of Guests; -1 when the copy cannot be read
    int tasks = -1;         // rows of Checklist; -1 when the copy cannot be read
    bool readable() const { return guestParties >= 0 && tasks >= 0; }
};

// The backups of this database, newest first. With counts=false the files are not opened
// (guestParties and tasks stay -1).
std::vector<Entry> list(const QString& databasePath, bool counts = true);

// What the restore window and `orvane-cli backups` show of a backup: made, size, guest
// parties, tasks ("cannot be read" for a copy that cannot) and why it was made.
QStringList columnTitles();
QStringList columns(const Entry& entry);

// Replaces the database file by a copy of the backup, in one rename. The backup is checked
// first: it must be a sound wedding file (SQLite's integrity check, every table of a wedding
// file, a layout version this program knows); otherwise nothing is changed and the error
// (3049 damaged, 3343 not a wedding file or of a newer layout) says why. The current file is
// kept as a Restore backup before it is replaced. The database must not be open in the default
// workspace (3219). Returns the path of the backup of the replaced file.
QString restore(const QString& databasePath, const QString& backupPath);

// The retention rule: keep the newest 10 backups, and the newest backup of every calendar
// week of the last two months; never more than MaxKept files. Whatever the rule removes, the
// KeepSound newest backups that pass the quick check as wedding files stay. Removes the rest
// and any half-written backup left by an interrupted run. Returns the number of files removed.
// A routine backup (Daily, Upgrade) is never made of a file that fails that check: make()
// refuses it with the reason (3049 or 3343).
inline constexpr int KeepNewest = 10;
inline constexpr int KeepWeeksDays = 61;
inline constexpr int MaxKept = 20;
inline constexpr int KeepSound = 3;
int prune(const QString& databasePath, const QDateTime& now = QDateTime::currentDateTime());

// Which of these backup times the retention rule keeps (newest first in, indexes out).
// Exposed for tests of the rule itself.
std::vector<int> keptByRule(const std::vector<QDateTime>& newestFirst, const QDateTime& now);

// Removes the temporary files that an interrupted compaction, repair or restore left beside
// the database (names ending in ".compact-PID", ".repair-PID", ".restore-PID" whose process is
// gone). Returns the number of files removed.
int removeLeftovers(const QString& databasePath);

}  // namespace store::backup
