// Writing the program's output files (exports, calendars, PDF files) without ever putting the
// wedding at risk.
//
//   store::output::PendingFile out(path, db.path());   // refuses a path that is the wedding
//   writeSomething(out.temporaryPath());                // any writer that takes a file name
//   out.commit();                                        // synced, then renamed over path
//
//   store::output::writeFile(path, bytes, db.path());   // the same for bytes in memory
//
// An output is refused when it leads (through links, to the file itself) to the wedding file,
// its journal, a temporary file of its maintenance or anything in its backups folder; or when
// it is a folder or something other than a regular file (a device, a pipe). The file is
// written under a temporary name beside the target and renamed over it when complete, so a
// failed or interrupted write leaves whatever was there before, never half a file.
#pragma once

#include "store/StoreError.h"

#include <QByteArray>
#include <QString>

namespace store::output {

// Why the program will not write an output file at `path` while `weddingPath` is the wedding
// file, in words the user can be shown; empty when it may. An empty weddingPath means the
// database open in the default workspace (when none is open, only the kind of file is checked).
QString refusal(const QString& path, const QString& weddingPath = {});

// Throws StoreError 3043 with the refusal when there is one.
void check(const QString& path, const QString& weddingPath = {});

// A file being written: checks the target (check()), and names a temporary sibling of it
// (for a link, of the file the link leads to) that the writer fills. commit() syncs it and
// renames it over the target (3043 on failure); a PendingFile not committed removes its
// temporary file.
class PendingFile {
public:
    explicit PendingFile(const QString& path, const QString& weddingPath = {});
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    QString temporaryPath() const { return temporary_; }
    QString targetPath() const { return target_; }
    void commit();

private:
    QString target_, temporary_;
    bool committed_ = false;
};

// Writes bytes to path through a PendingFile. Throws StoreError (3043) on a refusal or a
// failed write, saying which file and why.
void writeFile(const QString& path, const QByteArray& bytes, const QString& weddingPath = {});

}  // namespace store::output
