// File helpers shared by the store's maintenance and backups: a connection of their own,
// the integrity check, and writing a file through to the disk before it takes a name.
#pragma once

#include "store/Sqlite.h"

#include <QString>
#include <QStringList>

namespace store::files {

// A connection of its own on one file, closed on every path. Opening failures are 3043
// with SQLite's reason.
class Connection {
public:
    Connection(const QString& path, int flags);
    ~Connection() { close(); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    void close();
    sqlite3* get() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

// The rows of PRAGMA integrity_check (or, with quick, of the faster quick_check); {"ok"} for a
// sound file.
QStringList integrityCheck(sqlite3* db, bool quick = false);
bool isSound(const QStringList& check);

// Why the file open on db cannot be taken as a wedding file of this program, in words that
// finish a sentence ("it is damaged ..."); empty for a sound wedding file of a layout this
// program knows. It checks that the file reads as a database, passes the integrity check
// (quick: the quick check), holds every table a wedding file has, and has a layout version no
// newer than this program's. *number gets the matching error (3343 or 3049).
QString weddingProblem(sqlite3* db, bool quick, int* number = nullptr);
// The same for a file, opened read-only on a connection of its own.
QString weddingFileProblem(const QString& path, bool quick, int* number = nullptr);

// Writes a file's data and its folder entry through to the disk. Returns false when the
// data could not be written (a full disk shows here at the latest).
bool syncFile(const QString& path);

// Gives `from` the name `to` in one step, after syncing it; 3043 on failure.
void replaceFile(const QString& from, const QString& to);

// Copies a file byte for byte into `to` (created or truncated) and syncs it; 3043 on failure,
// with `to` removed.
void copyFile(const QString& from, const QString& to);

// path + suffix + this process's id: the temporary sibling of an operation in progress.
QString siblingName(const QString& path, const char* suffix);

// Is a temporary file named with this process id left over: its process is gone (or the file
// is over an hour old), and it is not this process's own?
bool abandoned(const QString& path, qint64 pid);

}  // namespace store::files
