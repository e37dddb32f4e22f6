#include "seating/TableActions.h"

#include "controls/Dialogs.h"
#include "seating/SeaterParts.h"
#include "seating/TableEditState.h"
#include "seating/frmTables.h"
#include "store/Store.h"

namespace seating {

bool runTableEditor(controls::DataSource* tables, qint16 mode, const QVariant& tableId, QWidget* parent)
{
    TableEditState& state = tableEdit();
    state.TableEditMode = mode;
    if (mode == EditTableMode)
        state.CurrentTableId = tableId;
    state.TableSaved = false;
    frmTables editor(tables, parent);
    controls::ShowModal(&editor);
    return state.TableSaved;
}

void deleteTable(store::Database& db, TableKey table)
{
    SeatingChange change;
    db.execute(QStringLiteral("UPDATE Guests SET tableid = 0, tabletot = 0 WHERE tableid = ?"), {table});
    db.execute(QStringLiteral("DELETE FROM Tables WHERE TableId = ?"), {table});
    change.commit();
}

void saySelectTableFirst(QWidget* parent)
{
    controls::MsgBox(QStringLiteral("You must select a Table first"), controls::mb::OKOnly,
                     QStringLiteral("Orvane"), parent);
}

}  // namespace seating
