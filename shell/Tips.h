// Tips: numbered hints from table Tips, shown one at a time in the tip window.
//
//   shell::showTip(1);   // sets program().TipNumber and shows frmTip modally
#pragma once

#include <QString>

namespace store {
class Database;
}

namespace shell {

// Tip numbers the windows show.
inline constexpr int TipEmptyGuestList = 1;  // guest window opened on an empty guest list
inline constexpr int TipGiftAmount = 2;      // gift amounts
inline constexpr int TipNoWeddingDate = 3;   // checklist opened without a wedding date
inline constexpr int TipFirstRun = 5;        // the main window on a first run

// Appends every row of table Tips (field tip, in stored order) to program().TipList and
// sets program().GiftTipPending. Throws store::StoreError (e.g. no table Tips).
void LoadTips(store::Database& database);

// The text of tip number (1-based); empty when there is no such tip.
QString tipText(int number);

// Sets program().TipNumber := number and shows the tip window modally (through
// controls::ShowModal, so tests can answer it). Returns when the window is closed.
void showTip(int number);

}  // namespace shell
