// A benchmark's wedding: a copy of the delivered one, opened as the program opens it before
// the guest window can: the program's path and tips, the invited snapshot the main window
// owns, and modal windows that answer at once.
//
//     store::Database& db = bench::openAsTheProgram(path, invited);
#pragma once

#include "controls/Dialogs.h"
#include "shell/Program.h"
#include "shell/Tips.h"
#include "store/Store.h"

#include <QFile>

#include <cstdio>
#include <memory>

namespace bench {

// Copies the delivered wedding (`delivered`: the build's ORVANE_DELIVERED_DB) to `path` and
// makes it writable; false, said on standard error, when there is none to copy.
inline bool copyDeliveredWedding(const char* delivered, const QString& path)
{
    if (!QFile::copy(QString::fromLocal8Bit(delivered), path)) {
        std::fprintf(stderr, "no delivered database at %s\n", delivered);
        return false;
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return true;
}

// `invited` keeps the snapshot that shell::program().InvitedSnapshot points to.
inline store::Database& openAsTheProgram(const QString& path, std::unique_ptr<store::Recordset>& invited)
{
    shell::Program& program = shell::program();
    program.DatabasePath = path;
    store::Database& db = store::Workspace::defaultWorkspace().openDatabase(path);
    shell::LoadTips(db);
    program.GiftTipPending = false;
    invited = db.openRecordset(QStringLiteral("Invited Query"), store::RecordsetType::Snapshot);
    program.InvitedSnapshot = invited.get();
    controls::setModalHook([](QWidget*) { return 0; });
    return db;
}

}  // namespace bench
