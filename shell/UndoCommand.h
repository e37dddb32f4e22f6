// The Undo command of the windows (Edit > Undo in the main window, Undo in Find Guests): it takes
// back the last large change (store/Undo.h) after asking, and says in words why when it cannot.
#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace shell {

// "&Undo Invite 12 parties to the reception", or "&Undo" when there is nothing to undo.
QString undoCaption();
// Whether there is a change to undo on the open wedding file.
bool canUndo();

// Asks whether to undo the last change and undoes it; or says why it cannot. Returns what was
// undone ("Invite 12 parties to the reception") when the wedding file was changed (the caller
// then reads its lists again), nullopt when nothing was.
std::optional<QString> undoLastChange(QWidget* parent);

}  // namespace shell
