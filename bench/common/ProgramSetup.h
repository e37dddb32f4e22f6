// Opens a wedding for a benchmark as the program does before the guest window can open: the
// program's path and tips, the invited snapshot the main window owns, and modal windows that
// answer at once.
//
//     store::Database& db = bench::openAsTheProgram(path, invited);
#pragma once

#include "controls/Dialogs.h"
#include "shell/Program.h"
#include "shell/Tips.h"
#include "store/Store.h"

#include <memory>

namespace bench {

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
