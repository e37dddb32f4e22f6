// Program-wide values that every window shares, and the one open wedding database.
//
// The program is single-user and single-threaded: these values live for the whole run
// and are read and written on the user-interface thread only.
//
//   shell::program().TipNumber = 3;                  // a value
//   store::Database& db = shell::database();         // the wedding database
#pragma once

#include "shell/WeddingDatabase.h"

#include <QByteArray>
#include <QCursor>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace store {
class Database;
class Recordset;
class Workspace;
}  // namespace store

namespace shell {

struct Program {
    // Full path of wedding.mdb in the program directory; set first thing at start-up.
    QString DatabasePath;
    // The tip texts in the order the Tips rows were read; tip number n is TipList[n - 1].
    QStringList TipList;
    // The tip the tip window shows next (1-based). Set it through shell::showTip().
    int TipNumber = 0;
    // True until the guest window has shown the gift tip once in this run.
    bool GiftTipPending = false;
    // The couple's names as last read from table General (set by frmMain::Set_General).
    QString BrideName;
    QString GroomName;
    // Snapshot over the saved query "Invited Query" (column "count of guests"); owned by
    // frmMain. The guest windows requery it after adding or removing a party. Null while
    // the database is closed.
    store::Recordset* InvitedSnapshot = nullptr;
    // The complete wave file of the sound playing last; the player reads it while it plays.
    QByteArray SoundBuffer;
    // The pointer shown over the main window's navigation labels.
    QCursor NavigationCursor;
    // The window help is opened for, and the help file (program directory + "/Orvane.HLP").
    QPointer<QWidget> HelpOwnerWindow;
    QString HelpFilePath;
};

// The program-wide values (created on first use).
Program& program();


}  // namespace shell
