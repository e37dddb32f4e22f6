#include "shell/UndoCommand.h"

#include "controls/Dialogs.h"
#include "shell/Program.h"
#include "store/Store.h"
#include "store/Undo.h"

namespace shell {

namespace {

std::optional<store::undo::Step> lastStep()
{
    const QString path = program().DatabasePath;
    return path.isEmpty() ? std::nullopt : store::undo::last(path);
}

}  // namespace

QString undoCaption()
{
    const auto step = lastStep();
    return step ? QStringLiteral("&Undo %1").arg(step->what) : QStringLiteral("&Undo");
}

bool canUndo()
{
    return lastStep().has_value();
}

std::optional<QString> undoLastChange(QWidget* parent)
{
    using namespace controls::mb;
    const auto step = lastStep();
    store::Database* db = store::Workspace::defaultWorkspace().database();
    if (!step || !db) {
        controls::MsgBox(QStringLiteral("There is nothing to undo."), OKOnly | Information,
                         QStringLiteral("Undo"), parent);
        return std::nullopt;
    }
    if (controls::MsgBox(
            QStringLiteral("Undo \u201C%1\u201D?").arg(step->what), YesNo | Question, QStringLiteral("Undo"),
            parent,
            QStringLiteral("The wedding goes back to exactly what it was before it. A backup of the "
                           "file as it is now is made first.")) != Yes)
        return std::nullopt;
    try {
        return store::undo::undoLast(*db);
    } catch (const store::StoreError& e) {
        controls::MsgBox(e.description(), OKOnly | Exclamation, QStringLiteral("Can't Undo"), parent);
        return std::nullopt;
    }
}

}  // namespace shell
